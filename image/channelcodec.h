#pragma once

#include "memoryframe.h"

#include <QString>
#include <QStringList>
#include <array>

namespace qx {

class WorkingFile;

// The flag words of the grid: "是"/"否" in the Chinese window, "YES"/"NO" in the English one.
struct FlagWords {
    QString yes;
    QString no;
};
FlagWords chineseFlagWords();
FlagWords englishFlagWords();

struct Tone {
    const char *text;
    std::uint8_t low;
    std::uint8_t high;
};
// The tone of a channel without one: the first item of the tone drop-downs.
inline const QString kToneOff = QStringLiteral("OFF");
// "OFF" and the 38 CTCSS tones of the tone drop-downs, with their stored bytes.
const std::array<Tone, 39> &ToneTable();
QStringList toneTexts();

// Cells 1 to 6 of one grid row.
struct ChannelCells {
    QString rx;
    QString rxTone;
    QString tx;
    QString txTone;
    QString busy;
    QString scan;
    bool operator==(const ChannelCells &o) const {
        return rx == o.rx && rxTone == o.rxTone && tx == o.tx && txTone == o.txTone &&
               busy == o.busy && scan == o.scan;
    }
};

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

// The 16 channels of an image, as the grid's rows 1 to 16.
using ChannelTable = std::array<ChannelCells, kChannelCount>;

// How a channel is stored: an empty tone as OFF, an empty flag as the negative word. The
// grid completes a row this way on screen, and the encoder stores every channel this way.
ChannelCells completedChannel(ChannelCells cells, const FlagWords &words);

// The two frames of channel n (1..16) as EncodeChannel stores them, completed as above.
// Frequencies are the 9-character form or empty; anything else throws qx::Error.
std::array<MemoryFrame, 2> encodeChannelFrames(int channel, const ChannelCells &cells);
// Encodes channel n and stores its two frames, frequency half first. No reload.
void EncodeChannel(WorkingFile &file, int channel, const ChannelCells &cells);

} // namespace qx
