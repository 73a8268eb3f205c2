#include "windowharness.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPointer>

using namespace qx;
using namespace qx::test;

namespace {

const QString kOff = QStringLiteral("OFF");

QString words(Language language, bool yes) {
    const FlagWords w = flagWords(language);
    return yes ? w.yes : w.no;
}

QString channelFrequency(int ch) {
    return QStringLiteral("%1.00000").arg(450 + ch);
}

QLineEdit *openEditor(const Harness &h) {
    for (QLineEdit *edit : h.grid()->viewport()->findChildren<QLineEdit *>())
        if (edit->isVisible())
            return edit;
    return nullptr;
}

} // namespace

class TestChannelGrid : public QObject {
    Q_OBJECT
private slots:
    void typedFrequency_data();
    void typedFrequency();
    void notANumberKeepsCellAndCurrent_data();
    void notANumberKeepsCellAndCurrent();
    void receiveFrequencyStartsChannel();
    void clearingReceiveCellBlanksRow();
    void transmitWithoutReceiveIsDropped();
    void toneCellOfEmptyChannel();
    void flagWordsSurviveReload_data();
    void flagWordsSurviveReload();
    void enterFocusesToneBox();
    void enterBringsBackCommittedBox_data();
    void enterBringsBackCommittedBox();
    void boxCoversCurrentCell();
    void unknownToneShowsNoSelection();
    void reloadShowsInVisibleBox();
    void ignoredKeys_data();
    void ignoredKeys();
    void escapeAndTabKeepTypedText();
    void pendingTextCheckedBeforeBoxCommit();
    void fixedCellsNeverCurrent();
    void dragSelectsWithoutMoving();
    void typingRightAfterClickOnCurrentCell();
    void editorOutlivesDeactivation();
    void loadReplacesTypedText();
    void writeAndSaveStoreTypedText_data();
    void writeAndSaveStoreTypedText();
    void listCommitsIntoItsOwnRow();
};

void TestChannelGrid::typedFrequency_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("commit"); // how the cell is left
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("outOfRange");

    QTest::newRow("450") << Language::Chinese << "450"
                         << "enter"
                         << "450.00000" << false;
    QTest::newRow("450.0125") << Language::English << "450.0125"
                              << "enter"
                              << "450.01250" << false;
    QTest::newRow("450.012512") << Language::Chinese << "450.012512"
                                << "down"
                                << "450.01250" << false;
    QTest::newRow("400") << Language::English << "400"
                         << "click"
                         << "400.00000" << false;
    QTest::newRow("399.99999") << Language::Chinese << "399.99999"
                               << "enter"
                               << "450.01250" << true;
    QTest::newRow("513") << Language::English << "513"
                         << "up"
                         << "450.01250" << true;
    QTest::newRow("512.99999") << Language::Chinese << "512.99999"
                               << "click"
                               << "512.99375" << false;
    QTest::newRow("450.01660") << Language::English << "450.01660"
                               << "enter"
                               << "450.01250" << false;
    QTest::newRow("450.00700") << Language::Chinese << "450.00700"
                               << "down"
                               << "450.00625" << false;
}

// Channel 3, receive cell: type, commit, and compare the whole file.
void TestChannelGrid::typedFrequency() {
    QFETCH(Language, language);
    QFETCH(QString, typed);
    QFETCH(QString, commit);
    QFETCH(QString, stored);
    QFETCH(bool, outOfRange);

    Harness h(language);
    const QByteArray before = h.fileBytes();
    h.clickCell(3, 1);
    h.grid()->setFocus();
    Harness::type(typed);
    QCOMPARE(h.window->channelGrid().cell(1, 3), typed); // every keystroke reaches the cell
    QCOMPARE(h.fileBytes(), before);                     // nothing stored while typing

    QPoint expectedCurrent(1, 3);
    if (commit == QLatin1String("enter")) {
        Harness::key(Qt::Key_Return);
    } else if (commit == QLatin1String("down")) {
        Harness::key(Qt::Key_Down);
        expectedCurrent = {1, 4};
    } else if (commit == QLatin1String("up")) {
        Harness::key(Qt::Key_Up);
        expectedCurrent = {1, 2};
    } else {
        h.clickCell(5, 3);
        expectedCurrent = {3, 5};
    }

    QCOMPARE(h.prompter.texts(QStringLiteral("message")),
             outOfRange ? QStringList{h.window->texts().outOfRange} : QStringList{});
    QCOMPARE(h.prompter.texts(QStringLiteral("error")), QStringList{});
    QCOMPARE(h.window->channelGrid().cell(1, 3), stored);
    QCOMPARE(h.current(), expectedCurrent);
    const QString tx = channelFrequency(3), no = words(language, false);
    QCOMPARE(h.fileBytes(),
             withRecords(before, 4, channelRecords(3, {stored, kOff, tx, kOff, no, no})));
}

void TestChannelGrid::notANumberKeepsCellAndCurrent_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("commit");
    QTest::newRow("lone point, enter") << "."
                                       << "enter";
    QTest::newRow("two points, arrow") << "450..1"
                                       << "down";
    QTest::newRow("two points, click") << "4.5.0"
                                       << "click";
}

void TestChannelGrid::notANumberKeepsCellAndCurrent() {
    QFETCH(QString, typed);
    QFETCH(QString, commit);
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(2, 3);
    h.grid()->setFocus();
    Harness::type(typed);
    if (commit == QLatin1String("enter"))
        Harness::key(Qt::Key_Return);
    else if (commit == QLatin1String("down"))
        Harness::key(Qt::Key_Down);
    else
        h.clickCell(6, 4);

    QCOMPARE(h.prompter.texts(QStringLiteral("error")),
             QStringList{QStringLiteral("'%1' is not a valid floating point value").arg(typed)});
    QCOMPARE(h.window->channelGrid().cell(3, 2), typed);
    QCOMPARE(h.current(), QPoint(3, 2));
    QCOMPARE(h.fileBytes(), before);
    QVERIFY(h.grid()->selectionModel()->isSelected(h.grid()->currentIndex()));
}

void TestChannelGrid::receiveFrequencyStartsChannel() {
    Harness h(Language::Chinese);
    const QByteArray before = h.fileBytes();
    h.clickCell(14, 1);
    h.grid()->setFocus();
    Harness::type(QStringLiteral("460"));
    Harness::key(Qt::Key_Return);
    const QString no = words(Language::Chinese, false);
    QCOMPARE(h.window->channelGrid().cell(1, 14), QStringLiteral("460.00000"));
    QCOMPARE(h.window->channelGrid().cell(2, 14), kOff);
    QCOMPARE(h.window->channelGrid().cell(3, 14), QString());
    QCOMPARE(h.window->channelGrid().cell(4, 14), kOff);
    QCOMPARE(h.window->channelGrid().cell(5, 14), no);
    QCOMPARE(h.window->channelGrid().cell(6, 14), no);
    QCOMPARE(h.fileBytes(),
             withRecords(before, 26, channelRecords(14, {"460.00000", kOff, "", kOff, no, no})));
}

void TestChannelGrid::clearingReceiveCellBlanksRow() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(5, 1);
    h.grid()->setFocus();
    Harness::key(Qt::Key_Backspace); // opens the editor on the whole text and clears it
    QCOMPARE(h.window->channelGrid().cell(1, 5), QString());
    Harness::key(Qt::Key_Up);
    for (int c = 1; c <= 6; ++c)
        QCOMPARE(h.window->channelGrid().cell(c, 5), QString());
    QCOMPARE(h.current(), QPoint(1, 4));
    QCOMPARE(h.fileBytes(), withRecords(before, 8,
                                        hexBytes("57 00 50 08 FF FF FF FF FF FF FF FF"
                                                 "57 00 58 08 FF FF FF FF FB FF FF FF")));
}

void TestChannelGrid::transmitWithoutReceiveIsDropped() {
    Harness h(Language::Chinese);
    const QByteArray before = h.fileBytes();
    // The receive cell of channel 4 is cleared but kept current while a transmit
    // frequency is typed: the editor is left with Tab, so nothing is committed.
    h.clickCell(4, 3);
    h.grid()->setFocus();
    Harness::type(QStringLiteral("470"));
    Harness::key(Qt::Key_Tab);
    h.channels().setCell(1, 4, QString()); // as a row loaded with only a transmit frequency
    h.grid()->setFocus();
    Harness::key(Qt::Key_Return);
    for (int c = 1; c <= 6; ++c)
        QCOMPARE(h.window->channelGrid().cell(c, 4), QString());
    QCOMPARE(h.fileBytes(),
             withRecords(before, 6,
                         channelRecords(4, {"", kOff, "", kOff, words(Language::Chinese, false),
                                            words(Language::Chinese, false)})));
}

void TestChannelGrid::toneCellOfEmptyChannel() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(15, 2);
    QCOMPARE(h.current(), QPoint(1, 15));
    for (const char *name : {"RX_BOX", "TX_BOX", "box1", "box2"})
        QVERIFY2(!h.box(name)->isVisible(), name);
    QCOMPARE(h.fileBytes(), before); // leaving channel 1 stored it unchanged
    QVERIFY(h.prompter.shown.isEmpty());
}

void TestChannelGrid::flagWordsSurviveReload_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("flagsByte");
    QTest::newRow("English busy") << Language::English << 5 << 0xFA;
    QTest::newRow("English scan") << Language::English << 6 << 0xF9;
    QTest::newRow("Chinese busy") << Language::Chinese << 5 << 0xFA;
    QTest::newRow("Chinese scan") << Language::Chinese << 6 << 0xF9;
}

void TestChannelGrid::flagWordsSurviveReload() {
    QFETCH(Language, language);
    QFETCH(int, column);
    QFETCH(int, flagsByte);
    Harness h(language);
    const QByteArray before = h.fileBytes();
    h.clickCell(7, column);
    QComboBox *box = h.box(column == 5 ? "box1" : "box2");
    QVERIFY(box->isVisible());
    QCOMPARE(box->currentText(), words(language, false));
    Harness::pick(box, 1);
    QTRY_VERIFY(!box->isVisible());
    QCOMPARE(h.window->channelGrid().cell(column, 7), words(language, true));
    QByteArray expected = before;
    expected[13 * MemoryFrame::kSize + 8] = char(flagsByte); // record 13, data byte 4
    QCOMPARE(h.fileBytes(), expected);
    QCOMPARE(h.current(), QPoint(column, 7));
}

void TestChannelGrid::enterFocusesToneBox() {
    Harness h(Language::Chinese);
    const QByteArray before = h.fileBytes();
    h.clickCell(2, 4);
    h.grid()->setFocus();
    QComboBox *tx = h.box("TX_BOX");
    QVERIFY(tx->isVisible());
    QVERIFY(!tx->hasFocus()); // shown, not focused
    Harness::key(Qt::Key_Return);
    QVERIFY(tx->hasFocus());
    QCOMPARE(tx->currentText(), kOff);
    Harness::key(Qt::Key_Down);
    Harness::key(Qt::Key_Down);
    QCOMPARE(h.fileBytes(), before); // moving through the list stores nothing
    Harness::key(Qt::Key_Return);
    QVERIFY(!tx->isVisible());
    QVERIFY(h.grid()->hasFocus());
    QCOMPARE(h.window->channelGrid().cell(4, 2), QStringLiteral("71.9"));
    QByteArray expected = before;
    expected[3 * MemoryFrame::kSize + 6] = char(0x19);
    expected[3 * MemoryFrame::kSize + 7] = char(0x07);
    QCOMPARE(h.fileBytes(), expected);
}

void TestChannelGrid::enterBringsBackCommittedBox_data() {
    QTest::addColumn<QString>("commit");
    QTest::newRow("list closed") << "pick";
    QTest::newRow("enter in the box") << "enter";
}

// A commit hides the box but leaves its cell current; Enter in the grid shows it again.
void TestChannelGrid::enterBringsBackCommittedBox() {
    QFETCH(QString, commit);
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(2, 2);
    QComboBox *rx = h.box("RX_BOX");
    if (commit == QLatin1String("pick")) {
        Harness::pick(rx, 1);
    } else {
        h.grid()->setFocus();
        Harness::key(Qt::Key_Return);
        Harness::key(Qt::Key_Down);
        Harness::key(Qt::Key_Return);
    }
    QTRY_VERIFY(!rx->isVisible());
    QCOMPARE(h.window->channelGrid().cell(2, 2), QStringLiteral("67.0"));
    QCOMPARE(h.current(), QPoint(2, 2));

    h.grid()->setFocus();
    Harness::key(Qt::Key_Return);
    QVERIFY(rx->isVisible());
    QVERIFY(rx->hasFocus());
    QCOMPARE(rx->currentText(), QStringLiteral("67.0"));
    Harness::key(Qt::Key_Down);
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.window->channelGrid().cell(2, 2), QStringLiteral("71.9"));
    QByteArray expected = before;
    expected[3 * MemoryFrame::kSize + 4] = char(0x19);
    expected[3 * MemoryFrame::kSize + 5] = char(0x07);
    QCOMPARE(h.fileBytes(), expected);
}

void TestChannelGrid::boxCoversCurrentCell() {
    Harness h(Language::English);
    QWidget *frame = &h.channels(); // the lists' parent
    for (int column : {2, 4, 5, 6}) {
        h.clickCell(9, column);
        const char *name = column == 2   ? "RX_BOX"
                           : column == 4 ? "TX_BOX"
                           : column == 5 ? "box1"
                                         : "box2";
        QComboBox *box = h.box(name);
        QVERIFY(box->isVisible());
        const QRect cell = h.grid()->visualRect(h.grid()->model()->index(9, column));
        QCOMPARE(box->pos(), h.grid()->viewport()->mapTo(frame, cell.topLeft()));
        int visible = 0;
        for (const char *other : {"RX_BOX", "TX_BOX", "box1", "box2"})
            visible += h.box(other)->isVisible() ? 1 : 0;
        QCOMPARE(visible, 1);
    }
    h.clickCell(9, 3);
    for (const char *other : {"RX_BOX", "TX_BOX", "box1", "box2"})
        QVERIFY(!h.box(other)->isVisible());
}

void TestChannelGrid::unknownToneShowsNoSelection() {
    QByteArray image = baseImage();
    image[7 * MemoryFrame::kSize + 4] = char(0x50); // channel 4 receive tone 5.0 Hz
    image[7 * MemoryFrame::kSize + 5] = char(0x00);
    Harness h(Language::English, image);
    QCOMPARE(h.window->channelGrid().cell(2, 4), QStringLiteral("5.0"));
    h.clickCell(4, 2);
    QComboBox *rx = h.box("RX_BOX");
    QVERIFY(rx->isVisible());
    QCOMPARE(rx->currentIndex(), -1);
    QCOMPARE(h.fileBytes(), image);
    // Opening and closing the list without a pick stores the tone as off.
    QTest::mouseClick(rx, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(rx->view()->window()));
    QTest::keyClick(rx->view(), Qt::Key_Escape);
    QTRY_VERIFY(!rx->isVisible());
    QCOMPARE(h.window->channelGrid().cell(2, 4), kOff);
    QByteArray expected = image;
    expected[7 * MemoryFrame::kSize + 4] = char(0xFF);
    expected[7 * MemoryFrame::kSize + 5] = char(0xFF);
    QCOMPARE(h.fileBytes(), expected);
}

// A file read or opened while a list lies over a cell: the list shows the loaded value,
// and closing it without a pick keeps that value.
void TestChannelGrid::reloadShowsInVisibleBox() {
    Harness h(Language::English);
    h.clickCell(3, 6);
    QComboBox *scan = h.box("box2");
    QCOMPARE(scan->currentText(), QStringLiteral("NO"));
    const QByteArray loaded =
        withRecords(h.fileBytes(), 4,
                    channelRecords(3, {"453.00000", "67.0", "453.00000", kOff, QStringLiteral("NO"),
                                       QStringLiteral("YES")}));
    QFile f(h.dat());
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(loaded), loaded.size());
    f.close();
    h.window->ReadAndDeal_F();
    QVERIFY(scan->isVisible());
    QCOMPARE(scan->currentText(), QStringLiteral("YES"));

    QTest::mouseClick(scan, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(scan->view()->window()));
    QTest::keyClick(scan->view(), Qt::Key_Escape);
    QTRY_VERIFY(!scan->isVisible());
    QCOMPARE(h.window->channelGrid().cell(6, 3), QStringLiteral("YES"));
    QCOMPARE(h.fileBytes(), loaded);
}

void TestChannelGrid::ignoredKeys_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("keys");
    QTest::newRow("letters in a frequency cell") << 1 << "ab x";
    QTest::newRow("digits in a tone cell") << 2 << "67.0";
    QTest::newRow("digits in a flag cell") << 5 << "1";
    // Delete, cut and paste in the list cells are the Edit menu's channel commands now
    // (tst_editing): they never edit the one cell.
}

void TestChannelGrid::ignoredKeys() {
    QFETCH(int, column);
    QFETCH(QString, keys);
    Harness h(Language::Chinese);
    const QByteArray before = h.fileBytes();
    QApplication::clipboard()->setText(QStringLiteral("123"));
    h.clickCell(6, column);
    h.grid()->setFocus();
    const QString original = h.window->channelGrid().cell(column, 6);
    Harness::type(keys);
    QCOMPARE(h.window->channelGrid().cell(column, 6), original);
    QCOMPARE(h.current(), QPoint(column, 6));
    QCOMPARE(h.fileBytes(), before);
    QVERIFY(h.prompter.shown.isEmpty());
}

void TestChannelGrid::escapeAndTabKeepTypedText() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(8, 3);
    h.grid()->setFocus();
    Harness::type(QStringLiteral("47"));
    Harness::key(Qt::Key_Escape);
    QCOMPARE(h.window->channelGrid().cell(3, 8), QStringLiteral("47"));
    Harness::type(QStringLiteral("1"));
    QCOMPARE(h.window->channelGrid().cell(3, 8), QStringLiteral("471"));
    Harness::key(Qt::Key_Tab);
    QVERIFY(!h.grid()->isAncestorOf(QApplication::focusWidget()));
    QVERIFY(QApplication::focusWidget() != h.grid());
    QVERIFY(openEditor(h)); // a closed editor would leave the cell showing what is not stored
    QCOMPARE(h.window->channelGrid().cell(3, 8), QStringLiteral("471"));
    QCOMPARE(h.current(), QPoint(3, 8));
    QCOMPARE(h.fileBytes(), before);
    // Back in the grid, leaving the cell stores what was typed.
    h.clickCell(8, 1);
    QCOMPARE(h.window->channelGrid().cell(3, 8), QStringLiteral("471.00000"));
    const QString no = words(Language::English, false);
    QCOMPARE(h.fileBytes(), withRecords(before, 14,
                                        channelRecords(8, {channelFrequency(8), kOff, "471.00000",
                                                           kOff, no, no})));
}

// A frequency still in the editor when a drop-down of its row commits is checked first.
void TestChannelGrid::pendingTextCheckedBeforeBoxCommit() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(10, 1);
    h.grid()->setFocus();
    Harness::type(QStringLiteral("460.0166"));
    QComboBox *rx = h.box("RX_BOX");
    rx->setCurrentIndex(1); // "67.0"
    QVERIFY(QMetaObject::invokeMethod(&h.channels(), "RX_BOXCloseUp"));
    QCOMPARE(h.window->channelGrid().cell(1, 10), QStringLiteral("460.01250"));
    QCOMPARE(h.window->channelGrid().cell(2, 10), QStringLiteral("67.0"));
    const QString no = words(Language::English, false);
    QCOMPARE(h.fileBytes(), withRecords(before, 18,
                                        channelRecords(10, {"460.01250", "67.0",
                                                            channelFrequency(10), kOff, no, no})));

    // Text that is not a number stops the commit: nothing stored, cell kept.
    h.clickCell(11, 1);
    h.grid()->setFocus();
    const QByteArray second = h.fileBytes();
    Harness::type(QStringLiteral(".."));
    QVERIFY(QMetaObject::invokeMethod(&h.channels(), "RX_BOXCloseUp"));
    QCOMPARE(h.prompter.texts(QStringLiteral("error")),
             QStringList{QStringLiteral("'..' is not a valid floating point value")});
    QCOMPARE(h.window->channelGrid().cell(1, 11), QStringLiteral(".."));
    QCOMPARE(h.window->channelGrid().cell(2, 11), kOff);
    QCOMPARE(h.fileBytes(), second);
}

void TestChannelGrid::fixedCellsNeverCurrent() {
    Harness h(Language::Chinese);
    h.clickCell(5, 2);
    h.clickCell(0, 3);
    QCOMPARE(h.current(), QPoint(2, 5));
    h.clickCell(7, 0); // a channel's number: its row, from the receive cell
    QCOMPARE(h.current(), QPoint(1, 7));
    h.grid()->setFocus();
    Harness::key(Qt::Key_Left);
    Harness::key(Qt::Key_Left);
    Harness::key(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(h.current(), QPoint(1, 1));
}

// A drag selects the range but leaves the current cell, so no cell is committed mid-drag.
void TestChannelGrid::dragSelectsWithoutMoving() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    QWidget *viewport = h.grid()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, h.cellCentre(2, 1));
    QTest::mouseMove(viewport, h.cellCentre(4, 3));
    QTest::mouseMove(viewport, h.cellCentre(6, 5));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, h.cellCentre(6, 5));
    QCOMPARE(h.current(), QPoint(1, 2));
    QCOMPARE(h.grid()->selectedItems().size(), 5 * 5);
    QCOMPARE(h.channels().selectedChannels(), (QList<int>{2, 3, 4, 5, 6}));
    for (const char *name : {"RX_BOX", "TX_BOX", "box1", "box2"})
        QVERIFY2(!h.box(name)->isVisible(), name);
    QCOMPARE(h.fileBytes(), before);
}

// Qt's editor for a click on the current cell waited out the double-click interval and
// dropped every key typed meanwhile; Enter then stored the old text. The click opens no
// editor; the first digit does, and is kept.
void TestChannelGrid::typingRightAfterClickOnCurrentCell() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(3, 1);
    h.grid()->setFocus();
    h.clickCell(3, 1);
    QVERIFY(!openEditor(h));
    Harness::type(QStringLiteral("452.0125"));
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.window->channelGrid().cell(1, 3), QStringLiteral("452.01250"));
    const QString no = words(Language::English, false);
    QCOMPARE(h.fileBytes(), withRecords(before, 4,
                                        channelRecords(3, {"452.01250", kOff, channelFrequency(3),
                                                           kOff, no, no})));
    QCOMPARE(cellsDifferingFromFile(*h.window, h.dat()), QStringList{});
}

// The window losing activation in the middle of typing (a box, another window) leaves
// the editor open; typing goes on when the window is active again.
void TestChannelGrid::editorOutlivesDeactivation() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(3, 1);
    h.grid()->setFocus();
    Harness::type(QStringLiteral("452.0"));
    const QPointer<QLineEdit> editor = openEditor(h);
    QVERIFY(editor);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(editor && editor == openEditor(h));
    QCOMPARE(editor->text(), QStringLiteral("452.0"));
    QCOMPARE(h.fileBytes(), before);
    QApplication::setActiveWindow(h.window.get());
    QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
    QCOMPARE(QApplication::focusWidget(), editor.data());
    Harness::type(QStringLiteral("125"));
    Harness::key(Qt::Key_Return);
    QCOMPARE(h.window->channelGrid().cell(1, 3), QStringLiteral("452.01250"));
    QCOMPARE(cellsDifferingFromFile(*h.window, h.dat()), QStringList{});
}

// A load shows what is stored, in a cell left with typed text and in an open editor.
void TestChannelGrid::loadReplacesTypedText() {
    Harness h(Language::English);
    h.clickCell(8, 3);
    h.grid()->setFocus();
    Harness::type(QStringLiteral("47"));
    Harness::key(Qt::Key_Tab);
    QVERIFY(h.channels().holdsTypedText(3, 8));
    h.window->ReadAndDeal_F();
    QVERIFY(!h.channels().holdsTypedText(3, 8));
    QCOMPARE(h.window->channelGrid().cell(3, 8), channelFrequency(8));

    h.grid()->setFocus();
    Harness::type(QStringLiteral("4"));
    QVERIFY(openEditor(h));
    h.window->ReadAndDeal_F();
    QCOMPARE(openEditor(h)->text(), channelFrequency(8));
    QVERIFY(!h.channels().holdsTypedText(3, 8));
    QCOMPARE(cellsDifferingFromFile(*h.window, h.dat()), QStringList{});
}

void TestChannelGrid::writeAndSaveStoreTypedText_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("typed");
    QTest::newRow("write") << "write"
                           << "471";
    QTest::newRow("save") << "save"
                          << "471";
    QTest::newRow("write, not a number") << "write"
                                         << "..";
    QTest::newRow("save, not a number") << "save"
                                        << "..";
}

// Text typed into a cell and left with Tab is stored before the file is sent or saved.
void TestChannelGrid::writeAndSaveStoreTypedText() {
    QFETCH(QString, command);
    QFETCH(QString, typed);
    const bool number = typed != QLatin1String("..");
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(8, 3);
    h.grid()->setFocus();
    Harness::type(typed);
    Harness::key(Qt::Key_Tab);
    const QString saved = h.dir.filePath(QStringLiteral("saved.dat"));
    if (command == QLatin1String("write")) {
        h.window->N12Click();
        QCOMPARE(h.sio.calls.isEmpty(), !number); // the transfer tried the port
    } else {
        h.prompter.fileNames = {saved};
        h.window->N6Click();
        QCOMPARE(QFile::exists(saved), number);
    }
    if (!number) {
        QCOMPARE(h.prompter.texts(QStringLiteral("error")),
                 QStringList{QStringLiteral("'..' is not a valid floating point value")});
        QCOMPARE(h.fileBytes(), before);
        return;
    }
    const QString no = words(Language::English, false);
    QCOMPARE(h.fileBytes(), withRecords(before, 14,
                                        channelRecords(8, {channelFrequency(8), kOff, "471.00000",
                                                           kOff, no, no})));
    QCOMPARE(cellsDifferingFromFile(*h.window, h.dat()), QStringList{});
}

// A click that closes a list and moves the current cell before the close is told still
// leaves the pick in the row the list was opened over.
void TestChannelGrid::listCommitsIntoItsOwnRow() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    h.clickCell(5, 2);
    Harness::pick(h.box("RX_BOX"), 1); // "67.0"; its close is told from the event queue
    h.clickCell(7, 4);
    QCOMPARE(h.current(), QPoint(4, 7));
    QTRY_COMPARE(h.window->channelGrid().cell(2, 5), QStringLiteral("67.0"));
    QCOMPARE(h.window->channelGrid().cell(2, 7), kOff);
    const QString no = words(Language::English, false);
    QCOMPARE(h.fileBytes(), withRecords(before, 8,
                                        channelRecords(5, {channelFrequency(5), "67.0",
                                                           channelFrequency(5), kOff, no, no})));
    QVERIFY(h.box("TX_BOX")->isVisible());
    QVERIFY(!h.box("RX_BOX")->isVisible());
}

QTEST_MAIN(TestChannelGrid)
#include "tst_channelgrid.moc"
