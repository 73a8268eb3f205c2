#include "windowharness.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

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

} // namespace

class TestReadable : public QObject {
    Q_OBJECT
private slots:
    void nothingCutOff_data();
    void nothingCutOff();
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
    QCOMPARE(h.window->size(), language == Language::English ? QSize(843, 552) : QSize(819, 552));
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

QTEST_MAIN(TestReadable)
#include "tst_readable.moc"
