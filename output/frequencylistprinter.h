#pragma once

#include "printtexts.h"

#include <QDate>
#include <QList>
#include <QStringList>
#include <functional>

class QPrinter;

namespace qx {

class Prompter;

// The print commands of the frequency list: the default printer after one question, the
// printer of the print dialog, the preview, and a PDF file when there is no printer or it
// refuses the job. Every job is titled; where it went, or why the print system refused
// it, is said. Boxes and dialogs go through the prompter.
class FrequencyListPrinter {
public:
    using Report = std::function<void(const QString &)>;

    // report: shows a line of what became of the list (the window's status bar).
    FrequencyListPrinter(Prompter &prompter, PrintTexts texts, Report report,
                         QDate date = QDate::currentDate());

    // "Do you print?", then the default printer. pdfFolder: where the PDF dialog starts.
    void printOnDefault(const QList<QStringList> &rows, const QString &pdfFolder);
    // The platform's print dialog, then the printer chosen there.
    void printWithDialog(const QList<QStringList> &rows, const QString &pdfFolder);
    void preview(const QList<QStringList> &rows);

    // The pages as a PDF file, ".pdf" added to a name without it. Returns the file's path;
    // throws qx::Error naming the file and the reason.
    static QString writePdf(const QString &path, const QList<QStringList> &rows,
                            const PrintTexts &texts, const QDate &date);
    static QString withPdfSuffix(const QString &path);

private:
    // Draws the pages on the printer; empty when the print system took them, else why not.
    QString draw(QPrinter &printer, const QList<QStringList> &rows) const;
    // On the printer; when it refuses, the reason and the offer of a PDF file.
    void send(QPrinter &printer, const QList<QStringList> &rows, const QString &pdfFolder);
    void offerPdf(const QString &question, const QList<QStringList> &rows,
                  const QString &pdfFolder);

    Prompter &m_prompter;
    PrintTexts m_texts;
    Report m_report;
    QDate m_day;
    QString m_date;
};

} // namespace qx
