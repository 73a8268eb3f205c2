#include "mainwindow.h"

#include "channelgrid.h"
#include "dragpanel.h"
#include "dropdown.h"
#include "editcommands.h"
#include "edithistory.h"
#include "error.h"
#include "imagebackups.h"
#include "portdetector.h"
#include "prompter.h"
#include "ptini.h"
#include "serialdevices.h"
#include "transfer.h"
#include "transferjob.h"

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
    connect(m_transfer.get(), &Transfer::readCompleted, this, [this] {
        guard(m_prompter, [this] { ReadAndDeal_F(); });
    });
    connect(m_detector, &PortDetector::finished, this, &MainWindow::detectFinished);
    m_job = std::make_unique<TransferJob>(*m_transfer, m_prompter);
    connect(m_job.get(), &TransferJob::finished, this,
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
        m_before = m_history->snapshot();
        if (mode == int(Transfer::Mode::Read)) {
            TransferJob::ReadPlan plan;
            plan.port = port;
            plan.into = &m_file;
            plan.store = [this](const QByteArray &image) { keepBackup(true, image); };
            m_job->read(plan);
            return;
        }
        TransferJob::WritePlan plan;
        plan.port = port;
        // Sent from the working file as it stands at each step; verified against the image
        // at the start.
        plan.from = &m_file;
        if (m_before) {
            plan.image = *m_before;
            plan.backup = [this](const QByteArray &image) { keepBackup(false, image); };
            plan.verify = m_editCommands->verifyAfterWrite();
        }
        m_job->write(plan);
    });
}

void MainWindow::jobFinished(int result) {
    guard(m_prompter, [this, result] {
        switch (m_job->phase()) {
        case TransferJob::Phase::Read: {
            // Also a read that stopped half-way: it changed the file, and undo takes it back.
            const std::optional<QByteArray> after = m_history->snapshot();
            if (m_before && after)
                m_history->record(*m_before, *after);
            return;
        }
        case TransferJob::Phase::Verify:
            if (TransferJob::Result(result) == TransferJob::Result::Completed)
                m_prompter.message(m_texts.verifyMatch);
            else if (TransferJob::Result(result) == TransferJob::Result::VerifyDiffers)
                m_prompter.message(m_texts.verifyDiffers.arg(recordNames(m_job->differing())));
            else
                m_prompter.message(m_texts.verifyNotRead);
            return;
        case TransferJob::Phase::Backup:
        case TransferJob::Phase::Write:
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
        m_prompter.message(m_texts.backupFailed.arg(e.message()));
    }
}

QString MainWindow::recordNames(const QList<int> &records) const {
    QStringList names;
    for (int record : records) {
        const QString name =
            record < kRecord03C0
                ? m_texts.verifyChannel.arg(record / 2 + 1)
                : m_texts.verifySettings.arg(
                      QString::number(recordAddress(record), 16).toUpper().rightJustified(4, '0'));
        if (!names.contains(name))
            names << name;
    }
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
    const QString &format =
        QFileInfo::exists(device) ? m_texts.portDevicePresent : m_texts.portDeviceAbsent;
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
