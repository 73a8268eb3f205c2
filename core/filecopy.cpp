#include "filecopy.h"

#include "error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qx {

namespace {

constexpr qint64 kChunk = 64 * 1024;

Error fileError(const QString &path, const QString &reason) {
    return Error(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason));
}

// A pipe or a device is no image: reading /dev/zero never ends, reading a FIFO blocks
// the window, and renaming a file over one replaces the node itself.
bool isSpecial(const QString &path) {
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

} // namespace

void copyFileOver(const QString &source, const QString &target) {
    if (isSpecial(source))
        throw fileError(source, QStringLiteral("not a regular file"));
    if (isSpecial(target))
        throw fileError(target, QStringLiteral("not a regular file"));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw fileError(source, in.errorString());

    // The copy goes to a temporary file beside the target, so copying a file onto
    // itself still works; in chunks, so a large file does not have to fit in memory.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        throw fileError(target, out.errorString());
    QByteArray chunk;
    do {
        chunk = in.read(kChunk);
        if (in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            throw fileError(source, in.errorString());
        }
        if (out.write(chunk) != chunk.size()) {
            const QString reason = out.errorString();
            out.cancelWriting();
            throw fileError(target, reason);
        }
    } while (!chunk.isEmpty());
    if (!out.commit())
        throw fileError(target, out.errorString());
}

void saveFileAtomically(const QString &path, const QByteArray &bytes) {
    if (isSpecial(path)) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly) || device.write(bytes) != bytes.size() ||
            !device.flush())
            throw fileError(path, QStringLiteral("cannot write: ") + device.errorString());
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw fileError(path, QStringLiteral("cannot write: ") + file.errorString());
}

} // namespace qx
