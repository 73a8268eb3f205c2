#include "channelcodec.h"
#include "edithistory.h"
#include "error.h"
#include "fakesio.h"
#include "filecopy.h"
#include "filefaults.h"
#include "filelimits.h"
#include "mainwindow.h"
#include "memoryframe.h"
#include "scriptedprompter.h"
#include "settingscodec.h"
#include "settingspanel.h"
#include "testbytes.h"
#include "windowharness.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace qx;
using namespace qx::test;

namespace {

// Remembers the folder each save dialog started in.
class FolderPrompter : public ScriptedPrompter {
public:
    QStringList saveDirs;
    QString saveFileName(const QString &filter, const QString &dir) override {
        saveDirs << dir;
        return ScriptedPrompter::saveFileName(filter, dir);
    }
};

// A whole image whose channel n receives on 4<base>.<n>0000-ish frequencies, so
// two images differ in every channel.
QByteArray image(int base) {
    QByteArray out;
    for (int n = 1; n <= kChannelCount; ++n) {
        const QString f = QStringLiteral("4%1%2.01250").arg(base).arg(n % 10);
        for (const MemoryFrame &fr :
             encodeChannelFrames(n, {f, QStringLiteral("OFF"), f, QStringLiteral("67.0"),
                                     QStringLiteral("NO"), QStringLiteral("YES")}))
            out += fr.toByteArray();
    }
    Block03C0Values c0;
    c0.beep = base % 2;
    out += save03C0(c0).toByteArray();
    out += save03D0(0, 0, bandNames(0).size()).toByteArray();
    out += save03F0(Block03F0Values{}).toByteArray();
    return out;
}

struct Slot {
    QString text;
    bool visible;
};

} // namespace

class TestFileOps : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void copyReplacesWholeFile();
    void copyFailureLeavesTarget_data();
    void copyFailureLeavesTarget();

    void saveThenOpenRestoresBytes_data();
    void saveThenOpenRestoresBytes();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void recentSlotsShift();
    void laterSettingChangeAltersWorkingFileOnly();
    void failedOpenChangesNothing_data();
    void failedOpenChangesNothing();
    void partialImageShownAsHeld_data();
    void partialImageShownAsHeld();
    void argumentOpensAsTheDialogDoes_data();
    void argumentOpensAsTheDialogDoes();
    void failedSaveKeepsTarget_data();
    void failedSaveKeepsTarget();
    void outputFaults_data();
    void outputFaults();
    void inputLimits_data();
    void inputLimits();
    void workingFileIsAFifo();

    void printCancelPrintsNothing();
    void printWithoutPrinterOffersPdf_data();
    void printWithoutPrinterOffersPdf();

private:
    void makeWindow(bool english);
    QString work() const { return m_dir->filePath(QStringLiteral("r_and_w.dat")); }
    QList<Slot> recentSlots() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    FolderPrompter m_prompter;
    test::FakeSio m_sio;
    std::unique_ptr<MainWindow> m_window;
};

void TestFileOps::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_prompter = FolderPrompter();
}

void TestFileOps::cleanup() {
    m_window.reset();
    m_dir.reset();
}

void TestFileOps::makeWindow(bool english) {
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("r_and_w.dat")), image(5)));
    if (english)
        m_window = std::make_unique<TE_Form>(m_prompter, m_sio, m_dir->path());
    else
        m_window = std::make_unique<TForm1>(m_prompter, m_sio, m_dir->path());
    QCOMPARE(m_window->channelGrid().cell(1, 1), QStringLiteral("451.01250"));
    m_prompter.clear();
}

QList<Slot> TestFileOps::recentSlots() const {
    QList<Slot> out;
    for (const char *name : {"a1", "b1", "c1"}) {
        auto *a = m_window->findChild<QAction *>(QLatin1String(name));
        out << Slot{a->text(), a->isVisible()};
    }
    return out;
}

void TestFileOps::copyReplacesWholeFile() {
    const QString source = m_dir->filePath(QStringLiteral("source.dat"));
    const QString target = m_dir->filePath(QStringLiteral("target"));
    QVERIFY(writeFile(source, image(1)));
    QVERIFY(writeFile(target, QByteArray(2000, 'x')));
    copyFileOver(source, target);
    QCOMPARE(readFile(target), image(1));
    // Onto itself: unchanged, not truncated.
    copyFileOver(target, target);
    QCOMPARE(readFile(target), image(1));
    // Larger than one block of the copy, and not a whole number of them.
    QByteArray big;
    for (int i = 0; i < 200'003; ++i)
        big += char(i * 31 % 251);
    QVERIFY(writeFile(source, big));
    copyFileOver(source, target);
    QCOMPARE(readFile(target), big);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 2);
}

void TestFileOps::copyFailureLeavesTarget_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("named");
    QTest::newRow("missing source") << "missing.dat"
                                    << "target.dat"
                                    << "missing.dat";
    QTest::newRow("target folder missing") << "source.dat"
                                           << "no/such/target.dat"
                                           << "target.dat";
    QTest::newRow("target is a folder") << "source.dat"
                                        << "folder"
                                        << "folder";
#ifdef Q_OS_UNIX
    // Reading a FIFO would block the window; renaming over one would replace it.
    QTest::newRow("source is a pipe") << "pipe"
                                      << "target.dat"
                                      << "pipe";
    QTest::newRow("target is a pipe") << "source.dat"
                                      << "pipe"
                                      << "pipe";
#endif
}

void TestFileOps::copyFailureLeavesTarget() {
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(QString, named);
    QDir dir(m_dir->path());
    QVERIFY(dir.mkdir(QStringLiteral("folder")));
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600),
             0);
#endif
    QVERIFY(writeFile(dir.filePath(QStringLiteral("source.dat")), image(1)));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("target.dat")), image(2)));
    try {
        copyFileOver(dir.filePath(source), dir.filePath(target));
        QFAIL("the copy did not fail");
    } catch (const Error &e) {
        QVERIFY2(e.message().contains(named), qPrintable(e.message()));
        QVERIFY2(e.message().size() > dir.filePath(target).size() + 4, qPrintable(e.message()));
    }
    QCOMPARE(readFile(dir.filePath(QStringLiteral("target.dat"))), image(2));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
#ifdef Q_OS_UNIX
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode));
#endif
    QCOMPARE(dir.entryList(QDir::Files),
             (QStringList{QStringLiteral("source.dat"), QStringLiteral("target.dat")}));
}

void TestFileOps::saveThenOpenRestoresBytes_data() {
    QTest::addColumn<bool>("english");
    QTest::newRow("chinese window") << false;
    QTest::newRow("english window") << true;
}

void TestFileOps::saveThenOpenRestoresBytes() {
    QFETCH(bool, english);
    makeWindow(english);
    const QByteArray original = readFile(work());
    QDir dir(m_dir->path());
    QVERIFY(dir.mkdir(QStringLiteral("keep")));
    const QString saved = dir.filePath(QStringLiteral("keep/radio.dat"));
    // A name typed without an extension gets the filter's, so Open lists the file.
    m_prompter.fileNames << dir.filePath(QStringLiteral("keep/radio"));
    m_window->N6Click();
    QCOMPARE(readFile(saved), original);
    QCOMPARE(m_prompter.shown.first().text, QStringLiteral("hex(*.dat)"));
    QCOMPARE(m_prompter.texts(QStringLiteral("message")), QStringList());

    // The working file changes, then the saved image comes back byte for byte.
    QVERIFY(writeFile(work(), image(6)));
    m_window->ReadAndDeal_F();
    QCOMPARE(m_window->channelGrid().cell(1, 1), QStringLiteral("461.01250"));
    m_prompter.fileNames << saved;
    m_window->N5Click();
    QCOMPARE(readFile(work()), original);
    QCOMPARE(m_window->channelGrid().cell(1, 1), QStringLiteral("451.01250"));
    QCOMPARE(m_window->channelGrid().cell(3, 16), QStringLiteral("456.01250"));
    QCOMPARE(m_prompter.texts(QStringLiteral("open")), QStringList{QStringLiteral("hex(*.dat)")});

    // The next save starts in the folder of the last one; the first had no folder.
    m_prompter.fileNames << QString();
    m_window->N6Click();
    QCOMPARE(m_prompter.saveDirs, (QStringList{QString(), dir.filePath(QStringLiteral("keep"))}));
}

void TestFileOps::cancelChangesNothing_data() {
    QTest::addColumn<bool>("open");
    QTest::newRow("open dialog cancelled") << true;
    QTest::newRow("save dialog cancelled") << false;
}

void TestFileOps::cancelChangesNothing() {
    QFETCH(bool, open);
    makeWindow(false);
    const QString other = m_dir->filePath(QStringLiteral("other.dat"));
    QVERIFY(writeFile(other, image(7)));
    m_prompter.fileNames << other;
    m_window->N5Click(); // an earlier successful open
    const QByteArray before = readFile(work());
    const QList<Slot> slotsBefore = recentSlots();
    const QStringList files = QDir(m_dir->path()).entryList(QDir::Files);

    m_prompter.fileNames << QString();
    if (open)
        m_window->N5Click();
    else
        m_window->N6Click();

    QCOMPARE(readFile(work()), before);
    QCOMPARE(readFile(other), image(7));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), files);
    QCOMPARE(m_window->channelGrid().cell(1, 1), QStringLiteral("471.01250"));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(recentSlots()[i].text, slotsBefore[i].text);
        QCOMPARE(recentSlots()[i].visible, slotsBefore[i].visible);
    }
    QCOMPARE(m_prompter.texts(QStringLiteral("message")), QStringList());
}

void TestFileOps::recentSlotsShift() {
    makeWindow(false);
    QDir dir(m_dir->path());
    QStringList names;
    for (int i = 1; i <= 4; ++i) {
        names << dir.filePath(QStringLiteral("f%1.dat").arg(i));
        QVERIFY(writeFile(names.last(), image(i)));
    }
    const QString p = QStringLiteral("&1");
    // After each open: the captions and visibility of a1, b1, c1. Hidden slots move
    // down with their old captions.
    const QList<QList<Slot>> expected{
        {{p + names[0], true}, {"a", false}, {"b", false}},
        {{p + names[1], true}, {p + names[0], true}, {"a", false}},
        {{p + names[2], true}, {p + names[1], true}, {p + names[0], true}},
        {{p + names[3], true}, {p + names[2], true}, {p + names[1], true}},
    };
    for (int i = 0; i < 4; ++i) {
        m_prompter.fileNames << names[i];
        m_window->N5Click();
        QCOMPARE(m_window->channelGrid().cell(1, 1),
                 QStringLiteral("4%1%2.01250").arg(i + 1).arg(1));
        const QList<Slot> got = recentSlots();
        for (int s = 0; s < 3; ++s) {
            QCOMPARE(got[s].text, expected[i][s].text);
            QCOMPARE(got[s].visible, expected[i][s].visible);
        }
    }
}

void TestFileOps::laterSettingChangeAltersWorkingFileOnly() {
    makeWindow(true);
    const QString opened = m_dir->filePath(QStringLiteral("opened.dat"));
    QVERIFY(writeFile(opened, image(4))); // beep index 0
    m_prompter.fileNames << opened;
    m_window->N5Click();
    QCOMPARE(readFile(work()), image(4));

    auto *beep = m_window->findChild<QComboBox *>(QStringLiteral("CB_BY"));
    QVERIFY(beep);
    QCOMPARE(beep->currentIndex(), 0);
    beep->setCurrentIndex(1);
    QVERIFY(QMetaObject::invokeMethod(
        m_window->findChild<QObject *>(QStringLiteral("spSkinGroupBox1")), "CB_BYChange"));

    const QByteArray now = readFile(work());
    QCOMPARE(now.size(), image(4).size());
    QVERIFY(now != image(4));
    Block03C0Values c0;
    c0.beep = 1;
    QCOMPARE(now.mid(kRecord03C0 * MemoryFrame::kSize, MemoryFrame::kSize),
             save03C0(c0).toByteArray());
    QCOMPARE(readFile(opened), image(4));
}

void TestFileOps::failedOpenChangesNothing_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("workingIsFolder");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("chinese, missing file") << false << false << QStringLiteral("文件复制失败：");
    QTest::newRow("english, missing file")
        << true << false << QStringLiteral("The file could not be copied: ");
    QTest::newRow("english, working file unwritable")
        << true << true << QStringLiteral("The file could not be copied: ");
}

void TestFileOps::failedOpenChangesNothing() {
    QFETCH(bool, english);
    QFETCH(bool, workingIsFolder);
    QFETCH(QString, prefix);
    makeWindow(english);
    const QByteArray before = readFile(work());
    QString chosen = m_dir->filePath(QStringLiteral("missing.dat"));
    if (workingIsFolder) {
        // Root may write anywhere, so a folder in the working file's place is what
        // reliably refuses the copy.
        QVERIFY(QFile::remove(work()));
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("r_and_w.dat")));
        chosen = m_dir->filePath(QStringLiteral("other.dat"));
        QVERIFY(writeFile(chosen, image(7)));
    }
    m_prompter.fileNames << chosen;
    m_window->N5Click();

    const QStringList messages = m_prompter.texts(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith(prefix), qPrintable(messages.first()));
    QVERIFY(messages.first().size() > prefix.size());
    QCOMPARE(m_prompter.texts(QStringLiteral("error")), QStringList());
    if (workingIsFolder)
        QVERIFY(QFileInfo(work()).isDir());
    else
        QCOMPARE(readFile(work()), before);
    QCOMPARE(m_window->channelGrid().cell(1, 1), QStringLiteral("451.01250"));
    for (const Slot &s : recentSlots())
        QVERIFY(!s.visible);
}

void TestFileOps::partialImageShownAsHeld_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QByteArray>("opened");
    QTest::addColumn<QString>("named");   // the message of the open
    QTest::addColumn<QString>("refusal"); // the last message of a write
    const QString head = QStringLiteral("The file does not hold a whole image for the radio; what "
                                        "is missing or damaged shows as in a new window.\n");
    QTest::newRow("10 records")
        << true << image(6).left(10 * 12)
        << head + "Missing: channel 6, channel 7, channel 8, channel 9, channel 10, channel 11, "
                  "channel 12, channel 13, channel 14, channel 15, channel 16, settings 03C0, "
                  "settings 03D0, settings 03F0"
        << englishTransferTexts().tooFewRecords;
    QTest::newRow("a record at another address")
        << false << withRecords(image(6), 5, hexBytes("57 00 00 08"))
        << QStringLiteral("此文件不是完整的对讲机数据，缺少或损坏的部分按新窗口显示。\n"
                          "记录头不是本身的地址，不能写入对讲机：信道3")
        << QStringLiteral("工作文件中信道3的记录头是 57 00 00 08，不是 57 00 38 08，"
                          "对讲机会把它存到别处。没有写入任何数据。");
    // Channel 8, the channel edited, mends its own record: the write goes on to the port.
    QTest::newRow("a digit that does not decode")
        << true << withRecords(image(6), 14, hexBytes("57 00 80 08 0A"))
        << head + "Damaged: channel 8" << englishTransferTexts().openError;
}

// An image opened, then channel 8 typed into: the screen shows exactly what the file
// holds (what it lacks as in a new window, never the image before it), a gap is filled with
// blank records, and a write refuses or goes on as the file's records say.
void TestFileOps::partialImageShownAsHeld() {
    QFETCH(bool, english);
    QFETCH(QByteArray, opened);
    QFETCH(QString, named);
    QFETCH(QString, refusal);
    Harness h(english ? Language::English : Language::Chinese, image(5));
    QCOMPARE(h.box("CB_BY")->currentIndex(), 1);
    const QString path = h.dir.filePath(QStringLiteral("opened.dat"));
    QVERIFY(writeFile(path, opened));
    h.prompter.fileNames << path;
    h.window->N5Click();
    QCOMPARE(h.prompter.texts(QStringLiteral("message")), QStringList{named});
    QCOMPARE(cellsDifferingFromFile(*h.window, h.dat()), QStringList{});
    QCOMPARE(h.box("CB_BY")->currentIndex(), 0);

    h.prompter.clear();
    h.clickCell(8, 1);
    h.grid()->setFocus();
    Harness::type(QStringLiteral("455.5"));
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.window->channelGrid().cell(1, 8), QStringLiteral("455.50000"));
    QCOMPARE(h.prompter.shown.size(), 0);
    QCOMPARE(cellsDifferingFromFile(*h.window, h.dat()), QStringList{});
    const QByteArray stored = h.fileBytes();
    for (int r = int(opened.size() / 12); r < 14; ++r)
        QCOMPARE(record(stored, r), blankRecord(r).toByteArray());

    h.window->N12Click();
    QCOMPARE(h.prompter.texts(QStringLiteral("message")).last(), refusal);
    QVERIFY(!h.sio.calls.contains(QStringLiteral("write 1")));
    QCOMPARE(h.fileBytes(), stored);
}

void TestFileOps::outputFaults_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("command");
    for (const QString &fault : FileFault::kinds())
        for (const char *command : {"Save", "ExportCsv"})
            QTest::newRow(qPrintable(fault + QStringLiteral(": ") + QLatin1String(command)))
                << fault << QString::fromLatin1(command);
}

// The window's saves and exports against the faults the command line meets: one message
// with the reason, the old file byte for byte.
void TestFileOps::outputFaults() {
    QFETCH(QString, fault);
    QFETCH(QString, command);
    makeWindow(true);
    FileFault place(fault, m_dir->filePath(QStringLiteral("place")), QStringLiteral("old.dat"),
                    image(3));
    if (!place.skipReason().isEmpty())
        QSKIP(qPrintable(place.skipReason()));
    m_prompter.fileNames << place.path();
    if (command == QLatin1String("Save"))
        m_window->N6Click();
    else
        m_window->findChild<QAction *>(command)->trigger();
    const QStringList messages = m_prompter.texts(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(place.path() + QStringLiteral(": ")) &&
                 messages.first().contains(place.reason()),
             qPrintable(messages.first()));
    QCOMPARE(place.changed(), QString());
    QCOMPARE(readFile(work()), image(5));
}

void TestFileOps::inputLimits_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("bytes"); // null: a FIFO
    QTest::addColumn<QString>("message");  // %1 the file's path
    const WindowTexts t = englishWindowTexts();
    const QString length = t.loadIncomplete + QLatin1Char('\n') + t.loadLength;
    QTest::newRow("an image of 10 MB")
        << "Open" << QByteArray(10'000'000, '\x57')
        << t.copyFailed.arg("%1: 10000000 bytes, far more than a radio image; not read");
    QTest::newRow("an image and one byte") << "Open" << image(6) + "x" << length.arg(421).arg(420);
    QTest::newRow("two images") << "Open" << image(6) + image(6) << length.arg(840).arg(420);
    QTest::newRow("a FIFO") << "Open" << QByteArray()
                            << t.copyFailed.arg("%1: is a pipe (FIFO), not a regular file");
    QTest::newRow("a CSV over 1 MiB")
        << "ImportCsv" << QByteArray(kMaxInputBytes + 1, '\n')
        << t.csvNotRead.arg("%1: more than 1 MiB, far more than a channel list; not read");
    QTest::newRow("a CSV that is a FIFO")
        << "ImportCsv" << QByteArray()
        << t.csvNotRead.arg("%1: is a pipe (FIFO), not a regular file");
}

// The window reads what the command line reads, refused in the same words.
void TestFileOps::inputLimits() {
    QFETCH(QString, command);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    makeWindow(true);
    const QString path = m_dir->filePath(QStringLiteral("chosen"));
    if (bytes.isNull())
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(writeFile(path, bytes));
    m_prompter.fileNames << path;
    if (command == QLatin1String("Open"))
        m_window->N5Click();
    else
        m_window->findChild<QAction *>(command)->trigger();
    QCOMPARE(m_prompter.texts(QStringLiteral("message")),
             QStringList{message.contains("%1") ? message.arg(path) : message});
    const bool opened = message.startsWith(englishWindowTexts().loadIncomplete);
    QCOMPARE(readFile(work()), opened ? bytes : image(5));
}

// A FIFO where the working file belongs: named at the start, and never opened, which would
// block the window for good.
void TestFileOps::workingFileIsAFifo() {
    const QString fifo = m_dir->filePath(QStringLiteral("r_and_w.dat"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    m_window = std::make_unique<TE_Form>(m_prompter, m_sio, m_dir->path());
    const QString named = fifo + QStringLiteral(" is a pipe (FIFO), not a regular file");
    QCOMPARE(m_prompter.texts(), QStringList{named});
    QCOMPARE(m_window->findChild<QTableWidget *>(QStringLiteral("StringGrid"))->rowCount(),
             kChannelCount + 1);
    m_prompter.clear();
    const QString other = m_dir->filePath(QStringLiteral("other.dat"));
    QVERIFY(writeFile(other, image(6)));
    m_prompter.fileNames << other;
    m_window->N5Click();
    QCOMPARE(m_prompter.texts(QStringLiteral("message")),
             QStringList{englishWindowTexts().copyFailed.arg(
                 fifo + QStringLiteral(": is a pipe (FIFO), not a regular file"))});
}

void TestFileOps::argumentOpensAsTheDialogDoes_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QByteArray>("opened"); // empty: no such file
    QTest::newRow("whole image") << false << image(6);
    QTest::newRow("short image") << true << image(6).left(10 * 12);
    QTest::newRow("damaged record")
        << true << withRecords(image(6), 14, hexBytes("57 00 80 08 0A"));
    QTest::newRow("missing file") << false << QByteArray();
}

// The file named on the command line: the same bytes, messages, recent file and undo step
// as the same file chosen in the open dialog.
void TestFileOps::argumentOpensAsTheDialogDoes() {
    QFETCH(bool, english);
    QFETCH(QByteArray, opened);
    const Language language = english ? Language::English : Language::Chinese;
    Harness dialog(language, image(5));
    Harness argument(language, image(5));
    const QString path = dialog.dir.filePath(QStringLiteral("opened.dat"));
    if (!opened.isEmpty())
        QVERIFY(writeFile(path, opened));
    dialog.prompter.fileNames << path;
    dialog.window->N5Click();
    argument.window->openFile(path);

    QCOMPARE(argument.prompter.texts(QStringLiteral("open")), QStringList{});
    for (const char *kind : {"message", "error", "ask"})
        QCOMPARE(argument.prompter.texts(QLatin1String(kind)),
                 dialog.prompter.texts(QLatin1String(kind)));
    QCOMPARE(argument.fileBytes(), dialog.fileBytes());
    QCOMPARE(cellsDifferingFromFile(*argument.window, argument.dat()), QStringList{});
    const auto recent = [](Harness &h) {
        auto *a1 = h.window->findChild<QAction *>(QStringLiteral("a1"));
        return std::make_pair(a1->text(), a1->isVisible());
    };
    QCOMPARE(recent(argument), recent(dialog));
    auto *history = argument.window->findChild<EditHistory *>();
    QCOMPARE(history->count(), opened.isEmpty() ? 0 : 1);
    if (history->canUndo()) {
        history->undo();
        QCOMPARE(argument.fileBytes(), image(5));
    }
}

void TestFileOps::failedSaveKeepsTarget_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("workingMissing");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("chinese, folder missing")
        << false << false << "no/such/x.dat" << QStringLiteral("文件复制失败：");
    QTest::newRow("english, working file gone, old target kept")
        << true << true << "old.dat" << QStringLiteral("The file could not be copied: ");
}

void TestFileOps::failedSaveKeepsTarget() {
    QFETCH(bool, english);
    QFETCH(bool, workingMissing);
    QFETCH(QString, target);
    QFETCH(QString, prefix);
    makeWindow(english);
    QDir dir(m_dir->path());
    QVERIFY(writeFile(dir.filePath(QStringLiteral("old.dat")), image(3)));
    if (workingMissing)
        QVERIFY(QFile::remove(work()));
    m_prompter.fileNames << dir.filePath(target) << QString();
    m_window->N6Click();

    const QStringList messages = m_prompter.texts(QStringLiteral("message"));
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith(prefix), qPrintable(messages.first()));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("old.dat"))), image(3));
    QVERIFY(!QFileInfo::exists(dir.filePath(target)) || target == QStringLiteral("old.dat"));
    // A failed save does not move the next dialog's folder.
    m_window->N6Click();
    QCOMPARE(m_prompter.saveDirs, (QStringList{QString(), QString()}));
}

void TestFileOps::printCancelPrintsNothing() {
    makeWindow(false);
    m_prompter.answers << false;
    m_window->N8Click();
    QCOMPARE(m_prompter.shown.size(), 1);
    QCOMPARE(m_prompter.shown.first().kind, QStringLiteral("ask"));
    QCOMPARE(m_prompter.shown.first().caption, QStringLiteral(" 打印提示"));
    QCOMPARE(m_prompter.shown.first().text, QStringLiteral("确实要打印吗？"));
    QCOMPARE(int(m_prompter.shown.first().buttons), int(Prompter::Buttons::OkCancel));
}

void TestFileOps::printWithoutPrinterOffersPdf_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("acceptPdf");
    QTest::addColumn<QString>("pdfName");
    QTest::newRow("english, saved as pdf") << true << true << "list.pdf";
    QTest::newRow("chinese, saved as pdf") << false << true << "list.pdf";
    QTest::newRow("pdf declined") << true << false << "list.pdf";
    QTest::newRow("pdf folder missing") << true << true << "no/such/list.pdf";
}

void TestFileOps::printWithoutPrinterOffersPdf() {
    QFETCH(bool, english);
    QFETCH(bool, acceptPdf);
    QFETCH(QString, pdfName);
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("a printer is installed here; the test would print on it");
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QFAIL("pdftotext is missing: tools/deps.sh installs poppler-utils");
    makeWindow(english);
    const QString pdf = m_dir->filePath(pdfName);
    m_prompter.answers << true << acceptPdf;
    m_prompter.fileNames << pdf;
    m_window->N8Click();

    const WindowTexts &t = m_window->texts();
    QCOMPARE(m_prompter.texts(QStringLiteral("ask")),
             (QStringList{t.print.question, t.print.noPrinter}));
    QCOMPARE(m_prompter.shown[1].caption, t.print.caption);
    QCOMPARE(int(m_prompter.shown[1].buttons), int(Prompter::Buttons::YesNo));
    if (pdfName.contains(QLatin1Char('/'))) {
        const QStringList errors = m_prompter.texts(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith(pdf + QStringLiteral(": ")), qPrintable(errors.first()));
        return;
    }
    QCOMPARE(m_prompter.texts(QStringLiteral("error")), QStringList());
    if (!acceptPdf) {
        QCOMPARE(m_prompter.texts(QStringLiteral("save")), QStringList());
        QVERIFY(!QFileInfo::exists(pdf));
        return;
    }
    QCOMPARE(m_prompter.texts(QStringLiteral("save")), QStringList{QStringLiteral("PDF(*.pdf)")});

    QProcess p;
    p.start(pdftotext, {pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(20000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    const QDate today = QDate::currentDate();
    const QString date =
        english
            ? QStringLiteral("%1/%2/%3").arg(today.year()).arg(today.month()).arg(today.day())
            : QStringLiteral("%1年%2月%3日").arg(today.year()).arg(today.month()).arg(today.day());
    QVERIFY2(text.contains(t.print.list.title), qPrintable(text));
    QVERIFY2(text.contains(date), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("453.01250")), qPrintable(text));
}

QTEST_MAIN(TestFileOps)
#include "tst_fileops.moc"
