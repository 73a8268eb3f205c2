#pragma once

#include "channelcodec.h"
#include "settingscodec.h"
#include "testbytes.h"

#include <QByteArray>
#include <QString>

namespace qx::test {

inline QByteArray channelRecords(int channel, const ChannelCells &cells) {
    const auto frames = encodeChannelFrames(channel, cells);
    return frames[0].toByteArray() + frames[1].toByteArray();
}

// Channel `from`'s two records of an image as channel `to` holds them: the same data under
// channel to's addresses.
inline QByteArray movedChannelRecords(const QByteArray &image, int from, int to) {
    QByteArray records = image.mid(2 * (from - 1) * MemoryFrame::kSize, 2 * MemoryFrame::kSize);
    const QByteArray own = image.mid(2 * (to - 1) * MemoryFrame::kSize, 2 * MemoryFrame::kSize);
    for (int k : {1, 2, MemoryFrame::kSize + 1, MemoryFrame::kSize + 2})
        records[k] = own[k];
    return records;
}

// The settings records of the worked examples: beep on, squelch 5, monitor key on,
// time-out 120 s; UHF:406-430MHz; English voice, power 96, scan on, time mode, CH3.
inline QByteArray workedSettings() {
    return hexBytes("57 03 C0 08 FD 05 03 04 FF FF FF FF"
                    "57 03 D0 08 00 00 F7 37 30 31 33 50"
                    "57 03 F0 08 5E 0F 2B 14 60 14 0A 52");
}

// A complete image whose channels differ from each other in every column, with an
// empty channel 7 and a receive-only channel 9.
inline QByteArray sampleImage() {
    QByteArray image;
    for (int n = 1; n <= kChannelCount; ++n) {
        const auto &tones = ToneTable();
        const QString rx =
            QStringLiteral("4%1.%2").arg(50 + n).arg(n * 625, 5, 10, QLatin1Char('0'));
        const QString tx =
            QStringLiteral("4%1.%2").arg(60 + n).arg(n * 500, 5, 10, QLatin1Char('0'));
        if (n == 7)
            image += channelRecords(n, {{}, "OFF", {}, "OFF", "NO", "NO"});
        else
            image += channelRecords(n, {rx, QString::fromLatin1(tones[std::size_t(n)].text),
                                        n == 9 ? QString() : tx,
                                        QString::fromLatin1(tones[std::size_t(39 - n)].text),
                                        n % 2 ? "YES" : "NO", n % 3 ? "NO" : "YES"});
    }
    return image + workedSettings();
}

} // namespace qx::test
