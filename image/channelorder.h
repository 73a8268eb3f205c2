#pragma once

#include "memoryframe.h"

#include <QByteArray>
#include <QString>
#include <array>

namespace qx {

// A new order of the 16 channels: entry n-1 names the channel (1..16) whose records
// channel n takes, 0 for an empty channel.
using ChannelOrder = std::array<int, kChannelCount>;

// Channels first..last change place with their neighbour above (by -1) or below (by +1);
// the order stays as it is when the run would leave the 16 channels.
ChannelOrder movedRun(int first, int last, int by);
// An empty channel at `at`; the channels from there move one down and channel 16 drops out.
ChannelOrder insertedEmpty(int at);
// Channels first..last go; the channels below move up and the last ones become empty.
ChannelOrder deletedRun(int first, int last);
// The receive frequencies as the grid shows them: channels in use in rising order, equal
// frequencies in their old order, empty channels last.
ChannelOrder sortedByFrequency(const std::array<QString, kChannelCount> &rx);

// Where channel n (1..16) is in the new order; 0 when it drops out.
int newPlace(const ChannelOrder &order, int channel);

// The image's channel records in the new order, each under its new channel's address and
// otherwise byte for byte as they were (a tone or a flag bit the grid cannot show moves
// with its channel). A channel missing from a short image moves as blank records; an empty
// channel is stored as the encoder stores one. Records 0 to 31 only.
QByteArray reorderedChannels(const QByteArray &image, const ChannelOrder &order);

} // namespace qx
