#pragma once

#include "imagebackups.h"
#include "loggingsio.h"
#include "steps.h"
#include "transferlog.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QAbstractButton;
class QProgressBar;
class QWidget;

namespace qx {

class Prompter;
class PtIni;
class Sio;
class Transfer;
class TransferJob;
class TransferSwitches;
class WorkingFile;
struct WindowTexts;

// What the presenter needs of the window around it.
class TransferHost {
public:
    // A completed read: the working file takes the image as one undo step. Throws.
    virtual void storeImage(const QByteArray &image) = 0;
    // The working file shown again, with a message naming what it lacks.
    virtual void reload() = 0;
    // The text typed into the grid, checked and stored; false when it was refused.
    virtual bool commitTypedText() = 0;
    // pt.ini, read afresh at every use.
    virtual PtIni settingsFile() const = 0;

protected:
    ~TransferHost() = default;
};

// Read and Write in the window: starts the transfer job with its log in transfer.log,
// drives the progress bar and the Read and Write buttons, keeps the backups and words
// what became of the job.
class TransferPresenter : public QObject {
    Q_OBJECT
public:
    TransferPresenter(const WindowTexts &texts, Prompter &prompter, Sio &sio, WorkingFile &file,
                      TransferHost &host, QObject *parent);
    ~TransferPresenter() override;

    // The controls it drives, once they exist; the buttons are enabled while it is idle.
    // status: shows the phase under way in the status bar.
    void attach(QProgressBar *gauge, const QList<QAbstractButton *> &buttons,
                TransferSwitches *switches, const std::function<void(const QString &)> &status);
    TransferJob &job() { return *m_job; }

public slots:
    void read();
    void write();
    void stop();
    // Exit: ends any transfer silently.
    void closeLink();

private:
    void start(TransferMode mode);
    void storeRead(const QByteArray &image);
    void jobFinished();
    // A backup in backups/ beside the working file, named by kind and time; its path. Throws.
    QString saveBackup(ImageBackups::Kind kind, const QByteArray &image);
    // The backup of a read (one that cannot be saved is reported) or of the image about to
    // be written (one that cannot be saved throws, and the write does not start).
    void keepBackup(bool read, const QByteArray &image);

    const WindowTexts &m_texts;
    Prompter &m_prompter;
    WorkingFile &m_file;
    TransferHost &m_host;
    TransferLog m_log; // transfer.log beside the working file: the last transfer's bytes
    LoggingSio m_loggingSio;
    Transfer *m_transfer = nullptr; // a child, found by tests as "Transfer"
    TransferJob *m_job = nullptr;   // a child, found by tests as "TransferJob"
    TransferSwitches *m_switches = nullptr;
    QPointer<QWidget> m_focusBefore; // what had the keyboard when the transfer began
};

} // namespace qx
