#include "dragpanel.h"
#include "fileedits.h"
#include "settingspanel.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QLabel>

using namespace qx;
using namespace qx::test;

namespace {

// Writes down every change a part hands to the window, in order.
class RecordingEdits : public FileEdits {
public:
    QStringList log;

    void commitChannel(int channel, const ChannelCells &c) override {
        log << QStringLiteral("commit %1 %2").arg(channel).arg(text(c));
    }
    void storeChannel(int channel, const ChannelCells &c) override {
        log << QStringLiteral("store %1 %2").arg(channel).arg(text(c));
    }
    void storeRecord(int record, const MemoryFrame &frame) override {
        log << recordEntry(record, frame);
    }
    void resetChannels(const QString &frequency) override { log << "reset " + frequency; }
    void beginStep() override {}
    void endStep() noexcept override {}

    static QString recordEntry(int record, const MemoryFrame &frame) {
        return QStringLiteral("record %1 %2").arg(record).arg(FrameText(frame));
    }

private:
    static QString text(const ChannelCells &c) {
        return QStringList{c.rx, c.rxTone, c.tx, c.txTone, c.busy, c.scan}.join('|');
    }
};

QString frameText(const QByteArray &image, int record) {
    return FrameText(MemoryFrame::fromBytes(image.mid(record * MemoryFrame::kSize)));
}

bool activate(QWidget &part) {
    part.show();
    QApplication::setActiveWindow(&part);
    return QTest::qWaitForWindowActive(&part);
}

} // namespace

// The parts change the working file only through FileEdits, one call per change and in
// the order the window stores them; a load hands over nothing.
class TestWindowParts : public QObject {
    Q_OBJECT
private slots:
    void gridHandsOverRows_data();
    void gridHandsOverRows();
    void panelHandsOverBlocks_data();
    void panelHandsOverBlocks();
    void panelDragsByItsOwnSurface_data();
    void panelDragsByItsOwnSurface();
    void statusPanelReadsRightToLeft();
};

void TestWindowParts::gridHandsOverRows_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("expected");
    // The first click leaves the receive cell of channel 1, which commits it as it stands.
    const QString first = QStringLiteral("commit 1 451.00000|OFF|451.00000|OFF|NO|NO");
    QTest::newRow("receive frequency typed")
        << "type" << QStringList{first, "commit 14 460.00000|OFF||OFF|NO|NO"};
    QTest::newRow("tone picked") << "pick"
                                 << QStringList{first,
                                                "commit 3 453.00000|67.0|453.00000|OFF|NO|NO"};
    QStringList rewritten;
    for (int ch = 1; ch <= kChannelCount; ++ch)
        rewritten << QStringLiteral("store %1 490.00000|OFF|490.00000|OFF|NO|NO").arg(ch);
    QTest::newRow("band rewrite") << "brush" << rewritten;
}

void TestWindowParts::gridHandsOverRows() {
    QFETCH(QString, action);
    QFETCH(QStringList, expected);
    ScriptedPrompter prompter;
    RecordingEdits edits;
    ChannelGrid grid(englishWindowTexts(), prompter, edits);
    grid.setupGrid();
    const QByteArray image = baseImage();
    for (int record = 0; record < kRecord03C0; ++record)
        grid.applyChannelRecord(record, frameText(image, record));
    QVERIFY(activate(grid));
    QCOMPARE(edits.log, QStringList{});

    auto *view = grid.findChild<QTableWidget *>(QStringLiteral("StringGrid"));
    auto click = [view](int row, int column) {
        const QRect cell = view->visualRect(view->model()->index(row, column));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    };
    if (action == QLatin1String("type")) {
        click(14, ChannelGrid::RxFrequency);
        view->setFocus();
        Harness::type(QStringLiteral("460"));
        Harness::key(Qt::Key_Return);
    } else if (action == QLatin1String("pick")) {
        click(3, ChannelGrid::RxTone);
        Harness::pick(grid.findChild<QComboBox *>(QStringLiteral("RX_BOX")), 1);
        QTRY_COMPARE(edits.log.size(), 2);
    } else {
        grid.brush_StringGrid(QStringLiteral("490.00000"));
        QCOMPARE(grid.cell(ChannelGrid::TxFrequency, kChannelCount), QStringLiteral("490.00000"));
    }
    QCOMPARE(edits.log, expected);
    QVERIFY(prompter.shown.isEmpty());
}

void TestWindowParts::panelHandsOverBlocks_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("model"); // loaded before
    QTest::addColumn<QStringList>("expected");
    Block03C0Values beep;
    beep.beep = 1;
    QTest::newRow("beep picked") << "CB_BY" << 0
                                 << QStringList{
                                        RecordingEdits::recordEntry(kRecord03C0, save03C0(beep))};
    QTest::newRow("band picked") << "f_box" << 0
                                 << QStringList{
                                        RecordingEdits::recordEntry(kRecord03D0, save03D0(0, 1, 5)),
                                        "reset 490.00000"};
    Block03F0Values scanOff;
    QTest::newRow("model confirmed")
        << "CB_JQLX" << 1
        << QStringList{"reset 450.01250",
                       RecordingEdits::recordEntry(kRecord03D0, save03D0(0, 0, 5)),
                       RecordingEdits::recordEntry(kRecord03F0, save03F0(scanOff))};
}

void TestWindowParts::panelHandsOverBlocks() {
    QFETCH(QString, action);
    QFETCH(int, model);
    QFETCH(QStringList, expected);
    ScriptedPrompter prompter;
    prompter.answers = {true};
    RecordingEdits edits;
    SettingsPanel panel(englishWindowTexts(), prompter, edits);
    // The VHF model leaves the model list without a selection, so picking QX-7420 changes
    // the model; scan on makes that change store the scan switch too.
    Block03F0Values scanOn;
    scanOn.scanOn = true;
    panel.applySettingsRecord(kRecord03C0, FrameText(save03C0({})));
    panel.applySettingsRecord(kRecord03D0, FrameText(save03D0(model, 0, model == 1 ? 2 : 5)));
    panel.applySettingsRecord(kRecord03F0, FrameText(save03F0(scanOn)));
    QVERIFY(activate(panel));
    QCOMPARE(edits.log, QStringList{});
    QVERIFY(panel.findChild<QCheckBox *>(QStringLiteral("CheckBox2"))->isChecked());

    auto *box = panel.findChild<QComboBox *>(action);
    Harness::pick(box, action == QLatin1String("CB_JQLX") ? 0 : 1);
    QTRY_COMPARE(edits.log, expected);
}

void TestWindowParts::panelDragsByItsOwnSurface_data() {
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("moved");
    QTest::newRow("caption") << QPoint(60, 8) << QPoint(40, 40);
    QTest::newRow("empty spot") << QPoint(100, 70) << QPoint(40, 40);
    QTest::newRow("label") << QPoint(20, 45) << QPoint(0, 0);
}

void TestWindowParts::panelDragsByItsOwnSurface() {
    QFETCH(QPoint, press);
    QFETCH(QPoint, moved);
    QWidget window;
    window.resize(500, 400);
    DragPanel panel(QStringLiteral("Select Prot"), &window);
    panel.setGeometry(100, 50, 225, 81);
    QLabel label(QStringLiteral("Prot:"), &panel);
    label.setGeometry(14, 36, 60, 22);
    QVERIFY(activate(window));
    // Sent where a press lands: on the label when it is under the pointer, which lets
    // it through to the panel.
    QWidget *target = panel.childAt(press) ? panel.childAt(press) : &panel;
    const QPoint local = target->mapFrom(&panel, press);
    QTest::mousePress(target, Qt::LeftButton, {}, local);
    const QPoint to = press + QPoint(40, 40);
    QMouseEvent move(QEvent::MouseMove, QPointF(target->mapFrom(&panel, to)),
                     QPointF(panel.mapToGlobal(to)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QTest::mouseRelease(target, Qt::LeftButton, {}, target->mapFrom(&panel, to));
    QCOMPARE(panel.pos(), QPoint(100, 50) + moved);
}

// Right to left, the leading mark stands after the text, and the text stays at the left.
void TestWindowParts::statusPanelReadsRightToLeft() {
    Harness h(Language::English);
    auto *panel = h.child<QLabel>("StatusPanel0");
    QLabel reference(QStringLiteral("InterPhone Read\\Write Frequency※"));
    reference.setFont(panel->font());
    reference.setFrameStyle(panel->frameStyle());
    reference.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Window)); // the bar's yellow
    reference.setPalette(palette);
    reference.resize(panel->size());
    QCOMPARE(panel->text(), QStringLiteral("※InterPhone Read\\Write Frequency"));
    auto image = [](QWidget *w) {
        return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage shown = image(panel);
    QVERIFY(shown == image(&reference));
    reference.setText(panel->text()); // as a label that ignores the direction shows it
    QVERIFY(shown != image(&reference));
}

QTEST_MAIN(TestWindowParts)
#include "tst_windowparts.moc"
