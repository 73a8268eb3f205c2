#pragma once

#include "transfer.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace qx {
class Sio;
class WorkingFile;
} // namespace qx

namespace qx::cli {

class CliPrompter;

// What one radio is asked to do: read it into a file, or write an image into it with an
// optional backup first and verify after.
struct RadioTask {
    enum class Kind { Read, Write };
    Kind kind = Kind::Read;
    QString output;   // read: the image file to write
    QByteArray image; // write: the image to send, already checked
    QString input;    // write: where the image came from, for the messages
    QString backup;   // write: the file for the radio's image before the write; empty: none
    bool verify = false;
    int retries = 2;
    Pacing pacing;
};

// How a radio's task ended.
enum class RadioResult {
    Ok,
    NoLink,   // the port could not be opened or set up: nothing was sent
    NoAnswer, // the radio stopped answering and every retry was used
    WentAway, // the device disappeared during the transfer
    VerifyDiffers,
    FileError,
    Interrupted,
};
QString resultText(RadioResult result);

// One radio's task as a chain of transfers (backup, write, verify; or read) on the event
// loop, each through the window's engine with its own retries. Never blocks, so any
// number of them run side by side on one thread. Messages go to the note function.
class RadioRun : public QObject {
    Q_OBJECT
public:
    using Note = std::function<void(const QString &)>;

    RadioRun(Sio &sio, int port, QString device, RadioTask task, Note note,
             QObject *parent = nullptr);
    ~RadioRun() override;

    void start();
    // Ctrl-C: stops the transfer under way; the task ends as interrupted.
    void interrupt();

    bool done() const { return m_done; }
    RadioResult result() const { return m_result; }
    double seconds() const { return m_seconds; }
    // Verify: the records that differ.
    const QList<int> &differing() const { return m_differing; }

signals:
    void progress(const QString &phase, int value, int maximum);
    void finished();

private:
    enum class Phase { Read, Backup, Write, Verify };

    void begin(Phase phase);
    void transferEnded();
    void phaseCompleted();
    void phaseFailed(RadioResult result);
    // The image a read phase left in its working file; empty after a note when incomplete.
    QByteArray imageRead();
    void compare(const QByteArray &back);
    void end(RadioResult result);

    Sio &m_sio;
    int m_port;
    QString m_device;
    RadioTask m_task;
    Note m_note;
    QTemporaryDir m_dir;
    QElapsedTimer m_clock;
    Phase m_phase = Phase::Read;
    std::unique_ptr<WorkingFile> m_file;
    std::unique_ptr<CliPrompter> m_prompter;
    std::unique_ptr<Transfer> m_transfer;
    int m_maximum = 0;
    bool m_interrupted = false;
    bool m_done = false;
    RadioResult m_result = RadioResult::Ok;
    double m_seconds = 0;
    QList<int> m_differing;
};

} // namespace qx::cli
