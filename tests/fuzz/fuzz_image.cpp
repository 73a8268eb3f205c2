// A working file or .dat image of any bytes, through every reader: the window's load
// (forEachRecord and the decoders), WorkingFile's record access and store, the CLI's
// decodeImage and dump, and the channel CSV export.
// - The load visits records 0 to min(whole records, 35) - 1 in order, whatever fails; its
//   report names the rest as missing, the records without their own header as foreign
//   (as a write refuses them) and those whose decoders threw as undecodable.
// - seekAndRead returns each whole record as it is in the file and refuses the rest.
// - StoreFrame replaces exactly its record; a gap up to it reads back as blank records of
//   their own address. A store beyond record 34 is refused.
// - decodeImage agrees with the load: it fails exactly at the load's first undecodable
//   record, and its rows are channelsOfImage's.
// - The exported CSV reads back without a rejected header or empty row; when it is
//   accepted without a change, it rebuilds the same channel rows (a row cut short by the
//   end of the file completed with OFF and NO) and keeps the records after them.
// - diffImages finds nothing between an image and itself or its first 35 records, and
//   against an empty file only fields; every difference is worded in both languages.
#include "channelcsv.h"
#include "error.h"
#include "fuzzcheck.h"
#include "imagediff.h"
#include "imagedump.h"
#include "settingscodec.h"
#include "workingfile.h"

#include <QFile>

#include <algorithm>

using namespace qx;

namespace {

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fuzz::fail(__FILE__, __LINE__, "write scratch file", f.errorString());
}

// The window's load with the decoders alone (the window also refuses a model block that
// names no model): the first undecodable record, or -1.
int load(const QString &path, const QByteArray &bytes) {
    ChannelTable rows;
    int visited = 0;
    const auto report = forEachRecord(path, [&](int index, const QString &text) {
        FUZZ_CHECK(index == visited);
        ++visited;
        if (index < kRecord03C0) {
            ChannelCells &row = rows[std::size_t(index / 2)];
            if (index % 2 == 0) {
                const FrequencyCells f = get_data1(text);
                row.rx = f.rx;
                row.tx = f.tx;
            } else if (get_data2(text, row.rx, chineseFlagWords()).emptyRow) {
                row = {};
            }
        } else if (index == kRecord03C0) {
            data03C0(text);
        } else if (index == kRecord03D0) {
            data03D0(text);
        } else {
            data03F0(text);
        }
    });
    FUZZ_CHECK(report);
    const int records = std::min(int(bytes.size() / 12), kRecordCount);
    FUZZ_CHECK(visited == records);
    FUZZ_CHECK(report->records == int(bytes.size() / 12));
    FUZZ_CHECK(report->missing.size() == kRecordCount - records);
    FUZZ_CHECK(report->foreign.isEmpty() == (firstForeignRecord(bytes) < 0));
    for (int i : report->foreign)
        FUZZ_CHECK(bytes.mid(i * 12, 4) != recordHeader(i));
    return report->undecodable.isEmpty() ? -1 : report->undecodable.first();
}

void checkRecordAccess(const QString &path, const QByteArray &bytes) {
    WorkingFile file(path);
    const int count = int(bytes.size() / MemoryFrame::kSize);
    FUZZ_CHECK(file.recordCount() == count);
    // Each read opens the file: the first records and the last one are enough.
    for (int i : {0, 1, 2, count - 1}) {
        if (i < 0 || i >= count)
            continue;
        file.seekAndRead(i);
        FUZZ_CHECK(file.readRecord().toByteArray() == bytes.mid(i * 12, 12));
    }
    bool refused = false;
    try {
        file.seekAndRead(count);
    } catch (const Error &) {
        refused = true;
    }
    FUZZ_CHECK(refused);
}

void checkStore(const QString &path, const QByteArray &bytes, int index) {
    const MemoryFrame frame = MemoryFrame::make(0x03, 0xF0, {1, 2, 3, 4, 5, 6, 7, 8});
    WorkingFile file(path);
    if (index >= kRecordCount) {
        bool refused = false;
        try {
            file.StoreFrame(index, frame);
        } catch (const Error &) {
            refused = true;
        }
        FUZZ_CHECK(refused && file.readAll() == bytes);
        return;
    }
    file.StoreFrame(index, frame);
    const qint64 offset = qint64(index) * 12;
    QByteArray expected;
    if (bytes.size() < offset) {
        expected = bytes.left(bytes.size() - bytes.size() % 12);
        for (int i = int(bytes.size() / 12); i < index; ++i)
            expected += blankRecord(i).toByteArray();
        expected += frame.toByteArray();
    } else {
        expected = bytes;
        expected.replace(offset, std::min<qint64>(12, bytes.size() - offset), frame.toByteArray());
    }
    FUZZ_CHECK(file.readAll() == expected);
}

void checkCsvExport(const QByteArray &bytes, const ChannelTable &rows) {
    const QString csv = formatChannelCsv(rows);
    const CsvChannels read = parseChannelCsv(csv);
    for (const CsvMessage &problem : read.problems) {
        // Line n + 1 holds channel n; a rejected value is named on its own row, and an
        // empty channel is never rejected.
        FUZZ_CHECK_MSG(problem.line >= 2 && problem.line <= 17, problem.toString());
        FUZZ_CHECK_MSG(!(rows[std::size_t(problem.line - 2)] == ChannelCells{}),
                       problem.toString());
    }
    if (!read.ok() || !read.notes.isEmpty())
        return;
    // A row whose tone record is missing from a short image is completed as the grid
    // completes it.
    ChannelTable expected = rows;
    for (ChannelCells &row : expected) {
        if (row.rx.isEmpty())
            continue;
        for (QString *cell : {&row.rxTone, &row.txTone})
            if (cell->isEmpty())
                *cell = QStringLiteral("OFF");
        for (QString *cell : {&row.busy, &row.scan})
            if (cell->isEmpty())
                *cell = QStringLiteral("NO");
    }
    const QByteArray rebuilt = applyChannelCsv(read, bytes);
    FUZZ_CHECK(channelsOfImage(rebuilt) == expected);
    FUZZ_CHECK(rebuilt.mid(32 * 12) == bytes.mid(32 * 12));
}

void checkDiff(const QByteArray &bytes) {
    FUZZ_CHECK(diffImages(bytes, bytes).isEmpty());
    FUZZ_CHECK(diffImages(bytes, bytes.left(kRecordCount * 12)).isEmpty());
    const ImageDiff diff = diffImages(QByteArray(), bytes);
    FUZZ_CHECK(diff.otherBytes.isEmpty());
    for (const Language language : {Language::Chinese, Language::English})
        FUZZ_CHECK(formatImageDiff(diff, imageWords(language)).size() == diff.changes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString path = fuzz::scratchPath(QStringLiteral("r_and_w.dat"));
    writeFile(path, bytes);

    const int stoppedAt = load(path, bytes);

    int dumpStoppedAt = -1;
    try {
        const cli::ImageDump dump = cli::decodeImage(bytes, QStringLiteral("in.dat"));
        FUZZ_CHECK(dump.recordCount == int(bytes.size() / 12));
        FUZZ_CHECK(dump.settings.size() == 16);
        FUZZ_CHECK(!cli::formatDump(dump).isEmpty());
        FUZZ_CHECK(channelsOfImage(bytes) == dump.channels);
        checkCsvExport(bytes, dump.channels);
    } catch (const cli::ImageError &e) {
        dumpStoppedAt = e.record();
    }
    FUZZ_CHECK_MSG(dumpStoppedAt == stoppedAt,
                   QStringLiteral("dump %1, load %2").arg(dumpStoppedAt).arg(stoppedAt));

    checkDiff(bytes);
    checkRecordAccess(path, bytes);
    checkStore(path, bytes, size > 0 ? data[0] % 40 : 0);
    return 0;
}
