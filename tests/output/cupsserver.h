#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace qx::test {

// A CUPS server of the test's own, listening only on a socket in a temporary folder, with
// one cups-pdf queue that writes its PDFs into a folder there. cups-pdf reads its settings
// only from /etc/cups, so the server runs in a mount namespace of its own in which
// /etc/cups is the test's configuration: the machine's printers and settings are never
// touched.
class CupsServer {
public:
    static constexpr const char *kQueue = "QxPdf";

    ~CupsServer() {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(10000))
                m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
    }

    // Empty when the server answers, else why it cannot run here.
    QString start() {
        if (geteuid() != 0)
            return QStringLiteral("cups-pdf runs only as root, and so must the test's cupsd");
        for (const char *tool : {"cupsd", "unshare", "lpstat", "cupsreject", "cupsaccept"})
            if (QStandardPaths::findExecutable(
                    QLatin1String(tool), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")})
                    .isEmpty())
                return QStringLiteral("%1 is missing: tools/deps.sh installs cups and "
                                      "cups-client")
                    .arg(QLatin1String(tool));
        if (!QFileInfo::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")) ||
            !QFileInfo::exists(QStringLiteral("/etc/cups")))
            return QStringLiteral("printer-driver-cups-pdf is missing");
        if (!m_dir.isValid())
            return QStringLiteral("no temporary folder");
        // The filters run as lp and must reach the spool.
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::ExeOther |
                                                QFile::ReadGroup | QFile::ExeGroup);
        for (const char *sub :
             {"etc/ppd", "spool", "cache", "state", "log", "tmp", "out", "pdfspool"})
            QDir(m_dir.path()).mkpath(QLatin1String(sub));
        QFile::setPermissions(path("tmp"), QFileDevice::Permissions(0x7777));
        const QString etc = path("etc");
        write("etc/cupsd.conf", QStringLiteral("Listen %1\n"
                                               "LogLevel warn\n"
                                               "Browsing No\n"
                                               "DefaultAuthType None\n"
                                               "<Location />\n  Order allow,deny\n  Allow all\n"
                                               "</Location>\n"
                                               "<Policy default>\n  <Limit All>\n"
                                               "    Order deny,allow\n  </Limit>\n"
                                               "</Policy>\n")
                                    .arg(socket()));
        write("etc/cups-files.conf",
              QStringLiteral("ServerRoot %1\nRequestRoot %2\nTempDir %3\nCacheDir %4\n"
                             "StateDir %5\nErrorLog %6/error_log\nAccessLog %6/access_log\n"
                             "PageLog %6/page_log\nSystemGroup root\nSandboxing Relaxed\n")
                  .arg(etc, path("spool"), path("tmp"), path("cache"), path("state"), path("log")));
        write("etc/cups-pdf.conf",
              QStringLiteral("Out %1\nAnonDirName %1\nSpool %2\nLog %3\nGrp root\n"
                             "TitlePref 1\nLabel 0\n")
                  .arg(path("out"), path("pdfspool"), path("log")));
        write("etc/printers.conf",
              QStringLiteral("<DefaultPrinter %1>\nDeviceURI cups-pdf:/\nState Idle\n"
                             "Accepting Yes\n</DefaultPrinter>\n")
                  .arg(QLatin1String(kQueue)));
        QFile::copy(QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"),
                    path("etc/ppd/") + QLatin1String(kQueue) + QStringLiteral(".ppd"));

        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start(QStringLiteral("unshare"),
                      {QStringLiteral("-m"), QStringLiteral("--propagation"),
                       QStringLiteral("private"), QStringLiteral("sh"), QStringLiteral("-c"),
                       QStringLiteral("mount --bind \"$0\" /etc/cups && exec cupsd -f -c "
                                      "\"$0/cupsd.conf\" -s \"$0/cups-files.conf\""),
                       etc});
        if (!m_cupsd.waitForStarted(10000))
            return QStringLiteral("unshare does not start: %1").arg(m_cupsd.errorString());
        for (QDeadlineTimer deadline(20000); !deadline.hasExpired();) {
            if (m_cupsd.state() == QProcess::NotRunning)
                return QStringLiteral("cupsd cannot start here: %1")
                    .arg(QString::fromLocal8Bit(m_cupsd.readAll()).trimmed());
            if (QFileInfo::exists(socket()) && run("lpstat", {QStringLiteral("-d")}))
                return QString();
            QTest::qWait(100);
        }
        return QStringLiteral("cupsd did not answer within 20 s");
    }

    QString socket() const { return m_dir.filePath(QStringLiteral("cups.sock")); }
    QString outFolder() const { return path("out"); }
    QStringList pdfs() const {
        return QDir(outFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }
    // lpstat, cupsreject, cupsaccept... against this server; true when it exits 0.
    bool run(const char *tool, QStringList args) const {
        QProcess p;
        p.start(QLatin1String(tool), QStringList{QStringLiteral("-h"), socket()} + args);
        return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }
    QString errorLog() const {
        QFile f(path("log/error_log"));
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
    }

private:
    QString path(const char *sub) const { return m_dir.filePath(QLatin1String(sub)); }
    void write(const char *sub, const QString &text) {
        QFile f(path(sub));
        if (f.open(QIODevice::WriteOnly))
            f.write(text.toUtf8());
    }

    QTemporaryDir m_dir;
    QProcess m_cupsd;
};

} // namespace qx::test
