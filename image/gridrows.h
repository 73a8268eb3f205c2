#pragma once

#include "channelcodec.h"
#include "imagewords.h"

#include <QList>
#include <QStringList>

namespace qx {

// The channel grid's cells as the window shows them and the frequency list prints them.

// The number column's text of a channel: "\n\n3", the line feeds keeping it at the foot
// of the tall cell.
QString gridRowLabel(int channel);

// The header row, then one row per channel: its label and its six cells, the flags in
// the words given. The channels carry the English flag words, as decodeImageFields
// gives them.
QList<QStringList> gridRows(const ChannelTable &channels, const ImageWords &words);

} // namespace qx
