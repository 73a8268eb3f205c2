#pragma once

#include "channelcells.h"
#include "memoryframe.h"

#include <QString>
#include <QStringList>
#include <array>

namespace qx {

class WorkingFile;

struct Tone {
    const char *text;
    std::uint8_t low;
    std::uint8_t high;
};
// "OFF" and the 38 CTCSS tones of the tone drop-downs, with their stored bytes.
const std::array<Tone, 39> &ToneTable();
QStringList toneTexts();

// 8 digits give "450.01250", 4 digits "67.0"; any other length gives an empty text.
// Throws invalidInteger when a digit is not decimal.
QString BcdText(const QString &digits);
// Lowest k bits of one hex digit, most significant first ("B", 4 gives "1011").
QString HexDigitBits(QChar digit, int k);

struct FrequencyCells {
    QString rx;
    QString tx;
};
// Record 2(n-1): cells 1 and 3.
FrequencyCells get_data1(const QString &frameText);

struct ToneFlagCells {
    bool emptyRow = false; // the receive cell was empty: cells 2 to 6 become empty
    QString rxTone;
    QString txTone;
    QString busy;
    QString scan;
};
// Record 2(n-1)+1: cells 2, 4, 5, 6, or an empty row when rxCell is empty.
ToneFlagCells get_data2(const QString &frameText, const QString &rxCell, const FlagWords &words);

// The two frames of channel n (1..16) as EncodeChannel stores them, completed first.
// Frequencies are the 9-character form or empty; anything else throws qx::Error.
std::array<MemoryFrame, 2> encodeChannelFrames(int channel, const ChannelCells &cells);
// Encodes channel n and stores its two frames, frequency half first. No reload.
void EncodeChannel(WorkingFile &file, int channel, const ChannelCells &cells);

} // namespace qx
