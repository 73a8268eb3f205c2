// What a screen reader and a keyboard user get from the window, in both languages: every
// control named after its label, the grid as a table of 16 channels under its titles, the
// keys of the menu items, and the words of a transfer's phases.
#include "transferphase.h"
#include "windowharness.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

using namespace qx;
using namespace qx::test;

namespace {

QString nameOf(QObject *object) {
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

using TextOf = QString (*)(const WindowTexts &);

} // namespace

Q_DECLARE_METATYPE(TextOf)

class TestAccessible : public QObject {
    Q_OBJECT
private slots:
    void controlNames_data();
    void controlNames();
    void everyFocusableNamed_data() { languages(); }
    void everyFocusableNamed();
    void gridTable_data() { languages(); }
    void gridTable();
    void keysAndMenus_data() { languages(); }
    void keysAndMenus();
    void phaseLine_data();
    void phaseLine();

private:
    static void languages() {
        QTest::addColumn<Language>("language");
        QTest::newRow("Chinese") << Language::Chinese;
        QTest::newRow("English") << Language::English;
    }
};

void TestAccessible::controlNames_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("object");
    QTest::addColumn<TextOf>("name");
    QTest::addColumn<bool>("labelled"); // a label beside it is its buddy
    const std::initializer_list<std::tuple<const char *, TextOf, bool>> rows{
        {"CB_JQLX", [](const WindowTexts &t) { return t.modelLabel; }, true},
        {"f_box", [](const WindowTexts &t) { return t.bandLabel; }, true},
        {"CB_SM", [](const WindowTexts &t) { return t.scanMode; }, true},
        {"CB_YX", [](const WindowTexts &t) { return t.channelMode; }, true},
        {"CB_CH", [](const WindowTexts &t) { return t.priorityChannel; }, true},
        {"Edit1", [](const WindowTexts &t) { return t.carrierTime; }, true},
        {"Edit2", [](const WindowTexts &t) { return t.delayTime; }, true},
        {"Edit3", [](const WindowTexts &t) { return t.returnTime; }, true},
        {"CB_BY", [](const WindowTexts &t) { return t.beep; }, true},
        {"CB_SD", [](const WindowTexts &t) { return t.batterySave; }, true},
        {"CB_DP", [](const WindowTexts &t) { return t.squelch; }, true},
        {"CB_YY", [](const WindowTexts &t) { return t.voice; }, true},
        {"CB_JT", [](const WindowTexts &t) { return t.monitorKey; }, true},
        {"CB_CS", [](const WindowTexts &t) { return t.timeOut; }, true},
        {"SpinEdit1", [](const WindowTexts &t) { return t.power; }, true},
        {"Com", [](const WindowTexts &t) { return t.portLabel; }, true},
        {"CheckBox2", [](const WindowTexts &t) { return t.scanSelect; }, false},
        {"ToolButton7", [](const WindowTexts &t) { return t.tbRead; }, false},
        {"ToolButton13", [](const WindowTexts &t) { return t.tbStopHint; }, false},
        {"SpeedButton1", [](const WindowTexts &t) { return t.access.closePanel; }, false},
        {"StringGrid", [](const WindowTexts &t) { return t.access.grid; }, false},
        {"ToolBar1", [](const WindowTexts &t) { return t.access.toolBar; }, false},
        {"StatusBar1", [](const WindowTexts &t) { return t.access.statusBar; }, false},
        {"Gauge", [](const WindowTexts &t) { return t.access.progress; }, false},
        {"SpinButton3/up", [](const WindowTexts &t) { return t.access.spinUp.arg(t.returnTime); },
         false},
    };
    for (Language language : {Language::Chinese, Language::English})
        for (const auto &[object, name, labelled] : rows)
            QTest::addRow("%s %s", language == Language::English ? "English" : "Chinese", object)
                << language << QString::fromLatin1(object) << name << labelled;
}

void TestAccessible::controlNames() {
    QFETCH(Language, language);
    QFETCH(QString, object);
    QFETCH(TextOf, name);
    QFETCH(bool, labelled);
    Harness h(language);
    QObject *found = h.window.get();
    for (const QString &part : object.split(QLatin1Char('/')))
        found = found->findChild<QWidget *>(part);
    QVERIFY2(found, qPrintable(object));
    const QString expected = name(h.window->texts());
    QVERIFY(!expected.trimmed().isEmpty());
    QCOMPARE(nameOf(found), expected);
    if (!labelled)
        return;
    // Labelled by the label beside it first, not by the group box around it.
    const auto labels = QAccessible::queryAccessibleInterface(found)->relations(QAccessible::Label);
    QVERIFY(!labels.isEmpty());
    auto *label = qobject_cast<QLabel *>(labels.first().first->object());
    QVERIFY2(label, "the first label is no QLabel");
    QCOMPARE(label->text(), expected);
}

void TestAccessible::everyFocusableNamed() {
    QFETCH(Language, language);
    Harness h(language);
    for (QWidget *w : h.window->findChildren<QWidget *>()) {
        const QString what = w->objectName() + QLatin1Char(' ') + w->metaObject()->className();
        // The arrows of a time field are for the mouse; its Up and Down keys step it.
        if (w->parentWidget() && w->parentWidget()->inherits("qx::SpinButton"))
            QVERIFY2(w->focusPolicy() == Qt::NoFocus, qPrintable(what));
        if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() ||
            w->window() != h.window.get() || qobject_cast<QAbstractSpinBox *>(w->parentWidget()) ||
            w->parentWidget() == h.grid()->viewport())
            continue;
        const QString name = nameOf(w);
        QVERIFY2(!name.isEmpty(), qPrintable(what));
        QVERIFY2(!name.at(0).isSpace(), qPrintable(what));
    }
}

void TestAccessible::gridTable() {
    QFETCH(Language, language);
    Harness h(language);
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(h.grid());
    QVERIFY(grid);
    QAccessibleTableInterface *table = grid->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), kChannelCount);
    QCOMPARE(table->columnCount(), ChannelGrid::kColumns - 1);
    const auto &titles = h.window->texts().gridHeader;
    for (int c = 0; c < table->columnCount(); ++c) {
        // The titles without the spaces that centre them.
        QCOMPARE(table->columnDescription(c), titles[c + 1].simplified());
        const auto headers = table->cellAt(0, c)->tableCellInterface()->columnHeaderCells();
        QCOMPARE(headers.size(), 1);
        QCOMPARE(headers.first()->role(), QAccessible::ColumnHeader);
        QCOMPARE(headers.first()->text(QAccessible::Name), titles[c + 1].simplified());
    }
    for (int r = 0; r < table->rowCount(); ++r) {
        QAccessibleInterface *cell = table->cellAt(r, 0);
        const auto headers = cell->tableCellInterface()->rowHeaderCells();
        QCOMPARE(headers.size(), 1);
        QCOMPARE(headers.first()->text(QAccessible::Name), QString::number(r + 1));
        QCOMPARE(cell->tableCellInterface()->rowIndex(), r);
        // The view's focus events number the cells over the whole grid.
        QCOMPARE(grid->indexOfChild(cell), (r + 1) * ChannelGrid::kColumns + 1);
        QCOMPARE(grid->child((r + 1) * ChannelGrid::kColumns + 1), cell);
    }
    QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name), h.window->channelGrid().cell(1, 1));
    // The current cell is the focused child while the grid has the keyboard.
    h.grid()->setFocus();
    h.grid()->setCurrentCell(3, ChannelGrid::TxFrequency);
    QTRY_VERIFY(h.grid()->hasFocus());
    QAccessibleInterface *focused = grid->focusChild();
    QVERIFY(focused);
    QCOMPARE(focused, table->cellAt(2, ChannelGrid::TxFrequency - 1));
    QVERIFY(focused->state().focused);
}

void TestAccessible::keysAndMenus() {
    QFETCH(Language, language);
    Harness h(language);
    const std::initializer_list<std::pair<const char *, QKeySequence>> keys{
        {"N5", QKeySequence::Open},        {"N6", QKeySequence::Save},
        {"N8", QKeySequence::Print},       {"N10", QKeySequence::Quit},
        {"N11", QKeySequence(Qt::Key_F5)}, {"N12", QKeySequence(Qt::Key_F6)}};
    for (const auto &[name, key] : keys) {
        QAction *action = h.child<QAction>(name);
        QVERIFY2(!action->shortcut().isEmpty(), name);
        // Quit has no key on some platforms' tables; it has one here on every platform.
        if (!key.isEmpty())
            QCOMPARE(action->shortcut(), key);
    }
    QVERIFY(h.child<QToolButton>("ToolButton7")->toolTip().contains(QStringLiteral("F5")));
    QVERIFY(h.child<QToolButton>("ToolButton8")->toolTip().contains(QStringLiteral("F6")));
    // Every menu of the bar opens with Alt and its letter, each letter once.
    QSet<QChar> letters;
    for (QAction *menu : h.window->menuBar()->actions()) {
        const QString text = menu->text();
        const int at = text.indexOf(QLatin1Char('&'));
        QVERIFY2(at >= 0 && at + 1 < text.size(), qPrintable(text));
        QVERIFY2(!letters.contains(text.at(at + 1).toUpper()), qPrintable(text));
        letters.insert(text.at(at + 1).toUpper());
        if (language == Language::Chinese && text.at(0).unicode() > 0x2e80)
            QVERIFY2(text.endsWith(QLatin1Char(')')), qPrintable(text));
    }
    // F10 opens the first menu.
    QTest::keyClick(h.grid(), Qt::Key_F10);
    QTRY_VERIFY(h.child<QMenu>("N1")->isVisible());
    QTest::keyClick(h.child<QMenu>("N1"), Qt::Key_Escape);
    // The unused recent-file slots are not in the menu, where a screen reader would list
    // them.
    QMenu *file = h.child<QMenu>("N1");
    for (const char *slot : {"a1", "b1", "c1"})
        QVERIFY(!file->actions().contains(h.child<QAction>(slot)));
}

void TestAccessible::phaseLine_data() {
    QTest::addColumn<TransferJob::Phase>("phase");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");
    using P = TransferJob::Phase;
    QTest::newRow("read starts") << P::Read << 0 << "Reading block 1 of 35"
                                 << "正在读取：第1块，共35块";
    QTest::newRow("read: the handshake and 11 blocks answered")
        << P::Read << 12 << "Reading block 12 of 35"
        << "正在读取：第12块，共35块";
    QTest::newRow("read: the last block answered") << P::Read << 36 << "Reading block 35 of 35"
                                                   << "正在读取：第35块，共35块";
    QTest::newRow("checked read's second pass") << P::Read << 40 << "Checking block 5 of 35"
                                                << "正在校验：第5块，共35块";
    QTest::newRow("checked read asks again beyond 35")
        << P::Read << 200 << "Checking block 35 of 35"
        << "正在校验：第35块，共35块";
    QTest::newRow("write ends") << P::Write << 41 << "Writing block 35 of 35"
                                << "正在写入：第35块，共35块";
    QTest::newRow("verify") << P::Verify << 2 << "Verifying block 2 of 35"
                            << "正在读回校验：第2块，共35块";
    QTest::newRow("backup") << P::Backup << 1 << "Backing up the radio: block 1 of 35"
                            << "正在备份对讲机：第1块，共35块";
}

void TestAccessible::phaseLine() {
    QFETCH(TransferJob::Phase, phase);
    QFETCH(int, step);
    QFETCH(QString, english);
    QFETCH(QString, chinese);
    QCOMPARE(TransferPhase::line(englishAccessTexts(), phase, step), english);
    QCOMPARE(TransferPhase::line(chineseAccessTexts(), phase, step), chinese);
}

QTEST_MAIN(TestAccessible)
#include "tst_accessible.moc"
