#include "filecopy.h"

#include "error.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace qx {

namespace {

Error fileError(const QString &path, const QString &reason) {
    return Error(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

void copyFileOver(const QString &source, const QString &target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw fileError(source, in.errorString());
    // Read the whole source first: copying a file onto itself then still works.
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        throw fileError(source, in.errorString());
    in.close();

    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        throw fileError(target, out.errorString());
    if (out.write(bytes) != bytes.size()) {
        const QString reason = out.errorString();
        out.cancelWriting();
        throw fileError(target, reason);
    }
    if (!out.commit())
        throw fileError(target, out.errorString());
}

} // namespace qx
