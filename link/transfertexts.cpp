#include "transfertexts.h"

#include "imagewords.h"

namespace qx {

QString recordName(const TransferTexts &texts, int record) {
    return recordName(texts.channelName, texts.settingsName, record);
}

QString recordNames(const TransferTexts &texts, const QList<int> &records) {
    QStringList names;
    for (int record : records)
        if (!names.contains(recordName(texts, record)))
            names << recordName(texts, record);
    return names.join(QStringLiteral(", "));
}

TransferTexts chineseTransferTexts() {
    TransferTexts t;
    t.language = Language::Chinese;
    t.startRead = QStringLiteral("开始从对讲机里读取数据");
    t.startWrite = QStringLiteral("开始写数据到对讲机里");
    t.over = QStringLiteral("完成!");
    t.retryCaption = QStringLiteral("T-5829");
    t.retryText = QStringLiteral("连接错误，你要重试么?");
    t.retryButtons = Prompter::Buttons::OkCancel;
    t.openError = QStringLiteral("打开通信端口错误");
    t.setupError = QStringLiteral("设置时发生错误");
    t.flowError = QStringLiteral("流量设置时发生错误");
    t.setupFailed = QStringLiteral("通信端口参数设置发生错误");
    t.tooFewRecords = QStringLiteral("工作文件不完整（少于35条记录），不能写入对讲机。");
    t.foreignRecord = QStringLiteral("工作文件中%1的记录头是 %2，不是 %3，对讲机会把它存到别处。"
                                     "没有写入任何数据。");
    t.channelName = chineseImageWords().channelName;
    t.settingsName = chineseImageWords().settingsName;
    t.alreadyRunning = QStringLiteral("正在与对讲机通信，请等待完成或先关闭读写。");
    t.deviceGone = QStringLiteral("串口设备已断开!");
    t.foreignAnswer = QStringLiteral("对讲机回答的是地址 %1 的数据，不是所请求的 %2：%3");
    return t;
}

TransferTexts englishTransferTexts() {
    TransferTexts t;
    t.over = QStringLiteral("Over!");
    t.retryCaption = QStringLiteral("Confirm");
    t.retryText = QStringLiteral("Connect is error,Do you try?");
    t.retryButtons = Prompter::Buttons::RetryIgnore;
    t.openError = QStringLiteral("Error opening serial port!");
    t.setupError = QStringLiteral("SetUp Error!");
    t.flowError = QStringLiteral("Flow SetUp Error!");
    t.setupFailed = QStringLiteral("Error opening serial port.");
    t.tooFewRecords = QStringLiteral(
        "The working file holds fewer than 35 records; it cannot be written to the radio.");
    t.foreignRecord =
        QStringLiteral("In the working file, %1 starts %2 instead of %3: the radio would store it "
                       "at the wrong place. Nothing was sent to the radio.");
    t.channelName = englishImageWords().channelName;
    t.settingsName = englishImageWords().settingsName;
    t.alreadyRunning = QStringLiteral(
        "A transfer with the radio is running; wait for it to end or stop it first.");
    t.deviceGone = QStringLiteral("The serial device went away!");
    t.foreignAnswer = QStringLiteral("The radio answered for address %1 instead of %2: %3");
    return t;
}

} // namespace qx
