#include "mainwindow.h"

#include "channelgrid.h"
#include "error.h"
#include "prompter.h"
#include "ptini.h"
#include "transfer.h"
#include "transfersafety.h"
#include "widgets.h"

#include <QDir>
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
}

void MainWindow::n11Click() {
    guarded([this] { m_safety->start(Transfer::Mode::Read, settingsFile().comPort()); });
}

void MainWindow::N12Click() {
    guarded([this] {
        if (m_grid->commitTypedText())
            m_safety->start(Transfer::Mode::Write, settingsFile().comPort());
    });
}

void MainWindow::N13Click() {
    guarded([this] {
        Select_com->show();
        Select_com->raise();
        const int port = settingsFile().comPort();
        Com->setCurrentIndex(port >= 1 && port <= Com->count() ? port - 1 : -1);
    });
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

} // namespace qx
