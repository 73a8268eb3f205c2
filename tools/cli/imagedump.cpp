#include "imagedump.h"

#include "imagewords.h"
#include "settingscodec.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <optional>

namespace qx::cli {

namespace {

const QString kNone = QStringLiteral("-");

// A radio image is 420 bytes; records after the 35th are ignored, and a few of them are
// tolerated, but not a file of any size.
constexpr qint64 kMaxImageBytes = 1024 * 1024;

QString item(const QStringList &items, int index) {
    return index >= 0 && index < items.size() ? items.at(index) : kNone;
}

const char *const kSettingNames[] = {
    "model",        "band",       "beep",        "battery_save", "squelch",      "monitor_key",
    "time_out",     "voice",      "scan",        "scan_mode",    "channel_mode", "priority_channel",
    "carrier_time", "delay_time", "return_time", "power",
};

} // namespace

ImageError::ImageError(const QString &file, int record, const QString &reason)
    : Error(record < 0 ? QStringLiteral("%1: %2").arg(file, reason)
                       : QStringLiteral("%1: record %2 (%3): %4")
                             .arg(file)
                             .arg(record)
                             .arg(recordRole(record), reason)),
      m_record(record) {}

QString recordRole(int record) {
    if (record >= 0 && record < kRecord03C0)
        return QStringLiteral("channel %1, %2")
            .arg(record / 2 + 1)
            .arg(record % 2 == 0 ? QStringLiteral("frequencies")
                                 : QStringLiteral("tones and flags"));
    switch (record) {
    case kRecord03C0:
        return QStringLiteral("settings 03C0");
    case kRecord03D0:
        return QStringLiteral("model and band 03D0");
    case kRecord03F0:
        return QStringLiteral("settings 03F0");
    default:
        return QStringLiteral("beyond the image");
    }
}

QByteArray readImageFile(const QString &path) {
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw ImageError(path, -1,
                         QFileInfo::exists(path) ? QStringLiteral("not a file")
                                                 : QStringLiteral("no such file"));
    if (!file.open(QIODevice::ReadOnly))
        throw ImageError(path, -1, file.errorString());
    // A mistyped name can point at a disk image of many gigabytes: read no more than
    // any radio image could need instead of all of it into memory.
    const QByteArray bytes = file.read(kMaxImageBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw ImageError(path, -1, file.errorString());
    if (bytes.size() > kMaxImageBytes)
        throw ImageError(
            path, -1,
            QStringLiteral("%1 bytes, far more than a radio image; not read").arg(file.size()));
    return bytes;
}

ImageDump decodeImage(const QByteArray &bytes, const QString &fileName) {
    // The dump shows what the English window shows.
    const ImageWords texts = englishImageWords();
    ImageDump dump;
    dump.recordCount = int(bytes.size() / MemoryFrame::kSize);
    const int count = std::min(dump.recordCount, kRecordCount);
    std::optional<Block03C0Values> c0;
    std::optional<std::optional<ModelBand>> d0;
    std::optional<Block03F0Values> f0;
    for (int i = 0; i < count; ++i) {
        const QString text = FrameText(
            MemoryFrame::fromBytes(bytes.mid(i * MemoryFrame::kSize, MemoryFrame::kSize)));
        try {
            if (i < kRecord03C0) {
                ChannelCells &row = dump.channels[std::size_t(i / 2)];
                if (i % 2 == 0) {
                    const FrequencyCells f = get_data1(text);
                    row.rx = f.rx;
                    row.tx = f.tx;
                } else {
                    const ToneFlagCells t = get_data2(text, row.rx, texts.flags);
                    if (t.emptyRow)
                        row = ChannelCells{};
                    else {
                        row.rxTone = t.rxTone;
                        row.txTone = t.txTone;
                        row.busy = t.busy;
                        row.scan = t.scan;
                    }
                }
            } else if (i == kRecord03C0) {
                c0 = data03C0(text);
            } else if (i == kRecord03D0) {
                d0 = data03D0(text);
            } else {
                f0 = data03F0(text);
            }
        } catch (const Error &e) {
            throw ImageError(fileName, i, e.message());
        }
    }

    QStringList values;
    if (d0 && *d0) {
        const ModelBand mb = **d0;
        // The model list offers only the UHF model; the band is named from the decoded
        // model's own list, so a VHF image does not show a UHF band name.
        values << item(modelNames(), mb.model) << item(bandNames(mb.model), mb.band);
    } else {
        values << kNone << kNone;
    }
    if (c0)
        values << item(texts.offOnItems, c0->beep) << item(texts.offOnItems, c0->batterySave)
               << item(texts.squelchItems, c0->squelch)
               << item(texts.monitorKeyItems, c0->monitorKey)
               << item(texts.timeOutItems, c0->timeOut);
    else
        values << kNone << kNone << kNone << kNone << kNone;
    if (f0)
        values << item(texts.voiceItems, f0->voice)
               << (f0->scanOn ? QStringLiteral("ON") : QStringLiteral("OFF"))
               << item(texts.scanModeItems, f0->scanMode)
               << item(texts.channelModeItems, f0->channelMode)
               << item(texts.priorityItems, f0->priorityChannel) << f0->carrierTime << f0->delayTime
               << f0->returnTime << QString::number(f0->power);
    else
        for (int k = 0; k < 9; ++k)
            values << kNone;
    for (int k = 0; k < values.size(); ++k)
        dump.settings.emplace_back(QString::fromLatin1(kSettingNames[k]), values.at(k));
    return dump;
}

ImageDump decodeImageFile(const QString &path) {
    return decodeImage(readImageFile(path), path);
}

QString formatDump(const ImageDump &dump) {
    const ImageWords texts = englishImageWords();
    const auto &header = texts.gridHeader;
    QString out =
        QStringList(header.begin(), header.end()).join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (int n = 0; n < kChannelCount; ++n) {
        const ChannelCells &c = dump.channels[std::size_t(n)];
        out += QStringList{QString::number(n + 1), c.rx, c.rxTone, c.tx, c.txTone, c.busy, c.scan}
                   .join(QLatin1Char('\t'));
        out += QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
    for (const auto &[name, value] : dump.settings)
        out += name + QLatin1Char('\t') + value + QLatin1Char('\n');
    return out;
}

} // namespace qx::cli
