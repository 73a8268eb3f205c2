#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>

namespace qx {

using Bytes8 = std::array<std::uint8_t, 8>;

// One record of the working file and the radio's reply to a read request:
// 0x57, address high, address low, 0x08, eight data bytes.
struct MemoryFrame {
    static constexpr int kSize = 12;
    static constexpr std::uint8_t kMarker = 0x57;

    std::array<std::uint8_t, kSize> bytes{};

    static MemoryFrame make(std::uint8_t addrHigh, std::uint8_t addrLow, const Bytes8 &data);
    static MemoryFrame fromBytes(const QByteArray &raw); // first 12 bytes; raw must hold 12
    QByteArray toByteArray() const;
    Bytes8 data() const;

    bool operator==(const MemoryFrame &other) const { return bytes == other.bytes; }
    bool operator!=(const MemoryFrame &other) const { return bytes != other.bytes; }
};

// 24 upper-case hex digits, the form in which the decoders cut out their fields
// by character position.
QString FrameText(const MemoryFrame &frame);
// The value of one hexadecimal digit of a FrameText, -1 for any other character.
int hexValue(QChar c);

// Record layout of the image: two records per channel, then the settings blocks.
constexpr int kChannelCount = 16;
constexpr int kRecord03C0 = 32;
constexpr int kRecord03D0 = 33;
constexpr int kRecord03F0 = 34;
constexpr int kRecordCount = 35;
// A whole image: 35 records of 12 bytes.
constexpr int kImageBytes = kRecordCount * MemoryFrame::kSize;

// The radio address of record 0..34: the channel blocks from 0x0010 on, then 0x03C0,
// 0x03D0 and 0x03F0.
std::uint16_t recordAddress(int record);

// The four bytes record 0..34 starts with: 'W', its own address, 0x08. A frame with any
// other header would be stored by the radio somewhere else, or refused.
QByteArray recordHeader(int record);
bool hasOwnHeader(const MemoryFrame &frame, int record);
// Record 0..34 holding nothing: its own header and eight 0xFF ("not set").
MemoryFrame blankRecord(int record);
// The first of records 0 to 34 that the image holds whose header is not its own; -1 when
// there is none (a short image is not judged here).
int firstForeignRecord(const QByteArray &image);

// The 12 bytes of record n of an image; fewer, or none, where the image ends before.
QByteArray recordBytes(const QByteArray &image, int record);
// Records 0 to 34 whose 12 bytes differ (a record missing from either side differs).
QList<int> differingRecords(const QByteArray &expected, const QByteArray &actual);

} // namespace qx
