#pragma once

#include "readcheck.h"
#include "transfer.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

namespace qx {

class Prompter;
class WorkingFile;

// The safety around the radio transfers, as one job over Transfer: a read and what becomes
// of its image; a write with a backup before it and a read-back after it. The job ends with
// one precise result, which the window and the command line only present. It never blocks:
// each phase is a transfer on the event loop, started from a fresh call chain.
class TransferJob : public QObject {
    Q_OBJECT
public:
    enum class Phase { Backup, Read, Write, Verify };
    enum class Result {
        Completed,
        Refused,       // a transfer did not start: port, set-up, a short image
        FileError,     // a file could not be read or written; the error was shown
        NoAnswer,      // the radio stopped answering and no retry was wanted
        WentAway,      // the device went away
        Stopped,       // the stop command
        VerifyDiffers, // the radio holds other bytes than were written
        Unstable,      // a block never came the same twice: nothing was stored
    };
    // What became of the job, for the window and the command line to put into words; the
    // result says why.
    enum class Ending {
        NotStarted,    // refused before the handshake; the transfer said why
        Stored,        // a read completed and its image was kept
        NotStored,     // a read ended early or never settled: nothing was kept
        BackupFailed,  // the backup before a write did not complete: nothing was sent
        NothingSent,   // stopped between the backup and the write
        PartlyWritten, // a write ended early: the radio may hold part of each image
        Written,       // a write completed; no read-back was asked for
        Verified,      // read back, the radio holds what was written
        Differs,       // read back, the radio holds other bytes
        NotVerified,   // written, but the read-back ended early, never settled or was stopped
    };
    // The ending of a job that ended in this phase with this result; phaseDone: the phase
    // had completed (the job was stopped before the next one).
    static Ending endingOf(Phase phase, bool phaseDone, Result result);

    // Keeps an image: a completed read's, or a backup's. Throws qx::Error when it cannot;
    // the job then ends with FileError.
    using Store = std::function<void(const QByteArray &image)>;

    struct ReadPlan {
        int port = 1;
        // Where the records go as they arrive; nullptr: a file of the job's own.
        WorkingFile *into = nullptr;
        Store store;         // the image of a completed read; may be empty
        bool checked = true; // every block received the same twice
    };
    struct WritePlan {
        int port = 1;
        QByteArray image; // what is sent, and what the read-back must hold
        // The file the records are sent from, as it is at each step; nullptr: the job's own
        // copy of image.
        WorkingFile *from = nullptr;
        // Keeps a backup before anything is sent: the radio's image, read first, when
        // backupRadio; else the image about to be sent, once the link is open. May be empty.
        Store backup;
        bool backupRadio = false;
        bool checked = true; // the backup's read: every block received the same twice
        bool verify = false;
    };

    TransferJob(Transfer &transfer, Prompter &prompter, QObject *parent = nullptr);
    ~TransferJob() override;

    // Start a job. False, with the transfer's message, while a transfer runs: the running
    // one goes on untouched. Otherwise finished() comes once, perhaps before they return.
    bool read(const ReadPlan &plan);
    bool write(const WritePlan &plan);
    // The stop command: stops the transfer under way (or closes the link when none runs)
    // and ends the job as Stopped before its next phase.
    void stop();

    bool running() const { return m_running; }
    // A job runs or a transfer does, also between two phases of a job, when the transfer
    // is idle for a moment: no edit, no other transfer and no probe may start.
    bool busy() const { return m_busy; }
    Phase phase() const { return m_phase; }
    Result result() const { return m_result; }
    Ending ending() const { return endingOf(m_phase, m_phaseDone, m_result); }
    // After VerifyDiffers: the records the radio holds otherwise, and what it holds.
    const QList<int> &differing() const { return m_differing; }
    const QByteArray &readBack() const { return m_back; }
    // After Unstable: the records that never came the same twice.
    const QList<int> &unstable() const { return m_unstable; }
    // After a write that did not complete: how many records the radio took.
    int recordsSent() const { return m_transfer.recordsSent(); }

signals:
    void phaseStarted(qx::TransferJob::Phase phase);
    void finished(qx::TransferJob::Result result);
    void busyChanged(bool busy);

private:
    enum class Kind { Read, Write };

    bool begin(Kind kind);
    void startPhase(Phase phase);
    void transferEnded();
    void phaseCompleted();
    // The image a completed read left in the job's own file; throws when it is not whole.
    QByteArray imageRead() const;
    // A fresh file of the job's own for the phase under way.
    WorkingFile &ownFile(const QString &name);
    void end(Result result);
    void updateBusy();

    Transfer &m_transfer;
    Prompter &m_prompter;
    QTemporaryDir m_dir;
    std::unique_ptr<WorkingFile> m_own; // the job's file of the phase under way
    Kind m_kind = Kind::Read;
    ReadPlan m_read;
    WritePlan m_write;
    Phase m_phase = Phase::Read;
    Result m_result = Result::Completed;
    QList<int> m_differing;
    QByteArray m_back;
    QList<int> m_unstable;
    ReadCheck m_check;
    bool m_running = false;
    bool m_busy = false;
    bool m_phaseDone = false;
    bool m_stopped = false;
    std::optional<Result> m_abort; // ends the job once the stopped transfer has ended
};

} // namespace qx
