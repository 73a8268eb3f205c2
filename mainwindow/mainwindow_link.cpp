#include "mainwindow.h"

#include "channelgrid.h"
#include "dragpanel.h"
#include "dropdown.h"
#include "error.h"
#include "networkport.h"
#include "portdetector.h"
#include "prompter.h"
#include "ptini.h"
#include "serialdevices.h"
#include "transfer.h"
#include "transfersafety.h"

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
    connect(m_transfer.get(), &Transfer::readCompleted, this,
            [this] { guarded([this] { ReadAndDeal_F(QStringLiteral("r_and_w.dat")); }); });
    connect(m_detector, &PortDetector::finished, this, &MainWindow::detectFinished);
}

void MainWindow::n11Click() {
    startTransfer(int(Transfer::Mode::Read));
}

void MainWindow::N12Click() {
    guarded([this] {
        if (m_grid->commitTypedText())
            startTransfer(int(Transfer::Mode::Write));
    });
}

void MainWindow::startTransfer(int mode) {
    guarded([this, mode] {
        const int port = settingsFile().comPort();
        // A start refused because a transfer runs must leave that transfer's log alone.
        // The log stays open until the next start, so a read-back after a write joins it.
        if (!m_transfer->running() &&
            m_log.begin(QDir(m_folder).filePath(QStringLiteral("transfer.log")), false))
            m_log.line(QStringLiteral("%1 on COM%2")
                           .arg(mode == int(Transfer::Mode::Read) ? QStringLiteral("read")
                                                                  : QStringLiteral("write"))
                           .arg(port));
        m_safety->start(Transfer::Mode(mode), port);
    });
}

void MainWindow::N13Click() {
    guarded([this] {
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
    guarded([this] {
        const int index = Com->currentIndex();
        if (index < 0)
            throw Error(QStringLiteral("List index out of bounds (%1)").arg(index));
        settingsFile().writeInt(QStringLiteral("pt"), QStringLiteral("COM"), index + 1);
        statusPanel[kPortStatus]->setText(m_texts.portChosenPrefix + Com->currentText());
        Select_com->hide();
    });
}

void MainWindow::ToolButton13Click() {
    guarded([this] { m_transfer->stop(); });
}

void MainWindow::N18Click() {
    guarded([this] {
        // The probes would open the port the transfer holds.
        if (m_transfer->running()) {
            m_prompter.message(m_texts.transfer.alreadyRunning);
            return;
        }
        m_detector->start(settingsFile());
    });
}

void MainWindow::detectFinished() {
    guarded([this] {
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
