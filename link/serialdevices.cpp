#include "serialdevices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qx {

namespace {

// Where Qt SerialPort (and the UUCP convention it follows) keeps lock files.
const char *const kLockFolders[] = {"/var/lock",         "/etc/locks", "/var/spool/locks",
                                    "/var/spool/uucp",   "/tmp",       "/var/tmp",
                                    "/var/lock/lockdev", "/run/lock"};

// "LCK..ttyUSB0" for /dev/ttyUSB0, "LCK..pts_3" for /dev/pts/3, as Qt names them.
QString lockFileName(const QString &device) {
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LCK..") + name;
}

QString processName(qint64 pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

bool processAlive(qint64 pid) {
    return QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
}

// The first line of a lock file is the holder's pid (Qt: pid, program, host; minicom
// and other UUCP-style tools: the pid padded with blanks).
LockHolder readLock(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
    if (!ok || pid <= 0 || !processAlive(pid))
        return {}; // stale: whoever opens the port next removes it
    LockHolder holder;
    holder.pid = pid;
    holder.program = processName(pid);
    if (holder.program.isEmpty())
        holder.program = QString::fromLocal8Bit(lines.value(1).trimmed());
    return holder;
}

} // namespace

QString LockHolder::text(Language language) const {
    const bool chinese = language == Language::Chinese;
#ifdef Q_OS_UNIX
    if (pid == qint64(::getpid()))
        return (chinese ? QStringLiteral("本程序（进程号%1）")
                        : QStringLiteral("this program (pid %1)"))
            .arg(pid);
#endif
    if (program.isEmpty())
        return (chinese ? QStringLiteral("另一个程序：进程号%1")
                        : QStringLiteral("another program: pid %1"))
            .arg(pid);
    return (chinese ? QStringLiteral("另一个程序：%1（进程号%2）")
                    : QStringLiteral("another program: %1 (pid %2)"))
        .arg(program)
        .arg(pid);
}

LockHolder lockHolder(const QString &device) {
    // A port opened by another name (a by-id link, say) is locked under that name.
    QStringList names{lockFileName(device)};
    const QString canonical = QFileInfo(device).canonicalFilePath();
    if (!canonical.isEmpty() && lockFileName(canonical) != names.first())
        names << lockFileName(canonical);
    for (const char *folder : kLockFolders)
        for (const QString &name : names) {
            const LockHolder holder = readLock(QDir(QLatin1String(folder)).filePath(name));
            if (holder.held())
                return holder;
        }
    return {};
}

std::unique_ptr<QLockFile> lockRealDevice(const QString &device) {
    const QString real = QFileInfo(device).canonicalFilePath();
    for (const char *folder : kLockFolders) {
        const QFileInfo dir{QLatin1String(folder)};
        if (!dir.isDir() || !dir.isWritable())
            continue;
        auto lock = std::make_unique<QLockFile>(QDir(dir.filePath()).filePath(lockFileName(real)));
        lock->setStaleLockTime(0); // stale only when its process is gone
        return lock->tryLock(0) ? std::move(lock) : nullptr;
    }
    return std::make_unique<QLockFile>(QString()); // nowhere to lock: nothing to compare
}

QString stableName(const QString &device) {
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    const QFileInfoList links = byId.entryInfoList(QDir::System | QDir::Files, QDir::Name);
    for (const QFileInfo &link : links)
        if (link.canonicalFilePath() == target)
            return link.absoluteFilePath();
    return {};
}

QString deviceGroup(const QString &device) {
    return QFileInfo(device).group();
}

bool userMayOpen(const QString &device) {
#ifdef Q_OS_UNIX
    // access() asks with the real user's rights, as open() will.
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
#else
    const QFileInfo info(device);
    return info.isReadable() && info.isWritable();
#endif
}

DeviceAccess deviceAccess(const QString &device) {
    DeviceAccess access;
    const QFileInfo info(device); // follows links, as open() does
    access.owner = info.owner();
    access.group = info.group();
    const QFileDevice::Permissions p = info.permissions();
    access.groupMayUse = p.testFlags(QFileDevice::ReadGroup | QFileDevice::WriteGroup);
    QString mode = QStringLiteral("-");
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) == 0)
        mode = QLatin1Char(S_ISCHR(st.st_mode) ? 'c' : '-');
#endif
    const std::pair<QFileDevice::Permission, char> bits[] = {
        {QFileDevice::ReadOwner, 'r'},  {QFileDevice::WriteOwner, 'w'},
        {QFileDevice::ExeOwner, 'x'},   {QFileDevice::ReadGroup, 'r'},
        {QFileDevice::WriteGroup, 'w'}, {QFileDevice::ExeGroup, 'x'},
        {QFileDevice::ReadOther, 'r'},  {QFileDevice::WriteOther, 'w'},
        {QFileDevice::ExeOther, 'x'}};
    for (const auto &[bit, letter] : bits)
        mode += p.testFlag(bit) ? QLatin1Char(letter) : QLatin1Char('-');
    access.mode = mode;
    return access;
}

QString serialGroup() {
#ifdef Q_OS_UNIX
    if (!::getgrnam("dialout") && ::getgrnam("uucp"))
        return QStringLiteral("uucp");
#endif
    return QStringLiteral("dialout");
}

QList<SerialDevice> serialDevices() {
    QList<SerialDevice> devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        SerialDevice d;
        d.path = info.systemLocation();
        d.byId = stableName(d.path);
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            d.usbId = QStringLiteral("%1:%2")
                          .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                          .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        d.manufacturer = info.manufacturer();
        d.description = info.description();
        d.serialNumber = info.serialNumber();
        d.group = deviceGroup(d.path);
        d.accessible = userMayOpen(d.path);
        d.lock = lockHolder(d.path);
        devices << d;
    }
    std::sort(devices.begin(), devices.end(),
              [](const SerialDevice &a, const SerialDevice &b) { return a.path < b.path; });
    return devices;
}

QStringList serialDevicePaths() {
    QStringList paths;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        paths << info.systemLocation();
    paths.sort();
    return paths;
}

} // namespace qx
