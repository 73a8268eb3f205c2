#pragma once

#include "memoryframe.h"

#include <QString>
#include <array>

namespace qx {

// The flag words of the grid: "是"/"否" in the Chinese window, "YES"/"NO" in the English one.
struct FlagWords {
    QString yes;
    QString no;
};
FlagWords chineseFlagWords();
FlagWords englishFlagWords();

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

// The 16 channels of an image, as the grid's rows 1 to 16.
using ChannelTable = std::array<ChannelCells, kChannelCount>;

// The tone of a channel without one: the first item of the tone drop-downs.
inline const QString kToneOff = QStringLiteral("OFF");

// How a channel is stored: an empty tone as OFF, an empty flag as the negative word. The
// grid completes a row this way on screen, and the encoder stores every channel this way.
ChannelCells completedChannel(ChannelCells cells, const FlagWords &words);

} // namespace qx
