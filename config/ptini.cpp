#include "ptini.h"

#include "error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <SimpleIni.h>

namespace qx {

namespace {

bool loadIni(CSimpleIniA &ini, const QString &path) {
    ini.SetUnicode(true);
    ini.SetSpaces(false);
    if (!QFileInfo::exists(path))
        return true;
    return ini.LoadFile(QFile::encodeName(path).constData()) >= 0;
}

} // namespace

PtIni::PtIni(QString path) : m_path(std::move(path)) {}

PtIni PtIni::inDataFolder() {
    return PtIni(QDir(dataFolder()).filePath("pt.ini"));
}

QString PtIni::readString(const QString &section, const QString &key, const QString &def) const {
    CSimpleIniA ini(false, false, false); // case-insensitive, no duplicate keys
    if (!loadIni(ini, m_path))
        return def;
    const QByteArray s = section.toUtf8(), k = key.toUtf8();
    const char *value = ini.GetValue(s.constData(), k.constData(), nullptr);
    return value ? QString::fromUtf8(value) : def;
}

int PtIni::readInt(const QString &section, const QString &key, int def) const {
    bool ok = false;
    const int value = readString(section, key, QString()).trimmed().toInt(&ok);
    return ok ? value : def;
}

void PtIni::writeString(const QString &section, const QString &key, const QString &value) {
    CSimpleIniA ini(false, false, false);
    loadIni(ini, m_path);
    const QByteArray s = section.toUtf8(), k = key.toUtf8(), v = value.toUtf8();
    ini.SetValue(s.constData(), k.constData(), v.constData());
    if (ini.SaveFile(QFile::encodeName(m_path).constData(), false) < 0)
        throw Error(QCoreApplication::translate("PtIni", "Cannot write %1").arg(m_path));
}

void PtIni::writeInt(const QString &section, const QString &key, int value) {
    writeString(section, key, QString::number(value));
}

QString PtIni::deviceForPort(int port) const {
    // Set by the run script when the radio emulator stands in for the radio.
    const QString forced = qEnvironmentVariable("QX7420_DEVICE");
    if (!forced.isEmpty())
        return forced;
    const QString configured = readString("ports", QStringLiteral("COM%1").arg(port), QString());
    if (!configured.trimmed().isEmpty())
        return configured.trimmed();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyUSB%1").arg(port - 1);
#endif
}

QString programFolder() {
    const QString dir = QCoreApplication::applicationDirPath();
    return dir.isEmpty() ? QDir::currentPath() : dir;
}

QString dataFolder(const QString &program) {
    const QFileInfo folder(program);
    const QString canonical = folder.canonicalFilePath();
    const bool system =
        canonical == QLatin1String("/usr") || canonical.startsWith(QLatin1String("/usr/"));
    if (folder.isDir() && folder.isWritable() && !system)
        return program;
    // Not the application's name: the window and the CLI name themselves differently
    // and must share one folder.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return program;
    const QString data = QDir(base).filePath(QStringLiteral("qx7420"));
    // When it cannot be made, opening the working file there reports it.
    QDir().mkpath(data);
    return data;
}

QString dataFolder() {
    return dataFolder(programFolder());
}

} // namespace qx
