// The window as a person uses it: a real X server with a window manager, real mouse and
// key events from xdotool (at a person's pace), real message boxes and file dialogs, and
// the emulated radio on a pseudo-terminal. After each step every grid cell and the
// settings are compared with a decode of the working file.
#include "edithistory.h"
#include "emulatedradio.h"
#include "ptini.h"
#include "qtprompter.h"
#include "qtsio.h"
#include "transfer.h"
#include "windowharness.h"
#include "xsession.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>

using namespace qx;
using namespace qx::test;

namespace {

// What xdotool printed, its first line; empty when it failed.
QString xdotoolOutput(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForStarted(5000) ||
        !QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 20000) ||
        p.exitCode() != 0)
        return {};
    return QString::fromLatin1(p.readAllStandardOutput()).section('\n', 0, 0).trimmed();
}

// The frame the window manager draws around a window, from _NET_FRAME_EXTENTS; none
// until it has said.
QMargins frameExtents(WId window) {
    QProcess p;
    p.start(QStringLiteral("xprop"),
            {QStringLiteral("-id"), QString::number(window), QStringLiteral("_NET_FRAME_EXTENTS")});
    if (!p.waitForFinished(5000))
        return {};
    const QString out = QString::fromLatin1(p.readAllStandardOutput());
    const QStringList n = out.section(QLatin1Char('='), 1).split(QLatin1Char(','));
    if (!out.contains(QLatin1Char('=')) || n.size() != 4)
        return {};
    return {n[0].trimmed().toInt(), n[2].trimmed().toInt(), n[1].trimmed().toInt(),
            n[3].trimmed().toInt()};
}

// The program itself, copied into a folder of its own with the English window and the
// emulated radio as its port; its window is found by its title once the splash has gone.
class Program {
public:
    ~Program() {
        m_run.kill();
        m_run.waitForFinished(3000);
    }
    bool start(const QString &device) {
        const QString program = m_folder.filePath(QStringLiteral("qx7420"));
        if (!QFile::copy(QStringLiteral(QX_PROGRAM), program))
            return false;
        PtIni(m_folder.filePath(QStringLiteral("pt.ini")))
            .writeString(QStringLiteral("LG"), QStringLiteral("LG"), QStringLiteral("E"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QX7420_DEVICE"), device);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_run.setProcessEnvironment(env);
        m_run.start(program, {});
        if (!m_run.waitForStarted())
            return false;
        m_pid = QString::number(m_run.processId());
        // The window is built while the splash shows; the splash goes first.
        const bool shown = QTest::qWaitFor(
            [&] {
                m_window = box(QStringLiteral("^TALVIK"), false);
                return !m_window.isEmpty() && box(QStringLiteral("^cover$"), false).isEmpty();
            },
            15000);
        return shown && xdotool({"windowactivate", "--sync", m_window});
    }
    // A visible window of the program by its title; waits for it unless told not to.
    QString box(const QString &title, bool wait = true) const {
        QStringList args{"search"};
        if (wait)
            args << QStringLiteral("--sync");
        return xdotoolOutput(args << "--all"
                                  << "--onlyvisible"
                                  << "--pid" << m_pid << "--name" << title);
    }
    bool clickAt(QPoint p) const {
        return xdotool({"mousemove", "--window", m_window, QString::number(p.x()),
                        QString::number(p.y()), "click", "1"});
    }
    QByteArray datBytes() const {
        return readFile(m_folder.filePath(QStringLiteral("r_and_w.dat")));
    }
    bool running() const { return m_run.state() == QProcess::Running; }

private:
    QTemporaryDir m_folder;
    QProcess m_run;
    QString m_pid;
    QString m_window;
};

} // namespace

class TestRealInput : public QObject {
    Q_OBJECT

    RadioEmulator m_emu;
    std::unique_ptr<QtSio> m_sio;
    QtPrompter m_prompter;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Answerer> m_answers;
    std::unique_ptr<MainWindow> m_window;

    QByteArray fileBytes() const {
        return readFile(m_dir->filePath(QStringLiteral("r_and_w.dat")));
    }
    template <typename T = QWidget> T *child(const char *name) const {
        T *c = m_window->findChild<T *>(QLatin1String(name));
        if (!c)
            qFatal("no %s", name);
        return c;
    }
    QTableWidget *grid() const { return child<QTableWidget>("StringGrid"); }

    // Input, each step waiting for xdotool to finish while the window reacts.
    static bool click(QWidget *w, QPoint at = {-1, -1}, const QString &button = "1") {
        const QPoint global = w->mapToGlobal(at.x() < 0 ? w->rect().center() : at);
        // A second click on the same spot is another click, not a double click.
        if (QCursor::pos() == global)
            QTest::qWait(QApplication::doubleClickInterval() + 100);
        return xdotool(moveTo(global) << "click" << button);
    }
    bool clickCell(int row, int column) const {
        return click(grid()->viewport(),
                     grid()->visualRect(grid()->model()->index(row, column)).center());
    }
    // Presses on one cell, moves to another and lets go there.
    bool dragCells(int row, int column, int toRow, int toColumn) const {
        auto at = [this](int r, int c) {
            return grid()->viewport()->mapToGlobal(
                grid()->visualRect(grid()->model()->index(r, c)).center());
        };
        return drag(at(row, column), at(toRow, toColumn));
    }
    // Presses at one point of the screen, moves to another and lets go there.
    static bool drag(QPoint from, QPoint to) {
        return xdotool(moveTo(from) << "mousedown"
                                    << "1" << moveTo(to) << "mouseup"
                                    << "1");
    }
    static bool type(const QString &text) { return xdotool({"type", "--delay", "60", text}); }
    static bool key(const QString &keys) {
        return xdotool(QStringList{"key", "--delay", "60"} + keys.split(' '));
    }
    // Opens a list with a click and picks an item with the arrow keys and Enter.
    static bool pick(QComboBox *box, int index) {
        const int from = box->currentIndex();
        if (!click(box) || !QTest::qWaitFor([box] { return box->view()->isVisible(); }, 5000))
            return false;
        QStringList keys{"key", "--delay", "60"};
        for (int i = from; i != index; i += index > from ? 1 : -1)
            keys << (index > from ? "Down" : "Up");
        return xdotool(keys << "Return");
    }
    // Another item than the one shown.
    static int otherItem(const QComboBox *box) { return box->currentIndex() == 1 ? 0 : 1; }

    // The settings the panel shows against the stored blocks.
    QStringList settingsDifferingFromFile() const {
        const QByteArray image = fileBytes();
        auto index = [this](const char *name) { return child<QComboBox>(name)->currentIndex(); };
        Block03C0Values c;
        c.beep = index("CB_BY");
        c.batterySave = index("CB_SD");
        c.squelch = index("CB_DP");
        c.monitorKey = index("CB_JT");
        c.timeOut = index("CB_CS");
        Block03F0Values f;
        f.voice = index("CB_YY");
        f.carrierTime = child<QLineEdit>("Edit1")->text();
        f.power = child<QSpinBox>("SpinEdit1")->value();
        f.delayTime = child<QLineEdit>("Edit2")->text();
        f.returnTime = child<QLineEdit>("Edit3")->text();
        f.scanOn = child<QCheckBox>("CheckBox2")->isChecked();
        f.scanMode = index("CB_SM");
        f.channelMode = index("CB_YX");
        f.priorityChannel = index("CB_CH");
        QStringList out;
        if (record(image, kRecord03C0) != save03C0(c).toByteArray())
            out << QStringLiteral("block 03C0 differs");
        if (record(image, kRecord03F0) != save03F0(f).toByteArray())
            out << QStringLiteral("block 03F0 differs");
        return out;
    }

    bool readRadio() {
        m_answers->expectBox(QStringLiteral("Over!"));
        return click(child("ToolButton7")) &&
               QTest::qWaitFor(
                   [this] { return !transferOf(*m_window).running() && m_answers->idle(); }, 20000);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_emu.start());
        m_sio = std::make_unique<QtSio>([this](int) { return m_emu.slavePath(); });
    }
    void cleanupTestCase() { m_emu.stop(); }

    void init() {
        m_emu.setFaults({});
        m_emu.setMemory(demoMemory());
        m_dir = std::make_unique<QTemporaryDir>();
        m_answers = std::make_unique<Answerer>();
        m_window = std::make_unique<TE_Form>(m_prompter, *m_sio, m_dir->path());
        // The reads that set a scene up need not take the window's own time; the stop needs a
        // write long enough to be stopped by a click.
        if (qstrcmp(QTest::currentTestFunction(), "transferStartedAndStopped") != 0)
            transferOf(*m_window).setPacing(Pacing::fast());
        m_prompter.setParent(m_window.get());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QVERIFY(xdotool({"windowactivate", "--sync", QString::number(m_window->winId())}));
        QTRY_VERIFY(m_window->isActiveWindow());
    }
    void cleanup() {
        QCOMPARE(m_answers->unexpected, QStringList{});
        m_prompter.setParent(nullptr);
        m_window.reset();
        m_answers.reset();
    }

    // The first edit after a read, in the cell clicked, however soon after the box closed
    // and whichever cell was current before.
    void editAfterRead_data() {
        QTest::addColumn<int>("currentBefore"); // the row of the current cell before the read
        QTest::addColumn<int>("row");
        QTest::newRow("another cell") << 1 << 3;
        QTest::newRow("the cell current before the read") << 3 << 3;
        QTest::newRow("the first cell") << 1 << 1;
    }
    void editAfterRead() {
        QFETCH(int, currentBefore);
        QFETCH(int, row);
        if (currentBefore != 1)
            QVERIFY(clickCell(currentBefore, 1));
        QVERIFY(readRadio());
        const QByteArray read = RadioEmulator::datImage(demoMemory());
        QCOMPARE(fileBytes(), read);
        QCOMPARE(cellsDifferingFromFile(*m_window, m_dir->filePath(QStringLiteral("r_and_w.dat"))),
                 QStringList{});

        QVERIFY(clickCell(row, 1));
        QVERIFY(type(QStringLiteral("452.0125")));
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_COMPARE(m_window->channelGrid().cell(1, row), QStringLiteral("452.01250"));
        QCOMPARE(record(fileBytes(), 2 * (row - 1)).mid(4, 4), hexBytes("50 12 20 45"));
        QCOMPARE(cellsDifferingFromFile(*m_window, m_dir->filePath(QStringLiteral("r_and_w.dat"))),
                 QStringList{});
    }

    // The outer frame at the size drawn, the window manager's frame (as it announces it)
    // taken from the client area, and centred on the screen.
    void outerFrameAsDrawn_data() {
        QTest::addColumn<Language>("language");
        QTest::addColumn<QSize>("outer");
        QTest::newRow("Chinese") << Language::Chinese << QSize(819, 552);
        QTest::newRow("English") << Language::English << QSize(843, 552);
    }
    void outerFrameAsDrawn() {
        QFETCH(Language, language);
        QFETCH(QSize, outer);
        std::unique_ptr<MainWindow> chinese;
        MainWindow *window = m_window.get();
        if (language == Language::Chinese) {
            chinese = std::make_unique<TForm1>(m_prompter, *m_sio, m_dir->path());
            chinese->show();
            QVERIFY(QTest::qWaitForWindowExposed(chinese.get()));
            window = chinese.get();
        }
        QMargins frame;
        QTRY_VERIFY(!(frame = frameExtents(window->winId())).isNull());
        QTRY_COMPARE(window->size().grownBy(frame), outer);
        // What the frame leaves for the display frame: 432 with the drawing's own frame.
        QVERIFY(std::abs(window->findChild<QWidget *>(QStringLiteral("show_Box"))->height() -
                         432) <= 2);
        const QPoint centred = window->screen()->availableGeometry().center() -
                               QPoint(outer.width() / 2, outer.height() / 2);
        const QPoint at = window->geometry().topLeft() - QPoint(frame.left(), frame.top());
        QVERIFY2((at - centred).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("at %1,%2").arg(at.x()).arg(at.y())));
    }

    // Gestures on the grid and the lists, each after a read, and the working file they leave:
    // "ch N a|b|c|d|e|f" channel N holds these cells, "ch N = M" channel N holds what channel
    // M held, "scan off" the scan switch is off. Every other byte is as read. Steps: "click
    // R C" (column 0: the channel's number), "shift-click R C", "drag R C R C", "key K...",
    // "type TEXT", "pick LIST shown" (the item it shows), "read" (started, not awaited),
    // "wait-read"; "box TEXT" answers the next box that shows TEXT with Enter.
    void gestures_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("undoSteps");
        QTest::newRow("lists: the item shown")
            << ""
            << "pick f_box shown; pick CB_BY shown; pick CB_YX shown" << QStringList{} << 0;
        QTest::newRow("model: the item shown, Yes")
            << ""
            << "box Do You Wish To Change; pick CB_JQLX shown" << QStringList{"scan off"} << 1;
        QTest::newRow("keys after a click on the current cell")
            << ""
            << "click 3 1; click 3 1; key End Home Right Right; type 455.5; key Return"
            << QStringList{"ch 3 462.06250|OFF|455.50000|88.5|NO|YES"} << 1;
        QTest::newRow("drag over rows, copy, paste")
            << ""
            << "drag 2 1 4 6; key ctrl+c; click 10 1; key ctrl+v"
            << QStringList{"ch 10 = 2", "ch 11 = 3", "ch 12 = 4"} << 1;
        QTest::newRow("copy from the current cell, paste")
            << ""
            << "click 1 3; click 1 3; key ctrl+c; click 8 1; key ctrl+v" << QStringList{"ch 8 = 1"}
            << 1;
        QTest::newRow("a lone value")
            << "452.0166"
            << "click 5 3; key ctrl+v" << QStringList{"ch 5 462.11250|131.8|452.01250|131.8|NO|YES"}
            << 1;
        QTest::newRow("Delete on cells")
            << ""
            << "click 6 1; key Delete; click 6 2; key Delete" << QStringList{} << 0;
        QTest::newRow("Delete on rows")
            << ""
            << "click 6 0; key Delete; drag 7 1 7 6; key Delete; click 9 0; shift-click 10 0; "
               "key Delete"
            << QStringList{"ch 6 |OFF||OFF|NO|NO", "ch 7 |OFF||OFF|NO|NO", "ch 9 |OFF||OFF|NO|NO",
                           "ch 10 |OFF||OFF|NO|NO"}
            << 3;
        QTest::newRow("move up twice: the current cell follows")
            << ""
            << "click 3 1; key ctrl+shift+Up ctrl+shift+Up"
            << QStringList{"ch 1 = 3", "ch 2 = 1", "ch 3 = 2"} << 2;
        QTest::newRow("move selected rows down")
            << ""
            << "click 5 0; shift-click 6 0; key ctrl+shift+Down"
            << QStringList{"ch 5 = 7", "ch 6 = 5", "ch 7 = 6"} << 1;
        QTest::newRow("paste during a read")
            << "470\tOFF\t\tOFF\tNO\tNO"
            << "click 3 1; read; key ctrl+v; wait-read" << QStringList{} << 0;
        QTest::newRow("move during a read")
            << ""
            << "click 3 1; read; key ctrl+shift+Up; wait-read" << QStringList{} << 0;
    }
    void gestures() {
        QFETCH(QString, clipboard);
        QFETCH(QString, steps);
        QFETCH(QStringList, expected);
        QFETCH(int, undoSteps);
        QVERIFY(readRadio());
        const QByteArray read = fileBytes();
        const int history = m_window->findChild<EditHistory *>()->count();
        QGuiApplication::clipboard()->setText(clipboard);
        for (const QString &step : steps.split(QStringLiteral("; "))) {
            const QString verb = step.section(' ', 0, 0);
            const QString rest = step.section(' ', 1);
            QList<int> n;
            for (const QString &word : rest.split(' '))
                n << word.toInt();
            bool done = false;
            if (verb == QLatin1String("click")) {
                done = clickCell(n[0], n[1]);
            } else if (verb == QLatin1String("shift-click")) {
                done = xdotool({"keydown", "shift"}) && clickCell(n[0], n[1]) &&
                       xdotool({"keyup", "shift"});
            } else if (verb == QLatin1String("drag")) {
                done = dragCells(n[0], n[1], n[2], n[3]);
            } else if (verb == QLatin1String("key")) {
                done = key(rest);
            } else if (verb == QLatin1String("type")) {
                done = type(rest);
            } else if (verb == QLatin1String("pick")) {
                auto *box = child<QComboBox>(rest.section(' ', 0, 0).toLatin1().constData());
                done = pick(box, box->currentIndex());
            } else if (verb == QLatin1String("box")) {
                m_answers->expectBox(rest);
                done = true;
            } else if (verb == QLatin1String("read")) {
                m_answers->expectBox(QStringLiteral("Over!"));
                done = click(child("ToolButton7")) &&
                       QTest::qWaitFor([this] { return transferOf(*m_window).running(); });
            } else if (verb == QLatin1String("wait-read")) {
                done = QTest::qWaitFor(
                    [this] { return !transferOf(*m_window).running() && m_answers->idle(); },
                    20000);
            }
            QVERIFY2(done, qPrintable(step));
        }
        QTRY_VERIFY(m_answers->idle());
        QTest::qWait(100); // a list's close is told from the event queue

        QByteArray bytes = read;
        for (const QString &change : expected) {
            if (change == QLatin1String("scan off")) {
                Block03F0Values v = data03F0(FrameText(MemoryFrame::fromBytes(
                    read.mid(kRecord03F0 * MemoryFrame::kSize, MemoryFrame::kSize))));
                v.scanOn = false;
                bytes = withRecords(bytes, kRecord03F0, save03F0(v).toByteArray());
                continue;
            }
            const int channel = change.section(' ', 1, 1).toInt();
            QByteArray records;
            if (change.section(' ', 2, 2) == QLatin1String("=")) {
                records = movedChannelRecords(read, change.section(' ', 3, 3).toInt(), channel);
            } else {
                const QStringList c = change.section(' ', 2).split('|');
                records = channelRecords(channel, {c[0], c[1], c[2], c[3], c[4], c[5]});
            }
            bytes = withRecords(bytes, 2 * (channel - 1), records);
        }
        QCOMPARE(fileBytes(), bytes);
        QCOMPARE(cellsDifferingFromFile(*m_window, m_dir->filePath(QStringLiteral("r_and_w.dat"))),
                 QStringList{});
        QCOMPARE(m_window->findChild<EditHistory *>()->count() - history, undoSteps);
    }

    // Another window taking the focus in the middle of typing does not end the typing.
    void typingOutlivesAnotherWindow() {
        QWidget other;
        other.setWindowTitle(QStringLiteral("other"));
        other.resize(200, 100);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QVERIFY(xdotool({"windowactivate", "--sync", QString::number(m_window->winId())}));
        QVERIFY(clickCell(5, 1));
        QVERIFY(type(QStringLiteral("462.0")));
        QVERIFY(xdotool({"windowactivate", "--sync", QString::number(other.winId())}));
        QTRY_VERIFY(other.isActiveWindow());
        QCOMPARE(cellsDifferingFromFile(*m_window, m_dir->filePath(QStringLiteral("r_and_w.dat"))),
                 QStringList{});
        QVERIFY(xdotool({"windowactivate", "--sync", QString::number(m_window->winId())}));
        QTRY_VERIFY(m_window->isActiveWindow());
        QVERIFY(type(QStringLiteral("125")));
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_COMPARE(m_window->channelGrid().cell(1, 5), QStringLiteral("462.01250"));
        QCOMPARE(cellsDifferingFromFile(*m_window, m_dir->filePath(QStringLiteral("r_and_w.dat"))),
                 QStringList{});
    }

    // Every kind of cell: both frequencies typed, the four lists picked.
    void editEachColumn() {
        QVERIFY(readRadio());
        QVERIFY(clickCell(2, 3));
        QVERIFY(type(QStringLiteral("455.5")));
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_COMPARE(m_window->channelGrid().cell(3, 2), QStringLiteral("455.50000"));
        QCOMPARE(cellsDifferingFromFile(*m_window, m_dir->filePath(QStringLiteral("r_and_w.dat"))),
                 QStringList{});
        const struct {
            int column;
            const char *box;
        } lists[] = {{2, "RX_BOX"}, {4, "TX_BOX"}, {5, "box1"}, {6, "box2"}};
        for (const auto &list : lists) {
            auto *box = child<QComboBox>(list.box);
            QVERIFY(clickCell(4, list.column));
            QTRY_VERIFY(box->isVisible());
            const int target = otherItem(box);
            const QString picked = box->itemText(target);
            QVERIFY(pick(box, target));
            QTRY_COMPARE(m_window->channelGrid().cell(list.column, 4), picked);
            QCOMPARE(
                cellsDifferingFromFile(*m_window, m_dir->filePath(QStringLiteral("r_and_w.dat"))),
                QStringList{});
        }
    }

    // A click on another cell closes an open list; the list's row keeps its value, the
    // clicked row is not touched, and the next click moves the current cell.
    void clickAwayFromOpenList() {
        QVERIFY(readRadio());
        const QByteArray before = fileBytes();
        auto *rx = child<QComboBox>("RX_BOX");
        QVERIFY(clickCell(6, 2));
        QTRY_VERIFY(rx->isVisible());
        QVERIFY(click(rx));
        QTRY_VERIFY(rx->view()->isVisible());
        QVERIFY(clickCell(8, 4));
        QTRY_VERIFY(!rx->view()->isVisible());
        if (grid()->currentRow() != 8) // the press that closes a list may stay with it
            QVERIFY(clickCell(8, 4));
        QTRY_COMPARE(grid()->currentRow(), 8);
        QTest::qWait(100); // a late close would land now
        QCOMPARE(fileBytes(), before);
        QCOMPARE(cellsDifferingFromFile(*m_window, m_dir->filePath(QStringLiteral("r_and_w.dat"))),
                 QStringList{});
    }

    // Each list of the settings area, the check box, the time fields with their step
    // buttons and the power field.
    void settingsControls() {
        QVERIFY(readRadio());
        // The priority channel before the scan type, which may disable it.
        for (const char *name :
             {"CB_BY", "CB_SD", "CB_DP", "CB_YY", "CB_JT", "CB_CS", "CB_SM", "CB_CH", "CB_YX"}) {
            auto *box = child<QComboBox>(name);
            const int target = otherItem(box);
            QVERIFY2(box->isEnabled(), name);
            QVERIFY2(pick(box, target), name);
            QTRY_COMPARE(box->currentIndex(), target);
            QVERIFY2(settingsDifferingFromFile().isEmpty(), name);
        }
        auto *scan = child<QCheckBox>("CheckBox2");
        const bool wasOn = scan->isChecked();
        QVERIFY(click(scan, {4, scan->height() / 2}));
        QTRY_COMPARE(scan->isChecked(), !wasOn);
        QCOMPARE(settingsDifferingFromFile(), QStringList{});

        // A step button changes the field only; a click into a field stores the block.
        auto *edit3 = child<QLineEdit>("Edit3");
        const QString time = edit3->text();
        QVERIFY(click(child("SpinButton3")->findChild<QWidget *>("up")));
        QTRY_VERIFY(edit3->text() != time);
        QVERIFY(!settingsDifferingFromFile().isEmpty());
        QVERIFY(click(edit3));
        QTRY_COMPARE(settingsDifferingFromFile(), QStringList{});

        // The power field: typed, then stepped against its top.
        auto *power = child<QSpinBox>("SpinEdit1");
        QVERIFY(click(power));
        QVERIFY(key(QStringLiteral("ctrl+a")));
        QVERIFY(type(QStringLiteral("254")));
        QTRY_COMPARE(power->value(), 254);
        QVERIFY(key(QStringLiteral("Up Up Prior")));
        QVERIFY(click(power, power->rect().center(), QStringLiteral("4"))); // the wheel
        QTRY_COMPARE(power->value(), 255);
        QTest::qWait(100);
        QCOMPARE(power->value(), 255);
        QCOMPARE(child<QLabel>("Label19")->text(), QStringLiteral("Powers Voltage:5.000(V)"));
        QCOMPARE(settingsDifferingFromFile(), QStringList{});
        QCOMPARE(cellsDifferingFromFile(*m_window, m_dir->filePath(QStringLiteral("r_and_w.dat"))),
                 QStringList{});
    }

    // Save to a file named in the dialog, change a cell, open the saved file again.
    void saveAndOpen() {
        QVERIFY(readRadio());
        const QByteArray read = fileBytes();
        const QString saved = m_dir->filePath(QStringLiteral("saved.dat"));
        m_answers->expectFileDialog(saved);
        QVERIFY(click(child("ToolButton2")));
        QTRY_VERIFY(m_answers->idle() && QFile::exists(saved));
        QFile f(saved);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), read);

        QVERIFY(clickCell(7, 1));
        QVERIFY(type(QStringLiteral("470")));
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_COMPARE(m_window->channelGrid().cell(1, 7), QStringLiteral("470.00000"));
        QVERIFY(fileBytes() != read);

        m_answers->expectFileDialog(saved);
        QVERIFY(click(child("ToolButton3")));
        QTRY_VERIFY(m_answers->idle() && fileBytes() == read);
        QTRY_COMPARE(m_window->channelGrid().cell(1, 7), QStringLiteral("462.16250"));
        QCOMPARE(cellsDifferingFromFile(*m_window, m_dir->filePath(QStringLiteral("r_and_w.dat"))),
                 QStringList{});
        QCOMPARE(settingsDifferingFromFile(), QStringList{});
    }

    // A write started with its tool button and stopped with the stop button.
    void transferStartedAndStopped() {
        QVERIFY(readRadio());
        auto *gauge = child<QProgressBar>("Gauge");
        auto *write = child<QToolButton>("ToolButton8");
        QVERIFY(click(write));
        QTRY_VERIFY(transferOf(*m_window).running() && gauge->value() >= 3);
        QVERIFY(!write->isEnabled());
        // The stop leaves a write half done: the window says so.
        m_answers->expectBox(QStringLiteral("The write did not complete"));
        QVERIFY(click(child("ToolButton13")));
        QTRY_VERIFY(!transferOf(*m_window).running());
        QTRY_VERIFY(m_answers->idle());
        QVERIFY(write->isEnabled());
        QCOMPARE(gauge->value(), 0);
        const int requests = m_emu.requestCount();
        QTest::qWait(200);
        QCOMPARE(m_emu.requestCount(), requests); // nothing goes out after the stop
    }

    // Help drops nothing: the next click reaches the grid.
    void helpOpensNothing() {
        QMenuBar *bar = m_window->menuBar();
        QAction *help = bar->actions().last();
        QVERIFY(click(bar, bar->actionGeometry(help).center()));
        QTest::qWait(200);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QVERIFY(clickCell(4, 1));
        QTRY_COMPARE(grid()->currentRow(), 4);
    }

    // The program itself, copied into a folder of its own: read, "Over!" answered from the
    // keyboard, a cell clicked and a frequency typed at a person's pace, Enter, then a write.
    // A key sent to the box's own window closes it without the main window becoming active
    // as far as the program knows; the typing must be stored all the same.
    void theProgramReadEditWrite_data() {
        QTest::addColumn<bool>("keyToBoxWindow");
        QTest::newRow("box activated, then Enter") << false;
        QTest::newRow("Enter sent to the box's window") << true;
    }
    void theProgramReadEditWrite() {
        QFETCH(bool, keyToBoxWindow);
        // Places in the window, taken from the test's own window, which then leaves the
        // screen so that no input can reach it.
        auto place = [this](QWidget *w, QPoint at) { return w->mapTo(m_window.get(), at); };
        const QPoint read = place(child("ToolButton7"), child("ToolButton7")->rect().center());
        const QPoint write = place(child("ToolButton8"), child("ToolButton8")->rect().center());
        const QPoint cell =
            place(grid()->viewport(), grid()->visualRect(grid()->model()->index(3, 1)).center());
        m_window->hide();

        Program program;
        QVERIFY(program.start(m_emu.slavePath()));
        auto answerOver = [&] {
            const QString box = program.box(QStringLiteral("^QX-7420$"));
            if (box.isEmpty())
                return false;
            if (keyToBoxWindow) {
                // The box has the X focus, so xdotool presses the key through XTEST; the
                // press closes the box, and the release, sent to the box's window that is
                // gone, fails and ends xdotool. The server then holds Return down and takes
                // the next press of it as none: let it go as a person's finger would.
                xdotool({"key", "--window", box, "Return"});
                xdotool({"keyup", "Return"});
                // Gone, or followed by the next box.
                return QTest::qWaitFor(
                    [&] { return program.box(QStringLiteral("^QX-7420$"), false) != box; });
            }
            return xdotool({"windowactivate", "--sync", box}) && xdotool({"key", "Return"});
        };
        QVERIFY(program.clickAt(read));
        QVERIFY(answerOver());
        QTRY_COMPARE_WITH_TIMEOUT(program.datBytes(), RadioEmulator::datImage(demoMemory()), 10000);
        QVERIFY(program.clickAt(cell));
        QVERIFY(type(QStringLiteral("452.0125")));
        QVERIFY(key(QStringLiteral("Return")));
        QTRY_COMPARE(record(program.datBytes(), 4).mid(4, 4), hexBytes("50 12 20 45"));

        m_emu.fillMemory(0x00);
        QVERIFY(program.clickAt(write));
        QVERIFY(answerOver()); // "Over!", once the radio has been read back
        QVERIFY(answerOver()); // and the read-back's result
        QTRY_COMPARE_WITH_TIMEOUT(RadioEmulator::datImage(m_emu.memory()), program.datBytes(),
                                  10000);
        QVERIFY(program.running());
    }

    // The port panel moves when dragged by its caption, not by its label.
    void portPanelDrag() {
        QVERIFY(click(child("ToolButton9")));
        auto *panel = child<QGroupBox>("Select_com");
        QTRY_VERIFY(panel->isVisible());
        auto dragBy = [](QWidget *w, QPoint from, QPoint by) {
            const QPoint a = w->mapToGlobal(from);
            return drag(a, a + by);
        };
        const QPoint start = panel->pos();
        auto *label = child("Label21");
        QVERIFY(dragBy(label, label->rect().center(), {30, 20}));
        QTest::qWait(100);
        QCOMPARE(panel->pos(), start);
        QVERIFY(dragBy(panel, {80, 8}, {30, 20}));
        QTRY_COMPARE(panel->pos(), start + QPoint(30, 20));
    }
};

int main(int argc, char *argv[]) {
    XSession x;
    QString error;
    if (!x.start(&error)) {
        std::fprintf(stderr, "tst_realinput: %s\n", qPrintable(error));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QX-7420"));
    TestRealInput test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_realinput.moc"
