#include "windowtexts.h"

namespace qx {

WindowTexts chineseWindowTexts() {
    WindowTexts t;
    static_cast<ImageWords &>(t) = chineseImageWords();
    t.caption = QStringLiteral("TALVIK中文写频(QX-7420)");
    t.outerSize = QSize(819, 552);
    t.displayWidth = 521;
    t.settingsWidth = 290;
    t.displayFrame = QStringLiteral("显示框：");
    t.settingsArea = QStringLiteral("功能设置：");
    t.portPanel = QStringLiteral("串口选择");
    t.portLabel = QStringLiteral("串口：");
    t.portOk = QStringLiteral("确定");

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
    t.noSerialDevice = QStringLiteral("没有插入任何串口设备");

    t.scanGroup = QStringLiteral("扫描设置：");
    t.seconds = QStringLiteral("sec.");
    t.paramGroup = QStringLiteral("参数设置");
    t.initialMonitorKey = 0;
    t.powerVoltage = QStringLiteral("功率电压:");

    t.outOfRange = QStringLiteral("频率超出范围!");
    t.modelQuestion = QStringLiteral("你要改变 ");
    t.copyFailed = QStringLiteral("文件复制失败：%1");
    t.loadIncomplete = QStringLiteral("此文件不是完整的对讲机数据，缺少或损坏的部分按新窗口显示。");
    t.loadMissing = QStringLiteral("缺少：%1");
    t.loadDamaged = QStringLiteral("损坏：%1");
    t.loadForeign = QStringLiteral("记录头不是本身的地址，不能写入对讲机：%1");
    t.loadLength = QStringLiteral("文件有%1字节，完整的对讲机数据是%2字节。");
    t.settingsUnreadable = QStringLiteral("无法读取设置文件，程序按默认设置启动：%1");

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
    t.menuCheckReads = QStringLiteral("读取两遍校验");
    t.csvFilter = QStringLiteral("CSV(*.csv)");
    t.pasteRejected = QStringLiteral("以下各行的值不能接受，没有粘贴：");
    t.rowLabel = QStringLiteral("第%1行（信道%2）：");
    t.noSuchChannel = QStringLiteral("没有这个信道");
    t.importRejected = QStringLiteral("CSV文件有错误，什么都没有导入：");
    t.importNotes = QStringLiteral("导入时按信道步进调整了以下的值：");
    t.backupFailed = QStringLiteral("备份没有保存：%1");
    t.backupStopsWrite = QStringLiteral("没有向对讲机发送任何数据。");
    t.logFailed = QStringLiteral("通信记录不完整：%1");
    t.verifyMatch = QStringLiteral("校验通过：对讲机里的35条记录与写入的一致。");
    t.verifyDiffers = QStringLiteral("校验失败：对讲机里以下内容与写入的不一致：%1");
    t.verifyNotRead = QStringLiteral("写入已完成，但读回失败，没有校验。");
    t.writeAgain = QStringLiteral("要重新写入吗？");
    t.readNotStored = QStringLiteral("读取没有完成，没有保存任何数据，工作文件保持原样。");
    t.otherWindow = QStringLiteral("本程序的另一个窗口（进程 %1）正在使用同一个工作文件 "
                                   "r_and_w.dat。两个窗口会互相覆盖修改，所以本程序不会再打开它。\n"
                                   "要把那个窗口调到前面吗？（选“否”则直接退出）");
    t.otherWindowUnreachable = QStringLiteral("无法联系进程 %1 的窗口，请在任务栏中找到它。");
    t.readCannotStore = QStringLiteral("工作文件无法保存读取的数据，没有开始读取：%1");
    t.readKeptIn = QStringLiteral("读取的数据没有保存到工作文件（%1），工作文件保持原样。"
                                  "对讲机的数据完整地保存在：%2");
    t.readKeptNowhere = QStringLiteral("读取的数据没有保存到工作文件，也无法保存为备份：%1\n"
                                       "请选择另一个位置（例如U盘）保存对讲机的数据。");
    t.changedOnDisk = QStringLiteral("工作文件已被其他程序修改。窗口现在显示它的内容，刚才的修改"
                                     "没有保存，请重新修改。撤销记录已清空。");
    t.readUnstable = QStringLiteral("以下内容每次读取的结果都不一样：%1。\n没有保存任何数据。"
                                    "请把插头完全插入对讲机的插孔，或换一根写频线，再读一次。");
    t.writeIncomplete =
        QStringLiteral("写入没有完成：对讲机里现在可能一部分是新数据，一部分是旧数据"
                       "（35条记录中已发送%1条）。请重新写入。");
    t.menuExportChirpCsv = QStringLiteral("导出CSV（CHIRP）...");
    t.menuCompare = QStringLiteral("与文件比较...");
    t.csvNotRead = QStringLiteral("CSV文件不能读取：%1");
    t.csvNotSaved = QStringLiteral("CSV文件没有保存：%1");
    t.compareNotRead = QStringLiteral("文件不能比较：%1");
    t.compareIntro = QStringLiteral("工作文件与%1的不同之处（工作文件 -> %1）：");
    t.compareSame = QStringLiteral("工作文件与%1的内容相同。");
    t.importPreview = QStringLiteral(
        "导入这个CSV文件会对工作文件作以下改动（工作文件 -> CSV文件）。确认之前不会改动任何数据。");
    t.importUnfit = QStringLiteral("本机不能保存CSV文件中的以下各行，可以略过这些行导入其余的行；"
                                   "这些行所指的信道保持原样：");
    t.importChanges = QStringLiteral("导入其余的行会对工作文件作以下改动（工作文件 -> CSV文件）：");
    t.importSame = QStringLiteral("CSV文件的信道与工作文件相同，没有需要导入的。");
    t.noChanges = QStringLiteral("（没有改动）");
    t.importButton = QStringLiteral("导入");
    t.importRestButton = QStringLiteral("导入其余的行");

    t.print = printTexts(Language::Chinese, t.caption);
    t.transfer = chineseTransferTexts();
    t.tools = chineseChannelToolTexts();
    t.access = chineseAccessTexts();
    return t;
}

WindowTexts englishWindowTexts() {
    WindowTexts t;
    static_cast<ImageWords &>(t) = englishImageWords();
    t.caption = QStringLiteral("TALVIK(QX-7420)");
    t.outerSize = QSize(843, 552);
    t.displayWidth = 511;
    t.settingsWidth = 324;
    t.displayFrame = QStringLiteral("Display Frame：");
    t.settingsArea = QStringLiteral("Function SetUp：");
    t.portPanel = QStringLiteral("Select Prot");
    t.portLabel = QStringLiteral("Prot：");
    t.portOk = QStringLiteral("OK");

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
    t.noSerialDevice = QStringLiteral("no serial device is plugged in");

    t.scanGroup = QStringLiteral("Scan SetUp：");
    t.seconds = QStringLiteral("sec.");
    t.paramGroup = QStringLiteral("Parameter SetUp");
    t.initialMonitorKey = 1;
    t.powerVoltage = QStringLiteral("Powers Voltage:");

    t.outOfRange = QStringLiteral("Frequency is out of range!");
    t.modelQuestion = QStringLiteral("Do You Wish To Change ");
    t.copyFailed = QStringLiteral("The file could not be copied: %1");
    t.loadIncomplete = QStringLiteral("The file does not hold a whole image for the radio; what "
                                      "is missing or damaged shows as in a new window.");
    t.loadMissing = QStringLiteral("Missing: %1");
    t.loadDamaged = QStringLiteral("Damaged: %1");
    t.loadLength = QStringLiteral("The file holds %1 bytes; an image of the radio is %2.");
    t.loadForeign =
        QStringLiteral("Not marked with their own address, so a write refuses them: %1");
    t.settingsUnreadable =
        QStringLiteral("The settings cannot be read; the program starts with the defaults: %1");

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
    t.menuCheckReads = QStringLiteral("Check Reads Twice");
    t.csvFilter = QStringLiteral("CSV(*.csv)");
    t.pasteRejected = QStringLiteral("These rows hold values that would be rejected and were not "
                                     "pasted:");
    t.rowLabel = QStringLiteral("row %1 (channel %2): ");
    t.noSuchChannel = QStringLiteral("there is no such channel");
    t.importRejected = QStringLiteral("The CSV file has errors; nothing was imported:");
    t.importNotes = QStringLiteral("These values were moved onto the channel raster:");
    t.backupFailed = QStringLiteral("The backup was not saved: %1");
    t.backupStopsWrite = QStringLiteral("Nothing was sent to the radio.");
    t.logFailed = QStringLiteral("The transfer log is incomplete: %1");
    t.verifyMatch = QStringLiteral("Verified: all 35 records in the radio match what was written.");
    t.verifyDiffers =
        QStringLiteral("Verify failed: the radio differs from what was written in %1.");
    t.verifyNotRead =
        QStringLiteral("The write completed, but reading it back failed; the radio is "
                       "not verified.");
    t.writeAgain = QStringLiteral("Write the image again?");
    t.otherWindow = QStringLiteral(
        "Another window of this program (process %1) has the working file r_and_w.dat open. "
        "Two windows would undo each other's changes, so this one does not open it.\nBring "
        "that window forward? (No quits)");
    t.otherWindowUnreachable =
        QStringLiteral("The window of process %1 did not answer; find it in the task bar.");
    t.readCannotStore =
        QStringLiteral("The working file cannot take what a read brings; nothing was read: %1");
    t.readKeptIn = QStringLiteral("The read was not stored in the working file (%1), which is as "
                                  "it was. The radio's image is kept whole in %2");
    t.readKeptNowhere = QStringLiteral("The read was stored neither in the working file nor as a "
                                       "backup: %1\nPick another place, such as a USB stick, for "
                                       "the radio's image.");
    t.changedOnDisk = QStringLiteral(
        "Another program has changed the working file. The window now shows it as it is; your "
        "last change was not stored, make it again. Undo starts afresh from here.");
    t.readNotStored = QStringLiteral(
        "The read did not complete; nothing was stored and the working file is as it was.");
    t.readUnstable = QStringLiteral(
        "These came back different every time they were read: %1.\nNothing was stored. Push "
        "the plug fully into the radio's jack, or try another cable, and read again.");
    t.writeIncomplete = QStringLiteral(
        "The write did not complete: the radio may now hold part of the new image and part of "
        "the old (%1 of 35 records were sent). Write again.");
    t.menuExportChirpCsv = QStringLiteral("Export CSV (CHIRP)...");
    t.menuCompare = QStringLiteral("Compare With File...");
    t.csvNotRead = QStringLiteral("The CSV file could not be read: %1");
    t.csvNotSaved = QStringLiteral("The CSV file was not saved: %1");
    t.compareNotRead = QStringLiteral("The file could not be compared: %1");
    t.compareIntro = QStringLiteral("What differs between the working file and %1 (working file "
                                    "-> %1):");
    t.compareSame = QStringLiteral("The working file and %1 hold the same.");
    t.importPreview = QStringLiteral(
        "Importing the CSV file changes the working file as listed (working file -> CSV file). "
        "Nothing is changed until you confirm.");
    t.importUnfit = QStringLiteral("This radio cannot hold these lines of the CSV file; the rest "
                                   "can be imported without them, and the channels these lines "
                                   "name stay as they are:");
    t.importChanges =
        QStringLiteral("Importing the rest changes the working file as listed (working file -> "
                       "CSV file):");
    t.importSame = QStringLiteral(
        "The CSV file holds the channels the working file holds; there is nothing to import.");
    t.noChanges = QStringLiteral("(nothing changes)");
    t.importButton = QStringLiteral("Import");
    t.importRestButton = QStringLiteral("Import the rest");

    t.print = printTexts(Language::English, t.caption);
    t.transfer = englishTransferTexts();
    t.tools = englishChannelToolTexts();
    t.access = englishAccessTexts();
    return t;
}

} // namespace qx
