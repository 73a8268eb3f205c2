#include "windowharness.h"

#include <QCheckBox>

using namespace qx;
using namespace qx::test;

namespace {

// An image whose channels differ from any band default: 460.5 MHz with tones and flags.
QByteArray editedImage(bool scanOn) {
    QByteArray image = baseImage();
    for (int ch = 1; ch <= kChannelCount; ++ch)
        image = withRecords(
            image, 2 * (ch - 1),
            channelRecords(ch, {"460.50000", "67.0", "465.50000", "100.0", "YES", "NO"}));
    Block03F0Values v;
    v.scanOn = scanOn;
    return withRecords(image, 34, save03F0(v).toByteArray());
}

} // namespace

class TestSettingsPanelModelBand : public QObject {
    Q_OBJECT
private slots:
    void bandChangeRewritesChannelsAndBand_data();
    void bandChangeRewritesChannelsAndBand();
    void modelQuestionNoChangesNothing_data();
    void modelQuestionNoChangesNothing();
    void modelQuestionYesOnlyUnchecksScan();
    void modelYesFromOtherModelRewrites();
};

void TestSettingsPanelModelBand::bandChangeRewritesChannelsAndBand_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<int>("first"); // band picked before, -1 for none
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("frequency");
    QTest::newRow("470-490") << Language::Chinese << -1 << 1 << 0xF5 << "490.00000";
    QTest::newRow("490-512") << Language::English << -1 << 2 << 0xF6 << "512.00000";
    QTest::newRow("406-430") << Language::Chinese << -1 << 3 << 0xF7 << "430.00000";
    QTest::newRow("400-420") << Language::English << -1 << 4 << 0xF8 << "420.00000";
    QTest::newRow("back to 450-470") << Language::English << 3 << 0 << 0xF4 << "450.01250";
}

void TestSettingsPanelModelBand::bandChangeRewritesChannelsAndBand() {
    QFETCH(Language, language);
    QFETCH(int, first);
    QFETCH(int, band);
    QFETCH(int, code);
    QFETCH(QString, frequency);
    const QByteArray image = editedImage(true);
    Harness h(language, image);
    h.clickCell(3, 5); // the busy list lies over a cell that the band change rewrites
    QComboBox *busy = h.box("box1");
    QCOMPARE(busy->currentIndex(), 1);
    if (first >= 0)
        Harness::pick(h.box("f_box"), first);
    Harness::pick(h.box("f_box"), band);

    const QString no = flagWords(language).no;
    QByteArray expected = image;
    for (int ch = 1; ch <= kChannelCount; ++ch) {
        expected = withRecords(expected, 2 * (ch - 1),
                               channelRecords(ch, {frequency, "OFF", frequency, "OFF", no, no}));
        const QStringList row{frequency, "OFF", frequency, "OFF", no, no};
        for (int c = 1; c <= 6; ++c)
            QCOMPARE(h.window->channelGrid().cell(c, ch), row[c - 1]);
    }
    QByteArray band03D0 = hexBytes("57 03 D0 08 00 00 00 37 30 31 33 50");
    band03D0[6] = char(code);
    expected = withRecords(expected, 33, band03D0);
    QCOMPARE(h.fileBytes(), expected); // records 32 and 34 untouched
    QVERIFY(h.prompter.shown.isEmpty());
    QVERIFY(busy->isVisible());
    QCOMPARE(busy->currentText(), no);
}

void TestSettingsPanelModelBand::modelQuestionNoChangesNothing_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("question");
    QTest::newRow("Chinese") << Language::Chinese << QStringLiteral("你要改变 QX-7420?");
    QTest::newRow("English") << Language::English << "Do You Wish To Change QX-7420?";
}

void TestSettingsPanelModelBand::modelQuestionNoChangesNothing() {
    QFETCH(Language, language);
    QFETCH(QString, question);
    const QByteArray image = editedImage(true);
    Harness h(language, image);
    h.prompter.answers = {false};
    Harness::pick(h.box("CB_JQLX"), 0);
    QTRY_COMPARE(h.prompter.texts(QStringLiteral("ask")), QStringList{question});
    QCOMPARE(h.fileBytes(), image);
    QCOMPARE(h.window->channelGrid().cell(1, 1), QStringLiteral("460.50000"));
    QCOMPARE(h.box("CB_JQLX")->currentIndex(), 0);
    QVERIFY(h.child<QCheckBox>("CheckBox2")->isChecked());
}

void TestSettingsPanelModelBand::modelQuestionYesOnlyUnchecksScan() {
    const QByteArray image = editedImage(true);
    Harness h(Language::English, image);
    h.prompter.answers = {true};
    Harness::pick(h.box("CB_JQLX"), 0);
    QTRY_VERIFY(!h.child<QCheckBox>("CheckBox2")->isChecked());
    for (const char *name : {"CB_SM", "CB_YX", "CB_CH"})
        QVERIFY2(!h.box(name)->isEnabled(), name);
    QCOMPARE(h.fileBytes(), withRecords(image, 34, save03F0(Block03F0Values{}).toByteArray()));
    QCOMPARE(record(h.fileBytes(), 34), hexBytes("57 03 F0 08 5F 0F 2B 14 60 14 0A BF"));
    QCOMPARE(h.window->channelGrid().cell(1, 1), QStringLiteral("460.50000"));

    // Without the scan switch on, a Yes changes nothing at all.
    const QByteArray after = h.fileBytes();
    h.prompter.answers = {true};
    Harness::pick(h.box("CB_JQLX"), 0);
    QTRY_COMPARE(h.prompter.texts(QStringLiteral("ask")).size(), 2);
    QCOMPARE(h.fileBytes(), after);
}

// An image naming the VHF model leaves the model list without a selection; picking
// QX-7420 and answering Yes refills the bands, resets every channel and the band block.
void TestSettingsPanelModelBand::modelYesFromOtherModelRewrites() {
    const QByteArray image = withRecords(editedImage(true), 33, save03D0(1, 1, 2).toByteArray());
    Harness h(Language::Chinese, image);
    QCOMPARE(h.box("CB_JQLX")->currentIndex(), -1);
    h.prompter.answers = {true};
    Harness::pick(h.box("CB_JQLX"), 0);
    QTRY_COMPARE(h.prompter.texts(QStringLiteral("ask")),
                 QStringList{QStringLiteral("你要改变 QX-7420?")});

    const QString f = QStringLiteral("450.01250"), no = chineseFlagWords().no;
    QByteArray expected = image;
    for (int ch = 1; ch <= kChannelCount; ++ch)
        expected =
            withRecords(expected, 2 * (ch - 1), channelRecords(ch, {f, "OFF", f, "OFF", no, no}));
    expected = withRecords(expected, 33, hexBytes("57 03 D0 08 00 00 F4 37 30 31 33 50"));
    expected = withRecords(expected, 34, save03F0(Block03F0Values{}).toByteArray());
    QCOMPARE(h.fileBytes(), expected);
    QCOMPARE(h.box("f_box")->count(), 5);
    QCOMPARE(h.box("f_box")->currentIndex(), 0);
    QCOMPARE(h.window->channelGrid().cell(1, 16), f);
    QVERIFY(!h.child<QCheckBox>("CheckBox2")->isChecked());
}

QTEST_MAIN(TestSettingsPanelModelBand)
#include "tst_settingspanel_modelband.moc"
