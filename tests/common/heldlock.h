#pragma once

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QSysInfo>

namespace qx::test {

// Another process holding a serial device the way Qt SerialPort does: a lock file
// (pid, program, host) in the first lock folder Qt would use, naming a live process.
class HeldLock {
public:
    ~HeldLock() { release(); }

    bool hold(const QString &device) {
        m_holder.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        if (!m_holder.waitForStarted())
            return false;
        QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
        name.replace(QLatin1Char('/'), QLatin1Char('_'));
        for (const char *folder : {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                                   "/tmp", "/var/tmp", "/run/lock"}) {
            const QFileInfo dir{QString::fromLatin1(folder)};
            if (!dir.isDir() || !dir.isReadable() || !dir.isWritable())
                continue;
            m_path = QStringLiteral("%1/LCK..%2").arg(QLatin1String(folder), name);
            QFile lock(m_path);
            if (!lock.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return false;
            // The program's name must be the process's own, or Qt takes the lock for stale.
            lock.write(QStringLiteral("%1\nsleep\n%2\n")
                           .arg(m_holder.processId())
                           .arg(QSysInfo::machineHostName())
                           .toUtf8());
            return true;
        }
        return false;
    }
    qint64 pid() const { return m_holder.processId(); }
    void release() {
        if (!m_path.isEmpty())
            QFile::remove(m_path);
        m_path.clear();
        if (m_holder.state() != QProcess::NotRunning) {
            m_holder.kill();
            m_holder.waitForFinished();
        }
    }

private:
    QProcess m_holder;
    QString m_path;
};

} // namespace qx::test
