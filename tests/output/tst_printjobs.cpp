// The print commands against a real print system: a CUPS server of the test's own with a
// cups-pdf queue, the window's Print and Print..., and qx7420-cli print.
#include "cupsserver.h"
#include "frequencylistprinter.h"
#include "gridrows.h"
#include "imagefields.h"
#include "sampleimage.h"
#include "windowharness.h"

#include <QAction>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QPrinter>

#include <cups/cups.h>

using namespace qx;
using namespace qx::test;

namespace {

// Channel 1 with tones and both flags set, so that the flag words of each language show.
QByteArray listImage() {
    QByteArray image = baseImage();
    image.replace(0, 2 * MemoryFrame::kSize,
                  channelRecords(1, {QStringLiteral("462.01250"), QStringLiteral("67.0"),
                                     QStringLiteral("462.01250"), QStringLiteral("88.5"),
                                     QStringLiteral("YES"), QStringLiteral("YES")}));
    return image;
}

// Print...: the dialog's choice is the test's queue.
class DialogPrompter : public ScriptedPrompter {
public:
    bool choosePrinter(QPrinter &printer) override {
        record({"print dialog", {}, printer.docName()});
        printer.setPrinterName(QLatin1String(CupsServer::kQueue));
        return true;
    }
    void record(const Shown &s) { shown << s; }
};

// The titles of the jobs the test's server has printed, oldest first.
QStringList completedTitles() {
    cups_job_t *jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, CupsServer::kQueue, 0, CUPS_WHICHJOBS_COMPLETED);
    QMap<int, QString> byId;
    for (int i = 0; i < count; ++i)
        byId.insert(jobs[i].id, QString::fromUtf8(jobs[i].title));
    cupsFreeJobs(count, jobs);
    return byId.values();
}

QString tool(const char *name) {
    return QStandardPaths::findExecutable(QLatin1String(name));
}

QByteArray runTool(const QString &program, const QStringList &args, int *exitCode = nullptr) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return QByteArray();
    if (exitCode)
        *exitCode = p.exitCode();
    return p.readAllStandardOutput();
}

} // namespace

class TestPrintJobs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void print_data();
    void print();
    void cliPrintsTheWindowsPages_data();
    void cliPrintsTheWindowsPages();

private:
    // Points this program's print system at the test's server, or at none.
    void useServer(bool present);
    std::unique_ptr<MainWindow> window(bool english, Prompter &prompter);

    CupsServer m_server;
    QString m_skip;
    QTemporaryDir m_dir;
    std::unique_ptr<QTemporaryDir> m_windowDir;
    FakeSio m_sio;
};

void TestPrintJobs::initTestCase() {
    QVERIFY(m_dir.isValid());
    for (const char *name : {"pdftotext", "pdftoppm"})
        if (tool(name).isEmpty())
            QFAIL("pdftotext or pdftoppm is missing: tools/deps.sh installs poppler-utils");
    m_skip = m_server.start();
}

void TestPrintJobs::useServer(bool present) {
    qputenv("CUPS_SERVER",
            (present ? m_server.socket() : m_dir.filePath(QStringLiteral("no-server.sock")))
                .toLocal8Bit());
    // libcups keeps the server it read first; this makes it read the variable again.
    cupsSetServer(nullptr);
}

std::unique_ptr<MainWindow> TestPrintJobs::window(bool english, Prompter &prompter) {
    // The window of the case before is gone by now.
    m_windowDir = std::make_unique<QTemporaryDir>();
    writeFile(m_windowDir->filePath(QStringLiteral("r_and_w.dat")), listImage());
    if (english)
        return std::make_unique<TE_Form>(prompter, m_sio, m_windowDir->path());
    return std::make_unique<TForm1>(prompter, m_sio, m_windowDir->path());
}

void TestPrintJobs::print_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("server");
    QTest::addColumn<bool>("accepting");
    QTest::addColumn<bool>("dialog");  // Print... instead of Print
    QTest::addColumn<bool>("savePdf"); // the answer to "save as PDF instead?"
    // The expected end: a job in the queue's folder, a PDF saved, or nothing.
    QTest::addColumn<QString>("outcome");

    QTest::newRow("english, the default queue takes the job")
        << true << true << true << false << false << "job";
    QTest::newRow("chinese, the default queue takes the job")
        << false << true << true << false << false << "job";
    QTest::newRow("english, Print... on the chosen queue")
        << true << true << true << true << false << "job";
    QTest::newRow("english, the queue rejects jobs, no PDF")
        << true << true << false << false << false << "nothing";
    QTest::newRow("chinese, the queue rejects jobs, saved as PDF")
        << false << true << false << false << true << "pdf";
    QTest::newRow("english, Print... on a rejecting queue")
        << true << true << false << true << false << "nothing";
    QTest::newRow("chinese, no print server, saved as PDF")
        << false << false << true << false << true << "pdf";
}

void TestPrintJobs::print() {
    QFETCH(bool, english);
    QFETCH(bool, server);
    QFETCH(bool, accepting);
    QFETCH(bool, dialog);
    QFETCH(bool, savePdf);
    QFETCH(QString, outcome);
    if (server && !m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    useServer(server);
    if (server)
        QVERIFY(m_server.run(accepting ? "cupsaccept" : "cupsreject", {CupsServer::kQueue}));
    for (const QString &old : m_server.pdfs())
        QFile::remove(QDir(m_server.outFolder()).filePath(old));
    const int jobsBefore = int(completedTitles().size());
    const QString saved = m_dir.filePath(QStringLiteral("list"));
    QFile::remove(saved + QStringLiteral(".pdf"));

    DialogPrompter prompter;
    if (!dialog)
        prompter.answers << true;
    prompter.answers << savePdf;
    prompter.fileNames << saved;
    const std::unique_ptr<MainWindow> w = window(english, prompter);
    const PrintTexts &t = w->texts().print;
    if (dialog)
        w->printWithDialog();
    else
        w->N8Click();
    const QString queue = QLatin1String(CupsServer::kQueue);
    const QString status = w->findChild<QLabel *>(QStringLiteral("StatusPanel1"))->toolTip();

    QCOMPARE(prompter.texts(QStringLiteral("error")), QStringList());
    const QStringList asked = prompter.texts(QStringLiteral("ask"));
    if (dialog)
        QCOMPARE(prompter.texts(QStringLiteral("print dialog")), QStringList{t.jobTitle});
    else
        QCOMPARE(asked.value(0), t.question);
    const QStringList offers = asked.mid(dialog ? 0 : 1);
    if (outcome == QLatin1String("job")) {
        QCOMPARE(offers, QStringList());
        QCOMPARE(status, t.sentTo.arg(queue));
        // One PDF per job, named by cups-pdf after the job's title.
        QTRY_COMPARE_WITH_TIMEOUT(completedTitles().size(), jobsBefore + 1, 60000);
        QCOMPARE(completedTitles().constLast(), t.jobTitle);
        // cups-pdf names the file after the title, in ASCII.
        const QStringList pdfs = m_server.pdfs();
        QCOMPARE(pdfs.size(), 1);
        if (english)
            QCOMPARE(pdfs.first(), QStringLiteral("TALVIK_QX-7420__frequency_list.pdf"));
        QVERIFY2(pdfs.first().startsWith(QStringLiteral("TALVIK")), qPrintable(pdfs.first()));
        return;
    }
    QCOMPARE(offers.size(), 1);
    if (server) {
        // The queue and CUPS's own words for why it refused.
        QVERIFY2(
            offers.first().startsWith(t.printerRefused.section(QLatin1Char('%'), 0, 0) + queue),
            qPrintable(offers.first()));
        QVERIFY2(offers.first().contains(QStringLiteral("accept"), Qt::CaseInsensitive),
                 qPrintable(offers.first()));
    } else {
        QCOMPARE(offers.first(), t.noPrinter);
    }
    QCOMPARE(m_server.pdfs(), QStringList());
    if (outcome == QLatin1String("nothing")) {
        QCOMPARE(status, QString());
        QVERIFY(!QFileInfo::exists(saved + QStringLiteral(".pdf")));
        return;
    }
    QVERIFY(QFileInfo::exists(saved + QStringLiteral(".pdf")));
    QCOMPARE(status, t.savedAs.arg(saved + QStringLiteral(".pdf")));
}

void TestPrintJobs::cliPrintsTheWindowsPages_data() {
    QTest::addColumn<bool>("english");
    QTest::newRow("english") << true;
    QTest::newRow("chinese") << false;
}

// The PDF of the command line against the window's PDF of the same image, page by page
// as pdftoppm draws them: the same rows, words, date and pages.
void TestPrintJobs::cliPrintsTheWindowsPages() {
    QFETCH(bool, english);
    useServer(false);
    const QString image = m_dir.filePath(QStringLiteral("list.dat"));
    QVERIFY(writeFile(image, listImage()));

    ScriptedPrompter prompter;
    const std::unique_ptr<MainWindow> w = window(english, prompter);
    // Print... and Print Preview... follow Print in the File menu.
    const QList<QAction *> file = w->findChild<QMenu *>(QStringLiteral("N1"))->actions();
    const auto print = std::find_if(file.begin(), file.end(), [](QAction *a) {
        return a->objectName() == QLatin1String("N8");
    });
    QVERIFY(print != file.end() && file.end() - print > 2);
    QCOMPARE(print[1]->objectName(), QStringLiteral("PrintWithDialog"));
    QCOMPARE(print[1]->text(), w->texts().print.menuPrintDialog);
    QCOMPARE(print[2]->objectName(), QStringLiteral("PrintPreview"));
    QCOMPARE(print[2]->text(), w->texts().print.menuPrintPreview);
    QCOMPARE(w->channelGrid().table(),
             gridRows(decodeImageFields(listImage()).channels, w->texts()));
    const QString windowPdf = m_dir.filePath(QStringLiteral("window.pdf"));
    prompter.answers << true << true;
    prompter.fileNames << windowPdf;
    w->N8Click();
    QVERIFY(QFileInfo::exists(windowPdf));

    int exitCode = -1;
    const QString cliPdf = m_dir.filePath(QStringLiteral("cli"));
    const QByteArray out =
        runTool(QStringLiteral(QX_CLI),
                {QStringLiteral("print"), image, QStringLiteral("-o"), cliPdf,
                 QStringLiteral("--lang"), english ? QStringLiteral("en") : QStringLiteral("zh")},
                &exitCode);
    QCOMPARE(exitCode, 0);
    QCOMPARE(QString::fromLocal8Bit(out).trimmed(), cliPdf + QStringLiteral(".pdf"));

    const QString text =
        QString::fromUtf8(runTool(tool("pdftotext"), {cliPdf + ".pdf", QStringLiteral("-")}));
    const PrintTexts t = printTexts(english ? Language::English : Language::Chinese, {});
    for (const QString &expected :
         {t.list.title, listDate(QDate::currentDate(), t.dateStyle), QStringLiteral("462.01250"),
          QStringLiteral("88.5"), w->texts().flags.yes, t.list.pagePrefix + QStringLiteral("1")})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" in ") + text));

    for (const QString &pdf : {windowPdf, cliPdf + QStringLiteral(".pdf")})
        runTool(tool("pdftoppm"),
                {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-gray"), pdf, pdf});
    const QStringList pages =
        QDir(m_dir.path()).entryList({QStringLiteral("cli.pdf-*.pgm")}, QDir::Files);
    QCOMPARE(pages.size(), 1);
    QFile cliPage(m_dir.filePath(pages.first()));
    QFile windowPage(m_dir.filePath(QString(pages.first()).replace("cli.pdf", "window.pdf")));
    QVERIFY(cliPage.open(QIODevice::ReadOnly) && windowPage.open(QIODevice::ReadOnly));
    const QByteArray drawn = cliPage.readAll();
    QCOMPARE(drawn, windowPage.readAll());
    // Not a blank page: the rules and the text are drawn.
    QVERIFY(drawn.count(char(0)) > 1000);
}

QTEST_MAIN(TestPrintJobs)
#include "tst_printjobs.moc"
