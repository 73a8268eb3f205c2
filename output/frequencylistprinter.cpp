#include "frequencylistprinter.h"

#include "error.h"
#include "prompter.h"
#include "qprintersurface.h"
#include "spoolanswer.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <utility>

namespace qx {

namespace {

constexpr int kColumns = 7;

bool drawOn(QPrinter &printer, const QList<QStringList> &rows, const PrintTexts &texts,
            const QString &date) {
    printer.setDocName(texts.jobTitle);
    QPrinterSurface surface(printer);
    const int columns = rows.isEmpty() ? kColumns : int(rows.first().size());
    return printFrequencyList(rows, columns, texts.list, date, surface);
}

// QPrinter does not say why a file cannot be written; opening it ourselves gives the
// system's reason.
QString whyNotWritable(const QString &path) {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.remove();
    return QStringLiteral("cannot be written");
}

} // namespace

FrequencyListPrinter::FrequencyListPrinter(Prompter &prompter, PrintTexts texts, Report report,
                                           QDate date)
    : m_prompter(prompter), m_texts(std::move(texts)), m_report(std::move(report)), m_day(date),
      m_date(listDate(date, m_texts.dateStyle)) {}

void FrequencyListPrinter::printOnDefault(const QList<QStringList> &rows,
                                          const QString &pdfFolder) {
    if (!m_prompter.ask(m_texts.caption, m_texts.question, Prompter::Buttons::OkCancel,
                        Prompter::Icon::Question))
        return;
    // Without a printer a default QPrinter silently becomes a PDF printer with no file and
    // refuses to begin.
    if (QPrinterInfo::defaultPrinter().isNull()) {
        offerPdf(m_texts.noPrinter, rows, pdfFolder);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    send(printer, rows, pdfFolder);
}

void FrequencyListPrinter::printWithDialog(const QList<QStringList> &rows,
                                           const QString &pdfFolder) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_texts.jobTitle);
    if (!m_prompter.choosePrinter(printer))
        return;
    // The dialog may have chosen its "Print to File" instead of a printer.
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString pdf = writePdf(printer.outputFileName(), rows, m_texts, m_day);
        m_report(m_texts.savedAs.arg(QDir::toNativeSeparators(pdf)));
        return;
    }
    send(printer, rows, pdfFolder);
}

void FrequencyListPrinter::preview(const QList<QStringList> &rows) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_texts.jobTitle);
    m_prompter.previewPages(printer, [&](QPrinter &p) { drawOn(p, rows, m_texts, m_date); });
}

QString FrequencyListPrinter::draw(QPrinter &printer, const QList<QStringList> &rows) const {
    if (!drawOn(printer, rows, m_texts, m_date))
        return m_texts.beginRefused;
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return QString();
    const SpoolAnswer answer = lastSpoolAnswer();
    return answer.accepted ? QString() : answer.reason;
}

void FrequencyListPrinter::send(QPrinter &printer, const QList<QStringList> &rows,
                                const QString &pdfFolder) {
    const QString refused = draw(printer, rows);
    if (refused.isEmpty()) {
        m_report(m_texts.sentTo.arg(printer.printerName()));
        return;
    }
    offerPdf(m_texts.printerRefused.arg(printer.printerName(), refused), rows, pdfFolder);
}

void FrequencyListPrinter::offerPdf(const QString &question, const QList<QStringList> &rows,
                                    const QString &pdfFolder) {
    if (!m_prompter.ask(m_texts.caption, question, Prompter::Buttons::YesNo,
                        Prompter::Icon::Question))
        return;
    const QString chosen = m_prompter.saveFileName(m_texts.pdfFilter, pdfFolder);
    if (chosen.isEmpty())
        return;
    const QString pdf = writePdf(chosen, rows, m_texts, m_day);
    m_report(m_texts.savedAs.arg(QDir::toNativeSeparators(pdf)));
}

QString FrequencyListPrinter::withPdfSuffix(const QString &path) {
    return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)
               ? path
               : path + QStringLiteral(".pdf");
}

QString FrequencyListPrinter::writePdf(const QString &path, const QList<QStringList> &rows,
                                       const PrintTexts &texts, const QDate &date) {
    const QString pdf = withPdfSuffix(path);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    if (!drawOn(printer, rows, texts, listDate(date, texts.dateStyle)))
        throw Error(
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(pdf), whyNotWritable(pdf)));
    return pdf;
}

} // namespace qx
