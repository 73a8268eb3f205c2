#include "transferjob.h"

#include "error.h"
#include "filecopy.h"
#include "memoryframe.h"
#include "prompter.h"
#include "workingfile.h"

#include <QFile>

namespace qx {

TransferJob::TransferJob(Transfer &transfer, Prompter &prompter, QObject *parent)
    : QObject(parent), m_transfer(transfer), m_prompter(prompter) {
    // Queued: the next phase starts from a fresh call chain, not inside the transfer's end.
    connect(&m_transfer, &Transfer::finished, this, &TransferJob::transferEnded,
            Qt::QueuedConnection);
    connect(&m_transfer, &Transfer::buttonsEnabled, this, &TransferJob::updateBusy);
}

TransferJob::Ending TransferJob::endingOf(Phase phase, bool phaseDone, Result result) {
    const bool refused = result == Result::Refused && !phaseDone;
    switch (phase) {
    case Phase::Read:
        return result == Result::Completed ? Ending::Stored
               : refused                   ? Ending::NotStarted
                                           : Ending::NotStored;
    case Phase::Backup:
        return phaseDone ? Ending::NothingSent
               : refused ? Ending::NotStarted
                         : Ending::BackupFailed;
    case Phase::Write:
        return result == Result::Completed ? Ending::Written
               : phaseDone                 ? Ending::NotVerified
               : refused                   ? Ending::NotStarted
                                           : Ending::PartlyWritten;
    case Phase::Verify:
        return result == Result::Completed       ? Ending::Verified
               : result == Result::VerifyDiffers ? Ending::Differs
                                                 : Ending::NotVerified;
    }
    return Ending::NotStarted;
}

void TransferJob::updateBusy() {
    const bool busy = m_running || m_transfer.running();
    if (busy == m_busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

TransferJob::~TransferJob() = default;

bool TransferJob::begin(Kind kind) {
    if (m_running || m_transfer.running()) {
        m_prompter.message(m_transfer.texts().alreadyRunning);
        return false;
    }
    m_kind = kind;
    m_running = true;
    m_phaseDone = false;
    updateBusy();
    m_stopped = false;
    m_abort.reset();
    m_differing.clear();
    m_back.clear();
    m_unstable.clear();
    return true;
}

bool TransferJob::read(const ReadPlan &plan) {
    if (!begin(Kind::Read))
        return false;
    m_read = plan;
    startPhase(Phase::Read);
    return true;
}

bool TransferJob::write(const WritePlan &plan) {
    if (!begin(Kind::Write))
        return false;
    m_write = plan;
    startPhase(plan.backupRadio && plan.backup ? Phase::Backup : Phase::Write);
    return true;
}

void TransferJob::stop() {
    if (m_running)
        m_stopped = true;
    // The stop command closes the link even when no transfer runs.
    m_transfer.stop();
}

WorkingFile &TransferJob::ownFile(const QString &name) {
    if (!m_dir.isValid())
        throw Error(
            QStringLiteral("Cannot create a temporary folder: %1").arg(m_dir.errorString()));
    const QString path = m_dir.filePath(name);
    QFile::remove(path);
    m_own = std::make_unique<WorkingFile>(path);
    return *m_own;
}

void TransferJob::startPhase(Phase phase) {
    if (m_stopped) {
        end(Result::Stopped);
        return;
    }
    const Phase previous = m_phase;
    const bool previousDone = m_phaseDone;
    m_phase = phase;
    m_phaseDone = false;
    emit phaseStarted(phase);
    if (m_stopped) { // by a receiver of phaseStarted: the phase never began
        m_phase = previous;
        m_phaseDone = previousDone;
        end(Result::Stopped);
        return;
    }
    bool started = false;
    const bool ran = guard(m_prompter, [&] {
        Transfer::Target target;
        switch (phase) {
        case Phase::Read:
            target.file = m_read.into ? m_read.into : &ownFile("read.dat");
            // The completion is told once the image is kept: a box closed by a crash must
            // not have announced a read that was never stored.
            target.overMessage = false;
            m_check = ReadCheck();
            target.check = m_read.checked ? &m_check : nullptr;
            started = m_transfer.start(Transfer::Mode::Read, m_read.port, target);
            return;
        case Phase::Backup:
            target.file = &ownFile("backup.dat");
            m_check = ReadCheck();
            target.check = m_write.checked ? &m_check : nullptr;
            started = m_transfer.start(Transfer::Mode::Read, m_write.port, target);
            return;
        case Phase::Verify:
            // Part of the write: no start message of its own; the write's completion is told
            // once the radio has been read back. A block that differs from what was written
            // is asked again, so a noisy line is not taken for a bad write.
            target.file = &ownFile("verify.dat");
            target.startMessage = false;
            m_check = ReadCheck(m_write.image);
            target.check = &m_check;
            started = m_transfer.start(Transfer::Mode::Read, m_write.port, target);
            return;
        case Phase::Write: {
            WorkingFile *from = m_write.from;
            if (!from) {
                // A copy, so the image verified is the image sent.
                from = &ownFile("write.dat");
                saveFileAtomically(from->path(), m_write.image);
            }
            target.file = from;
            target.overMessage = !m_write.verify;
            started = m_transfer.start(Transfer::Mode::Write, m_write.port, target);
            // Nothing is sent before the first step's timer: the backup is on disk first.
            if (started && m_write.backup && !m_write.backupRadio)
                m_write.backup(m_write.image);
            return;
        }
        }
    });
    if (!ran && m_transfer.running()) {
        // The backup before the write failed: nothing has been sent yet.
        m_phase = Phase::Backup;
        m_abort = Result::FileError;
        m_transfer.stop();
        return;
    }
    if (!ran || !started)
        end(ran ? Result::Refused : Result::FileError);
}

void TransferJob::transferEnded() {
    if (!m_running || m_transfer.running())
        return;
    if (m_abort) {
        end(*m_abort);
        return;
    }
    if (m_stopped) {
        end(Result::Stopped);
        return;
    }
    switch (m_transfer.outcome()) {
    case Transfer::Outcome::Completed:
        phaseCompleted();
        return;
    case Transfer::Outcome::Refused:
        end(Result::Refused);
        return;
    case Transfer::Outcome::NoAnswer:
        end(Result::NoAnswer);
        return;
    case Transfer::Outcome::FileError:
        end(Result::FileError);
        return;
    case Transfer::Outcome::Stopped:
    case Transfer::Outcome::Closed:
        end(Result::Stopped);
        return;
    case Transfer::Outcome::Gone:
        end(Result::WentAway);
        return;
    case Transfer::Outcome::Unstable:
        m_unstable = m_check.unstable();
        end(Result::Unstable);
        return;
    }
}

QByteArray TransferJob::imageRead() const {
    const QByteArray image = m_own->readAll();
    if (image.size() != kRecordCount * MemoryFrame::kSize)
        throw Error(QStringLiteral("The read ended with %1 bytes instead of %2.")
                        .arg(image.size())
                        .arg(kRecordCount * MemoryFrame::kSize));
    return image;
}

void TransferJob::phaseCompleted() {
    m_phaseDone = m_phase != Phase::Read && m_phase != Phase::Verify;
    switch (m_phase) {
    case Phase::Read:
        if (!guard(m_prompter, [this] {
                const QByteArray image = m_read.into ? m_read.into->readAll() : imageRead();
                if (m_read.store)
                    m_read.store(image);
            })) {
            end(Result::FileError);
            return;
        }
        if (!m_transfer.texts().over.isEmpty())
            m_prompter.message(m_transfer.texts().over);
        end(Result::Completed);
        return;
    case Phase::Backup:
        if (!guard(m_prompter, [this] { m_write.backup(imageRead()); })) {
            m_phaseDone = false; // the backup is not kept: it failed
            end(Result::FileError);
        } else
            startPhase(Phase::Write);
        return;
    case Phase::Write:
        if (m_write.verify)
            startPhase(Phase::Verify);
        else
            end(Result::Completed);
        return;
    case Phase::Verify:
        if (!guard(m_prompter, [this] { m_back = imageRead(); })) {
            end(Result::FileError);
            return;
        }
        m_differing = differingRecords(m_write.image, m_back);
        end(m_differing.isEmpty() ? Result::Completed : Result::VerifyDiffers);
        return;
    }
}

void TransferJob::end(Result result) {
    if (!m_running)
        return;
    m_running = false;
    m_result = result;
    updateBusy();
    emit finished(result);
}

} // namespace qx
