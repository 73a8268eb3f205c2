#include "imagebackups.h"

#include "error.h"
#include "filecopy.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <utility>

namespace qx {

namespace {

const QRegularExpression &backupName() {
    static const QRegularExpression re(
        QStringLiteral("^(radio|before-write)-(\\d{8}-\\d{6})(?:-(\\d+))?\\.dat$"));
    return re;
}

// Oldest first: by the moment in the name, then by the counter of the same second.
bool older(const QString &a, const QString &b) {
    const auto ma = backupName().match(a);
    const auto mb = backupName().match(b);
    const auto key = [](const QRegularExpressionMatch &m) {
        return std::make_pair(m.captured(2), m.captured(3).isEmpty() ? 1 : m.captured(3).toInt());
    };
    if (key(ma) != key(mb))
        return key(ma) < key(mb);
    return a < b;
}

} // namespace

ImageBackups::ImageBackups(QString folder) : m_folder(std::move(folder)) {}

ImageBackups ImageBackups::besideFile(const QString &workingFile) {
    return ImageBackups(QFileInfo(workingFile).absoluteDir().filePath(QStringLiteral("backups")));
}

QStringList ImageBackups::files() const {
    QStringList names;
    const QStringList all = QDir(m_folder).entryList({QStringLiteral("*.dat")}, QDir::Files);
    for (const QString &name : all)
        if (backupName().match(name).hasMatch())
            names << name;
    std::sort(names.begin(), names.end(), older);
    return names;
}

QString ImageBackups::save(Kind kind, const QByteArray &image, const QDateTime &when) {
    QDir dir(m_folder);
    if (!dir.mkpath(QStringLiteral(".")))
        throw Error(
            QStringLiteral("Cannot create the folder %1").arg(QDir::toNativeSeparators(m_folder)));
    const QString stem = QStringLiteral("%1-%2").arg(
        kind == Kind::Read ? QStringLiteral("radio") : QStringLiteral("before-write"),
        when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString path = dir.filePath(stem + QStringLiteral(".dat"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1-%2.dat").arg(stem).arg(n));
    saveFileAtomically(path, image);

    const QStringList names = files();
    // A file that cannot be removed is tried again after the next backup.
    for (int i = 0; i < names.size() - kKept; ++i)
        dir.remove(names[i]);
    return path;
}

} // namespace qx
