#include "imagedump.h"

#include "imagefields.h"
#include "imagewords.h"
#include "memoryframe.h"
#include "workingfile.h"

#include <QStringList>

namespace qx::cli {

namespace {

const QString kNone = QStringLiteral("-");

const char *const kSettingNames[] = {
    "model",        "band",       "beep",        "battery_save", "squelch",      "monitor_key",
    "time_out",     "voice",      "scan",        "scan_mode",    "channel_mode", "priority_channel",
    "carrier_time", "delay_time", "return_time", "power",
};

} // namespace

ImageError::ImageError(const QString &file, int record, const QString &reason)
    : Error(record < 0 ? QStringLiteral("%1: %2").arg(file, reason)
                       : QStringLiteral("%1: record %2 (%3): %4")
                             .arg(file)
                             .arg(record)
                             .arg(recordRole(record), reason)),
      m_record(record) {}

ImageError::ImageError(const QString &message) : Error(message), m_record(-1) {}

QByteArray readImageFile(const QString &path) {
    try {
        return qx::readImageFile(path);
    } catch (const Error &e) {
        throw ImageError(e.message());
    }
}

ImageDump decodeImage(const QByteArray &bytes, const QString &fileName) {
    // The dump shows what the English window shows.
    const ImageWords words = englishImageWords();
    const ImageFields fields = decodeImageFields(bytes);
    const int damaged = fields.firstDamaged();
    if (damaged >= 0)
        throw ImageError(fileName, damaged, fields.damage[std::size_t(damaged)]);
    ImageDump dump;
    dump.recordCount = int(bytes.size() / MemoryFrame::kSize);
    dump.channels = fields.channels;
    for (int k = 0; k < kSettingCount; ++k) {
        const ImageField field{0, 0, Setting(k)};
        const FieldValue value = fields.value(field);
        dump.settings.emplace_back(
            QString::fromLatin1(kSettingNames[k]),
            value.state == FieldValue::State::Shown ? fieldText(field, value, words) : kNone);
    }
    return dump;
}

ImageDump decodeImageFile(const QString &path) {
    return decodeImage(readImageFile(path), path);
}

QString incompleteImageNote(const QByteArray &bytes) {
    const ImageWords words = englishImageWords();
    const int records = int(bytes.size() / MemoryFrame::kSize);
    QStringList missing, foreign;
    for (int r = 0; r < kRecordCount; ++r) {
        const QString name = recordName(words, r);
        QStringList &list = r >= records ? missing : foreign;
        if ((r >= records || recordBytes(bytes, r).left(4) != recordHeader(r)) &&
            !list.contains(name))
            list << name;
    }
    if (missing.isEmpty() && foreign.isEmpty())
        return {};
    // The window's words for the same file.
    QStringList lines{records == 0 ? QStringLiteral("the file holds no records; everything shows "
                                                    "as in a new window")
                                   : QStringLiteral("the file does not hold a whole image for "
                                                    "the radio; what is missing or damaged "
                                                    "shows as in a new window")};
    if (records > 0 && !missing.isEmpty())
        lines << QStringLiteral("missing: %1").arg(missing.join(QStringLiteral(", ")));
    if (!foreign.isEmpty())
        lines << QStringLiteral("not marked with their own address, so a write refuses them: %1")
                     .arg(foreign.join(QStringLiteral(", ")));
    return lines.join(QStringLiteral("; "));
}

QString formatDump(const ImageDump &dump) {
    const ImageWords texts = englishImageWords();
    const auto &header = texts.gridHeader;
    QString out =
        QStringList(header.begin(), header.end()).join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int n = 0; n < kChannelCount; ++n) {
        const ChannelCells &c = dump.channels[std::size_t(n)];
        out += QStringList{QString::number(n + 1), c.rx, c.rxTone, c.tx, c.txTone, c.busy, c.scan}
                   .join(QLatin1Char('\t'));
        out += QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
    for (const auto &[name, value] : dump.settings)
        out += name + QLatin1Char('\t') + value + QLatin1Char('\n');
    return out;
}

} // namespace qx::cli
