#include "mainwindow.h"

#include "channelgrid.h"
#include "dragpanel.h"
#include "dropdown.h"
#include "edithistory.h"
#include "error.h"
#include "filecopy.h"
#include "imagebackups.h"
#include "networkport.h"
#include "portdetector.h"
#include "prompter.h"
#include "ptini.h"
#include "serialdevices.h"
#include "transfer.h"
#include "transferjob.h"
#include "transferswitches.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

namespace qx {

void MainWindow::wireTransfer() {
    connect(m_transfer.get(), &Transfer::progressMaximum, Gauge, &QProgressBar::setMaximum);
    connect(m_transfer.get(), &Transfer::progress, Gauge, &QProgressBar::setValue);
    connect(m_transfer.get(), &Transfer::buttonsEnabled, this, [this](bool enabled) {
        ToolButton7->setEnabled(enabled);
        ToolButton8->setEnabled(enabled);
    });
    connect(m_detector, &PortDetector::finished, this, &MainWindow::detectFinished);
    m_job = new TransferJob(*m_transfer, m_prompter, this);
    m_job->setObjectName(QStringLiteral("TransferJob"));
    connect(m_job, &TransferJob::finished, this,
            [this](TransferJob::Result result) { jobFinished(int(result)); });
}

void MainWindow::n11Click() {
    startTransfer(int(Transfer::Mode::Read));
}

void MainWindow::N12Click() {
    guard(m_prompter, [this] {
        if (m_grid->commitTypedText())
            startTransfer(int(Transfer::Mode::Write));
    });
}

void MainWindow::startTransfer(int mode) {
    guard(m_prompter, [this, mode] {
        const int port = settingsFile().comPort();
        // A start refused because a transfer runs must leave that transfer's log alone.
        // The log stays open until the next start, so a read-back after a write joins it.
        if (m_job->running() || m_transfer->running()) {
            m_prompter.message(m_texts.transfer.alreadyRunning);
            return;
        }
        if (m_log.begin(QDir(m_folder).filePath(QStringLiteral("transfer.log")), false))
            m_log.line(QStringLiteral("%1 on COM%2")
                           .arg(mode == int(Transfer::Mode::Read) ? QStringLiteral("read")
                                                                  : QStringLiteral("write"))
                           .arg(port));
        if (mode == int(Transfer::Mode::Read)) {
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
        if (const std::optional<QByteArray> before = m_history->snapshot()) {
            plan.image = *before;
            plan.backup = [this](const QByteArray &image) { keepBackup(false, image); };
            plan.verify = m_switches->verifyAfterWrite();
        }
        m_job->write(plan);
    });
}

void MainWindow::storeRead(const QByteArray &image) {
    {
        // At once and as one undo step; edits made while the radio was read are replaced.
        const FileEdits::Step step(*this);
        saveFileAtomically(m_file.path(), image);
    }
    keepBackup(true, image);
    ReadAndDeal_F();
}

void MainWindow::jobFinished(int result) {
    using Result = TransferJob::Result;
    guard(m_prompter, [this, result] {
        const Result r = Result(result);
        if (!m_log.failure().isEmpty())
            m_prompter.message(m_texts.logFailed.arg(m_log.failure()));
        switch (m_job->phase()) {
        case TransferJob::Phase::Read:
            // The Transfer has said why, where there is a why; the working file is untouched.
            if (r == Result::Unstable)
                m_prompter.message(m_texts.readUnstable.arg(recordNames(m_job->unstable())));
            else if (r != Result::Completed && r != Result::Refused)
                m_prompter.message(m_texts.readNotStored);
            return;
        case TransferJob::Phase::Write:
            // A backup that failed before the first frame has said so and that nothing went.
            if (r == Result::FileError && m_job->recordsSent() == 0)
                return;
            if (r != Result::Completed && r != Result::Refused)
                m_prompter.message(m_texts.writeIncomplete.arg(m_job->recordsSent()));
            return;
        case TransferJob::Phase::Verify:
            if (r == Result::Completed) {
                m_prompter.message(m_texts.verifyMatch);
            } else if (r == Result::VerifyDiffers) {
                const QString text = m_texts.verifyDiffers.arg(recordNames(m_job->differing())) +
                                     QLatin1Char('\n') + m_texts.writeAgain;
                if (m_prompter.ask(QStringLiteral("Confirm"), text, Prompter::Buttons::YesNo,
                                   Prompter::Icon::Question))
                    QMetaObject::invokeMethod(
                        this, [this] { startTransfer(int(Transfer::Mode::Write)); },
                        Qt::QueuedConnection);
            } else {
                m_prompter.message(m_texts.verifyNotRead);
            }
            return;
        case TransferJob::Phase::Backup:
            return;
        }
    });
}

void MainWindow::keepBackup(bool read, const QByteArray &image) {
    try {
        ImageBackups::besideFile(m_file.path())
            .save(read ? ImageBackups::Kind::Read : ImageBackups::Kind::BeforeWrite, image,
                  QDateTime::currentDateTime());
    } catch (const Error &e) {
        // The radio's image is about to be overwritten: without its backup the write must
        // not start. The job stops it before the first frame.
        if (!read)
            throw Error(m_texts.backupFailed.arg(e.message()) + QLatin1Char('\n') +
                        m_texts.backupStopsWrite);
        m_prompter.message(m_texts.backupFailed.arg(e.message()));
    }
}

QString MainWindow::recordNames(const QList<int> &records) const {
    QStringList names;
    for (int record : records)
        if (!names.contains(recordName(m_texts.transfer, record)))
            names << recordName(m_texts.transfer, record);
    return names.join(QStringLiteral(", "));
}

void MainWindow::N13Click() {
    guard(m_prompter, [this] {
        Select_com->show();
        Select_com->raise();
        const int port = settingsFile().comPort();
        Com->setCurrentIndex(port >= 1 && port <= Com->count() ? port - 1 : -1);
        showPortDevice();
    });
}

void MainWindow::showPortDevice() {
    const int index = Com->currentIndex();
    if (index < 0) {
        PortDevice->clear();
        PortDevice->setToolTip(QString());
        return;
    }
    const QString device = settingsFile().deviceForPort(index + 1);
    const QString &format = NetworkPort::named(device)  ? m_texts.portDeviceNetwork
                            : QFileInfo::exists(device) ? m_texts.portDevicePresent
                                                        : m_texts.portDeviceAbsent;
    const QString text = format.arg(device);
    // A by-id name is long: its middle goes, the state stays; the tooltip has it whole.
    const QFontMetrics metrics = PortDevice->fontMetrics();
    const int room = PortDevice->width() - metrics.horizontalAdvance(format.arg(QString()));
    PortDevice->setText(format.arg(metrics.elidedText(device, Qt::ElideMiddle, room)));
    PortDevice->setToolTip(text);
}

void MainWindow::SpeedButton1Click() {
    Select_com->hide();
}

void MainWindow::SpeedButton2Click() {
    guard(m_prompter, [this] {
        const int index = Com->currentIndex();
        if (index < 0)
            throw Error(QStringLiteral("List index out of bounds (%1)").arg(index));
        settingsFile().writeInt(QStringLiteral("pt"), QStringLiteral("COM"), index + 1);
        statusPanel[kPortStatus]->setText(m_texts.portChosenPrefix + Com->currentText());
        Select_com->hide();
    });
}

void MainWindow::ToolButton13Click() {
    guard(m_prompter, [this] { m_job->stop(); });
}

void MainWindow::N18Click() {
    guard(m_prompter, [this] {
        // The probes would open the port the transfer holds.
        if (m_transfer->running()) {
            m_prompter.message(m_texts.transfer.alreadyRunning);
            return;
        }
        m_detector->start(settingsFile());
    });
}

void MainWindow::detectFinished() {
    guard(m_prompter, [this] {
        QStringList lines;
        for (const PortDetector::Tried &tried : m_detector->tried())
            lines << tried.line();
        if (lines.isEmpty())
            lines << QStringLiteral("no serial device is plugged in");
        const PortDetector::Tried *found = m_detector->found();
        if (!found) {
            m_prompter.message(m_texts.detectNone + QLatin1Char('\n') +
                               lines.join(QLatin1Char('\n')));
            return;
        }
        PtIni ini = settingsFile();
        int port = found->port;
        if (port == 0) {
            // A cable outside the default names: under its by-id name it keeps the number
            // in any USB socket.
            port = PortDetector::freePort(ini);
            const QString byId = stableName(found->device);
            const QString name = byId.isEmpty() ? found->device : byId;
            ini.writeString(QStringLiteral("ports"), QStringLiteral("COM%1").arg(port), name);
            lines << QStringLiteral("[ports] COM%1=%2").arg(port).arg(name);
        }
        ini.writeInt(QStringLiteral("pt"), QStringLiteral("COM"), port);
        const QString item = QStringLiteral("COM%1").arg(port);
        statusPanel[kPortStatus]->setText(m_texts.portChosenPrefix + item);
        Select_com->show();
        Select_com->raise();
        Com->setCurrentIndex(port - 1);
        showPortDevice();
        m_prompter.message(m_texts.detectFound.arg(item) + QLatin1Char('\n') +
                           lines.join(QLatin1Char('\n')));
    });
}

} // namespace qx
