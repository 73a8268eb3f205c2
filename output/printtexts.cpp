#include "printtexts.h"

namespace qx {

namespace {

PrintTexts chinese() {
    PrintTexts t;
    t.list = {QStringLiteral("楷体_GB2312"), QStringLiteral("频率清单"),
              QStringLiteral("打印者:"),     true,
              QStringLiteral("第"),          QStringLiteral("页")};
    t.dateStyle = DateStyle::Chinese;
    t.jobTitle = QStringLiteral("%1 频率清单");
    t.menuPrintDialog = QStringLiteral("打印...");
    t.menuPrintPreview = QStringLiteral("打印预览...");
    t.question = QStringLiteral("确实要打印吗？");
    t.caption = QStringLiteral(" 打印提示");
    t.noPrinter = QStringLiteral("没有安装打印机。要把频率清单保存为PDF文件吗？");
    t.printerRefused =
        QStringLiteral("打印机 %1 不接受打印任务：%2\n要把频率清单保存为PDF文件吗？");
    t.beginRefused = QStringLiteral("打印机不能开始打印");
    t.pdfFilter = QStringLiteral("PDF(*.pdf)");
    t.sentTo = QStringLiteral("频率清单已发送到打印机 %1");
    t.savedAs = QStringLiteral("频率清单已保存为 %1");
    return t;
}

PrintTexts english() {
    PrintTexts t;
    t.list = {QStringLiteral("MS Sans Serif"), QStringLiteral("Frequency Listing"),
              QStringLiteral("Printer:"),      false,
              QStringLiteral("page:"),         QString()};
    t.dateStyle = DateStyle::Slashes;
    t.jobTitle = QStringLiteral("%1 frequency list");
    t.menuPrintDialog = QStringLiteral("Print...");
    t.menuPrintPreview = QStringLiteral("Print Preview...");
    t.question = QStringLiteral("Do you print?");
    t.caption = QStringLiteral("Print");
    t.noPrinter =
        QStringLiteral("No printer is installed. Save the frequency list as a PDF file instead?");
    t.printerRefused = QStringLiteral("The printer %1 did not accept the job: %2\n"
                                      "Save the frequency list as a PDF file instead?");
    t.beginRefused = QStringLiteral("the printer could not begin the document");
    t.pdfFilter = QStringLiteral("PDF(*.pdf)");
    t.sentTo = QStringLiteral("Frequency list sent to the printer %1");
    t.savedAs = QStringLiteral("Frequency list saved as %1");
    return t;
}

} // namespace

PrintTexts printTexts(Language language, const QString &jobOf) {
    PrintTexts t = language == Language::English ? english() : chinese();
    t.jobTitle = t.jobTitle.arg(jobOf);
    return t;
}

} // namespace qx
