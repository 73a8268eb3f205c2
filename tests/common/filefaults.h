#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtTest>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qx::test {

// A place where a file cannot be written whole, made real: a full disk (a 64 KiB tmpfs
// mounted for the test and filled), a read-only disk, a FIFO, a device, a folder, a
// missing folder. One table of them serves the core, the command line and the window.
class FileFault {
public:
    // The fault for a file called name in folder, which holds old first where the fault
    // leaves room for a file. The disks are mounted on folder itself.
    FileFault(const QString &kind, const QString &folder, const QString &name,
              const QByteArray &old)
        : m_kind(kind), m_folder(folder), m_name(name), m_old(old) {
        QDir().mkpath(folder);
        if (kind == QLatin1String("full disk") || kind == QLatin1String("read-only disk"))
            mountDisk();
        else if (kind == QLatin1String("FIFO"))
            make(::mkfifo(name8().constData(), 0600) == 0);
        else if (kind == QLatin1String("folder"))
            make(QDir(folder).mkdir(name));
        else if (!old.isNull() && kind != QLatin1String("missing folder"))
            writeOld();
    }
    ~FileFault() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
    FileFault(const FileFault &) = delete;
    FileFault &operator=(const FileFault &) = delete;

    // The fault names of the table, for a _data() function's rows.
    static QStringList kinds() {
        return {"full disk", "read-only disk", "FIFO", "device", "folder", "missing folder"};
    }
    static void addRows() {
        QTest::addColumn<QString>("fault");
        for (const QString &kind : kinds())
            QTest::newRow(qPrintable(kind)) << kind;
    }

    // Not empty when this machine cannot make the fault: the test skips with it.
    const QString &skipReason() const { return m_skip; }
    // The file to write.
    QString path() const {
        if (m_kind == QLatin1String("device"))
            return QStringLiteral("/dev/null");
        if (m_kind == QLatin1String("missing folder"))
            return QDir(m_folder).filePath(QStringLiteral("no/such/") + m_name);
        return QDir(m_folder).filePath(m_name);
    }
    // Words the refusal must carry.
    QString reason() const {
        static const QHash<QString, QString> words{{"full disk", "No space left on device"},
                                                   {"read-only disk", "Read-only file system"},
                                                   {"FIFO", "is a pipe (FIFO), not a regular file"},
                                                   {"device", "is a device, not a regular file"},
                                                   {"folder", "is a folder"},
                                                   {"missing folder", "the folder does not exist"}};
        return words.value(m_kind);
    }
    // What a refused write changed, or empty: the old file byte for byte and nothing
    // beside it on a disk, still a FIFO, still a folder.
    QString changed() const {
        const QFileInfo info(path());
        if (m_kind == QLatin1String("FIFO")) {
            struct stat st {};
            return ::stat(name8().constData(), &st) == 0 && S_ISFIFO(st.st_mode)
                       ? QString()
                       : QStringLiteral("the FIFO is gone");
        }
        if (m_kind == QLatin1String("folder"))
            return info.isDir() ? QString() : QStringLiteral("the folder is gone");
        if (m_kind == QLatin1String("device"))
            return info.exists() && !info.isFile() ? QString()
                                                   : QStringLiteral("/dev/null was replaced");
        if (m_kind == QLatin1String("missing folder"))
            return QFileInfo::exists(info.absolutePath()) ? QStringLiteral("a folder was made")
                                                          : QString();
        QFile file(path());
        if (m_old.isNull())
            return file.exists() ? QStringLiteral("a file was left") : QString();
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("the old file is gone");
        const QByteArray now = file.readAll();
        if (now != m_old)
            return QStringLiteral("the old file now holds %1 bytes").arg(now.size());
        QStringList left = QDir(m_folder).entryList(QDir::Files | QDir::Hidden);
        left.removeAll(m_name);
        left.removeAll(QStringLiteral("filler"));
        return left.isEmpty() ? QString() : QStringLiteral("left behind: ") + left.join(", ");
    }

private:
    QByteArray name8() const { return QFile::encodeName(QDir(m_folder).filePath(m_name)); }
    void make(bool ok) {
        if (!ok)
            m_skip = QStringLiteral("cannot make the %1: %2").arg(m_kind, qt_error_string(errno));
    }
    void writeOld() {
        QFile file(path());
        if (!file.open(QIODevice::WriteOnly) || file.write(m_old) != m_old.size() || !file.flush())
            qFatal("cannot write %s", qPrintable(path()));
    }
    void mountDisk() {
#ifdef Q_OS_LINUX
        const QByteArray at = QFile::encodeName(m_folder);
        if (::mount("tmpfs", at.constData(), "tmpfs", 0, "size=64k") != 0) {
            m_skip = QStringLiteral("mounting a tmpfs is not allowed here (%1); run as root to "
                                    "test a full disk")
                         .arg(qt_error_string(errno));
            return;
        }
        m_mounted = true;
        if (!m_old.isNull())
            writeOld();
        if (m_kind == QLatin1String("read-only disk")) {
            if (::mount(nullptr, at.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
                m_skip = QStringLiteral("cannot remount read-only: ") + qt_error_string(errno);
            return;
        }
        // Every page taken: the next file of any size finds no room.
        const int fd = ::open((at + "/filler").constData(), O_WRONLY | O_CREAT, 0600);
        const QByteArray block(4096, 'x');
        while (fd >= 0 && ::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        while (fd >= 0 && ::write(fd, block.constData(), 1) > 0) {
        }
        if (fd >= 0)
            ::close(fd);
#else
        m_skip = QStringLiteral("a tmpfs is mounted on Linux only");
#endif
    }

    QString m_kind, m_folder, m_name;
    QByteArray m_old;
    QString m_skip;
    bool m_mounted = false;
};

} // namespace qx::test
