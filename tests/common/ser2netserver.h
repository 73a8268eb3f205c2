#pragma once

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

namespace qx::test {

// Debian's ser2net, started by a test on loopback ports it picks: one accepter per cable,
// each either telnet(rfc2217) or plain tcp, with kickolduser as a bench board has it. Its
// configuration lives in a temporary folder; it stops with this object.
class Ser2NetServer {
public:
    struct Accepter {
        bool rfc2217 = true;
        QString device; // the serial device, the emulator's pseudo-terminal in tests
    };

    // Where tests look for it; empty when it is not installed.
    static QString program() {
        const QString inPath = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
        if (!inPath.isEmpty())
            return inPath;
        return QStandardPaths::findExecutable(QStringLiteral("ser2net"),
                                              {QStringLiteral("/usr/sbin")});
    }
    // A loopback port nothing listens on at the moment.
    static quint16 freePort() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    ~Ser2NetServer() { stop(); }

    // Starts ser2net and waits until every accepter listens; false with the reason.
    bool start(const QList<Accepter> &accepters, QString *error = nullptr) {
        QString yaml;
        for (int i = 0; i < accepters.size(); ++i) {
            const quint16 port = freePort();
            m_ports << port;
            m_kinds << accepters[i].rfc2217;
            yaml += QStringLiteral("connection: &c%1\n"
                                   "    accepter: %2tcp,127.0.0.1,%3\n"
                                   "    options:\n"
                                   "      kickolduser: true\n"
                                   "    connector: serialdev,%4,9600n81,local\n")
                        .arg(i)
                        .arg(accepters[i].rfc2217 ? QStringLiteral("telnet(rfc2217),") : QString())
                        .arg(port)
                        .arg(accepters[i].device);
        }
        QFile config(m_dir.filePath(QStringLiteral("ser2net.yaml")));
        if (!config.open(QIODevice::WriteOnly) || config.write(yaml.toUtf8()) < 0) {
            setError(error, QStringLiteral("cannot write %1").arg(config.fileName()));
            return false;
        }
        config.close();
        // -n: in the foreground, a child the test can stop; -u: no lock files in /var/lock.
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(program(), {QStringLiteral("-n"), QStringLiteral("-u"),
                                    QStringLiteral("-c"), config.fileName(), QStringLiteral("-P"),
                                    m_dir.filePath(QStringLiteral("ser2net.pid"))});
        if (!m_process.waitForStarted(5000)) {
            setError(error, m_process.errorString());
            return false;
        }
        for (int tries = 0; tries < 500; ++tries) {
            if (m_process.state() != QProcess::Running) {
                setError(error, QStringLiteral("ser2net ended: %1")
                                    .arg(QString::fromLocal8Bit(m_process.readAll())));
                return false;
            }
            bool listening = true;
            for (quint16 port : m_ports)
                listening = listening && !free(port);
            if (listening)
                return true;
            QThread::msleep(10);
        }
        setError(error, QStringLiteral("ser2net does not listen"));
        return false;
    }

    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    // Ends the server as kill -9 would: no goodbye to its clients.
    void kill() {
        m_process.kill();
        m_process.waitForFinished(3000);
    }

    quint16 port(int i) const { return m_ports.value(i); }
    // The URL a client uses for accepter i; other: the URL of the other kind, as a user
    // who mistyped it would give.
    QString url(int i, bool other = false) const {
        const bool rfc2217 = m_kinds.value(i) != other;
        return QStringLiteral("%1://127.0.0.1:%2")
            .arg(rfc2217 ? QStringLiteral("rfc2217") : QStringLiteral("socket"))
            .arg(m_ports.value(i));
    }

private:
    // A port a server of this machine listens on cannot be taken.
    static bool free(quint16 port) {
        QTcpServer probe;
        return probe.listen(QHostAddress::LocalHost, port);
    }
    static void setError(QString *error, const QString &text) {
        if (error)
            *error = text;
    }

    QTemporaryDir m_dir;
    QProcess m_process;
    QList<quint16> m_ports;
    QList<bool> m_kinds;
};

} // namespace qx::test
