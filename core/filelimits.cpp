#include "filelimits.h"

#include "error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qx {

namespace {

FileWords english() {
    FileWords w;
    w.isFolder = QStringLiteral("is a folder");
    w.isPipe = QStringLiteral("is a pipe (FIFO), not a regular file");
    w.isSocket = QStringLiteral("is a socket, not a regular file");
    w.isDevice = QStringLiteral("is a device, not a regular file");
    w.notRegular = QStringLiteral("not a regular file");
    w.noSuchFile = QStringLiteral("no such file");
    w.noFileName = QStringLiteral("no file name given");
    w.noFolder = QStringLiteral("the folder does not exist");
    w.folderNotWritable = QStringLiteral("the folder cannot be written: %1");
    w.notWritable = QStringLiteral("cannot be written: %1");
    w.cannotWrite = QStringLiteral("cannot write: %1");
    w.partlyWritten = QStringLiteral("%1 of %2 bytes written");
    w.tooLargeImage = QStringLiteral("%1: %2 bytes, far more than a radio image; not read");
    w.tooLarge = QStringLiteral("%1: more than 1 MiB, far more than a %2; not read");
    w.radioImage = QStringLiteral("radio image");
    w.channelList = QStringLiteral("channel list");
    return w;
}

FileWords chinese() {
    FileWords w;
    w.isFolder = QStringLiteral("是文件夹");
    w.isPipe = QStringLiteral("是管道(FIFO)，不是普通文件");
    w.isSocket = QStringLiteral("是套接字，不是普通文件");
    w.isDevice = QStringLiteral("是设备，不是普通文件");
    w.notRegular = QStringLiteral("不是普通文件");
    w.noSuchFile = QStringLiteral("没有这个文件");
    w.noFileName = QStringLiteral("没有给出文件名");
    w.noFolder = QStringLiteral("文件夹不存在");
    w.folderNotWritable = QStringLiteral("文件夹不能写入：%1");
    w.notWritable = QStringLiteral("不能写入：%1");
    w.cannotWrite = QStringLiteral("写入失败：%1");
    w.partlyWritten = QStringLiteral("%2字节中只写入了%1字节");
    w.tooLargeImage = QStringLiteral("%1：%2字节，远大于对讲机的数据文件；没有读取");
    w.tooLarge = QStringLiteral("%1：超过1 MiB，远大于%2；没有读取");
    w.radioImage = QStringLiteral("对讲机的数据文件");
    w.channelList = QStringLiteral("信道列表");
    return w;
}

bool g_chinese = false;

Error fileError(const QString &path, const QString &reason) {
    return Error(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason));
}

// Empty when this process may write there; else the system's reason.
QString writeRefusal(const QString &path) {
#ifdef Q_OS_UNIX
    // access() also sees a read-only mount and an immutable file, which root meets too.
    if (::access(QFile::encodeName(path).constData(), W_OK) == 0)
        return {};
    return qt_error_string(errno);
#else
    return QFileInfo(path).isWritable() ? QString() : QStringLiteral("Permission denied");
#endif
}

} // namespace

const FileWords &fileWords() {
    static const FileWords englishWords = english();
    static const FileWords chineseWords = chinese();
    return g_chinese ? chineseWords : englishWords;
}

void setChineseFileWords(bool chinese) {
    g_chinese = chinese;
}

QString notRegularFile(const QString &path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    if (S_ISREG(st.st_mode))
        return {};
    const FileWords &w = fileWords();
    if (S_ISDIR(st.st_mode))
        return w.isFolder;
    if (S_ISFIFO(st.st_mode))
        return w.isPipe;
    if (S_ISSOCK(st.st_mode))
        return w.isSocket;
    return w.isDevice;
#else
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return {};
    return info.isDir() ? fileWords().isFolder : fileWords().notRegular;
#endif
}

QString tooLargeText(const QString &name, InputKind kind, qint64 size) {
    const FileWords &w = fileWords();
    if (kind == InputKind::Image && size >= 0)
        return w.tooLargeImage.arg(name).arg(size);
    return w.tooLarge.arg(name, kind == InputKind::Image ? w.radioImage : w.channelList);
}

QByteArray readInputFile(const QString &path, InputKind kind) {
    if (const QString special = notRegularFile(path); !special.isEmpty())
        throw fileError(path, special);
    QFile file(path);
    if (!QFileInfo::exists(path))
        throw fileError(path, fileWords().noSuchFile);
    if (!file.open(QIODevice::ReadOnly))
        throw fileError(path, file.errorString());
    // Never more than the limit into memory, whatever the file's size.
    const QByteArray bytes = file.read(kMaxInputBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw fileError(path, file.errorString());
    if (bytes.size() > kMaxInputBytes)
        throw Error(tooLargeText(QDir::toNativeSeparators(path), kind, file.size()));
    return bytes;
}

void checkOutputFile(const QString &path) {
    if (path.isEmpty())
        throw Error(fileWords().noFileName);
    const QFileInfo info(path);
    if (const QString special = notRegularFile(path); !special.isEmpty())
        throw fileError(path, special);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw fileError(path, fileWords().noFolder);
    // The new file is written beside the old one and renamed over it: the folder must
    // take a new file even when the file exists.
    if (const QString why = writeRefusal(folder); !why.isEmpty())
        throw fileError(path, fileWords().folderNotWritable.arg(why));
    if (info.exists())
        if (const QString why = writeRefusal(path); !why.isEmpty())
            throw fileError(path, fileWords().notWritable.arg(why));
}

QString quotedPrefix(const QString &field) {
    if (field.size() <= kQuotedChars)
        return field;
    return field.left(kQuotedChars) + QStringLiteral("...");
}

} // namespace qx
