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

    // The dialogs' heading: %1 and %2 the first and last channel, or %1 the one channel.
    QString channels, oneChannel;

    QString fillStart, fillStep, fillTransmit;
    QString fillNoStart, fillBadStep;
    QString fillOutOfRange; // the start frequency, with the band's range
    // Before OK, when frequencies leave the raster: %1 the first ones as they will be.
    QString fillSnaps;
    // Stopped at the band's end: %1 channels filled of %2.
    QString fillStopped;

    QString setNote, setRxTone, setTxTone, setBusy, setScan;
};

ChannelToolTexts chineseChannelToolTexts();
ChannelToolTexts englishChannelToolTexts();

} // namespace qx
