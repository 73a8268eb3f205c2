#include "edithistory.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>

using namespace qx;
using namespace qx::test;

namespace {

// Channels at 460, empty, 455, 460 again, 450, ten empty ones, 470 MHz.
QByteArray unsortedImage() {
    QByteArray image;
    for (int n = 1; n <= kChannelCount; ++n)
        image += channelRecords(n, {});
    const auto put = [&image](int n, const char *rx, const char *tone) {
        image =
            withRecords(image, 2 * (n - 1), channelRecords(n, {rx, tone, rx, "OFF", "NO", "NO"}));
    };
    put(1, "460.00000", "67.0");
    put(3, "455.00000", "OFF");
    put(4, "460.00000", "71.9");
    put(5, "450.00000", "OFF");
    put(16, "470.00000", "OFF");
    return image + workedSettings();
}

// "N" or "N-M", the channels of one line of the expected changes.
QPair<int, int> channelRun(const QString &text) {
    return {text.section('-', 0, 0).toInt(), text.section('-', -1).toInt()};
}

// The image after the changes: "ch A-B = C-D" (or "ch A = C") the channels hold what those
// channels held, under their own addresses; "ch A-B empty"; "ch A rx|tone|tx|tone|busy|scan".
QByteArray changed(QByteArray image, const QStringList &changes) {
    const QByteArray before = image;
    for (const QString &change : changes) {
        const QStringList words = change.split(' ');
        const auto [first, last] = channelRun(words[1]);
        for (int n = first; n <= last; ++n) {
            QByteArray records;
            if (words[2] == QLatin1String("=")) {
                records = movedChannelRecords(before, channelRun(words[3]).first + n - first, n);
            } else if (words[2] == QLatin1String("empty")) {
                records = channelRecords(n, {});
            } else {
                const QStringList c = words[2].split('|');
                records = channelRecords(n, {c[0], c[1], c[2], c[3], c[4], c[5]});
            }
            image = withRecords(image, 2 * (n - 1), records);
        }
    }
    return image;
}

} // namespace

class TestChannelTools : public QObject {
    Q_OBJECT
private slots:
    void tool_data();
    void tool();
};

void TestChannelTools::tool_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("select"); // "R": a click on a cell of row R; "R-S": rows by number
    QTest::addColumn<QString>("action"); // the menu item's objectName
    QTest::addColumn<QString>("dialog"); // "field=value ..." filled in, then Enter
    QTest::addColumn<bool>("answer");    // to the one question, when one is asked
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("message"); // the one message (or question) shown
    QTest::addColumn<int>("current");     // the current row afterwards
    QTest::addColumn<QString>("preview"); // Fill: what the dialog says before OK
    const auto en = Language::English;
    const QString none;
    QTest::newRow("move up, the current cell follows")
        << en << sampleImage() << "3"
        << "ChannelMoveUp" << none << false << QStringList{"ch 2 = 3", "ch 3 = 2"} << none << 2
        << none;
    QTest::newRow("move a run down")
        << en << sampleImage() << "4-6"
        << "ChannelMoveDown" << none << false << QStringList{"ch 4 = 7", "ch 5-7 = 4-6"} << none
        << 5 << none;
    QTest::newRow("move up from channel 1: nothing")
        << en << sampleImage() << "1"
        << "ChannelMoveUp" << none << false << QStringList{} << none << 1 << none;
    QTest::newRow("insert, channel 16 empty")
        << en << baseImage() << "5"
        << "ChannelInsert" << none << false << QStringList{"ch 5 empty", "ch 6-16 = 5-15"} << none
        << 5 << none;
    QTest::newRow("insert drops channel 16: Yes")
        << en << sampleImage() << "14"
        << "ChannelInsert" << none << true << QStringList{"ch 14 empty", "ch 15-16 = 14-15"}
        << "Channel 16 is in use" << 14 << none;
    QTest::newRow("insert drops channel 16: No")
        << en << sampleImage() << "14"
        << "ChannelInsert" << none << false << QStringList{} << "Channel 16 is in use" << 14
        << none;
    QTest::newRow("delete a run and move up")
        << en << sampleImage() << "2-3"
        << "ChannelDelete" << none << false << QStringList{"ch 2-14 = 4-16", "ch 15-16 empty"}
        << none << 2 << none;
    QTest::newRow("sort: equal frequencies in their order, empty last")
        << en << unsortedImage() << "2"
        << "ChannelSort" << none << false
        << QStringList{"ch 1 = 5", "ch 2 = 3", "ch 3 = 1", "ch 5 = 16", "ch 6-16 empty"} << none
        << 2 << none;
    QTest::newRow("fill a run from its first frequency")
        << en << baseImage() << "11-14"
        << "ChannelFill"
        << "FillStep=6.25" << false
        << QStringList{"ch 12 461.00625|OFF|461.00625|OFF|NO|NO",
                       "ch 13 461.01250|OFF|461.01250|OFF|NO|NO",
                       "ch 14 461.01875|OFF|461.01875|OFF|NO|NO"}
        << none << 11 << none;
    QTest::newRow("fill down from one channel, snapped, receive only, up to the band's end")
        << en << baseImage() << "14"
        << "ChannelFill"
        << "FillStart=512.9713 FillStep=20 FillTransmit=0" << false
        << QStringList{"ch 14 512.96875|OFF||OFF|NO|NO", "ch 15 512.98750|OFF||OFF|NO|NO"}
        << "2 of 3 channels were filled" << 14 << "raster: 512.96875, 512.98750";
    QTest::newRow("fill from a start out of range: nothing")
        << en << baseImage() << "3"
        << "ChannelFill"
        << "FillStart=399" << false << QStringList{} << "out of range: 400 to 512.99999 MHz" << 3
        << none;
    QTest::newRow("fill with a step off the raster: said before OK")
        << en << baseImage() << "3-5"
        << "ChannelFill"
        << "FillStart=445.5 FillStep=7.5" << false
        << QStringList{"ch 3 445.50000|OFF|445.50000|OFF|NO|NO",
                       "ch 4 445.50625|OFF|445.50625|OFF|NO|NO",
                       "ch 5 445.51500|OFF|445.51500|OFF|NO|NO"}
        << none << 3 << "snap down to the 6.25 kHz raster: 445.50000, 445.50625, 445.51500";
    QTest::newRow("set for selected, empty channels left alone")
        << Language::Chinese << sampleImage() << "6-9"
        << "ChannelSetSelected"
        << "SetRxToneOn=1 SetRxTone=67.0 SetScanOn=1 SetScan=是" << false
        << QStringList{"ch 6 456.03750|67.0|466.03000|210.7|NO|YES",
                       "ch 8 458.05000|67.0|468.04000|192.8|NO|YES",
                       "ch 9 459.05625|67.0||186.2|YES|YES"}
        << none << 6 << none;
}

// Each tool as a user reaches it, byte for byte against the working file, and its undo.
void TestChannelTools::tool() {
    QFETCH(Language, language);
    QFETCH(QByteArray, image);
    QFETCH(QString, select);
    QFETCH(QString, action);
    QFETCH(QString, dialog);
    QFETCH(bool, answer);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);
    QFETCH(int, current);
    QFETCH(QString, preview);
    Harness h(language, image);
    const auto [first, last] = channelRun(select);
    if (select.contains('-')) {
        h.clickCell(first, 0);
        QTest::mouseClick(h.grid()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          h.cellCentre(last, 0));
    } else {
        h.clickCell(first, 1);
    }
    h.prompter.answers << answer;
    h.child<QAction>(action.toLatin1().constData())->trigger();
    if (!dialog.isEmpty()) {
        auto *box = h.window->findChild<QDialog *>(action == QLatin1String("ChannelFill")
                                                       ? QStringLiteral("FillDialog")
                                                       : QStringLiteral("SetDialog"));
        QVERIFY(box && box->isVisible());
        for (const QString &field : dialog.split(' ')) {
            const QString name = field.section('=', 0, 0), value = field.section('=', 1);
            QWidget *w = box->findChild<QWidget *>(name);
            QVERIFY2(w, qPrintable(name));
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                edit->setText(value);
            else if (auto *check = qobject_cast<QCheckBox *>(w))
                check->setChecked(value == QLatin1String("1"));
            else if (auto *list = qobject_cast<QComboBox *>(w); list && list->isEditable())
                list->setEditText(value);
            else if (list)
                list->setCurrentIndex(list->findText(value));
        }
        if (auto *said = box->findChild<QLabel *>("FillPreview")) {
            QCOMPARE(said->isVisible(), !preview.isEmpty());
            QVERIFY2(said->text().contains(preview), qPrintable(said->text()));
        }
        QTest::keyClick(box, Qt::Key_Return);
        // A value refused leaves the dialog open for another try.
        if (expected.isEmpty()) {
            QVERIFY(box->isVisible());
            box->reject();
        }
    }

    QCOMPARE(h.fileBytes(), changed(image, expected));
    QCOMPARE(cellsDifferingFromFile(*h.window, h.dat()), QStringList{});
    QCOMPARE(h.prompter.texts("error"), QStringList{});
    const QStringList shown = h.prompter.texts();
    QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(shown[0].contains(message), qPrintable(shown[0]));
    QCOMPARE(h.grid()->currentRow(), current);
    auto *history = h.window->findChild<EditHistory *>();
    QCOMPARE(history->count(), expected.isEmpty() ? 0 : 1);
    if (!expected.isEmpty()) {
        h.child<QAction>("EditUndo")->trigger();
        QCOMPARE(h.fileBytes(), image);
        QCOMPARE(cellsDifferingFromFile(*h.window, h.dat()), QStringList{});
    }
}

QTEST_MAIN(TestChannelTools)
#include "tst_channeltools.moc"
