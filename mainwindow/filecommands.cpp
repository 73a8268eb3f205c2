#include "mainwindow.h"

#include "prompter.h"

namespace qx {

void MainWindow::N5Click() {}
void MainWindow::N6Click() {}
void MainWindow::N8Click() {}

} // namespace qx
