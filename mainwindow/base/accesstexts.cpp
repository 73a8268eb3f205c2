#include "accesstexts.h"

namespace qx {

AccessTexts chineseAccessTexts() {
    AccessTexts t;
    t.toolBar = QStringLiteral("工具栏");
    t.statusBar = QStringLiteral("状态栏");
    t.grid = QStringLiteral("信道表");
    t.progress = QStringLiteral("读写进度");
    t.closePanel = QStringLiteral("关闭");
    t.spinUp = QStringLiteral("%1 增加");
    t.spinDown = QStringLiteral("%1 减少");
    t.reading = QStringLiteral("正在读取：第%1块，共%2块");
    t.checking = QStringLiteral("正在校验：第%1块，共%2块");
    t.writing = QStringLiteral("正在写入：第%1块，共%2块");
    t.verifying = QStringLiteral("正在读回校验：第%1块，共%2块");
    t.backingUp = QStringLiteral("正在备份对讲机：第%1块，共%2块");
    t.readingName = QStringLiteral("读取进度");
    t.checkingName = QStringLiteral("校验进度");
    t.writingName = QStringLiteral("写入进度");
    t.verifyingName = QStringLiteral("读回校验进度");
    t.backingUpName = QStringLiteral("备份进度");
    return t;
}

AccessTexts englishAccessTexts() {
    AccessTexts t;
    t.toolBar = QStringLiteral("Tool bar");
    t.statusBar = QStringLiteral("Status bar");
    t.grid = QStringLiteral("Channels");
    t.progress = QStringLiteral("Transfer progress");
    t.closePanel = QStringLiteral("Close");
    t.spinUp = QStringLiteral("%1 up");
    t.spinDown = QStringLiteral("%1 down");
    t.reading = QStringLiteral("Reading block %1 of %2");
    t.checking = QStringLiteral("Checking block %1 of %2");
    t.writing = QStringLiteral("Writing block %1 of %2");
    t.verifying = QStringLiteral("Verifying block %1 of %2");
    t.backingUp = QStringLiteral("Backing up the radio: block %1 of %2");
    t.readingName = QStringLiteral("Reading");
    t.checkingName = QStringLiteral("Checking");
    t.writingName = QStringLiteral("Writing");
    t.verifyingName = QStringLiteral("Verifying");
    t.backingUpName = QStringLiteral("Backing up");
    return t;
}

QString withMnemonic(const QString &title, QChar letter) {
    const int at = title.indexOf(letter, 0, Qt::CaseInsensitive);
    if (at >= 0)
        return QString(title).insert(at, QLatin1Char('&'));
    return title + QStringLiteral("(&") + letter.toUpper() + QLatin1Char(')');
}

} // namespace qx
