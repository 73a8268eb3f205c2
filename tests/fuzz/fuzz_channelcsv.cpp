// CSV import of any text. Every problem and note names a line of the text (or line 0
// for the file as a whole). Accepted rows hold only what the grid can hold: an empty
// channel, or a checked frequency on the raster, OFF or a tone of the list, YES or NO.
// An accepted CSV builds an image whose channels are exactly those rows, whose other
// records are the base image's, and whose export reads back unchanged: no note, no
// problem, the same bytes.
#include "channelcsv.h"
#include "error.h"
#include "frequency.h"
#include "fuzzcheck.h"
#include "memoryframe.h"

using namespace qx;

namespace {

bool isStoredFrequency(const QString &text) {
    const CheckedFrequency c = checkFrequencyText(text);
    return c.verdict == CheckedFrequency::Verdict::InRange && c.text == text;
}

bool isTone(const QString &text) {
    return toneTexts().contains(text);
}

bool isFlag(const QString &text) {
    return text == QLatin1String("YES") || text == QLatin1String("NO");
}

// 35 records: a channel image to be replaced and settings records to be kept.
QByteArray baseImage() {
    QByteArray image;
    for (int i = 0; i < kRecordCount; ++i)
        image += MemoryFrame::make(0, std::uint8_t(i), {std::uint8_t(i), 1, 2, 3, 4, 5, 6, 7})
                     .toByteArray();
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    const int lines = int(text.count(QLatin1Char('\n'))) + 1;

    int previous = 0;
    for (const CsvRecord &record : parseCsv(text)) {
        FUZZ_CHECK(record.line > previous && record.line <= lines);
        previous = record.line;
    }

    const CsvChannels rows = parseChannelCsv(text);
    for (const QList<CsvMessage> *list : {&rows.problems, &rows.notes})
        for (const CsvMessage &m : *list)
            FUZZ_CHECK_MSG(m.line >= 0 && m.line <= lines && !m.text.isEmpty(), m.toString());

    const QByteArray base = baseImage();
    const CsvImport imported = importCsv(text, base);
    FUZZ_CHECK(imported.errors.size() == rows.problems.size());
    FUZZ_CHECK(imported.notes.size() == rows.notes.size());
    FUZZ_CHECK(imported.image.isEmpty() != rows.ok());
    if (!rows.ok())
        return 0;

    ChannelTable cells;
    for (int n = 0; n < kChannelCount; ++n) {
        FUZZ_CHECK(rows.channels[std::size_t(n)].has_value());
        const ChannelCells &c = *rows.channels[std::size_t(n)];
        if (c.rx.isEmpty()) {
            FUZZ_CHECK(c == ChannelCells{});
        } else {
            FUZZ_CHECK_MSG(isStoredFrequency(c.rx), c.rx);
            FUZZ_CHECK_MSG(c.tx.isEmpty() || isStoredFrequency(c.tx), c.tx);
            FUZZ_CHECK(isTone(c.rxTone) && isTone(c.txTone) && isFlag(c.busy) && isFlag(c.scan));
        }
        cells[std::size_t(n)] = c;
    }

    FUZZ_CHECK(imported.image.size() == base.size());
    FUZZ_CHECK(imported.image.mid(32 * 12) == base.mid(32 * 12));
    FUZZ_CHECK(channelsOfImage(imported.image) == cells);

    const CsvImport again = importCsv(exportChannelCsv(imported.image), imported.image);
    FUZZ_CHECK(again.errors.isEmpty() && again.notes.isEmpty());
    FUZZ_CHECK(again.image == imported.image);
    return 0;
}
