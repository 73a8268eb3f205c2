#include "memoryframe.h"

#include "error.h"

#include <algorithm>

namespace qx {

MemoryFrame MemoryFrame::make(std::uint8_t addrHigh, std::uint8_t addrLow, const Bytes8 &data) {
    MemoryFrame frame;
    frame.bytes[0] = kMarker;
    frame.bytes[1] = addrHigh;
    frame.bytes[2] = addrLow;
    frame.bytes[3] = 0x08;
    std::copy(data.begin(), data.end(), frame.bytes.begin() + 4);
    return frame;
}

MemoryFrame MemoryFrame::fromBytes(const QByteArray &raw) {
    if (raw.size() < kSize)
        throw Error(
            QStringLiteral("A memory frame needs %1 bytes, got %2.").arg(kSize).arg(raw.size()));
    MemoryFrame frame;
    for (int i = 0; i < kSize; ++i)
        frame.bytes[i] = static_cast<std::uint8_t>(raw.at(i));
    return frame;
}

QByteArray MemoryFrame::toByteArray() const {
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), kSize);
}

Bytes8 MemoryFrame::data() const {
    Bytes8 out{};
    std::copy(bytes.begin() + 4, bytes.end(), out.begin());
    return out;
}

QString FrameText(const MemoryFrame &frame) {
    return QString::fromLatin1(frame.toByteArray().toHex().toUpper());
}

int hexValue(QChar c) {
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

std::uint16_t recordAddress(int record) {
    if (record < kRecord03C0)
        return std::uint16_t(0x0010 + 8 * record);
    static const std::uint16_t settings[] = {0x03C0, 0x03D0, 0x03F0};
    return settings[record - kRecord03C0];
}

QByteArray recordHeader(int record) {
    const std::uint16_t address = recordAddress(record);
    const char header[] = {char(MemoryFrame::kMarker), char(address >> 8), char(address & 0xFF),
                           char(0x08)};
    return QByteArray(header, int(sizeof header));
}

bool hasOwnHeader(const MemoryFrame &frame, int record) {
    return frame.toByteArray().left(4) == recordHeader(record);
}

MemoryFrame blankRecord(int record) {
    const std::uint16_t address = recordAddress(record);
    Bytes8 unset;
    unset.fill(0xFF);
    return MemoryFrame::make(std::uint8_t(address >> 8), std::uint8_t(address & 0xFF), unset);
}

int firstForeignRecord(const QByteArray &image) {
    const int count = std::min<int>(int(image.size() / MemoryFrame::kSize), kRecordCount);
    for (int i = 0; i < count; ++i)
        if (!hasOwnHeader(MemoryFrame::fromBytes(recordBytes(image, i)), i))
            return i;
    return -1;
}

QByteArray recordBytes(const QByteArray &image, int record) {
    return image.mid(record * MemoryFrame::kSize, MemoryFrame::kSize);
}

QList<int> differingRecords(const QByteArray &expected, const QByteArray &actual) {
    QList<int> out;
    for (int i = 0; i < kRecordCount; ++i) {
        const QByteArray a = recordBytes(expected, i);
        const QByteArray b = recordBytes(actual, i);
        if (a.size() != MemoryFrame::kSize || a != b)
            out << i;
    }
    return out;
}

} // namespace qx
