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

QString notRegularFile(const QString &path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    if (S_ISREG(st.st_mode))
        return {};
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("is a folder");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("is a pipe (FIFO), not a regular file");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("is a socket, not a regular file");
    return QStringLiteral("is a device, not a regular file");
#else
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return {};
    return info.isDir() ? QStringLiteral("is a folder") : QStringLiteral("not a regular file");
#endif
}

QString tooLargeText(const QString &name, InputKind kind, qint64 size) {
    if (kind == InputKind::Image && size >= 0)
        return QStringLiteral("%1: %2 bytes, far more than a radio image; not read")
            .arg(name)
            .arg(size);
    return QStringLiteral("%1: more than 1 MiB, far more than a %2; not read")
        .arg(name, kind == InputKind::Image ? QStringLiteral("radio image")
                                            : QStringLiteral("channel list"));
}

QByteArray readInputFile(const QString &path, InputKind kind) {
    if (const QString special = notRegularFile(path); !special.isEmpty())
        throw fileError(path, special);
    QFile file(path);
    if (!QFileInfo::exists(path))
        throw fileError(path, QStringLiteral("no such file"));
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
        throw Error(QStringLiteral("no file name given"));
    const QFileInfo info(path);
    if (const QString special = notRegularFile(path); !special.isEmpty())
        throw fileError(path, special);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw fileError(path, QStringLiteral("the folder does not exist"));
    // The new file is written beside the old one and renamed over it: the folder must
    // take a new file even when the file exists.
    if (const QString why = writeRefusal(folder); !why.isEmpty())
        throw fileError(path, QStringLiteral("the folder cannot be written: %1").arg(why));
    if (info.exists())
        if (const QString why = writeRefusal(path); !why.isEmpty())
            throw fileError(path, QStringLiteral("cannot be written: %1").arg(why));
}

QString quotedPrefix(const QString &field) {
    if (field.size() <= kQuotedChars)
        return field;
    return field.left(kQuotedChars) + QStringLiteral("...");
}

} // namespace qx
