#include "channelorder.h"

#include "channelcodec.h"

#include <algorithm>
#include <numeric>

namespace qx {

namespace {

ChannelOrder unchanged() {
    ChannelOrder order{};
    std::iota(order.begin(), order.end(), 1);
    return order;
}

bool isRun(int first, int last) {
    return first >= 1 && first <= last && last <= kChannelCount;
}

// Record `record` of the image with the data of record `from`, or blank when it is missing.
MemoryFrame movedRecord(const QByteArray &image, int from, int record) {
    const MemoryFrame blank = blankRecord(record);
    if ((from + 1) * MemoryFrame::kSize > image.size())
        return blank;
    const Bytes8 data = MemoryFrame::fromBytes(recordBytes(image, from)).data();
    return MemoryFrame::make(blank.bytes[1], blank.bytes[2], data);
}

} // namespace

ChannelOrder movedRun(int first, int last, int by) {
    ChannelOrder order = unchanged();
    if (!isRun(first, last) || (by != -1 && by != 1) || !isRun(first + by, last + by))
        return order;
    const auto begin = order.begin() + (by < 0 ? first - 2 : first - 1);
    const auto end = order.begin() + (by < 0 ? last : last + 1);
    if (by < 0)
        std::rotate(begin, begin + 1, end);
    else
        std::rotate(begin, end - 1, end);
    return order;
}

ChannelOrder insertedEmpty(int at) {
    ChannelOrder order = unchanged();
    if (!isRun(at, at))
        return order;
    for (int n = kChannelCount; n > at; --n)
        order[std::size_t(n - 1)] = n - 1;
    order[std::size_t(at - 1)] = 0;
    return order;
}

ChannelOrder deletedRun(int first, int last) {
    ChannelOrder order = unchanged();
    if (!isRun(first, last))
        return order;
    const int count = last - first + 1;
    for (int n = first; n <= kChannelCount; ++n)
        order[std::size_t(n - 1)] = n + count <= kChannelCount ? n + count : 0;
    return order;
}

ChannelOrder sortedByFrequency(const std::array<QString, kChannelCount> &rx) {
    // In 10 Hz units from the digits: "ddd.ddddd", or shorter for a value below 100 MHz.
    const auto units = [&rx](int channel) {
        return QString(rx[std::size_t(channel - 1)]).remove(QLatin1Char('.')).toLongLong();
    };
    const auto inUse = [&rx](int channel) { return !rx[std::size_t(channel - 1)].isEmpty(); };
    ChannelOrder order = unchanged();
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (inUse(a) != inUse(b))
            return inUse(a);
        return inUse(a) && units(a) < units(b);
    });
    return order;
}

int newPlace(const ChannelOrder &order, int channel) {
    const auto at = std::find(order.begin(), order.end(), channel);
    return at == order.end() ? 0 : int(at - order.begin()) + 1;
}

QByteArray reorderedChannels(const QByteArray &image, const ChannelOrder &order) {
    QByteArray out;
    for (int n = 1; n <= kChannelCount; ++n) {
        const int from = order[std::size_t(n - 1)];
        if (from == 0) {
            for (const MemoryFrame &frame : encodeChannelFrames(n, ChannelCells{}))
                out += frame.toByteArray();
            continue;
        }
        for (int half : {0, 1})
            out += movedRecord(image, 2 * (from - 1) + half, 2 * (n - 1) + half).toByteArray();
    }
    return out;
}

} // namespace qx
