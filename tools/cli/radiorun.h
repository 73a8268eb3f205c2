#pragma once

#include "transfer.h"
#include "transferjob.h"
#include "workingfile.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace qx {
class Sio;
} // namespace qx

namespace qx::cli {

class CliPrompter;

// What one radio is asked to do: read it into a file, or write an image into it with an
// optional backup first and verify after.
struct RadioTask {
    enum class Kind { Read, Write };
    Kind kind = Kind::Read;
    QString output;      // read: the image file to write
    QByteArray image;    // write: the image to send, already checked
    QString input;       // write: where the image came from, for the messages
    QString backup;      // write: the file for the radio's image before the write; empty: none
    bool checked = true; // read and backup: every block received the same twice
    bool verify = true;
    int retries = 2;
    Pacing pacing;
};

// How a radio's task ended: the result of its transfer job.
using RadioResult = TransferJob::Result;
QString resultText(RadioResult result);

// One radio's task as a transfer job on the event loop, presented as notes: messages go to
// the note function, the retry question is answered yes as often as the retries allow.
// Never blocks, so any number of them run side by side on one thread.
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
    RadioResult result() const { return m_job->result(); }
    double seconds() const { return m_seconds; }
    // Verify: the records that differ.
    const QList<int> &differing() const { return m_job->differing(); }

signals:
    void progress(const QString &phase, int value, int maximum);
    void finished();

private:
    void phaseStarted(TransferJob::Phase phase);
    void ended(RadioResult result);
    void noteUnsettled(TransferJob::Ending ending);
    void noteDifferences();

    int m_port;
    QString m_device;
    RadioTask m_task;
    Note m_note;
    QElapsedTimer m_clock;
    // The engine's own file is never used: every phase names a file of the job's.
    WorkingFile m_unused{QString()};
    std::unique_ptr<CliPrompter> m_prompter;
    std::unique_ptr<Transfer> m_transfer;
    std::unique_ptr<TransferJob> m_job;
    QString m_phaseName;
    int m_maximum = 0;
    bool m_done = false;
    double m_seconds = 0;
};

} // namespace qx::cli
