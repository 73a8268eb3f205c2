// The File menu's CSV and compare commands: the import's preview confirmed or cancelled,
// CHIRP's rows this radio cannot hold left out on "Import the rest", both exports with
// .csv added to a bare name, and the list against another image file.
#include "channelcsv.h"
#include "chirpcsv.h"
#include "edithistory.h"
#include "filelimits.h"
#include "windowharness.h"

using namespace qx;
using namespace qx::test;

namespace {

QByteArray withChannel(int n, const ChannelCells &cells) {
    return baseImage().replace((n - 1) * 24, 24, channelRecords(n, cells));
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void importPreview_data();
    void importPreview();
    void exports_data();
    void exports();
    void compareWithFile_data();
    void compareWithFile();
};

void TestFileCommands::importPreview_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("csv");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("shown");    // the one box: "list" or "message"
    QTest::addColumn<QString>("button");   // its accept button; empty: only OK
    QTest::addColumn<QString>("contains"); // a line of its text
    QTest::addColumn<QByteArray>("after"); // the working file afterwards

    const QString ours = exportChannelCsv(baseImage());
    const QString filled = QString(ours).replace("13,,,,,,", "13,462.563,67,,OFF,NO,YES");
    const QByteArray ch13 = withChannel(13, {"462.56250", "67.0", "", "OFF", "NO", "YES"});
    QTest::newRow("confirmed") << Language::English << filled << true << "list"
                               << "Import"
                               << "channel 13 Receive F: (empty) -> 462.56250" << ch13;
    QTest::newRow("cancelled") << Language::English << filled << false << "list"
                               << "Import"
                               << "line 14: RxFrequency 462.563 stored as 462.56250 (channel "
                                  "raster)"
                               << baseImage();
    QTest::newRow("confirmed, Chinese")
        << Language::Chinese << filled << true << "list"
        << "导入"
        << "第14行：RxFrequency 462.563 按信道步进存为 462.56250" << ch13;
    QTest::newRow("nothing to import") << Language::English << ours << true << "message"
                                       << "" << englishWindowTexts().importSame << baseImage();
    QTest::newRow("a rejected row, Chinese")
        << Language::Chinese << QString(ours).replace("\n2,452.00000", "\n2,399") << true << "list"
        << ""
        << "第3行：RxFrequency“399”超出范围（400至512.99999 MHz）" << baseImage();

    // Channel 3 at a Location this radio does not have: channel 3 has no row and is emptied.
    const QString chirp = exportChirpCsv(baseImage()).replace("\n3,", "\n17,");
    const QByteArray rest = withChannel(3, {});
    QTest::newRow("CHIRP: import the rest")
        << Language::English << chirp << true << "list"
        << "Import the rest"
        << "line 4: Location 17 is beyond this radio's 16 channels" << rest;
    QTest::newRow("CHIRP: import the rest, Chinese")
        << Language::Chinese << chirp << true << "list"
        << "导入其余的行"
        << "信道3 接收频率：453.00000 -> （空）" << rest;
    // Channel 2 with a DTCS tone, left out: channel 2 stays as it is, and the preview says so.
    QStringList rows = exportChirpCsv(baseImage()).split('\n');
    for (QString &row : rows) {
        QStringList fields = row.split(',');
        if (fields.first() == "2")
            fields[5] = "DTCS";
        if (fields.first() == "5")
            fields[2] = "455.500000";
        row = fields.join(',');
    }
    QTest::newRow("CHIRP: a skipped row keeps its channel")
        << Language::English << rows.join('\n') << true << "list"
        << "Import the rest" << englishWindowTexts().importUnfit
        << withChannel(5, {"455.50000", "OFF", "455.50000", "OFF", "NO", "NO"});
    QTest::newRow("a long field is quoted short")
        << Language::English << QString(ours).replace("\n2,452.00000", "\n2," + QString(5000, 'x'))
        << true << "list"
        << ""
        << "line 3: RxFrequency '" + QString(kQuotedChars, 'x') + "...' is not a frequency in MHz"
        << baseImage();
    QTest::newRow("CHIRP: cancelled") << Language::English << chirp << false << "list"
                                      << "Import the rest"
                                      << "channel 3 Receive F: 453.00000 -> (empty)" << baseImage();
    QTest::newRow("CHIRP: the file itself is at fault")
        << Language::English << QString(chirp).replace("TStep,Skip,", "TStep,") << true << "list"
        << ""
        << "line 1: the header lacks the column Skip" << baseImage();
}

void TestFileCommands::importPreview() {
    QFETCH(Language, language);
    QFETCH(QString, csv);
    QFETCH(bool, answer);
    QFETCH(QString, shown);
    QFETCH(QString, button);
    QFETCH(QString, contains);
    QFETCH(QByteArray, after);
    Harness h(language);
    const QString path = h.dir.filePath(QStringLiteral("list.csv"));
    QVERIFY(writeFile(path, csv.toUtf8()));
    h.prompter.fileNames << path;
    h.prompter.answers << answer;
    // The working file is still as it was while the preview is open.
    QByteArray whileOpen;
    h.prompter.onShow = [&](const ScriptedPrompter::Shown &) { whileOpen = h.fileBytes(); };
    h.child<QAction>("ImportCsv")->trigger();

    QCOMPARE(h.prompter.shown.size(), 2); // the open dialog, then one box
    const ScriptedPrompter::Shown &box = h.prompter.shown.last();
    QCOMPARE(box.kind, shown);
    QCOMPARE(box.caption, button);
    QVERIFY2(box.text.split('\n').contains(contains), qPrintable(box.text));
    QCOMPARE(whileOpen, baseImage());
    QCOMPARE(h.fileBytes().toHex(' '), after.toHex(' '));
    QCOMPARE(h.window->findChild<EditHistory *>()->count(), after == baseImage() ? 0 : 1);
    QCOMPARE(h.prompter.texts("error"), QStringList());
    QVERIFY(cellsDifferingFromFile(*h.window, h.dat()).isEmpty());
}

void TestFileCommands::exports_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("csv");
    QTest::newRow("ours, a bare name") << "ExportCsv"
                                       << "mine"
                                       << "mine.csv" << exportChannelCsv(baseImage());
    QTest::newRow("CHIRP, a name ending in a point") << "ExportChirpCsv"
                                                     << "theirs."
                                                     << "theirs.csv" << exportChirpCsv(baseImage());
    QTest::newRow("an extension is kept") << "ExportChirpCsv"
                                          << "list.txt"
                                          << "list.txt" << exportChirpCsv(baseImage());
}

void TestFileCommands::exports() {
    QFETCH(QString, item);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QFETCH(QString, csv);
    Harness h(Language::Chinese);
    h.prompter.fileNames << h.dir.filePath(typed);
    h.child<QAction>(qPrintable(item))->trigger();
    QCOMPARE(QString::fromUtf8(readFile(h.dir.filePath(saved))), csv);
    QCOMPARE(QFile::exists(h.dir.filePath(typed)), typed == saved);
    QCOMPARE(h.prompter.texts("message") + h.prompter.texts("error"), QStringList());
}

void TestFileCommands::compareWithFile_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QByteArray>("other"); // null: no such file
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("text");

    Block03C0Values beep;
    beep.beep = 1;
    const QByteArray other = withRecords(baseImage(), kRecord03C0, save03C0(beep).toByteArray());
    QTest::newRow("differs") << Language::English << other << "list"
                             << "What differs between the working file and other.dat (working "
                                "file -> other.dat):\nBeep Tone: OFF -> ON";
    QTest::newRow("differs, Chinese")
        << Language::Chinese << other << "list"
        << "工作文件与other.dat的不同之处（工作文件 -> other.dat）：\n哔音提示：关 -> 开";
    QTest::newRow("the same") << Language::English << baseImage() << "message"
                              << "The working file and other.dat hold the same.";
    QTest::newRow("no such file") << Language::Chinese << QByteArray() << "message"
                                  << "文件不能比较：%1: no such file";
}

void TestFileCommands::compareWithFile() {
    QFETCH(Language, language);
    QFETCH(QByteArray, other);
    QFETCH(QString, shown);
    QFETCH(QString, text);
    Harness h(language);
    const QString path = h.dir.filePath(QStringLiteral("other.dat"));
    if (!other.isNull())
        QVERIFY(writeFile(path, other));
    h.prompter.fileNames << path;
    h.child<QAction>("CompareWithFile")->trigger();
    QCOMPARE(h.prompter.shown.size(), 2);
    QCOMPARE(h.prompter.shown.first().text, QStringLiteral("hex(*.dat)"));
    QCOMPARE(h.prompter.shown.last().kind, shown);
    QCOMPARE(h.prompter.shown.last().text, text.contains("%1") ? text.arg(path) : text);
    QCOMPARE(h.fileBytes(), baseImage());
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
