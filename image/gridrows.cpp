#include "gridrows.h"

namespace qx {

namespace {

QString flagIn(const QString &english, const FlagWords &words) {
    if (english == englishFlagWords().yes)
        return words.yes;
    if (english == englishFlagWords().no)
        return words.no;
    return english;
}

} // namespace

QString gridRowLabel(int channel) {
    return QStringLiteral("\n\n%1").arg(channel);
}

QList<QStringList> gridRows(const ChannelTable &channels, const ImageWords &words) {
    QList<QStringList> rows;
    QStringList header;
    for (const QString &title : words.gridHeader)
        header << title;
    rows << header;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelCells &c = channels[std::size_t(n - 1)];
        rows << QStringList{gridRowLabel(n),
                            c.rx,
                            c.rxTone,
                            c.tx,
                            c.txTone,
                            flagIn(c.busy, words.flags),
                            flagIn(c.scan, words.flags)};
    }
    return rows;
}

} // namespace qx
