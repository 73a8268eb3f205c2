#include "mainwindow.h"

#include "channelgrid.h"
#include "edithistory.h"
#include "error.h"
#include "filecopy.h"
#include "prompter.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace qx {

void MainWindow::N5Click() {
    openFrom(QString());
}

void MainWindow::openFrom(const QString &dir) {
    guard(m_prompter, [this, dir] {
        const QString chosen = m_prompter.openFileName(kDatFilter, dir);
        if (!chosen.isEmpty())
            openChosen(chosen);
    });
}

void MainWindow::openFile(const QString &path) {
    guard(m_prompter, [this, path] { openChosen(path); });
}

void MainWindow::openChosen(const QString &chosen) {
    // The original failed silently and had already listed the file; a file that
    // could not be opened is not listed and nothing changes. Read as the command line
    // reads an image: a regular file of at most 1 MiB.
    try {
        const QByteArray bytes = readImageFile(chosen);
        replaceWorkingFile([&] { saveFileAtomically(m_file.path(), bytes); });
    } catch (const Error &e) {
        m_prompter.message(m_texts.copyFailed.arg(e.message()));
        return;
    }

    // Recent files: every slot from c1 up to b1 takes the caption and visibility
    // of the one above it; a1 gets the new file.
    const std::array<QAction *, 3> entries{a1, b1, c1};
    for (std::size_t i = entries.size() - 1; i > 0; --i) {
        entries[i]->setText(entries[i - 1]->text());
        entries[i]->setVisible(entries[i - 1]->isVisible());
    }
    a1->setText(QStringLiteral("&1") + QDir::toNativeSeparators(chosen));
    a1->setVisible(true);
    showRecentSlots();

    ReadAndDeal_F();
}

void MainWindow::N6Click() {
    guard(m_prompter, [this] {
        // A name typed without an extension gets .dat from the dialog, so that Open's filter
        // lists it; an existing file is replaced without a question.
        const QString chosen = m_prompter.saveFileName(kDatFilter, m_saveFolder);
        if (chosen.isEmpty() || !m_grid->commitTypedText())
            return;
        try {
            copyFileOver(m_file.path(), chosen);
        } catch (const Error &e) {
            m_prompter.message(m_texts.copyFailed.arg(e.message()));
            return;
        }
        m_saveFolder = QFileInfo(chosen).absolutePath();
    });
}

FrequencyListPrinter MainWindow::listPrinter() {
    return FrequencyListPrinter(m_prompter, m_texts.print,
                                [this](const QString &line) { showStatusLine(line); });
}

void MainWindow::N8Click() {
    guard(m_prompter, [this] { listPrinter().printOnDefault(m_grid->table(), m_saveFolder); });
}

void MainWindow::printWithDialog() {
    guard(m_prompter, [this] { listPrinter().printWithDialog(m_grid->table(), m_saveFolder); });
}

void MainWindow::printPreview() {
    guard(m_prompter, [this] { listPrinter().preview(m_grid->table()); });
}

} // namespace qx
