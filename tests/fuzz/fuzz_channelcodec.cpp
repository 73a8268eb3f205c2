// The channel codec on any pair of channel records. Decoding fails only with qx::Error.
// A decoded row, encoded as the grid encodes it (empty tone OFF, empty flag NO), decodes
// to the same row, with one exception the codec defines: a tone below 10 Hz ("5.0") has
// no 4-digit text and is stored as 00 00, so it comes back as "0.0". A row whose
// frequency is below 100 MHz (not 9 characters) is refused by the encoder with qx::Error.
// Where the row is kept, the frequency bytes and tone bytes are kept byte for byte.
#include "channelcodec.h"
#include "error.h"
#include "fuzzcheck.h"

#include <algorithm>

using namespace qx;

namespace {

ChannelCells decodeRow(const QString &first, const QString &second, const FlagWords &words) {
    const FrequencyCells f = get_data1(first);
    const ToneFlagCells t = get_data2(second, f.rx, words);
    if (t.emptyRow)
        return {};
    return {f.rx, t.rxTone, f.tx, t.txTone, t.busy, t.scan};
}

QString describe(const ChannelCells &c) {
    return QStringList{c.rx, c.rxTone, c.tx, c.txTone, c.busy, c.scan}.join(QLatin1Char('|'));
}

// 8 BCD digits as BcdText writes them: no leading zeros, a point, five decimals.
bool isDecodedFrequency(const QString &text) {
    const int point = text.indexOf(QLatin1Char('.'));
    return point >= 1 && point <= 3 && text.size() == point + 6 &&
           (point == 1 || text.at(0) != QLatin1Char('0'));
}

void checkRow(const QByteArray &records, const FlagWords &words) {
    const QString first = FrameText(MemoryFrame::fromBytes(records.left(12)));
    const QString second = FrameText(MemoryFrame::fromBytes(records.mid(12, 12)));
    ChannelCells row;
    try {
        row = decodeRow(first, second, words);
    } catch (const Error &) {
        return; // the load stops at this record, as the window's does
    }
    FUZZ_CHECK(row.rx.isEmpty() || isDecodedFrequency(row.rx));
    FUZZ_CHECK(row.tx.isEmpty() || isDecodedFrequency(row.tx));
    FUZZ_CHECK(!row.rx.isEmpty() || row == ChannelCells{});

    std::array<MemoryFrame, 2> frames;
    try {
        frames = encodeChannelFrames(5, row); // an empty row is completed as the grid stores it
    } catch (const Error &) {
        FUZZ_CHECK_MSG((!row.rx.isEmpty() && row.rx.size() != 9) ||
                           (!row.tx.isEmpty() && row.tx.size() != 9),
                       row.rx + QLatin1Char('|') + row.tx);
        return;
    }
    FUZZ_CHECK(row.rx.size() == 9 || row.rx.isEmpty());
    const ChannelCells again = decodeRow(FrameText(frames[0]), FrameText(frames[1]), words);
    ChannelCells expected = row;
    for (QString *tone : {&expected.rxTone, &expected.txTone})
        if (!tone->isEmpty() && *tone != QLatin1String("OFF") && tone->size() < 4)
            *tone = QStringLiteral("0.0");
    FUZZ_CHECK_MSG(again == expected, describe(row) + QStringLiteral(" -> ") + describe(again));

    if (row.rx.isEmpty())
        return;
    FUZZ_CHECK(frames[0].data() == MemoryFrame::fromBytes(records.left(12)).data());
    const Bytes8 old = MemoryFrame::fromBytes(records.mid(12, 12)).data();
    const Bytes8 now = frames[1].data();
    const auto keeps = [](const QString &tone) {
        return tone == QLatin1String("OFF") || tone.size() >= 4;
    };
    if (keeps(row.rxTone))
        FUZZ_CHECK(now[0] == old[0] && now[1] == old[1]);
    if (keeps(row.txTone))
        FUZZ_CHECK(now[2] == old[2] && now[3] == old[3]);
    FUZZ_CHECK((now[4] & 3) == (old[4] & 3));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // Two records; a short input is padded as unwritten memory.
    QByteArray records = fuzz::bytesOf(data, std::min<std::size_t>(size, 24));
    records.append(QByteArray(24 - records.size(), '\xFF'));
    checkRow(records, englishFlagWords());
    checkRow(records, chineseFlagWords());

    // Whatever follows, as a frame text of any length and characters.
    if (size > 24) {
        const QString text = QString::fromLatin1(fuzz::bytesOf(data + 24, size - 24));
        try {
            get_data1(text);
        } catch (const Error &) {
        }
        try {
            get_data2(text, QStringLiteral("450.01250"), englishFlagWords());
        } catch (const Error &) {
        }
    }
    return 0;
}
