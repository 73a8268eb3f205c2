#include "steps.h"

#include "memoryframe.h"

namespace qx {

namespace {

constexpr std::uint8_t kProgramOk = 0x50; // 'P'
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kBlockLength = 0x08;

std::vector<Step> readTable() {
    using Kind = Step::Kind;
    std::vector<Step> steps{{Kind::Handshake, 0, -1, Step::Wait::Short}};
    for (int record = 0; record < kRecordCount; ++record)
        steps.push_back({Kind::ReadRequest, recordAddress(record), record, Step::Wait::Long});
    steps.back().wait = Step::Wait::Short;
    return steps;
}

// The handshake, two blank frames, the 32 channel records, then each settings record
// followed by the blank frame of the block's second half.
std::vector<Step> writeTable() {
    using Kind = Step::Kind;
    std::vector<Step> steps{{Kind::Handshake, 0, -1, Step::Wait::Short},
                            {Kind::Blank, 0x0000, -1, Step::Wait::Short},
                            {Kind::Blank, 0x0008, -1, Step::Wait::Short}};
    for (int record = 0; record < kRecord03C0; ++record)
        steps.push_back({Kind::Record, 0, record, Step::Wait::Short});
    for (int record = kRecord03C0; record < kRecordCount; ++record) {
        steps.push_back({Kind::Record, 0, record, Step::Wait::Short});
        steps.push_back(
            {Kind::Blank, std::uint16_t(recordAddress(record) + 8), -1, Step::Wait::Short});
    }
    return steps;
}

} // namespace

const std::vector<Step> &stepTable(TransferMode mode) {
    static const std::vector<Step> read = readTable();
    static const std::vector<Step> write = writeTable();
    return mode == TransferMode::Read ? read : write;
}

QByteArray handshakeBytes() {
    return QByteArray("\x02PROGRAM", 8);
}

QByteArray readRequestBytes(std::uint16_t address) {
    const char request[] = {char(0x52), char(address >> 8), char(address & 0xFF),
                            char(kBlockLength), char(kAck)};
    return QByteArray(request, int(sizeof request));
}

QByteArray blankFrameBytes(std::uint16_t address) {
    QByteArray frame;
    frame.append(char(MemoryFrame::kMarker))
        .append(char(address >> 8))
        .append(char(address & 0xFF))
        .append(char(kBlockLength));
    frame.append(8, char(0xFF));
    frame.append(char(kAck));
    return frame;
}

bool isAnswer(TransferMode mode, const Step &step, const QByteArray &reply) {
    if (reply.isEmpty())
        return false;
    const auto first = std::uint8_t(reply.at(0));
    if (step.kind == Step::Kind::Handshake)
        return first == kProgramOk;
    if (mode == TransferMode::Read)
        // A short frame would store bytes the radio never sent.
        return first == MemoryFrame::kMarker && reply.size() >= MemoryFrame::kSize;
    return first == kAck;
}

bool echoesRequest(const Step &step, const QByteArray &reply) {
    if (step.kind != Step::Kind::ReadRequest)
        return true;
    return reply.size() >= 4 && std::uint8_t(reply.at(1)) == step.address >> 8 &&
           std::uint8_t(reply.at(2)) == (step.address & 0xFF) &&
           std::uint8_t(reply.at(3)) == kBlockLength;
}

QString quotedBytes(const QByteArray &bytes) {
    constexpr int kShown = 12; // a whole frame
    QString text = QString::fromLatin1(bytes.left(kShown).toHex(' ').toUpper());
    if (bytes.size() > kShown)
        text += QStringLiteral(" \u2026");
    return text;
}

QString stepLabel(TransferMode mode, int step) {
    const std::vector<Step> &table = stepTable(mode);
    if (step < 1 || step > int(table.size()))
        return QStringLiteral("step %1").arg(step);
    return stepLabel(step, table[std::size_t(step - 1)]);
}

QString stepLabel(int number, const Step &s) {
    const QString address = QStringLiteral("%1").arg(s.address, 4, 16, QLatin1Char('0')).toUpper();
    switch (s.kind) {
    case Step::Kind::Handshake:
        return QStringLiteral("step %1 handshake").arg(number);
    case Step::Kind::ReadRequest:
        return QStringLiteral("step %1 read %2").arg(number).arg(address);
    case Step::Kind::Blank:
        return QStringLiteral("step %1 blank %2").arg(number).arg(address);
    case Step::Kind::Record:
        return QStringLiteral("step %1 record %2").arg(number).arg(s.record);
    }
    return {};
}

} // namespace qx
