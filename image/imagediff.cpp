#include "imagediff.h"

#include <algorithm>

namespace qx {

namespace {

// The records 0 to 34 that a file holds whole.
QByteArray wholeRecords(const QByteArray &image) {
    const int count = std::min(int(image.size() / MemoryFrame::kSize), kRecordCount);
    return image.left(count * MemoryFrame::kSize);
}

// A channel's first record, or a settings record.
int groupOf(const ImageField &field) {
    return field.channel > 0 ? 2 * (field.channel - 1) : settingRecord(field.setting);
}

} // namespace

ImageDiff diffImages(const QByteArray &before, const QByteArray &after) {
    const ImageFields a = decodeImageFields(before);
    const ImageFields b = decodeImageFields(after);
    ImageDiff diff;
    QList<int> changed;
    for (const ImageField &field : allImageFields()) {
        const FieldValue x = a.value(field);
        const FieldValue y = b.value(field);
        if (x == y)
            continue;
        diff.changes << FieldChange{field, x, y};
        changed << groupOf(field);
    }
    const QByteArray left = wholeRecords(before);
    const QByteArray right = wholeRecords(after);
    for (int record = 0; record < kRecordCount; record += record < kRecord03C0 ? 2 : 1) {
        const int size = (record < kRecord03C0 ? 2 : 1) * MemoryFrame::kSize;
        const int at = record * MemoryFrame::kSize;
        if (left.mid(at, size) != right.mid(at, size) && !changed.contains(record))
            diff.otherBytes << record;
    }
    return diff;
}

QStringList formatImageDiff(const ImageDiff &diff, const ImageWords &words) {
    QStringList lines;
    for (const FieldChange &c : diff.changes)
        lines << words.changeLine.arg(fieldName(c.field, words),
                                      fieldText(c.field, c.before, words),
                                      fieldText(c.field, c.after, words));
    QStringList names;
    for (int record : diff.otherBytes)
        names << recordName(words, record);
    if (!names.isEmpty())
        lines << words.otherBytes.arg(names.join(QStringLiteral(", ")));
    return lines;
}

} // namespace qx
