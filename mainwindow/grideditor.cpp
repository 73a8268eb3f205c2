#include "mainwindow.h"

#include "prompter.h"
#include "widgets.h"

#include <QEvent>
#include <QTableWidget>

namespace qx {

void MainWindow::wireEditors() {
    wireSettingsPanel();
    wireModelBand();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    timeFieldClicked(watched, event);
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::StringGridClick() {}

void MainWindow::CompleteGridRow() {}

void MainWindow::EncodeGridRow(int row) {
    guarded([this, row] {
        const auto orOff = [](const QString &t) { return t.isEmpty() ? QStringLiteral("OFF") : t; };
        const auto orNo = [this](const QString &t) { return t.isEmpty() ? m_texts.flags.no : t; };
        EncodeChannel(m_file, row, cell(1, row), cell(3, row), orOff(cell(2, row)),
                      orOff(cell(4, row)), orNo(cell(5, row)), orNo(cell(6, row)));
        ReadAndDeal_F(QStringLiteral("r_and_w.dat"));
    });
}

void MainWindow::commitBox(DropDown *, int) {}
void MainWindow::RX_BOXCloseUp() {}
void MainWindow::TX_BOXCloseUp() {}
void MainWindow::box1CloseUp() {}
void MainWindow::box2CloseUp() {}

} // namespace qx
