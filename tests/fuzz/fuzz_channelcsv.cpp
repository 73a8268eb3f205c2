// CSV import of any text. Every problem and note names a line of the text (or line 0
// for the file as a whole). Accepted rows hold only what the grid can hold: an empty
// channel, or a checked frequency on the raster, OFF or a tone of the list, YES or NO.
// An accepted CSV builds an image whose channels are exactly those rows, whose other
// records are the base image's, and whose export reads back unchanged: no note, no
// problem, the same bytes.
// A CSV with CHIRP's header: every row is named by its line and either fills one channel
// with what the grid can hold, each channel once, busy lock-out from the image, or says why
// not. Without skipping, any unfit row means no image; with it, the image holds exactly
// the fitting rows and the base's settings, and its CHIRP export reads back unchanged.
// The Chinese window's words change the messages' words only: the same image, as many
// problems, notes and skipped lines.
#include "channelcsv.h"
#include "chirpcsv.h"
#include "error.h"
#include "frequency.h"
#include "fuzzcheck.h"
#include "memoryframe.h"
#include "sampleimage.h"

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

// What the grid can hold: an empty channel, or a checked frequency on the raster, OFF
// or a tone of the list, YES or NO.
bool holdable(const ChannelCells &c) {
    if (c.rx.isEmpty())
        return c == ChannelCells{};
    return isStoredFrequency(c.rx) && (c.tx.isEmpty() || isStoredFrequency(c.tx)) &&
           isTone(c.rxTone) && isTone(c.txTone) && isFlag(c.busy) && isFlag(c.scan);
}

int checkChirp(const QString &text, int lines) {
    // Decodable, with busy lock-out on some channels and an empty one.
    const QByteArray base = test::sampleImage();
    const ChannelTable old = channelsOfImage(base);
    const ChirpChannels rows = parseChirpCsv(text, base);
    const CsvImport strict = importCsv(text, base);
    const CsvImport skipping = importCsv(text, base, true);
    if (!rows.problems.isEmpty()) {
        FUZZ_CHECK(rows.rows.isEmpty() && strict.image.isEmpty() && skipping.image.isEmpty());
        FUZZ_CHECK(skipping.errors.size() == rows.problems.size());
        return 0;
    }

    ChannelTable cells;
    std::array<bool, kChannelCount> filled{}, skipped{};
    int previous = 0;
    int unfit = 0;
    for (const ChirpRow &row : rows.rows) {
        FUZZ_CHECK(row.line > previous && row.line <= lines);
        previous = row.line;
        if (!row.unfit.isEmpty()) {
            ++unfit;
            FUZZ_CHECK(row.cells == ChannelCells{});
            if (row.channel >= 1 && row.channel <= kChannelCount)
                skipped[std::size_t(row.channel - 1)] = true;
            continue;
        }
        filled[std::size_t(row.channel - 1)] = true;
        FUZZ_CHECK(row.channel >= 1 && row.channel <= kChannelCount);
        ChannelCells &c = cells[std::size_t(row.channel - 1)];
        // Each channel once, filled with what the grid can hold.
        FUZZ_CHECK_MSG(c.rx.isEmpty() && !row.cells.rx.isEmpty() && holdable(row.cells),
                       QStringLiteral("line %1: %2").arg(row.line).arg(row.cells.rx));
        const QString oldBusy = old[std::size_t(row.channel - 1)].busy;
        FUZZ_CHECK(row.cells.busy == (oldBusy.isEmpty() ? QStringLiteral("NO") : oldBusy));
        c = row.cells;
    }
    for (const CsvMessage &m : rows.notes)
        FUZZ_CHECK_MSG(m.line >= 1 && m.line <= lines && !m.text.isEmpty(), m.toString());

    FUZZ_CHECK(strict.errors.size() == unfit && strict.image.isEmpty() == (unfit > 0));
    FUZZ_CHECK(skipping.errors.isEmpty() && skipping.skipped.size() == unfit);
    FUZZ_CHECK(skipping.image.size() == base.size());
    FUZZ_CHECK(skipping.image.mid(32 * 12) == base.mid(32 * 12));
    // A channel whose rows were all left out keeps what it held.
    for (std::size_t n = 0; n < cells.size(); ++n)
        if (skipped[n] && !filled[n])
            cells[n] = old[n];
    FUZZ_CHECK(channelsOfImage(skipping.image) == cells);

    const CsvImport again = importCsv(exportChirpCsv(skipping.image), skipping.image);
    FUZZ_CHECK(again.errors.isEmpty() && again.notes.isEmpty() && again.skipped.isEmpty());
    FUZZ_CHECK(again.image == skipping.image);
    return 0;
}

// 35 records: a channel image to be replaced and settings records to be kept.
QByteArray baseImage() {
    QByteArray image;
    for (int i = 0; i < kRecordCount; ++i)
        image += MemoryFrame::make(0, std::uint8_t(i), {std::uint8_t(i), 1, 2, 3, 4, 5, 6, 7})
                     .toByteArray();
    return image;
}

// Both formats, strict and skipping, in the Chinese words.
void checkChinese(const QString &text) {
    const QByteArray base = test::sampleImage();
    for (const bool skip : {false, true}) {
        const CsvImport english = importCsv(text, base, skip);
        const CsvImport chinese = importCsv(text, base, skip, chineseCsvTexts());
        FUZZ_CHECK(chinese.image == english.image);
        FUZZ_CHECK(chinese.errors.size() == english.errors.size());
        FUZZ_CHECK(chinese.notes.size() == english.notes.size());
        FUZZ_CHECK(chinese.skipped.size() == english.skipped.size());
    }
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
    checkChinese(text);
    if (!csvEncodingProblem(text).isEmpty()) {
        // The whole file is refused, with that one reason.
        FUZZ_CHECK(importCsv(text, baseImage()).errors == QStringList{csvEncodingProblem(text)});
        return 0;
    }
    if (isChirpCsv(text))
        return checkChirp(text, lines);

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
        FUZZ_CHECK_MSG(holdable(c), c.rx + QLatin1Char(' ') + c.tx);
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
