#include "windowharness.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolButton>
#include <cstdlib>

using namespace qx;
using namespace qx::test;

namespace {

// Where a list draws its current text: the edit field of the style, less the pixel the
// label keeps on each side.
int comboTextWidth(const QComboBox *box) {
    QStyleOptionComboBox opt;
    opt.initFrom(box);
    opt.editable = box->isEditable();
    opt.frame = box->hasFrame();
    opt.currentText = box->currentText();
    return box->style()
               ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box)
               .width() -
           2;
}

// A line edit keeps its frame, its text margins and two pixels on each side.
int lineEditTextWidth(const QLineEdit *edit) {
    const QMargins m = edit->textMargins();
    const int frame = edit->hasFrame()
                          ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit)
                          : 0;
    return edit->contentsRect().width() - m.left() - m.right() - 2 * frame - 4;
}

// The narrowest width from `drawn` on at which a list shows each of its items in full.
int widthShowingEveryItem(const QComboBox *box, int drawn) {
    QComboBox probe;
    probe.setFont(box->font());
    for (int i = 0; i < box->count(); ++i)
        probe.addItem(box->itemText(i));
    int width = drawn;
    for (int i = 0; i < box->count(); ++i) {
        probe.setCurrentIndex(i);
        for (;; ++width) {
            probe.setFixedWidth(width);
            if (comboTextWidth(&probe) >=
                probe.fontMetrics().horizontalAdvance(probe.currentText()))
                break;
        }
    }
    return width;
}

// A control's place as drawn: in the client area below the menu bar ("client"), in a named
// frame, or nowhere in particular (empty); -1 where the drawing gives no figure.
struct Drawn {
    const char *name;
    const char *frame;
    int x, y, width, height;
};

} // namespace

class TestReadable : public QObject {
    Q_OBJECT
private slots:
    void nothingCutOff_data();
    void nothingCutOff();
    void geometryAsDrawn_data();
    void geometryAsDrawn();
};

void TestReadable::nothingCutOff_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QByteArray>("image");
    // The demo radio, then an image whose lists all stand at their longest items.
    QByteArray longest = baseImage();
    Block03C0Values c0;
    c0.monitorKey = 1;
    c0.timeOut = 10;
    Block03F0Values f0;
    f0.voice = 3;
    f0.scanOn = true;
    f0.scanMode = 1;
    f0.channelMode = 1;
    f0.power = 255;
    f0.carrierTime = QStringLiteral("12.5");
    f0.delayTime = QStringLiteral("12.5");
    f0.returnTime = QStringLiteral("12.5");
    longest = withRecords(longest, kRecord03C0, save03C0(c0).toByteArray());
    longest = withRecords(longest, kRecord03F0, save03F0(f0).toByteArray());
    QByteArray cyclic = longest;
    f0.channelMode = 0;
    f0.scanMode = 0;
    f0.voice = 1;
    cyclic = withRecords(cyclic, kRecord03F0, save03F0(f0).toByteArray());
    for (Language language : {Language::Chinese, Language::English}) {
        const char *name = language == Language::English ? "English" : "Chinese";
        QTest::addRow("%s, longest items", name) << language << longest;
        QTest::addRow("%s, other items", name) << language << cyclic;
    }
}

void TestReadable::nothingCutOff() {
    QFETCH(Language, language);
    QFETCH(QByteArray, image);
    Harness h(language, image);
    // The outer size as drawn, whatever frame the platform puts around the client area.
    QCOMPARE(h.window->frameGeometry().size(),
             language == Language::English ? QSize(843, 552) : QSize(819, 552));
    QStringList cut;
    const auto check = [&cut](const QWidget *w, const QString &text, int room) {
        const int need = w->fontMetrics().horizontalAdvance(text);
        if (w->isVisible() && !text.isEmpty() && need > room)
            cut << QStringLiteral("%1 '%2' needs %3, has %4")
                       .arg(w->objectName(), text)
                       .arg(need)
                       .arg(room);
    };
    for (const QComboBox *box : h.window->findChildren<QComboBox *>())
        check(box, box->currentText(), comboTextWidth(box));
    for (const QLabel *label : h.window->findChildren<QLabel *>())
        if (!label->wordWrap())
            check(label, label->text(), label->contentsRect().width() - 2 * label->margin());
    for (const QLineEdit *edit : h.window->findChildren<QLineEdit *>())
        check(edit, edit->text(), lineEditTextWidth(edit));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

void TestReadable::geometryAsDrawn_data() {
    QTest::addColumn<Language>("language");
    QTest::newRow("Chinese") << Language::Chinese;
    QTest::newRow("English") << Language::English;
}

// Every named control where the drawing puts it, within 2 pixels; a list wider only as far
// as its longest item needs. The client area is the one the drawing's outer size leaves.
void TestReadable::geometryAsDrawn() {
    QFETCH(Language, language);
    Harness h(language);
    const int display = language == Language::English ? 511 : 521;
    const int settings = language == Language::English ? 324 : 290;
    const int width = display + settings;
    QWidget *menu = h.window->menuBar();
    h.window->resize(width, menu->height() + 47 + 432 + 27);
    QTRY_COMPARE(h.child<QWidget>("StatusBar1")->y(), menu->height() + 47 + 432);
    const Drawn table[] = {
        {"ToolBar1", "client", 0, 0, width, 47},
        {"show_Box", "client", 0, 47, display, 432},
        {"spSkinGroupBox1", "client", display, 47, settings, 432},
        {"StatusBar1", "client", 0, 479, width, 27},
        {"Select_com", "client", 168, 120, 225, 81},
        {"Gauge", "show_Box", -1, 402, -1, 27},
        {"RX_BOX", "show_Box", 130, 45, 70, -1},
        {"TX_BOX", "show_Box", 300, 45, 69, -1},
        {"box1", "show_Box", 369, 45, 69, -1},
        {"box2", "show_Box", 438, 45, 69, -1},
        {"CB_JQLX", "spSkinGroupBox1", 89, -1, 113, -1},
        {"f_box", "spSkinGroupBox1", 89, -1, 113, -1},
        {"spSkinGroupBox2", "", -1, -1, -1, 108},
        {"spSkinGroupBox3", "", -1, -1, -1, 145},
        {"CB_SM", "", -1, -1, 84, -1},
        {"CB_YX", "", -1, -1, 84, -1},
        {"CB_CH", "", -1, -1, 84, -1},
        {"CB_BY", "", -1, -1, 79, -1},
        {"CB_SD", "", -1, -1, 79, -1},
        {"CB_DP", "", -1, -1, 79, -1},
        {"CB_YY", "", -1, -1, 79, -1},
        {"CB_JT", "", -1, -1, 82, -1},
        {"CB_CS", "", -1, -1, 65, -1},
        {"SpinEdit1", "", -1, -1, 65, -1},
        {"Label19", "", -1, -1, 121, -1},
        {"Com", "", -1, -1, 57, -1},
        {"SpeedButton2", "", -1, -1, 57, 22},
        {"SpeedButton1", "", -1, -1, 19, 18},
        {"StatusPanel0", "", -1, -1, 200, -1},
        {"StatusPanel1", "", -1, -1, 300, -1},
    };
    QStringList wrong;
    const auto check = [&wrong](const QString &what, int shown, int drawn) {
        if (drawn >= 0 && std::abs(shown - drawn) > 2)
            wrong << QStringLiteral("%1 is %2, drawn %3").arg(what).arg(shown).arg(drawn);
    };
    for (const Drawn &d : table) {
        QWidget *w = h.child<QWidget>(d.name);
        const QString frameName = QLatin1String(d.frame);
        if (auto *box = qobject_cast<QComboBox *>(w)) {
            if (frameName == QLatin1String("show_Box")) // a list over its column's first cell
                h.clickCell(1, box->objectName() == QLatin1String("RX_BOX")   ? 2
                               : box->objectName() == QLatin1String("TX_BOX") ? 4
                               : box->objectName() == QLatin1String("box1")   ? 5
                                                                              : 6);
            check(QStringLiteral("%1 width").arg(d.name), w->width(),
                  widthShowingEveryItem(box, d.width));
        } else {
            check(QStringLiteral("%1 width").arg(d.name), w->width(), d.width);
        }
        check(QStringLiteral("%1 height").arg(d.name), w->height(), d.height);
        if (frameName.isEmpty())
            continue;
        QPoint at = w->mapTo(h.window.get(), QPoint());
        if (frameName == QLatin1String("client"))
            at.ry() -= menu->height();
        else
            at = w->mapTo(h.child<QWidget>(d.frame), QPoint());
        check(QStringLiteral("%1 x").arg(d.name), at.x(), d.x);
        check(QStringLiteral("%1 y").arg(d.name), at.y(), d.y);
    }

    // The tool bar's buttons (42 by 41) and separators (8 wide) side by side from the left.
    int x = 0;
    for (const char *name :
         {"ToolButton1", "ToolButton3", "ToolButton2", "ToolButton12", "ToolButton11",
          "ToolButton4", "ToolButton7", "ToolButton8", "ToolButton10", "ToolButton13",
          "ToolButton9", "ToolButton6", "ToolButton5"}) {
        QWidget *w = h.child<QWidget>(name);
        const bool separator = !qobject_cast<QToolButton *>(w);
        check(QStringLiteral("%1 x").arg(name), w->x(), x);
        check(QStringLiteral("%1 width").arg(name), w->width(), separator ? 8 : 42);
        if (!separator)
            check(QStringLiteral("%1 height").arg(name), w->height(), 41);
        x += separator ? 8 : 42;
    }

    // Label text at 27 beside the lists at 89; the power voltage in the fourth row of the
    // right column, below the power field.
    QWidget *area = h.child<QWidget>("spSkinGroupBox1");
    for (QLabel *label : area->findChildren<QLabel *>())
        if (label->text() == h.window->texts().modelLabel ||
            label->text() == h.window->texts().bandLabel)
            check(label->text() + QStringLiteral(" x"), label->mapTo(area, QPoint()).x(), 27);
    QWidget *power = h.child<QWidget>("SpinEdit1");
    QWidget *voltage = h.child<QWidget>("Label19");
    QLabel *rightColumn = nullptr;
    for (QLabel *label : h.child<QWidget>("spSkinGroupBox3")->findChildren<QLabel *>())
        if (label->text() == h.window->texts().power)
            rightColumn = label;
    QVERIFY(rightColumn);
    if (voltage->x() < rightColumn->x() - 2 || voltage->y() <= power->geometry().bottom() ||
        voltage->geometry().right() >= voltage->parentWidget()->contentsRect().right() + 1)
        wrong << QStringLiteral("Label19 at %1,%2 is not below the power field in the right "
                                "column, which starts at %3")
                     .arg(voltage->x())
                     .arg(voltage->y())
                     .arg(rightColumn->x());
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestReadable)
#include "tst_readable.moc"
