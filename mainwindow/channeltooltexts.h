#pragma once

#include <QString>

namespace qx {

// The words of the channel tools (Edit -> Channels) and their dialogs in the window's
// language.
struct ChannelToolTexts {
    QString menu; // the submenu
    QString moveUp, moveDown, insertEmpty, deleteAndMoveUp, sort, fill, setSelected;
    QString ok, cancel;
    // Insert Empty Channel when channel 16 is in use; captioned with the item's text.
    QString insertDropsLast;

    // Fill Frequencies: %1 and %2 the first and last channel filled at most.
    QString fillChannels, fillStart, fillStep, fillTransmit;
    QString fillNoStart, fillBadStep;
    // Stopped at the band's end: %1 channels filled of %2.
    QString fillStopped;

    // Set for Selected: %1 the channels (a run "3-5" or one "3").
    QString setChannels, setRxTone, setTxTone, setBusy, setScan;
};

ChannelToolTexts chineseChannelToolTexts();
ChannelToolTexts englishChannelToolTexts();

} // namespace qx
