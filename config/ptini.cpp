#include "ptini.h"

#include "error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <SimpleIni.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>

namespace qx {

namespace {

bool loadIni(CSimpleIniA &ini, const QString &path) {
    ini.SetUnicode(true);
    ini.SetSpaces(false);
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    // Read here, not by the library: a folder made it ask for an allocation of 2^63 bytes,
    // and a pipe would block the program. No settings file is anywhere near 1 MiB.
    constexpr qint64 kMaxBytes = 1024 * 1024;
    QFile file(path);
    if (!info.isFile() || info.size() > kMaxBytes || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(kMaxBytes);
    return file.error() == QFileDevice::NoError &&
           ini.LoadData(bytes.constData(), std::size_t(bytes.size())) >= 0;
}

// Every value by section and key, names in lower case as SimpleIni compares them.
using IniValues = std::map<std::pair<std::string, std::string>, std::string>;

std::string lower(std::string name) {
    for (char &c : name)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return name;
}

IniValues valuesOf(const CSimpleIniA &ini) {
    IniValues values;
    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const auto &section : sections) {
        CSimpleIniA::TNamesDepend keys;
        ini.GetAllKeys(section.pItem, keys);
        for (const auto &key : keys)
            values[{lower(section.pItem), lower(key.pItem)}] =
                ini.GetValue(section.pItem, key.pItem, "");
    }
    return values;
}

Error cannotWrite(const QString &path, const QString &reason) {
    const QString text = QCoreApplication::translate("PtIni", "Cannot write %1").arg(path);
    return Error(reason.isEmpty() ? text : text + QStringLiteral(": ") + reason);
}

} // namespace

PtIni::PtIni(QString path) : m_path(std::move(path)) {}

PtIni PtIni::inFolder(const QString &folder) {
    return PtIni(QDir(folder).filePath(QStringLiteral("pt.ini")));
}

QString PtIni::problem() const {
    if (!QFileInfo::exists(m_path))
        return {};
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), file.errorString());
    CSimpleIniA ini(false, false, false);
    if (!loadIni(ini, m_path))
        return QStringLiteral("%1: cannot be read").arg(QDir::toNativeSeparators(m_path));
    return {};
}

PtIni PtIni::inDataFolder() {
    return inFolder(dataFolder());
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
    // Saving what could not be read would replace the file with this one key.
    if (!loadIni(ini, m_path))
        throw cannotWrite(m_path, QCoreApplication::translate("PtIni", "it cannot be read"));
    const QByteArray s = section.toUtf8(), k = key.toUtf8(), v = value.toUtf8();
    IniValues expected = valuesOf(ini);
    ini.SetValue(s.constData(), k.constData(), v.constData());
    expected[{lower(s.toStdString()), lower(k.toStdString())}] = v.toStdString();
    std::string text;
    if (ini.Save(text, false) < 0)
        throw cannotWrite(m_path, QString());
    // A damaged line (a section name without its bracket) can be written back so that it
    // reads differently, moving other keys into another section: refuse rather than
    // change what the file says.
    CSimpleIniA check(false, false, false);
    check.SetUnicode(true);
    if (check.LoadData(text) < 0 || valuesOf(check) != expected)
        throw cannotWrite(m_path, QCoreApplication::translate(
                                      "PtIni", "a damaged line would change other settings"));
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.flush())
        throw cannotWrite(m_path, file.errorString());
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

QStringList PtIni::keys(const QString &section) const {
    CSimpleIniA ini(false, false, false);
    QStringList out;
    if (!loadIni(ini, m_path))
        return out;
    CSimpleIniA::TNamesDepend names;
    ini.GetAllKeys(section.toUtf8().constData(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    for (const auto &name : names)
        out << QString::fromUtf8(name.pItem);
    return out;
}

int PtIni::portForDevice(const QString &device) const {
    if (!qEnvironmentVariable("QX7420_DEVICE").isEmpty())
        return sameDevice(deviceForPort(comPort()), device) ? comPort() : 0;
    const QList<int> mapped = mappedPorts();
    for (int port : mapped)
        if (sameDevice(deviceForPort(port), device))
            return port;
    // The default names: port n is /dev/ttyUSB{n-1} unless [ports] maps it elsewhere.
    static const QRegularExpression usb(QStringLiteral("^/dev/ttyUSB(\\d{1,8})$"));
    for (const QString &name : {device, QFileInfo(device).canonicalFilePath()}) {
        const QRegularExpressionMatch m = usb.match(name);
        if (m.hasMatch() && sameDevice(deviceForPort(m.captured(1).toInt() + 1), device))
            return m.captured(1).toInt() + 1;
    }
    return 0;
}

QList<int> PtIni::mappedPorts() const {
    static const QRegularExpression comKey(QStringLiteral("^COM(\\d{1,9})$"),
                                           QRegularExpression::CaseInsensitiveOption);
    QList<int> ports;
    const QStringList names = keys(QStringLiteral("ports"));
    for (const QString &key : names) {
        const QRegularExpressionMatch m = comKey.match(key.trimmed());
        const int port = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (port > 0 && !ports.contains(port))
            ports << port;
    }
    std::sort(ports.begin(), ports.end());
    return ports;
}

bool sameDevice(const QString &a, const QString &b) {
    if (a == b)
        return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
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
