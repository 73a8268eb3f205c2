#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace qx {

// One window per working file: a lock file beside it, and a local server under a name
// made from its path, through which a second program asks the first to come forward.
// A lock left by a program that crashed is taken over.
class WindowClaim : public QObject {
    Q_OBJECT
public:
    explicit WindowClaim(const QString &workingFile, QObject *parent = nullptr);
    ~WindowClaim() override;

    // True when this program now holds the working file.
    bool take();
    // The process that holds it, once take() failed: 0 when the lock file does not say.
    qint64 holderPid() const;
    // Asks the holder to bring its window forward; false when it could not be reached.
    bool askHolderToShow() const;
    // Brings this window forward whenever another program asks.
    void serve(QWidget *window);

private:
    QString m_name; // the local server's
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};

} // namespace qx
