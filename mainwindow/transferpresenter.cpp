#include "transferpresenter.h"

#include "error.h"
#include "filecopy.h"
#include "filelimits.h"
#include "imagebackups.h"
#include "prompter.h"
#include "ptini.h"
#include "transfer.h"
#include "transferjob.h"
#include "transferphase.h"
#include "transferswitches.h"
#include "windowtexts.h"
#include "workingfile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>

namespace qx {

TransferPresenter::TransferPresenter(const WindowTexts &texts, Prompter &prompter, Sio &sio,
                                     WorkingFile &file, TransferHost &host, QObject *parent)
    : QObject(parent), m_texts(texts), m_prompter(prompter), m_file(file), m_host(host),
      m_loggingSio(sio, m_log) {
    m_transfer = new Transfer(m_loggingSio, m_file, m_prompter, m_texts.transfer, this);
    m_transfer->setObjectName(QStringLiteral("Transfer"));
    m_job = new TransferJob(*m_transfer, m_prompter, this);
    m_job->setObjectName(QStringLiteral("TransferJob"));
    connect(m_job, &TransferJob::finished, this, &TransferPresenter::jobFinished);
}

TransferPresenter::~TransferPresenter() {
    // Before the sio it closes its port through.
    delete m_job;
    delete m_transfer;
}

void TransferPresenter::attach(QProgressBar *gauge, const QList<QAbstractButton *> &buttons,
                               TransferSwitches *switches,
                               const std::function<void(const QString &)> &status) {
    m_switches = switches;
    new TransferPhase(m_texts.access, *m_job, *m_transfer, gauge, status, this);
    connect(m_transfer, &Transfer::progressMaximum, gauge, &QProgressBar::setMaximum);
    connect(m_transfer, &Transfer::progress, gauge, &QProgressBar::setValue);
    connect(m_job, &TransferJob::busyChanged, this, [this, buttons](bool busy) {
        // Disabling the button that has the keyboard would pass it on to the next one, the
        // Stop button; it goes back where it was, normally the grid cell.
        if (busy)
            m_focusBefore = QApplication::focusWidget();
        for (QAbstractButton *button : buttons)
            button->setEnabled(!busy);
        if (!busy && m_focusBefore && m_focusBefore->isEnabled() && m_focusBefore->isVisible())
            m_focusBefore->setFocus(Qt::OtherFocusReason);
    });
}

void TransferPresenter::read() {
    start(TransferMode::Read);
}

void TransferPresenter::write() {
    guard(m_prompter, [this] {
        if (m_host.commitTypedText())
            start(TransferMode::Write);
    });
}

void TransferPresenter::stop() {
    guard(m_prompter, [this] { m_job->stop(); });
}

void TransferPresenter::closeLink() {
    m_transfer->closeLink();
}

void TransferPresenter::start(TransferMode mode) {
    guard(m_prompter, [this, mode] {
        const bool read = mode == TransferMode::Read;
        const int port = m_host.settingsFile().comPort();
        // A start refused because a transfer runs must leave that transfer's log alone.
        // The log stays open until the next start, so a read-back after a write joins it.
        if (m_job->busy()) {
            m_prompter.message(m_texts.transfer.alreadyRunning);
            return;
        }
        const QString log = QDir(QFileInfo(m_file.path()).path()).filePath("transfer.log");
        if (m_log.begin(log, false))
            m_log.line(QStringLiteral("%1 on COM%2")
                           .arg(read ? QStringLiteral("read") : QStringLiteral("write"))
                           .arg(port));
        if (read) {
            // A read the working file cannot take is refused before the radio hears
            // anything: a read of 6 s would otherwise end in a message and be kept nowhere.
            try {
                checkOutputFile(m_file.path());
            } catch (const Error &e) {
                m_prompter.message(m_texts.readCannotStore.arg(e.message()));
                return;
            }
            // The records are collected in a file of the job's own; only a completed, checked
            // read replaces the working file.
            TransferJob::ReadPlan plan;
            plan.port = port;
            plan.checked = m_switches->checkReads();
            plan.store = [this](const QByteArray &image) { storeRead(image); };
            m_job->read(plan);
            return;
        }
        TransferJob::WritePlan plan;
        plan.port = port;
        // Sent from the working file as it stands at each step; verified against the image
        // at the start.
        plan.from = &m_file;
        try {
            plan.image = m_file.readAll();
            plan.backup = [this](const QByteArray &image) { keepBackup(false, image); };
            plan.verify = m_switches->verifyAfterWrite();
        } catch (const Error &) {
            // The transfer says that the working file cannot be read.
        }
        m_job->write(plan);
    });
}

void TransferPresenter::storeRead(const QByteArray &image) {
    try {
        m_host.storeImage(image);
    } catch (const Error &e) {
        // The working file is as it was; the radio's image is kept whole where it can be.
        QString kept;
        try {
            kept = saveBackup(ImageBackups::Kind::Read, image);
        } catch (const Error &) {
            // The backups are on the same full disk: the user picks a place elsewhere (a
            // USB stick), until one takes it or the user gives up.
            m_prompter.message(m_texts.readKeptNowhere.arg(e.message()));
            for (;;) {
                const QString chosen = m_prompter.saveFileName(kDatFilter, QString());
                if (chosen.isEmpty())
                    throw Error(m_texts.readNotStored);
                try {
                    saveFileAtomically(chosen, image);
                    kept = chosen;
                    break;
                } catch (const Error &again) {
                    m_prompter.message(again.message());
                }
            }
        }
        throw Error(m_texts.readKeptIn.arg(e.message(), QDir::toNativeSeparators(kept)));
    }
    keepBackup(true, image);
    m_host.reload();
}

void TransferPresenter::jobFinished() {
    using Ending = TransferJob::Ending;
    guard(m_prompter, [this] {
        if (!m_log.failure().isEmpty())
            m_prompter.message(m_texts.logFailed.arg(m_log.failure()));
        // Where the transfer has said why, the working file is as it was.
        switch (m_job->ending()) {
        case Ending::NotStarted:
        case Ending::Stored:
        case Ending::BackupFailed:
        case Ending::NothingSent:
        case Ending::Written:
            return;
        case Ending::NotStored:
            // A read that could not be stored has said so, and where the image is kept.
            if (m_job->result() == TransferJob::Result::Unstable)
                m_prompter.message(
                    m_texts.readUnstable.arg(recordNames(m_texts.transfer, m_job->unstable())));
            else if (m_job->result() != TransferJob::Result::FileError)
                m_prompter.message(m_texts.readNotStored);
            return;
        case Ending::PartlyWritten:
            m_prompter.message(m_texts.writeIncomplete.arg(m_job->recordsSent()));
            return;
        case Ending::Verified:
            m_prompter.message(m_texts.verifyMatch);
            return;
        case Ending::Differs: {
            const QString text =
                m_texts.verifyDiffers.arg(recordNames(m_texts.transfer, m_job->differing())) +
                QLatin1Char('\n') + m_texts.writeAgain;
            if (m_prompter.ask(QStringLiteral("Confirm"), text, Prompter::Buttons::YesNo,
                               Prompter::Icon::Question))
                QMetaObject::invokeMethod(
                    this, [this] { start(TransferMode::Write); }, Qt::QueuedConnection);
            return;
        }
        case Ending::NotVerified:
            m_prompter.message(m_texts.verifyNotRead);
            return;
        }
    });
}

QString TransferPresenter::saveBackup(ImageBackups::Kind kind, const QByteArray &image) {
    return ImageBackups::besideFile(m_file.path()).save(kind, image, QDateTime::currentDateTime());
}

void TransferPresenter::keepBackup(bool read, const QByteArray &image) {
    try {
        saveBackup(read ? ImageBackups::Kind::Read : ImageBackups::Kind::BeforeWrite, image);
    } catch (const Error &e) {
        // The radio's image is about to be overwritten: without its backup the write must
        // not start. The job stops it before the first frame.
        if (!read)
            throw Error(m_texts.backupFailed.arg(e.message()) + QLatin1Char('\n') +
                        m_texts.backupStopsWrite);
        m_prompter.message(m_texts.backupFailed.arg(e.message()));
    }
}

} // namespace qx
