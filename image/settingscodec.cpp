#include "settingscodec.h"

#include "channelcodec.h"
#include "error.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace qx {

namespace {

// The character at a 1-based position of a FrameText; a null character past the end.
QChar charAt(const QString &text, int pos) {
    return pos >= 1 && pos <= text.size() ? text.at(pos - 1) : QChar();
}

int hexDigit(const QString &text, int pos) {
    const QChar c = charAt(text, pos);
    const int v = hexValue(c);
    if (v < 0)
        throw invalidInteger(QLatin1Char('$') + QString(c));
    return v;
}

int decimalDigit(const QString &text, int pos) {
    const QChar c = charAt(text, pos);
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
        throw invalidInteger(QString(c));
    return c.unicode() - '0';
}

int hexByte(const QString &text, int byte) {
    return hexDigit(text, 9 + 2 * byte) * 16 + hexDigit(text, 10 + 2 * byte);
}

// A list without a selection is stored as its first item.
int listIndex(int index) {
    return index < 0 ? 0 : index;
}

MemoryFrame settingsFrame(std::uint8_t addrLow, const Bytes8 &data) {
    return MemoryFrame::make(0x03, addrLow, data);
}

// Seconds as stored: byte / 2 below 0x20, otherwise the field's default.
QString timeText(int byte, const char *fallback) {
    if (byte < 0x20)
        return shortestText(byte / 2.0);
    return QString::fromLatin1(fallback);
}

double parseTime(const QString &time) {
    // What a user types: optional sign, digits, optional point. No exponent, no grouping.
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString t = time.trimmed();
    if (!number.match(t).hasMatch())
        throw invalidFloat(time);
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw invalidFloat(time);
    return v;
}

} // namespace

QString shortestText(double value) {
    if (value == 0.0)
        return QStringLiteral("0"); // no "-0"
    return QString::number(value, 'g', 15);
}

Block03C0Values data03C0(const QString &frameText) {
    Block03C0Values v;
    const QString bits = HexDigitBits(charAt(frameText, 10), 4);
    v.batterySave = bits.at(2) == QLatin1Char('1') ? 1 : 0;
    v.beep = bits.at(3) == QLatin1Char('1') ? 1 : 0;
    v.squelch = decimalDigit(frameText, 12);
    v.monitorKey = charAt(frameText, 14) == QLatin1Char('0') ? 0 : 1;
    const int timeOut = hexDigit(frameText, 16);
    v.timeOut = timeOut <= 10 ? timeOut : -1;
    return v;
}

MemoryFrame save03C0(const Block03C0Values &values) {
    const int beep = listIndex(values.beep) & 1;
    const int save = listIndex(values.batterySave) & 1;
    return settingsFrame(0xC0, {std::uint8_t(0xFC + 2 * save + beep),
                                std::uint8_t(listIndex(values.squelch)),
                                std::uint8_t(listIndex(values.monitorKey) == 0 ? 0x00 : 0x03),
                                std::uint8_t(listIndex(values.timeOut)), 0xFF, 0xFF, 0xFF, 0xFF});
}

std::optional<ModelBand> data03D0(const QString &frameText) {
    const int sum = decimalDigit(frameText, 16) + decimalDigit(frameText, 18) +
                    decimalDigit(frameText, 20) + decimalDigit(frameText, 22);
    if (sum == 5 || sum == 10) {
        const QChar digit = charAt(frameText, 14);
        int band = -1;
        if (digit == QLatin1Char('0'))
            band = 0;
        else if (digit == QLatin1Char('1'))
            band = 1;
        return ModelBand{1, band};
    }
    if (sum == 6 || sum == 11) {
        const int band = decimalDigit(frameText, 14) - 4;
        // Codes outside F4..F8 name no band of the list.
        return ModelBand{0, band >= 0 && band < 5 ? band : -1};
    }
    return std::nullopt;
}

MemoryFrame save03D0(int model, int band, int bandCount) {
    const int b = listIndex(band);
    const std::uint8_t code = std::uint8_t((bandCount == 2 ? 0xF0 : 0xF4) + b);
    return settingsFrame(
        0xD0, {0x00, 0x00, code, 0x37, 0x30, 0x31, std::uint8_t(model == 1 ? 0x32 : 0x33), 0x50});
}

Block03F0Values data03F0(const QString &frameText) {
    Block03F0Values v;
    const QString voice = HexDigitBits(charAt(frameText, 10), 2);
    if (voice == QLatin1String("01"))
        v.voice = 1;
    else if (voice == QLatin1String("10"))
        v.voice = 2;
    else if (voice == QLatin1String("11"))
        v.voice = 0;
    else
        v.voice = 3;
    v.carrierTime = timeText(hexByte(frameText, 3), "10");
    v.power = hexByte(frameText, 4);
    v.delayTime = timeText(hexByte(frameText, 5), "10");
    v.returnTime = timeText(hexByte(frameText, 6), "5");
    const QString scan = HexDigitBits(charAt(frameText, 23), 4);
    v.scanOn = scan.at(0) == QLatin1Char('0');
    v.scanMode = scan.at(1) == QLatin1Char('1') ? 1 : 0;
    v.channelMode = scan.at(2) == QLatin1Char('1') ? 1 : 0;
    v.priorityChannel = hexDigit(frameText, 24);
    return v;
}

MemoryFrame save03F0(const Block03F0Values &values) {
    std::uint8_t voice = 0x58;
    switch (listIndex(values.voice)) {
    case 0:
        voice = 0x5F;
        break;
    case 1:
        voice = 0x5D;
        break;
    case 2:
        voice = 0x5E;
        break;
    default:
        break;
    }
    const std::uint8_t carrier = TimeByte(values.carrierTime);
    const std::uint8_t delay = TimeByte(values.delayTime);
    const std::uint8_t ret = TimeByte(values.returnTime);
    const std::uint8_t power = std::uint8_t(((values.power % 256) + 256) % 256);
    const int scan = 16 + (listIndex(values.priorityChannel) & 0x0F) +
                     32 * (listIndex(values.channelMode) & 1) +
                     64 * (listIndex(values.scanMode) & 1) + (values.scanOn ? 0 : 128);
    return settingsFrame(0xF0, {voice, 0x0F, 0x2B, carrier, power, delay, ret, std::uint8_t(scan)});
}

std::uint8_t TimeByte(const QString &time) {
    const double doubled = parseTime(time) * 2;
    // The doubled value must be a whole number that fits the integer type of the original.
    if (doubled != std::floor(doubled) || doubled < std::numeric_limits<qint32>::min() ||
        doubled > std::numeric_limits<qint32>::max())
        throw invalidInteger(shortestText(doubled));
    const qint64 v = static_cast<qint64>(doubled);
    return std::uint8_t(((v % 256) + 256) % 256);
}

QString TimeStepUp(const QString &time) {
    const double v = parseTime(time) + 0.5;
    return v > 15 ? QStringLiteral("0.5") : shortestText(v);
}

QString TimeStepDown(const QString &time) {
    const double v = parseTime(time) - 0.5;
    return v >= 0.5 ? shortestText(v) : QStringLiteral("15");
}

const std::vector<Band> &BandTable() {
    static const std::vector<Band> table{
        {0, 0, "UHF:450-470MHz", "450.01250", 0xF4}, {0, 1, "UHF:470-490MHz", "490.00000", 0xF5},
        {0, 2, "UHF:490-512MHz", "512.00000", 0xF6}, {0, 3, "UHF:406-430MHz", "430.00000", 0xF7},
        {0, 4, "UHF:400-420Mhz", "420.00000", 0xF8}, {1, 0, "VHF:150-174MHz", "174.00000", 0xF0},
        {1, 1, "VHF:136-150MHz", "150.00000", 0xF1},
    };
    return table;
}

QStringList bandNames(int model) {
    const int wanted = model == 1 ? 1 : 0;
    QStringList out;
    for (const Band &b : BandTable())
        if (b.model == wanted)
            out << QString::fromLatin1(b.name);
    return out;
}

QString bandDefaultFrequency(const QString &bandText) {
    for (const Band &b : BandTable())
        if (bandText.compare(QLatin1String(b.name), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(b.defaultFrequency);
    return QStringLiteral("150.00000");
}

QString modelDefaultFrequency(int model) {
    return model == 1 ? QStringLiteral("150.00000") : QStringLiteral("450.01250");
}

QStringList modelNames() {
    return {QStringLiteral("QX-7420")};
}

} // namespace qx
