#include "imagewords.h"

#include "memoryframe.h"

namespace qx {

namespace {

QStringList timeOutItems(const QString &off) {
    QStringList items{off};
    for (int s = 30; s <= 300; s += 30)
        items << QString::number(s);
    return items;
}

QStringList squelchItems() {
    QStringList items;
    for (int i = 0; i <= 9; ++i)
        items << QString::number(i);
    return items;
}

QStringList priorityItems() {
    QStringList items;
    for (int ch = 1; ch <= kChannelCount; ++ch)
        items << QStringLiteral("CH%1").arg(ch);
    return items;
}

} // namespace

ImageWords chineseImageWords() {
    ImageWords t;
    t.language = Language::Chinese;
    t.gridHeader = {QStringLiteral("信道"),    QStringLiteral("    接收频率"),
                    QStringLiteral("CTCSS"),   QStringLiteral("    发射频率"),
                    QStringLiteral(" CTCSS"),  QStringLiteral("    禁发"),
                    QStringLiteral("    频移")};
    t.flags = chineseFlagWords();
    t.modelLabel = QStringLiteral("机器类型:");
    t.bandLabel = QStringLiteral("机器频率:");
    t.scanSelect = QStringLiteral("扫描选择");
    t.scanMode = QStringLiteral("扫描方式");
    t.channelMode = QStringLiteral("信道方式");
    t.priorityChannel = QStringLiteral("优先信道");
    t.carrierTime = QStringLiteral("载波时间");
    t.delayTime = QStringLiteral("延迟时间");
    t.returnTime = QStringLiteral("返回时间");
    t.scanModeItems = {QStringLiteral("载波方式"), QStringLiteral("时间方式")};
    t.channelModeItems = {QStringLiteral("循环扫描"), QStringLiteral("优先扫描")};
    t.beep = QStringLiteral("哔音提示");
    t.batterySave = QStringLiteral("电池省电");
    t.squelch = QStringLiteral("静噪电平");
    t.voice = QStringLiteral("语音设置");
    t.monitorKey = QStringLiteral("监听键");
    t.timeOut = QStringLiteral("超    时");
    t.power = QStringLiteral("功    率");
    t.offOnItems = {QStringLiteral("关"), QStringLiteral("开")};
    t.voiceItems = {QStringLiteral("关"), QStringLiteral("中文"), QStringLiteral("英文"),
                    QStringLiteral("开机音")};
    t.monitorKeyItems = {QStringLiteral("关"), QStringLiteral("静噪关闭")};
    t.squelchItems = squelchItems();
    t.priorityItems = priorityItems();
    t.timeOutItems = timeOutItems(QStringLiteral("关"));
    t.channelName = QStringLiteral("信道%1");
    t.settingsName = QStringLiteral("设置%1");
    t.changeLine = QStringLiteral("%1：%2 -> %3");
    t.toneOf = QStringLiteral("%1（%2）");
    t.emptyValue = QStringLiteral("（空）");
    t.missingValue = QStringLiteral("（缺少）");
    t.damagedValue = QStringLiteral("（损坏）");
    t.otherBytes = QStringLiteral("以下部分在不显示的字节（未用的字节或记录头）上不同：%1");
    return t;
}

ImageWords englishImageWords() {
    ImageWords t;
    t.language = Language::English;
    t.gridHeader = {QStringLiteral("CH."),   QStringLiteral("Receive F"),
                    QStringLiteral("CTCSS"), QStringLiteral("Transmit F"),
                    QStringLiteral("CTCSS"), QStringLiteral("Busy"),
                    QStringLiteral("Scan")};
    t.flags = englishFlagWords();
    t.modelLabel = QStringLiteral("Model Type:");
    t.bandLabel = QStringLiteral("Radio Band:");
    t.scanSelect = QStringLiteral("Scan Select");
    t.scanMode = QStringLiteral("Scan Mode");
    t.channelMode = QStringLiteral("CH Mode");
    t.priorityChannel = QStringLiteral("First CH");
    t.carrierTime = QStringLiteral("CarrierWaveTime");
    t.delayTime = QStringLiteral("Time-LapseTime");
    t.returnTime = QStringLiteral("ReturnTime ");
    t.scanModeItems = {QStringLiteral("CarrierWaveMode"), QStringLiteral("TimeMode")};
    t.channelModeItems = {QStringLiteral("CycScandMode"), QStringLiteral("PriorityScandMode")};
    t.beep = QStringLiteral("Beep Tone");
    t.batterySave = QStringLiteral("Battery Save");
    t.squelch = QStringLiteral("Squelch Level");
    t.voice = QStringLiteral("Speech SetUp");
    t.monitorKey = QStringLiteral("Moni Key");
    t.timeOut = QStringLiteral("Time Out Timer");
    t.power = QStringLiteral("PowerMode");
    t.offOnItems = {QStringLiteral("OFF"), QStringLiteral("ON")};
    t.voiceItems = {QStringLiteral("OFF"), QStringLiteral("Chinese"), QStringLiteral("English"),
                    QStringLiteral("BootStrapSound")};
    t.monitorKeyItems = {QStringLiteral("OFF"), QStringLiteral("SQ Off Momentary")};
    t.squelchItems = squelchItems();
    t.priorityItems = priorityItems();
    t.timeOutItems = timeOutItems(QStringLiteral("OFF"));
    t.channelName = QStringLiteral("channel %1");
    t.settingsName = QStringLiteral("settings %1");
    t.changeLine = QStringLiteral("%1: %2 -> %3");
    t.toneOf = QStringLiteral("%1 (%2)");
    t.emptyValue = QStringLiteral("(empty)");
    t.missingValue = QStringLiteral("(missing)");
    t.damagedValue = QStringLiteral("(damaged)");
    t.otherBytes = QStringLiteral("differ in bytes that no field shows (unused bytes or a "
                                  "record's header): %1");
    return t;
}

ImageWords imageWords(Language language) {
    return language == Language::English ? englishImageWords() : chineseImageWords();
}

QString recordName(const QString &channelName, const QString &settingsName, int record) {
    if (record < kRecord03C0)
        return channelName.arg(record / 2 + 1);
    return settingsName.arg(
        QStringLiteral("%1").arg(recordAddress(record), 4, 16, QLatin1Char('0')).toUpper());
}

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

} // namespace qx
