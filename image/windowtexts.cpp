#include "windowtexts.h"

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

TransferTexts chineseTransferTexts() {
    TransferTexts t;
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
    t.alreadyRunning = QStringLiteral("正在与对讲机通信，请等待完成或先关闭读写。");
    t.deviceGone = QStringLiteral("串口设备已断开!");
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
    t.alreadyRunning = QStringLiteral(
        "A transfer with the radio is running; wait for it to end or stop it first.");
    t.deviceGone = QStringLiteral("The serial device went away!");
    return t;
}

WindowTexts chineseWindowTexts() {
    WindowTexts t;
    t.language = Language::Chinese;
    t.caption = QStringLiteral("TALVIK中文写频(QX-7420)");
    t.outerSize = QSize(819, 552);
    t.displayWidth = 521;
    t.settingsWidth = 290;
    t.displayFrame = QStringLiteral("显示框：");
    t.settingsArea = QStringLiteral("功能设置：");
    t.portPanel = QStringLiteral("串口选择");
    t.portLabel = QStringLiteral("串口：");
    t.portOk = QStringLiteral("确定");
    t.gridHeader = {QStringLiteral("信道"),    QStringLiteral("    接收频率"),
                    QStringLiteral("CTCSS"),   QStringLiteral("    发射频率"),
                    QStringLiteral(" CTCSS"),  QStringLiteral("    禁发"),
                    QStringLiteral("    频移")};
    t.flags = chineseFlagWords();

    t.menuFile = QStringLiteral("文件");
    t.menuOpen = QStringLiteral("打开文件");
    t.menuSave = QStringLiteral("保存文件");
    t.menuPrint = QStringLiteral("打印文件");
    t.menuExit = QStringLiteral("退出程序");
    t.menuProgram = QStringLiteral("操作");
    t.menuRead = QStringLiteral("读取数据从对讲机里面 ");
    t.menuWrite = QStringLiteral("写入数据到对讲机里面");
    t.menuCom = QStringLiteral("串口设置");
    t.menuSelectCom = QStringLiteral("选择串口");
    t.menuLanguage = QStringLiteral("Language Mode");
    t.menuSwitchLanguage = QStringLiteral("To English");
    t.menuHelp = QStringLiteral("帮助");
    t.languageMenuName = QStringLiteral("N15");
    t.switchLanguageName = QStringLiteral("N17");
    t.switchLanguageTo = QStringLiteral("E");

    t.tbOpen = QStringLiteral("打开");
    t.tbOpenHint = QStringLiteral("打开文件");
    t.tbSave = QStringLiteral("保存");
    t.tbSaveHint = QStringLiteral("保存文件");
    t.tbPrint = QStringLiteral("打印");
    t.tbPrintHint = QStringLiteral("打印文件");
    t.tbRead = QStringLiteral("读频");
    t.tbReadHint = QStringLiteral("读取数据从对讲机里面");
    t.tbWrite = QStringLiteral("写频");
    t.tbWriteHint = QStringLiteral("写入数据到对讲机里");
    t.tbStopHint = QStringLiteral("关闭读写");
    t.tbCom = QStringLiteral("串口");
    t.tbComHint = QStringLiteral("串口选择");
    t.tbExit = QStringLiteral("退出");
    t.tbExitHint = QStringLiteral("退出系统");

    t.statusPanels = {QStringLiteral("※对讲机读\\写频软件"),
                      QStringLiteral("※欢迎使用TALVIK中文写频"), QStringLiteral("串口:COM1")};
    t.portStatusPrefix = QStringLiteral("串口:COM");
    t.portChosenPrefix = QStringLiteral("串口:");
    t.portDevicePresent = QStringLiteral("%1（已连接）");
    t.portDeviceAbsent = QStringLiteral("%1（未连接）");
    t.portDeviceNetwork = QStringLiteral("%1（网络）");
    t.menuDetectPort = QStringLiteral("检测串口");
    t.detectFound = QStringLiteral("对讲机在%1上应答，已选用该串口。");
    t.detectNone = QStringLiteral("没有对讲机应答。已尝试：");

    t.modelLabel = QStringLiteral("机器类型:");
    t.bandLabel = QStringLiteral("机器频率:");
    t.scanGroup = QStringLiteral("扫描设置：");
    t.scanSelect = QStringLiteral("扫描选择");
    t.scanMode = QStringLiteral("扫描方式");
    t.channelMode = QStringLiteral("信道方式");
    t.priorityChannel = QStringLiteral("优先信道");
    t.carrierTime = QStringLiteral("载波时间");
    t.delayTime = QStringLiteral("延迟时间");
    t.returnTime = QStringLiteral("返回时间");
    t.seconds = QStringLiteral("sec.");
    t.scanModeItems = {QStringLiteral("载波方式"), QStringLiteral("时间方式")};
    t.channelModeItems = {QStringLiteral("循环扫描"), QStringLiteral("优先扫描")};
    t.paramGroup = QStringLiteral("参数设置");
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
    t.initialMonitorKey = 0;
    t.powerVoltage = QStringLiteral("功率电压:");

    t.outOfRange = QStringLiteral("频率超出范围!");
    t.modelQuestion = QStringLiteral("你要改变 ");
    t.printQuestion = QStringLiteral("确实要打印吗？");
    t.printCaption = QStringLiteral(" 打印提示");
    t.printFont = QStringLiteral("楷体_GB2312");
    t.printTitle = QStringLiteral("频率清单");
    t.printerLabel = QStringLiteral("打印者:");
    t.printerLabelOnFirstPage = true;
    t.pageTextPrefix = QStringLiteral("第");
    t.pageTextSuffix = QStringLiteral("页");
    t.copyFailed = QStringLiteral("文件复制失败：%1");
    t.noPrinter = QStringLiteral("没有安装打印机。要把频率清单保存为PDF文件吗？");
    t.printerRefused = QStringLiteral("打印机不接受打印任务。要把频率清单保存为PDF文件吗？");
    t.pdfFilter = QStringLiteral("PDF(*.pdf)");

    t.menuEdit = QStringLiteral("编辑");
    t.menuUndo = QStringLiteral("撤销");
    t.menuRedo = QStringLiteral("重做");
    t.menuCut = QStringLiteral("剪切");
    t.menuCopy = QStringLiteral("复制");
    t.menuPaste = QStringLiteral("粘贴");
    t.menuClearChannel = QStringLiteral("清除信道");
    t.menuImportCsv = QStringLiteral("导入CSV...");
    t.menuExportCsv = QStringLiteral("导出CSV...");
    t.menuOpenBackup = QStringLiteral("打开备份...");
    t.menuVerify = QStringLiteral("写后校验");
    t.csvFilter = QStringLiteral("CSV(*.csv)");
    t.pasteRejected = QStringLiteral("以下各行的值不能接受，没有粘贴：");
    t.rowLabel = QStringLiteral("第%1行（信道%2）：");
    t.noSuchChannel = QStringLiteral("没有这个信道");
    t.importRejected = QStringLiteral("CSV文件有错误，什么都没有导入：");
    t.importNotes = QStringLiteral("导入时按信道步进调整了以下的值：");
    t.backupFailed = QStringLiteral("备份没有保存：%1");
    t.verifyMatch = QStringLiteral("校验通过：对讲机里的35条记录与写入的一致。");
    t.verifyDiffers = QStringLiteral("校验失败：对讲机里以下内容与写入的不一致：%1");
    t.verifyChannel = QStringLiteral("信道%1");
    t.verifySettings = QStringLiteral("设置%1");
    t.verifyNotRead = QStringLiteral("写入已完成，但读回失败，没有校验。");

    t.transfer = chineseTransferTexts();
    return t;
}

WindowTexts englishWindowTexts() {
    WindowTexts t;
    t.language = Language::English;
    t.caption = QStringLiteral("TALVIK(QX-7420)");
    t.outerSize = QSize(843, 552);
    t.displayWidth = 511;
    t.settingsWidth = 324;
    t.displayFrame = QStringLiteral("Display Frame：");
    t.settingsArea = QStringLiteral("Function SetUp：");
    t.portPanel = QStringLiteral("Select Prot");
    t.portLabel = QStringLiteral("Prot：");
    t.portOk = QStringLiteral("OK");
    t.gridHeader = {QStringLiteral("CH."),   QStringLiteral("Receive F"),
                    QStringLiteral("CTCSS"), QStringLiteral("Transmit F"),
                    QStringLiteral("CTCSS"), QStringLiteral("Busy"),
                    QStringLiteral("Scan")};
    t.flags = englishFlagWords();

    t.menuFile = QStringLiteral("File");
    t.menuOpen = QStringLiteral("Open");
    t.menuSave = QStringLiteral("Save");
    t.menuPrint = QStringLiteral("Print");
    t.menuExit = QStringLiteral("Exit");
    t.menuProgram = QStringLiteral("Program");
    t.menuRead = QStringLiteral("Read From Radio ");
    t.menuWrite = QStringLiteral("Write To Radio");
    t.menuCom = QStringLiteral("COM Setup");
    t.menuSelectCom = QStringLiteral("Select COM");
    t.menuLanguage = QStringLiteral("Language Mode");
    t.menuSwitchLanguage = QStringLiteral("To Chinese");
    t.menuHelp = QStringLiteral("Help");
    t.languageMenuName = QStringLiteral("LanguageSetup1");
    t.switchLanguageName = QStringLiteral("oChinese1");
    t.switchLanguageTo = QStringLiteral("C");

    t.tbOpen = QStringLiteral("Open");
    t.tbOpenHint = QStringLiteral("Open");
    t.tbSave = QStringLiteral("Save");
    t.tbSaveHint = QStringLiteral("Sava");
    t.tbPrint = QStringLiteral("Print");
    t.tbPrintHint = QStringLiteral("Print");
    t.tbRead = QStringLiteral("Read");
    t.tbReadHint = QStringLiteral("Read From Radio");
    t.tbWrite = QStringLiteral("Write");
    t.tbWriteHint = QStringLiteral("Write To Radio");
    t.tbStopHint = QStringLiteral("OFF Read/Write");
    t.tbCom = QStringLiteral("COM");
    t.tbComHint = QStringLiteral("Select COM");
    t.tbExit = QStringLiteral("Exit");
    t.tbExitHint = QStringLiteral("Exit");

    t.statusPanels = {QStringLiteral("※InterPhone Read\\Write Frequency"),
                      QStringLiteral("※Welcome Use QX-7420"), QStringLiteral("PROT:COM1")};
    t.portStatusPrefix = QStringLiteral("PORT:COM");
    t.portChosenPrefix = QStringLiteral("PROT:");
    t.portDevicePresent = QStringLiteral("%1 (plugged in)");
    t.portDeviceAbsent = QStringLiteral("%1 (not plugged in)");
    t.portDeviceNetwork = QStringLiteral("%1 (network)");
    t.menuDetectPort = QStringLiteral("Detect Port");
    t.detectFound = QStringLiteral("The radio answered on %1; the port is selected.");
    t.detectNone = QStringLiteral("No radio answered. Tried:");

    t.modelLabel = QStringLiteral("Model Type:");
    t.bandLabel = QStringLiteral("Radio Band:");
    t.scanGroup = QStringLiteral("Scan SetUp：");
    t.scanSelect = QStringLiteral("Scan Select");
    t.scanMode = QStringLiteral("Scan Mode");
    t.channelMode = QStringLiteral("CH Mode");
    t.priorityChannel = QStringLiteral("First CH");
    t.carrierTime = QStringLiteral("CarrierWaveTime");
    t.delayTime = QStringLiteral("Time-LapseTime");
    t.returnTime = QStringLiteral("ReturnTime ");
    t.seconds = QStringLiteral("sec.");
    t.scanModeItems = {QStringLiteral("CarrierWaveMode"), QStringLiteral("TimeMode")};
    t.channelModeItems = {QStringLiteral("CycScandMode"), QStringLiteral("PriorityScandMode")};
    t.paramGroup = QStringLiteral("Parameter SetUp");
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
    t.initialMonitorKey = 1;
    t.powerVoltage = QStringLiteral("Powers Voltage:");

    t.outOfRange = QStringLiteral("Frequency is out of range!");
    t.modelQuestion = QStringLiteral("Do You Wish To Change ");
    t.printQuestion = QStringLiteral("Do you print?");
    t.printCaption = QStringLiteral("Print");
    t.printFont = QStringLiteral("MS Sans Serif");
    t.printTitle = QStringLiteral("Frequency Listing");
    t.printerLabel = QStringLiteral("Printer:");
    t.printerLabelOnFirstPage = false;
    t.pageTextPrefix = QStringLiteral("page:");
    t.pageTextSuffix = QString();
    t.copyFailed = QStringLiteral("The file could not be copied: %1");
    t.noPrinter =
        QStringLiteral("No printer is installed. Save the frequency list as a PDF file instead?");
    t.printerRefused = QStringLiteral(
        "The printer did not accept the job. Save the frequency list as a PDF file instead?");
    t.pdfFilter = QStringLiteral("PDF(*.pdf)");

    t.menuEdit = QStringLiteral("Edit");
    t.menuUndo = QStringLiteral("Undo");
    t.menuRedo = QStringLiteral("Redo");
    t.menuCut = QStringLiteral("Cut");
    t.menuCopy = QStringLiteral("Copy");
    t.menuPaste = QStringLiteral("Paste");
    t.menuClearChannel = QStringLiteral("Clear Channel");
    t.menuImportCsv = QStringLiteral("Import CSV...");
    t.menuExportCsv = QStringLiteral("Export CSV...");
    t.menuOpenBackup = QStringLiteral("Open Backup...");
    t.menuVerify = QStringLiteral("Verify After Write");
    t.csvFilter = QStringLiteral("CSV(*.csv)");
    t.pasteRejected = QStringLiteral("These rows hold values that would be rejected and were not "
                                     "pasted:");
    t.rowLabel = QStringLiteral("row %1 (channel %2): ");
    t.noSuchChannel = QStringLiteral("there is no such channel");
    t.importRejected = QStringLiteral("The CSV file has errors; nothing was imported:");
    t.importNotes = QStringLiteral("These values were moved onto the channel raster:");
    t.backupFailed = QStringLiteral("The backup was not saved: %1");
    t.verifyMatch = QStringLiteral("Verified: all 35 records in the radio match what was written.");
    t.verifyDiffers =
        QStringLiteral("Verify failed: the radio differs from what was written in %1.");
    t.verifyChannel = QStringLiteral("channel %1");
    t.verifySettings = QStringLiteral("settings %1");
    t.verifyNotRead =
        QStringLiteral("The write completed, but reading it back failed; the radio is "
                       "not verified.");

    t.transfer = englishTransferTexts();
    return t;
}

} // namespace qx
