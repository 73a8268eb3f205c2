#include "mainwindow.h"

#include "channelgrid.h"
#include "edithistory.h"
#include "error.h"
#include "filecopy.h"
#include "frequencylist.h"
#include "printersurface.h"
#include "prompter.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>

namespace qx {

namespace {

// Prints on the printer; false when it refuses the document.
bool printOn(QPrinter &printer, const QList<QStringList> &rows, int columns, const ListTexts &texts,
             const QString &date) {
    PrinterSurface surface(printer);
    return printFrequencyList(rows, columns, texts, date, surface);
}

} // namespace

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
    // could not be opened is not listed and nothing changes.
    try {
        const FileEdits::Step step(*this);
        copyFileOver(chosen, m_file.path());
    } catch (const Error &e) {
        m_prompter.message(m_texts.copyFailed.arg(e.message()));
        return;
    }

    // Recent files: every slot from c1 up to b1 takes the caption and visibility
    // of the one above it; a1 gets the new file.
    const QList<QAction *> entries = N1->actions();
    const int top = entries.indexOf(a1);
    for (int i = entries.size() - 3; i > top; --i) {
        entries[i]->setText(entries[i - 1]->text());
        entries[i]->setVisible(entries[i - 1]->isVisible());
    }
    a1->setText(QStringLiteral("&1") + QDir::toNativeSeparators(chosen));
    a1->setVisible(true);

    ReadAndDeal_F();
}

void MainWindow::N6Click() {
    guard(m_prompter, [this] {
        // Saved exactly under the name given: no extension is added, an existing file
        // is replaced without a question.
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

void MainWindow::N8Click() {
    guard(m_prompter, [this] {
        const QString date = listDate(QDate::currentDate(), m_texts.language == Language::English
                                                                ? DateStyle::Slashes
                                                                : DateStyle::Chinese);
        if (!m_prompter.ask(m_texts.printCaption, m_texts.printQuestion,
                            Prompter::Buttons::OkCancel, Prompter::Icon::Question))
            return;

        const QList<QStringList> rows = m_grid->table();
        const int columns = ChannelGrid::kColumns;
        const ListTexts texts{m_texts.printFont,      m_texts.printTitle,
                              m_texts.printerLabel,   m_texts.printerLabelOnFirstPage,
                              m_texts.pageTextPrefix, m_texts.pageTextSuffix};

        // Without a printer a default QPrinter silently becomes a PDF printer with no
        // file and refuses to begin.
        const bool hasPrinter = !QPrinterInfo::defaultPrinter().isNull();
        if (hasPrinter) {
            QPrinter printer(QPrinter::HighResolution);
            if (printOn(printer, rows, columns, texts, date))
                return;
        }

        // The original failed here; a user without a printer still gets the list.
        if (!m_prompter.ask(m_texts.printCaption,
                            hasPrinter ? m_texts.printerRefused : m_texts.noPrinter,
                            Prompter::Buttons::YesNo, Prompter::Icon::Question))
            return;
        const QString pdf = m_prompter.saveFileName(m_texts.pdfFilter, m_saveFolder);
        if (pdf.isEmpty())
            return;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        if (printOn(printer, rows, columns, texts, date))
            return;
        // QPrinter does not say why; opening the file ourselves gives the system's reason.
        QFile probe(pdf);
        QString reason = QStringLiteral("cannot be written");
        if (!probe.open(QIODevice::WriteOnly))
            reason = probe.errorString();
        else
            probe.remove();
        throw Error(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(pdf), reason));
    });
}

} // namespace qx
