#include "channeltooltexts.h"

namespace qx {

ChannelToolTexts chineseChannelToolTexts() {
    ChannelToolTexts t;
    t.menu = QStringLiteral("信道");
    t.moveUp = QStringLiteral("上移");
    t.moveDown = QStringLiteral("下移");
    t.insertEmpty = QStringLiteral("插入空信道");
    t.deleteAndMoveUp = QStringLiteral("删除并上移");
    t.sort = QStringLiteral("按接收频率排序");
    t.fill = QStringLiteral("填充频率...");
    t.setSelected = QStringLiteral("设置所选信道...");
    t.ok = QStringLiteral("确定");
    t.cancel = QStringLiteral("取消");
    t.insertDropsLast = QStringLiteral("信道16已使用，插入空信道后它的数据将被删除。要插入吗？");
    t.channels = QStringLiteral("信道%1至%2");
    t.oneChannel = QStringLiteral("信道%1");
    t.fillStart = QStringLiteral("起始频率(MHz)：");
    t.fillStep = QStringLiteral("步进(kHz)：");
    t.fillTransmit = QStringLiteral("发射频率也填充");
    t.fillNoStart = QStringLiteral("请输入起始频率。");
    t.fillBadStep = QStringLiteral("步进应为0.01至100000之间的千赫数，最多两位小数。");
    t.fillStopped = QStringLiteral("已到频段上限512.99999 MHz：%2个信道中填充了%1个。");
    t.fillOutOfRange = QStringLiteral("起始频率应在400至512.99999 MHz之间。");
    t.fillSnaps = QStringLiteral("部分频率不在5或6.25 kHz栅格上，将向下对齐到6.25 kHz栅格：%1");
    t.setNote = QStringLiteral("只改打勾的项目，空信道不变。");
    t.setRxTone = QStringLiteral("接收CTCSS");
    t.setTxTone = QStringLiteral("发射CTCSS");
    t.setBusy = QStringLiteral("禁发");
    t.setScan = QStringLiteral("频移");
    return t;
}

ChannelToolTexts englishChannelToolTexts() {
    ChannelToolTexts t;
    t.menu = QStringLiteral("Channels");
    t.moveUp = QStringLiteral("Move Up");
    t.moveDown = QStringLiteral("Move Down");
    t.insertEmpty = QStringLiteral("Insert Empty Channel");
    t.deleteAndMoveUp = QStringLiteral("Delete and Move Up");
    t.sort = QStringLiteral("Sort by Receive Frequency");
    t.fill = QStringLiteral("Fill Frequencies...");
    t.setSelected = QStringLiteral("Set for Selected...");
    t.ok = QStringLiteral("OK");
    t.cancel = QStringLiteral("Cancel");
    t.insertDropsLast = QStringLiteral(
        "Channel 16 is in use and is dropped by the insert. Insert an empty channel?");
    t.channels = QStringLiteral("Channels %1 to %2");
    t.oneChannel = QStringLiteral("Channel %1");
    t.fillStart = QStringLiteral("Start frequency (MHz):");
    t.fillStep = QStringLiteral("Step (kHz):");
    t.fillTransmit = QStringLiteral("Transmit frequencies too");
    t.fillNoStart = QStringLiteral("Type the start frequency.");
    t.fillBadStep = QStringLiteral(
        "The step is a number of kHz from 0.01 to 100000, with at most two decimals.");
    t.fillStopped =
        QStringLiteral("The band ends at 512.99999 MHz: %1 of %2 channels were filled.");
    t.fillOutOfRange = QStringLiteral("The start frequency is out of range: 400 to 512.99999 MHz.");
    t.fillSnaps = QStringLiteral("Not every frequency lies on the 5 or 6.25 kHz raster: they "
                                 "snap down to the 6.25 kHz raster: %1");
    t.setNote = QStringLiteral("Only what is ticked changes; empty channels stay empty.");
    t.setRxTone = QStringLiteral("Receive CTCSS");
    t.setTxTone = QStringLiteral("Transmit CTCSS");
    t.setBusy = QStringLiteral("Busy");
    t.setScan = QStringLiteral("Scan");
    return t;
}

} // namespace qx
