#include "channelcodec.h"

#include "error.h"
#include "workingfile.h"

namespace qx {

namespace {

bool allDecimal(const QString &text) {
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// Digit pairs of a little-endian BCD field, most significant first.
QString reversedPairs(const QString &field) {
    QString out;
    for (int i = field.size() - 2; i >= 0; i -= 2)
        out += field.mid(i, 2);
    return out;
}

std::uint8_t hexPair(const QString &pair) {
    const int hi = pair.size() == 2 ? hexValue(pair.at(0)) : -1;
    const int lo = pair.size() == 2 ? hexValue(pair.at(1)) : -1;
    if (hi < 0 || lo < 0)
        throw invalidInteger(QLatin1Char('$') + pair);
    return std::uint8_t(hi * 16 + lo);
}

// "ddd.ddddd": what the grid editor produces and the encoder can turn into BCD.
bool isFrequencyText(const QString &text) {
    return text.size() == 9 && text.at(3) == QLatin1Char('.') && allDecimal(text.left(3)) &&
           allDecimal(text.mid(4));
}

void toneBytes(const QString &tone, std::uint8_t &first, std::uint8_t &second) {
    if (tone == kToneOff) {
        first = second = 0xFF;
        return;
    }
    QString t;
    if (tone.size() == 4)
        t = QLatin1Char('0') + tone;
    else if (tone.size() == 5)
        t = tone;
    else {
        first = second = 0x00;
        return;
    }
    t.remove(3, 1);
    first = hexPair(t.mid(2, 2));
    second = hexPair(t.mid(0, 2));
}

bool isYes(const QString &word) {
    return word.compare(chineseFlagWords().yes, Qt::CaseInsensitive) == 0 ||
           word.compare(englishFlagWords().yes, Qt::CaseInsensitive) == 0;
}

QString frequencyCell(const QString &field) {
    if (field == QLatin1String("FFFFFFFF"))
        return QString();
    return BcdText(reversedPairs(field));
}

QString toneCell(const QString &field) {
    if (field.compare(QLatin1String("FFFF"), Qt::CaseInsensitive) == 0)
        return kToneOff;
    return BcdText(reversedPairs(field));
}

} // namespace

FlagWords chineseFlagWords() {
    return {QStringLiteral("是"), QStringLiteral("否")};
}

FlagWords englishFlagWords() {
    return {QStringLiteral("YES"), QStringLiteral("NO")};
}

const std::array<Tone, 39> &ToneTable() {
    static const std::array<Tone, 39> table{{
        {"OFF", 0xFF, 0xFF},   {"67.0", 0x70, 0x06},  {"71.9", 0x19, 0x07},  {"74.4", 0x44, 0x07},
        {"77.0", 0x70, 0x07},  {"79.7", 0x97, 0x07},  {"82.5", 0x25, 0x08},  {"85.4", 0x54, 0x08},
        {"88.5", 0x85, 0x08},  {"91.5", 0x15, 0x09},  {"94.8", 0x48, 0x09},  {"97.4", 0x74, 0x09},
        {"100.0", 0x00, 0x10}, {"103.5", 0x35, 0x10}, {"107.2", 0x72, 0x10}, {"110.9", 0x09, 0x11},
        {"114.8", 0x48, 0x11}, {"118.8", 0x88, 0x11}, {"123.0", 0x30, 0x12}, {"127.3", 0x73, 0x12},
        {"131.8", 0x18, 0x13}, {"136.5", 0x65, 0x13}, {"141.3", 0x13, 0x14}, {"146.2", 0x62, 0x14},
        {"151.4", 0x14, 0x15}, {"156.7", 0x67, 0x15}, {"162.2", 0x22, 0x16}, {"167.9", 0x79, 0x16},
        {"173.8", 0x38, 0x17}, {"179.9", 0x99, 0x17}, {"186.2", 0x62, 0x18}, {"192.8", 0x28, 0x19},
        {"203.5", 0x35, 0x20}, {"210.7", 0x07, 0x21}, {"218.1", 0x81, 0x21}, {"225.7", 0x57, 0x22},
        {"233.6", 0x36, 0x23}, {"241.8", 0x18, 0x24}, {"250.3", 0x03, 0x25},
    }};
    return table;
}

QStringList toneTexts() {
    QStringList out;
    for (const Tone &t : ToneTable())
        out << QString::fromLatin1(t.text);
    return out;
}

QString BcdText(const QString &digits) {
    if (digits.size() != 8 && digits.size() != 4)
        return QString();
    if (!allDecimal(digits))
        throw invalidInteger(digits);
    // Integer arithmetic: the texts are exact, no rounding of a binary fraction.
    const qint64 v = digits.toLongLong();
    const int decimals = digits.size() == 8 ? 5 : 1;
    const qint64 scale = digits.size() == 8 ? 100000 : 10;
    return QStringLiteral("%1.%2").arg(v / scale).arg(v % scale, decimals, 10, QLatin1Char('0'));
}

QString HexDigitBits(QChar digit, int k) {
    const int v = hexValue(digit);
    if (v < 0)
        throw invalidInteger(QLatin1Char('$') + QString(digit));
    k = qBound(0, k, 4);
    QString out;
    for (int bit = k - 1; bit >= 0; --bit)
        out += (v >> bit) & 1 ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

FrequencyCells get_data1(const QString &frameText) {
    return {frequencyCell(frameText.mid(8, 8)), frequencyCell(frameText.mid(16, 8))};
}

ToneFlagCells get_data2(const QString &frameText, const QString &rxCell, const FlagWords &words) {
    ToneFlagCells cells;
    if (rxCell.isEmpty()) {
        cells.emptyRow = true;
        return cells;
    }
    const QString t = frameText.mid(8, 8);
    cells.rxTone = toneCell(t.mid(0, 4));
    cells.txTone = toneCell(t.mid(4, 4));
    const QString bits = HexDigitBits(frameText.size() > 17 ? frameText.at(17) : QChar(), 4);
    cells.busy = bits.at(3) == QLatin1Char('0') ? words.yes : words.no;
    cells.scan = bits.at(2) == QLatin1Char('0') ? words.yes : words.no;
    return cells;
}

ChannelCells completedChannel(ChannelCells cells, const FlagWords &words) {
    for (QString *tone : {&cells.rxTone, &cells.txTone})
        if (tone->isEmpty())
            *tone = kToneOff;
    for (QString *flag : {&cells.busy, &cells.scan})
        if (flag->isEmpty())
            *flag = words.no;
    return cells;
}

std::array<MemoryFrame, 2> encodeChannelFrames(int channel, const ChannelCells &channelCells) {
    if (channel < 1 || channel > kChannelCount)
        throw Error(QStringLiteral("Invalid channel number %1").arg(channel));
    const ChannelCells cells = completedChannel(channelCells, englishFlagWords());
    const QString empty = QStringLiteral("FFF.FFFFF");
    const QString r = cells.rx.trimmed().isEmpty() ? empty : cells.rx.trimmed();
    const QString t = cells.tx.trimmed().isEmpty() ? empty : cells.tx.trimmed();
    for (const QString &f : {r, t})
        if (f != empty && !isFrequencyText(f))
            throw Error(
                QStringLiteral("'%1' is not a valid frequency (expected ddd.ddddd)").arg(f));

    QString s = r + t;
    s.remove(3, 1);
    s.remove(11, 1);
    Bytes8 freq{};
    for (int k = 0; k < 4; ++k) {
        freq[k] = hexPair(s.mid(6 - 2 * k, 2));
        freq[4 + k] = hexPair(s.mid(14 - 2 * k, 2));
    }

    Bytes8 tones{};
    toneBytes(cells.rxTone, tones[0], tones[1]);
    toneBytes(cells.txTone, tones[2], tones[3]);
    const int b = isYes(cells.busy) ? 0 : 1;
    const int sc = isYes(cells.scan) ? 0 : 1;
    tones[4] = std::uint8_t(0xF8 + 2 * sc + b);
    tones[5] = tones[6] = tones[7] = 0xFF;

    const std::uint16_t a0 = channelAddress(channel, 0);
    const std::uint16_t a1 = channelAddress(channel, 1);
    return {MemoryFrame::make(std::uint8_t(a0 >> 8), std::uint8_t(a0 & 0xFF), freq),
            MemoryFrame::make(std::uint8_t(a1 >> 8), std::uint8_t(a1 & 0xFF), tones)};
}

void EncodeChannel(WorkingFile &file, int channel, const ChannelCells &cells) {
    const auto frames = encodeChannelFrames(channel, cells);
    file.StoreFrames(2 * (channel - 1), {frames[0], frames[1]});
}

} // namespace qx
