#include "channelcsv.h"
#include "edithistory.h"
#include "gridview.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>

using namespace qx;
using namespace qx::test;

namespace {

const QString kOff = QStringLiteral("OFF");

// Everything the window shows of the image: every cell and every control's value.
QStringList view(const Harness &h) {
    QStringList out;
    for (const QComboBox *box : h.window->findChildren<QComboBox *>())
        if (box->isVisible()) // a hidden drop-down of the grid shows nothing
            out << box->objectName() + QLatin1Char('=') + box->currentText();
    for (const QLineEdit *edit : h.window->findChildren<QLineEdit *>())
        if (!edit->objectName().isEmpty()) // not the grid's cell editor
            out << edit->objectName() + QLatin1Char('=') + edit->text();
    for (const QCheckBox *box : h.window->findChildren<QCheckBox *>())
        out << box->objectName() + QLatin1Char('=') + QString::number(box->isChecked());
    out.sort(); // raising a list changes the order of the children
    for (const QStringList &row : h.channels().table())
        out << row.join(QLatin1Char('|'));
    return out;
}

QAction *action(const Harness &h, const char *name) {
    return h.child<QAction>(name);
}

QByteArray scanOnImage() {
    Block03F0Values v;
    v.scanOn = true;
    return withRecords(baseImage(), kRecord03F0, save03F0(v).toByteArray());
}

} // namespace

class TestEditing : public QObject {
    Q_OBJECT
private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    void editMenu_data();
    void editMenu();
    void undoRedoEveryKindOfStep_data();
    void undoRedoEveryKindOfStep();
    void undoRestoresAShortImageAsANewWindowShowsIt();
    void changeByAnotherProgramIsKept_data();
    void changeByAnotherProgramIsKept();
    void clipboardRoundTrip_data();
    void clipboardRoundTrip();
    void pasteRejectsBadRows_data();
    void pasteRejectsBadRows();
    void pasteLoneValue_data();
    void pasteLoneValue();
    void deleteInTheCellEditorEditsTheText();
    void csvExportAndImport();
    void rejectedCsvChangesNothing();
    void openBackupStartsInTheBackupsFolder();
};

void TestEditing::editMenu_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("fileItems");
    QTest::newRow("Chinese") << Language::Chinese
                             << QStringList{"编辑(&E)", "撤销", "重做",     "", "剪切",
                                            "复制",     "粘贴", "清除信道", "", "信道"}
                             << QStringList{"打开备份...", "与文件比较...", "",
                                            "导入CSV...",  "导出CSV...",    "导出CSV（CHIRP）...",
                                            "写后校验"};
    QTest::newRow("English")
        << Language::English << QStringList{"&Edit", "Undo",  "Redo",          "", "Cut",
                                            "Copy",  "Paste", "Clear Channel", "", "Channels"}
        << QStringList{"Open Backup...",    "Compare With File...", "",
                       "Import CSV...",     "Export CSV...",        "Export CSV (CHIRP)...",
                       "Verify After Write"};
}

void TestEditing::editMenu() {
    QFETCH(Language, language);
    QFETCH(QStringList, items);
    QFETCH(QStringList, fileItems);
    Harness h(language);
    const QList<QAction *> menus = h.window->menuBar()->actions();
    QCOMPARE(menus.at(0)->objectName(), QStringLiteral("N1"));
    QCOMPARE(menus.at(1)->objectName(), QStringLiteral("EditMenu"));
    QStringList shown{menus.at(1)->text()};
    for (QAction *a : menus.at(1)->menu()->actions())
        shown << (a->isSeparator() ? QString() : a->text());
    QCOMPARE(shown, items);

    // New File items stand between Save and the print separator; the Program menu ends with
    // the two switches that guard the transfers, on by default.
    const QList<QAction *> file = menus.at(0)->menu()->actions();
    QStringList added;
    for (int i = 2; i < 8; ++i)
        added << (file[i]->isSeparator() ? QString() : file[i]->text());
    QAction *verify = action(h, "VerifyAfterWrite");
    added << verify->text();
    QCOMPARE(added, fileItems);
    QVERIFY(verify->isCheckable() && verify->isChecked());
    QVERIFY(action(h, "CheckReads")->isCheckable() && action(h, "CheckReads")->isChecked());
    QCOMPARE(file[8]->objectName(), QStringLiteral("N7"));

    QCOMPARE(action(h, "EditUndo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    QCOMPARE(action(h, "EditRedo")->shortcuts(),
             (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                  QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    QCOMPARE(action(h, "EditClearChannel")->shortcut(), QKeySequence(Qt::Key_Delete));

    // Nothing to undo, redo or paste; channel 13 is empty, channel 1 is not.
    QVERIFY(!action(h, "EditUndo")->isEnabled());
    QVERIFY(!action(h, "EditRedo")->isEnabled());
    QVERIFY(!action(h, "EditPaste")->isEnabled());
    h.clickCell(13, 1);
    QVERIFY(!action(h, "EditClearChannel")->isEnabled());
    QVERIFY(!action(h, "EditCut")->isEnabled());
    QVERIFY(action(h, "EditCopy")->isEnabled());
    h.clickCell(1, 1);
    QVERIFY(action(h, "EditClearChannel")->isEnabled());
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    QVERIFY(action(h, "EditPaste")->isEnabled());

    // The switch is kept in pt.ini.
    verify->trigger();
    QCOMPARE(PtIni(h.dir.filePath(QStringLiteral("pt.ini")))
                 .readInt(QStringLiteral("pt"), QStringLiteral("Verify"), 1),
             0);
}

void TestEditing::undoRedoEveryKindOfStep_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("image");
    for (const char *kind : {"typed cell", "list pick", "setting", "band", "model", "paste",
                             "delete", "cut", "open", "csv", "power out of range"})
        QTest::newRow(kind) << QString::fromLatin1(kind)
                            << (QByteArray(kind) == "model" ? scanOnImage() : baseImage());
}

void TestEditing::undoRedoEveryKindOfStep() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, image);
    Harness h(Language::English, image);
    const QByteArray before = h.fileBytes();
    const QStringList beforeView = view(h);
    QGuiApplication::clipboard()->setText(QStringLiteral("1\t470.5\t67.0\t471\tOFF\tYES\tNO\n"));

    if (kind == QLatin1String("typed cell")) {
        h.clickCell(5, 1);
        h.grid()->setFocus();
        Harness::type(QStringLiteral("466.6"));
        Harness::key(Qt::Key_Return);
    } else if (kind == QLatin1String("list pick")) {
        h.clickCell(3, 2);
        Harness::pick(h.box("RX_BOX"), 4);
    } else if (kind == QLatin1String("setting")) {
        Harness::pick(h.box("CB_BY"), 1);
    } else if (kind == QLatin1String("band")) {
        Harness::pick(h.box("f_box"), 2);
    } else if (kind == QLatin1String("model")) {
        h.prompter.answers << true;
        Harness::pick(h.box("CB_JQLX"), 0);
    } else if (kind == QLatin1String("paste") || kind == QLatin1String("delete") ||
               kind == QLatin1String("cut")) {
        // Delete clears a channel whose row is selected by its number.
        h.clickCell(kind == QLatin1String("paste") ? 14 : 2,
                    kind == QLatin1String("delete") ? 0 : 1);
        h.grid()->setFocus();
        if (kind == QLatin1String("paste"))
            Harness::key(Qt::Key_V, Qt::ControlModifier);
        else if (kind == QLatin1String("cut"))
            Harness::key(Qt::Key_X, Qt::ControlModifier);
        else
            Harness::key(Qt::Key_Delete);
    } else if (kind == QLatin1String("power out of range")) {
        // Stored as typed, then as the 0 that replaces it: one step back to 96.
        h.child<QSpinBox>("SpinEdit1")->setValue(300);
        QCOMPARE(h.child<QSpinBox>("SpinEdit1")->value(), 0);
    } else if (kind == QLatin1String("open")) {
        const QString other = h.dir.filePath(QStringLiteral("other.dat"));
        QVERIFY(writeFile(
            other, withRecords(baseImage(), 0,
                               channelRecords(1, {"500.00000", "88.5", "", kOff, "YES", "YES"}))));
        h.prompter.fileNames << other;
        h.window->N5Click();
    } else {
        ChannelTable rows = channelsOfImage(before);
        rows[6] = {QStringLiteral("480.00000"), QStringLiteral("71.9"),
                   QStringLiteral("481.00000"), kOff,
                   QStringLiteral("NO"),        QStringLiteral("YES")};
        const QString csv = h.dir.filePath(QStringLiteral("list.csv"));
        QVERIFY(writeFile(csv, formatChannelCsv(rows).toUtf8()));
        h.prompter.fileNames << csv;
        h.prompter.answers << true; // the preview
        action(h, "ImportCsv")->trigger();
    }
    // A list commits when its popup has closed.
    QTRY_VERIFY(h.fileBytes() != before);
    QCOMPARE(h.prompter.texts("error"), QStringList{});
    const QByteArray after = h.fileBytes();
    const QStringList afterView = view(h);
    QVERIFY(afterView != beforeView);
    QCOMPARE(h.window->findChild<EditHistory *>()->count(), 1); // one user action, one step

    // The keys go to whatever has the keyboard: the grid, a list or the window.
    Harness::key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(h.fileBytes(), before);
    QCOMPARE(view(h), beforeView);
    QVERIFY(!action(h, "EditUndo")->isEnabled());
    Harness::key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(h.fileBytes(), after);
    QCOMPARE(view(h), afterView);
    Harness::key(Qt::Key_Z, Qt::ControlModifier);
    Harness::key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(h.fileBytes(), after);
    QCOMPARE(h.window->findChild<EditHistory *>()->count(), 1);
}

void TestEditing::undoRestoresAShortImageAsANewWindowShowsIt() {
    // A new working file has no records; opening a full image and taking it back must not
    // leave the opened channels and settings on screen.
    Harness h(Language::Chinese, QByteArray(""));
    const QStringList empty = view(h);
    const QString other = h.dir.filePath(QStringLiteral("full.dat"));
    QVERIFY(writeFile(other, scanOnImage()));
    h.prompter.fileNames << other;
    h.window->N5Click();
    QVERIFY(view(h) != empty);
    action(h, "EditUndo")->trigger();
    QCOMPARE(h.fileBytes(), QByteArray(""));
    QCOMPARE(view(h), empty);
}

// Another program writes the working file behind the window: the next edit or undo shows
// that file as it is, says so, and neither overwrites it nor takes it back.
void TestEditing::changeByAnotherProgramIsKept_data() {
    QTest::addColumn<QString>("next");
    QTest::newRow("edit") << "edit";
    QTest::newRow("undo") << "undo";
    QTest::newRow("redo") << "redo";
}

void TestEditing::changeByAnotherProgramIsKept() {
    QFETCH(QString, next);
    Harness h(Language::English);
    Harness::pick(h.box("CB_BY"), 1);
    QTRY_COMPARE(h.window->findChild<EditHistory *>()->count(), 1);
    if (next == QLatin1String("redo"))
        action(h, "EditUndo")->trigger();
    const QByteArray theirs =
        withRecords(baseImage(), 0, channelRecords(1, {"462.01250", kOff, "", kOff, "NO", "NO"}));
    QVERIFY(writeFile(h.dat(), theirs));

    if (next == QLatin1String("edit"))
        Harness::pick(h.box("CB_BY"), 0);
    else
        action(h, next == QLatin1String("undo") ? "EditUndo" : "EditRedo")->trigger();
    QTRY_COMPARE(h.prompter.texts("error"), QStringList{englishWindowTexts().changedOnDisk});
    QCOMPARE(h.fileBytes(), theirs);
    QCOMPARE(h.channels().cell(ChannelGrid::RxFrequency, 1), QStringLiteral("462.01250"));
    QVERIFY(!action(h, "EditUndo")->isEnabled());
    QVERIFY(!action(h, "EditRedo")->isEnabled());
    // From here the window edits what the file holds.
    Harness::pick(h.box("CB_BY"), 1);
    QTRY_COMPARE(h.window->findChild<EditHistory *>()->count(), 1);
    QCOMPARE(h.fileBytes().left(24), theirs.left(24));
}

void TestEditing::clipboardRoundTrip_data() {
    QTest::addColumn<Language>("language");
    QTest::newRow("Chinese") << Language::Chinese;
    QTest::newRow("English") << Language::English;
}

void TestEditing::clipboardRoundTrip() {
    QFETCH(Language, language);
    const FlagWords words = flagWords(language);
    QByteArray image =
        withRecords(baseImage(), 2,
                    channelRecords(2, {"462.56250", "67.0", "463.00000", "250.3", "YES", "NO"}));
    image = withRecords(image, 4, channelRecords(3, {"470.00625", kOff, "", "88.5", "NO", "YES"}));
    Harness h(language, image);
    // Rows 2 to 4 by a click and a shift-click.
    h.clickCell(2, 3);
    QTest::mouseClick(h.grid()->viewport(), Qt::LeftButton, Qt::ShiftModifier, h.cellCentre(4, 5));
    Harness::key(Qt::Key_C, Qt::ControlModifier);
    const QString text = QGuiApplication::clipboard()->text();
    QCOMPARE(
        text.split(QLatin1Char('\n')).first(),
        QStringLiteral("2\t462.56250\t67.0\t463.00000\t250.3\t%1\t%2").arg(words.yes, words.no));
    QCOMPARE(text.count(QLatin1Char('\n')), 3);
    QVERIFY(text.split(QLatin1Char('\n'))
                .at(1)
                .startsWith(QStringLiteral("3\t470.00625\tOFF\t\t88.5\t")));

    // Back into channels 13 to 15, whatever numbers the rows carry.
    h.clickCell(13, 1);
    h.grid()->setFocus();
    Harness::key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(h.prompter.shown.size(), 0);
    const QByteArray bytes = h.fileBytes();
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(bytes.mid((12 + k) * 24 + 4, 8).toHex(), bytes.mid((1 + k) * 24 + 4, 8).toHex());
        QCOMPARE(bytes.mid((12 + k) * 24 + 16, 8).toHex(), bytes.mid((1 + k) * 24 + 16, 8).toHex());
        for (int c = 1; c <= 6; ++c)
            QCOMPARE(h.window->channelGrid().cell(c, 13 + k),
                     h.window->channelGrid().cell(c, 2 + k));
    }
    QCOMPARE(h.window->findChild<EditHistory *>()->count(), 1);
}

void TestEditing::pasteRejectsBadRows_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("firstChannel");
    QTest::addColumn<QStringList>("pasted"); // receive cell of each target channel afterwards
    QTest::addColumn<QStringList>("named");  // what the one message names
    QTest::newRow("out of range and snapped")
        << "9\t399\tOFF\t\tOFF\tNO\tNO\n9\t462.563\tOFF\t\tOFF\tNO\tNO\n"
        << 1 << QStringList{"451.00000", "462.56250"}
        << QStringList{"row 1 (channel 1): RxFrequency '399' is out of range"};
    QTest::newRow("tone, flag and columns")
        << "470\t88\t\tOFF\tNO\tNO\n471\tOFF\t\tOFF\tmaybe\tNO\n472\tOFF\n473\tOFF\t473\tOFF\tYES\t"
           "NO"
        << 2 << QStringList{"452.00000", "453.00000", "454.00000", "473.00000"}
        << QStringList{"row 1 (channel 2): RxTone '88' is not OFF",
                       "row 2 (channel 3): BusyLockout 'maybe' is not YES or NO",
                       "row 3 (channel 4): 2 columns, expected 6 or 7"};
    QTest::newRow("beyond channel 16")
        << "480\tOFF\t\tOFF\tNO\tNO\n481\tOFF\t\tOFF\tNO\tNO\n"
        << 16 << QStringList{"480.00000"}
        << QStringList{"row 2 (channel 17): there is no such channel"};
    QTest::newRow("an empty channel and a title row")
        << "CH.\tReceive F\tCTCSS\tTransmit F\tCTCSS\tBusy\tScan\n5\t\t\t\t\t\t\n"
        << 3 << QStringList{""} << QStringList{};
}

void TestEditing::pasteRejectsBadRows() {
    QFETCH(QString, text);
    QFETCH(int, firstChannel);
    QFETCH(QStringList, pasted);
    QFETCH(QStringList, named);
    Harness h(Language::English);
    QGuiApplication::clipboard()->setText(text);
    h.clickCell(firstChannel, 1);
    h.grid()->setFocus();
    Harness::key(Qt::Key_V, Qt::ControlModifier);
    for (int k = 0; k < pasted.size(); ++k)
        QCOMPARE(h.window->channelGrid().cell(1, firstChannel + k), pasted[k]);
    const QStringList messages = h.prompter.texts("message");
    if (named.isEmpty()) {
        QCOMPARE(messages, QStringList{});
        return;
    }
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].startsWith(englishWindowTexts().pasteRejected));
    QCOMPARE(messages[0].count(QLatin1Char('\n')), named.size());
    for (const QString &n : named)
        QVERIFY2(messages[0].contains(n), qPrintable(messages[0]));
}

void TestEditing::pasteLoneValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("shown");   // the cell afterwards
    QTest::addColumn<QString>("problem"); // the message names it; empty: none
    const QString none;
    QTest::newRow("frequency snapped") << "452.0166\n" << 4 << 3 << "452.01250" << none;
    QTest::newRow("tone of the list") << "88.5" << 4 << 2 << "88.5" << none;
    QTest::newRow("tone as a spreadsheet writes it") << "67" << 4 << 4 << "67.0" << none;
    QTest::newRow("flag") << "yes" << 4 << 6 << "YES" << none;
    QTest::newRow("receive frequency of an empty channel")
        << "470" << 14 << 1 << "470.00000" << none;
    QTest::newRow("not a tone") << "88" << 4 << 2 << "OFF"
                                << "RxTone '88' is not OFF";
    QTest::newRow("out of range") << "399" << 4 << 1 << "454.00000"
                                  << "RxFrequency '399' is out";
}

// A lone value goes into the current cell, checked as its channel pasted as a row would be.
void TestEditing::pasteLoneValue() {
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, shown);
    QFETCH(QString, problem);
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    QGuiApplication::clipboard()->setText(text);
    h.clickCell(row, column);
    h.grid()->setFocus();
    Harness::key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(h.window->channelGrid().cell(column, row), shown);
    QCOMPARE(cellsDifferingFromFile(*h.window, h.dat()), QStringList{});
    const QStringList messages = h.prompter.texts("message");
    QCOMPARE(messages.size(), problem.isEmpty() ? 0 : 1);
    if (!problem.isEmpty()) {
        QVERIFY2(messages[0].contains(problem), qPrintable(messages[0]));
        QCOMPARE(h.fileBytes(), before);
    }
}

void TestEditing::deleteInTheCellEditorEditsTheText() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(4, 1);
    h.grid()->setFocus();
    Harness::key(Qt::Key_Return); // opens the editor
    QVERIFY(h.channels().view()->editorOpen());
    Harness::key(Qt::Key_Home);
    Harness::key(Qt::Key_Delete);
    QCOMPARE(h.window->channelGrid().cell(1, 4), QStringLiteral("54.00000"));
    QCOMPARE(h.fileBytes(), before);
    QCOMPARE(h.window->channelGrid().cell(2, 4), kOff);
}

void TestEditing::csvExportAndImport() {
    Harness h(Language::Chinese);
    const QString csv = h.dir.filePath(QStringLiteral("out.csv"));
    h.prompter.fileNames << csv;
    action(h, "ExportCsv")->trigger();
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    f.close();
    QCOMPARE(text, exportChannelCsv(baseImage()));

    // Edited in a spreadsheet and read back: one step, checked as typing is.
    QString edited = text;
    edited.replace(QStringLiteral("13,,,,,,"), QStringLiteral("13,462.563,67,,OFF,yes,no"));
    QVERIFY(writeFile(csv, edited.toUtf8()));
    h.prompter.fileNames << csv;
    h.prompter.answers << true;
    action(h, "ImportCsv")->trigger();
    QCOMPARE(h.window->channelGrid().cell(1, 13), QStringLiteral("462.56250"));
    QCOMPARE(h.window->channelGrid().cell(2, 13), QStringLiteral("67.0"));
    QCOMPARE(h.window->channelGrid().cell(5, 13), chineseFlagWords().yes);
    QCOMPARE(h.prompter.texts("list").size(), 1); // the preview, with the raster note
    QVERIFY(h.prompter.texts("list").first().contains(QStringLiteral("第14行")));
    QCOMPARE(h.window->findChild<EditHistory *>()->count(), 1);
    action(h, "EditUndo")->trigger();
    QCOMPARE(h.fileBytes(), baseImage());
}

void TestEditing::rejectedCsvChangesNothing() {
    Harness h(Language::English);
    QString text = exportChannelCsv(baseImage());
    text.replace(QStringLiteral("2,452.00000,OFF"), QStringLiteral("2,399,OFF"));
    text.replace(QStringLiteral("3,453.00000,OFF"), QStringLiteral("3,453,99"));
    text.replace(QStringLiteral("1,451.00000,OFF"), QStringLiteral("1,460,OFF"));
    const QString csv = h.dir.filePath(QStringLiteral("bad.csv"));
    QVERIFY(writeFile(csv, text.toUtf8()));
    h.prompter.fileNames << csv;
    action(h, "ImportCsv")->trigger();
    QCOMPARE(h.fileBytes(), baseImage());
    QCOMPARE(h.window->channelGrid().cell(1, 1), QStringLiteral("451.00000"));
    QCOMPARE(h.window->findChild<EditHistory *>()->count(), 0);
    const QStringList messages = h.prompter.texts("list");
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages[0].startsWith(englishWindowTexts().importRejected));
    QVERIFY(messages[0].contains(QStringLiteral("line 3:")) &&
            messages[0].contains(QStringLiteral("line 4:")));
}

void TestEditing::openBackupStartsInTheBackupsFolder() {
    Harness h(Language::English);
    const QString folder = h.dir.filePath(QStringLiteral("backups"));
    QVERIFY(QDir().mkpath(folder));
    const QString old = folder + QStringLiteral("/radio-20260101-120000.dat");
    const QByteArray image = scanOnImage();
    QVERIFY(writeFile(old, image));
    h.prompter.fileNames << old;
    action(h, "OpenBackup")->trigger();
    QCOMPARE(h.prompter.shown.first().kind, QStringLiteral("open"));
    QCOMPARE(h.prompter.shown.first().caption, folder);
    QCOMPARE(h.fileBytes(), image);
    QCOMPARE(h.window->findChild<EditHistory *>()->count(), 1);
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
