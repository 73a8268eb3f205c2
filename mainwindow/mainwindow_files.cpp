#include "mainwindow.h"

#include "opensave.h"
#include "windowstatusbar.h"

#include "channelgrid.h"
#include "prompter.h"

namespace qx {

void MainWindow::N5Click() {
    m_openSave->openFrom(QString());
}

void MainWindow::openFrom(const QString &dir) {
    m_openSave->openFrom(dir);
}

void MainWindow::openFile(const QString &path) {
    m_openSave->openFile(path);
}

void MainWindow::N6Click() {
    m_openSave->save();
}

FrequencyListPrinter MainWindow::listPrinter() {
    return FrequencyListPrinter(m_prompter, m_texts.print,
                                [this](const QString &line) { m_status->showLine(line); });
}

void MainWindow::N8Click() {
    guard(m_prompter,
          [this] { listPrinter().printOnDefault(m_grid->table(), m_openSave->saveFolder()); });
}

void MainWindow::printWithDialog() {
    guard(m_prompter,
          [this] { listPrinter().printWithDialog(m_grid->table(), m_openSave->saveFolder()); });
}

void MainWindow::printPreview() {
    guard(m_prompter, [this] { listPrinter().preview(m_grid->table()); });
}

} // namespace qx
