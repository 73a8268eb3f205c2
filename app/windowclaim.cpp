#include "windowclaim.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace qx {

namespace {

constexpr int kAnswerMs = 2000;

QString canonical(const QString &path) {
    const QFileInfo info(path);
    const QString folder = info.absoluteDir().canonicalPath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

} // namespace

WindowClaim::WindowClaim(const QString &workingFile, QObject *parent)
    : QObject(parent),
      m_name(QStringLiteral("qx7420-") +
             QString::fromLatin1(
                 QCryptographicHash::hash(canonical(workingFile).toUtf8(), QCryptographicHash::Sha1)
                     .toHex()
                     .left(16))),
      m_lock(canonical(workingFile) + QStringLiteral(".lock")) {
    // Only a dead holder makes a lock stale, however long a window stays open.
    m_lock.setStaleLockTime(0);
}

WindowClaim::~WindowClaim() = default;

bool WindowClaim::take() {
    return m_lock.tryLock(0);
}

qint64 WindowClaim::holderPid() const {
    qint64 pid = 0;
    QString host, program;
    return m_lock.getLockInfo(&pid, &host, &program) ? pid : 0;
}

bool WindowClaim::askHolderToShow() const {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    socket.write("show\n");
    socket.flush();
    return socket.waitForReadyRead(kAnswerMs) && socket.readAll().startsWith("shown");
}

void WindowClaim::serve(QWidget *window) {
    m_server = new QLocalServer(this);
    // Only this user may ask; a server left by a crashed program is replaced.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name))
        return;
    connect(m_server, &QLocalServer::newConnection, this, [this, window] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, window, [socket, window] {
                if (!socket->readAll().startsWith("show"))
                    return;
                window->showNormal();
                window->raise();
                window->activateWindow();
                socket->write("shown\n");
                socket->flush();
            });
        }
    });
}

} // namespace qx
