#pragma once

#include "transfermode.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace qx {

// One step of a transfer: what it sends and how long it waits for the answer.
struct Step {
    enum class Kind { Handshake, ReadRequest, Blank, Record };
    enum class Wait { Short, Long }; // 30 or 50 ms at the standard pacing
    Kind kind = Kind::Handshake;
    std::uint16_t address = 0; // read request or blank frame
    int record = -1;           // stored (read) or sent (write)
    Wait wait = Wait::Short;
};

// The step tables, step 1 first: a read has 36 steps, a write 41.
const std::vector<Step> &stepTable(TransferMode mode);

// The bytes a step sends; a Record step sends the given record's frame and 0x06.
QByteArray handshakeBytes();
QByteArray readRequestBytes(std::uint16_t address);
QByteArray blankFrameBytes(std::uint16_t address);

// Whether the bytes read after a step are the radio's answer to it: 'P' to the
// handshake, a whole 12-byte frame starting with 'W' to a read request, 0x06 to a
// frame of a write.
bool isAnswer(TransferMode mode, const Step &step, const QByteArray &reply);

// Whether a read answer starts with the header of the block its step asked for (always
// true for other steps). Asked beside isAnswer: the tail of a late reply in front of an
// answer would otherwise pass for it, shifted, and be stored under the wrong address.
bool echoesRequest(const Step &step, const QByteArray &reply);

// Bytes heard on the line for a message: "57 00 20 08 …", the first 12 of them in hex;
// empty for none.
QString quotedBytes(const QByteArray &bytes);

// "step 2 read 0010", "step 36 record 32": what a step does, for the transfer log.
QString stepLabel(TransferMode mode, int step);
QString stepLabel(int number, const Step &step);

} // namespace qx
