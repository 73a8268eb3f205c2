#include "edithistory.h"
#include "spinbutton.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

using namespace qx;
using namespace qx::test;

namespace {

void replaceText(QWidget *field, const QString &text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

} // namespace

class TestSettingsPanel : public QObject {
    Q_OBJECT
private slots:
    void block03C0WorkedFrame_data();
    void block03C0WorkedFrame();
    void block03F0WorkedFrame_data();
    void block03F0WorkedFrame();
    void stepButtonsDoNotStore_data();
    void stepButtonsDoNotStore();
    void stepButtonsFollowScanMode();
    void disabledTimeFieldTakesNoClick();
    void powerOutOfRangeBecomesZero_data();
    void powerOutOfRangeBecomesZero();
    void powerRangeRuleWhenStoreFails();
    void powerSteppingStopsAtEnds_data();
    void powerSteppingStopsAtEnds();
    void badTimeTextStoresNothing_data();
    void badTimeTextStoresNothing();
    void loadStoresNothing();
    void scanEnableRules();
    void pickingTheShownItemStoresNothing_data();
    void pickingTheShownItemStoresNothing();
};

void TestSettingsPanel::block03C0WorkedFrame_data() {
    QTest::addColumn<Language>("language");
    QTest::newRow("Chinese") << Language::Chinese;
    QTest::newRow("English") << Language::English;
}

// Beep on, battery save off, squelch 5, monitor key on, time-out 120 s.
void TestSettingsPanel::block03C0WorkedFrame() {
    QFETCH(Language, language);
    Harness h(language);
    const QByteArray before = h.fileBytes();
    Harness::pick(h.box("CB_BY"), 1);
    QCOMPARE(record(h.fileBytes(), 32), hexBytes("57 03 C0 08 FD 00 00 00 FF FF FF FF"));
    Harness::pick(h.box("CB_DP"), 5);
    Harness::pick(h.box("CB_JT"), 1);
    Harness::pick(h.box("CB_CS"), 4);
    QCOMPARE(h.fileBytes(),
             withRecords(before, 32, hexBytes("57 03 C0 08 FD 05 03 04 FF FF FF FF")));
    Harness::pick(h.box("CB_SD"), 1);
    QCOMPARE(record(h.fileBytes(), 32), hexBytes("57 03 C0 08 FF 05 03 04 FF FF FF FF"));
    QVERIFY(h.prompter.shown.isEmpty());
}

void TestSettingsPanel::block03F0WorkedFrame_data() {
    block03C0WorkedFrame_data();
}

// Voice English, carrier 10, power 96, delay 10, return 5, scan on, time mode, cyclic,
// channel 3.
void TestSettingsPanel::block03F0WorkedFrame() {
    QFETCH(Language, language);
    Harness h(language);
    const QByteArray before = h.fileBytes();
    Harness::pick(h.box("CB_YY"), 2);
    QTest::mouseClick(h.child<QCheckBox>("CheckBox2"), Qt::LeftButton);
    Harness::pick(h.box("CB_SM"), 1);
    QVERIFY(h.box("CB_CH")->isEnabled());
    Harness::pick(h.box("CB_CH"), 2);
    Harness::pick(h.box("CB_YX"), 0);
    QVERIFY(!h.box("CB_CH")->isEnabled());
    QCOMPARE(h.fileBytes(),
             withRecords(before, 34, hexBytes("57 03 F0 08 5E 0F 2B 14 60 14 0A 52")));
}

void TestSettingsPanel::stepButtonsDoNotStore_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("stored"); // byte after a click into the field
    QTest::newRow("carrier 10 up") << "Edit1"
                                   << "" << true << "10.5" << 0x15;
    QTest::newRow("carrier 15 wraps up") << "Edit1"
                                         << "15" << true << "0.5" << 0x01;
    QTest::newRow("return 0.5 wraps down") << "Edit3"
                                           << "0.5" << false << "15" << 0x1E;
    QTest::newRow("return 1 down") << "Edit3"
                                   << "1" << false << "0.5" << 0x01;
    QTest::newRow("off raster stays off") << "Edit3"
                                          << "0.8" << true << "1.3" << -1;
}

void TestSettingsPanel::stepButtonsDoNotStore() {
    QFETCH(QString, field);
    QFETCH(QString, start);
    QFETCH(bool, up);
    QFETCH(QString, shown);
    QFETCH(int, stored);
    Harness h(Language::Chinese);
    const QByteArray before = h.fileBytes();
    auto *edit = h.child<QLineEdit>(field.toLatin1().constData());
    if (!start.isEmpty())
        replaceText(edit, start);
    auto *spin =
        h.child<SpinButton>(field == QLatin1String("Edit1") ? "SpinButton1" : "SpinButton3");
    QTest::mouseClick(up ? spin->upButton() : spin->downButton(), Qt::LeftButton);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(h.fileBytes(), before);

    // The next click into a time field stores the block with the stepped time.
    QTest::mouseClick(edit, Qt::LeftButton);
    if (stored < 0) {
        QCOMPARE(h.prompter.texts(QStringLiteral("error")),
                 QStringList{QStringLiteral("'2.6' is not a valid integer value")});
        QCOMPARE(h.fileBytes(), before);
        return;
    }
    QByteArray expected = before;
    expected[34 * MemoryFrame::kSize + 4 + (field == QLatin1String("Edit1") ? 3 : 6)] =
        char(stored);
    QCOMPARE(h.fileBytes(), expected);
}

void TestSettingsPanel::stepButtonsFollowScanMode() {
    Harness h(Language::English);
    auto *edit2 = h.child<QLineEdit>("Edit2");
    auto *spin1 = h.child<SpinButton>("SpinButton1");
    auto *spin2 = h.child<SpinButton>("SpinButton2");
    auto *spin3 = h.child<SpinButton>("SpinButton3");
    auto states = [&] {
        return QList<bool>{edit2->isEnabled(), spin2->isEnabled(), spin1->isEnabled(),
                           spin3->isEnabled()};
    };
    QCOMPARE(states(), (QList<bool>{false, false, true, true}));
    QTest::mouseClick(h.child<QCheckBox>("CheckBox2"), Qt::LeftButton);
    Harness::pick(h.box("CB_SM"), 1);
    QCOMPARE(states(), (QList<bool>{true, true, true, true}));
    QTest::mouseClick(spin2->upButton(), Qt::LeftButton);
    QCOMPARE(edit2->text(), QStringLiteral("10.5"));
    Harness::pick(h.box("CB_SM"), 0);
    QCOMPARE(states(), (QList<bool>{false, false, true, true}));
}

// The delay field is disabled in carrier mode: a click on it stores nothing, so a
// time typed elsewhere stays unstored until a real store.
void TestSettingsPanel::disabledTimeFieldTakesNoClick() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    auto *edit1 = h.child<QLineEdit>("Edit1");
    auto *edit2 = h.child<QLineEdit>("Edit2");
    replaceText(edit1, QStringLiteral("3"));
    QVERIFY(!edit2->isEnabled());
    QTest::mouseClick(edit2, Qt::LeftButton);
    QCOMPARE(h.fileBytes(), before);
    QTest::mouseClick(edit1, Qt::LeftButton);
    QCOMPARE(record(h.fileBytes(), 34), hexBytes("57 03 F0 08 5F 0F 2B 06 60 14 0A BF"));
}

void TestSettingsPanel::powerOutOfRangeBecomesZero_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("label");
    QTest::newRow("300 Chinese") << Language::Chinese << "300" << 0
                                 << QStringLiteral("功率电压:0.000(V)");
    QTest::newRow("255 English") << Language::English << "255" << 255 << "Powers Voltage:5.000(V)";
    QTest::newRow("negative") << Language::English << "-7" << 0 << "Powers Voltage:0.000(V)";
}

void TestSettingsPanel::powerOutOfRangeBecomesZero() {
    QFETCH(Language, language);
    QFETCH(QString, typed);
    QFETCH(int, value);
    QFETCH(QString, label);
    Harness h(language);
    const QByteArray before = h.fileBytes();
    auto *power = h.child<QSpinBox>("SpinEdit1");
    QCOMPARE(h.child<QLabel>("Label19")->text(), QStringLiteral("NewPower"));
    replaceText(power, typed);
    QCOMPARE(power->value(), value);
    QCOMPARE(h.child<QLabel>("Label19")->text(), label);
    QByteArray expected = before;
    expected[34 * MemoryFrame::kSize + 8] = char(value);
    QCOMPARE(h.fileBytes(), expected);
}

// A failed store must not leave 300 in the field: the next good store would write it
// as 300 modulo 256.
void TestSettingsPanel::powerRangeRuleWhenStoreFails() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    auto *edit1 = h.child<QLineEdit>("Edit1");
    auto *power = h.child<QSpinBox>("SpinEdit1");
    replaceText(edit1, QStringLiteral("1a"));
    replaceText(power, QStringLiteral("300"));
    QVERIFY(!h.prompter.texts(QStringLiteral("error")).isEmpty());
    QCOMPARE(power->value(), 0);
    QCOMPARE(h.fileBytes(), before);
    replaceText(edit1, QStringLiteral("10"));
    QTest::mouseClick(edit1, Qt::LeftButton);
    QCOMPARE(record(h.fileBytes(), 34), hexBytes("57 03 F0 08 5F 0F 2B 14 00 14 0A BF"));
}

void TestSettingsPanel::powerSteppingStopsAtEnds_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("step"); // a key, or the wheel
    QTest::addColumn<int>("value");
    QTest::newRow("up at 255") << "255"
                               << "Up" << 255;
    QTest::newRow("page up at 255") << "255"
                                    << "PgUp" << 255;
    QTest::newRow("wheel up at 255") << "255"
                                     << "wheel+" << 255;
    QTest::newRow("page up at 250") << "250"
                                    << "PgUp" << 255;
    QTest::newRow("down at 0") << "0"
                               << "Down" << 0;
    QTest::newRow("wheel down at 0") << "0"
                                     << "wheel-" << 0;
    QTest::newRow("page down at 4") << "4"
                                    << "PgDown" << 0;
    QTest::newRow("up at 254") << "254"
                               << "Up" << 255;
}

// Stepping past an end used to give 256, which the range rule then stored as 0.
void TestSettingsPanel::powerSteppingStopsAtEnds() {
    QFETCH(QString, typed);
    QFETCH(QString, step);
    QFETCH(int, value);
    Harness h(Language::English);
    auto *power = h.child<QSpinBox>("SpinEdit1");
    replaceText(power, typed);
    if (step.startsWith(QLatin1String("wheel"))) {
        const QPoint at = power->rect().center();
        QWheelEvent wheel(at, power->mapToGlobal(at), {}, {0, step.endsWith('+') ? 120 : -120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(power, &wheel);
    } else {
        const QHash<QString, Qt::Key> keys{{"Up", Qt::Key_Up},
                                           {"Down", Qt::Key_Down},
                                           {"PgUp", Qt::Key_PageUp},
                                           {"PgDown", Qt::Key_PageDown}};
        QTest::keyClick(power, keys.value(step));
    }
    QCOMPARE(power->value(), value);
    QCOMPARE(quint8(record(h.fileBytes(), 34).at(8)), quint8(value));
    QCOMPARE(h.child<QLabel>("Label19")->text(),
             QStringLiteral("Powers Voltage:%1(V)").arg(value / 51.0, 0, 'f', 3));
}

void TestSettingsPanel::badTimeTextStoresNothing_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a number") << "Edit1"
                                  << "1a"
                                  << "'1a' is not a valid floating point value";
    QTest::newRow("off the half-second raster") << "Edit3"
                                                << "7.3"
                                                << "'14.6' is not a valid integer value";
    QTest::newRow("empty") << "Edit1"
                           << ""
                           << "'' is not a valid floating point value";
}

void TestSettingsPanel::badTimeTextStoresNothing() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Harness h(Language::Chinese);
    const QByteArray before = h.fileBytes();
    auto *edit = h.child<QLineEdit>(field.toLatin1().constData());
    replaceText(edit, typed);
    if (typed.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(h.prompter.texts(QStringLiteral("error")), QStringList{message});
    QCOMPARE(edit->text(), typed);
    // Any other store of the block fails the same way.
    Harness::pick(h.box("CB_YY"), 1);
    QCOMPARE(h.prompter.texts(QStringLiteral("error")).size(), 2);
    QCOMPARE(edit->text(), typed);
    QCOMPARE(h.fileBytes(), before);
}

void TestSettingsPanel::loadStoresNothing() {
    Block03F0Values v;
    v.voice = 1;
    v.carrierTime = QStringLiteral("7.5");
    v.power = 200;
    v.delayTime = QStringLiteral("3");
    v.returnTime = QStringLiteral("2");
    v.scanOn = true;
    v.scanMode = 1;
    v.channelMode = 1;
    v.priorityChannel = 4;
    Block03C0Values c;
    c.beep = 1;
    c.squelch = 7;
    const QByteArray image = withRecords(withRecords(baseImage(), 34, save03F0(v).toByteArray()),
                                         32, save03C0(c).toByteArray());
    Harness h(Language::Chinese, image);
    QCOMPARE(h.fileBytes(), image);
    QCOMPARE(h.child<QLabel>("Label19")->text(), QStringLiteral("功率电压:3.922(V)"));
    QCOMPARE(h.child<QLineEdit>("Edit1")->text(), QStringLiteral("7.5"));
    QCOMPARE(h.box("CB_DP")->currentIndex(), 7);
    QCOMPARE(h.box("CB_CH")->currentIndex(), 4);
    QVERIFY(h.child<QCheckBox>("CheckBox2")->isChecked());
    for (const char *name : {"CB_SM", "CB_YX", "CB_CH"})
        QVERIFY2(h.box(name)->isEnabled(), name);
    QVERIFY(h.child<QLineEdit>("Edit2")->isEnabled());
    QVERIFY(h.child<SpinButton>("SpinButton2")->isEnabled());
    QVERIFY(h.prompter.shown.isEmpty());
}

void TestSettingsPanel::scanEnableRules() {
    Harness h(Language::English);
    const QByteArray before = h.fileBytes();
    auto *check = h.child<QCheckBox>("CheckBox2");
    auto enabled = [&] {
        return QList<bool>{h.box("CB_SM")->isEnabled(), h.box("CB_YX")->isEnabled(),
                           h.box("CB_CH")->isEnabled()};
    };
    QCOMPARE(enabled(), (QList<bool>{false, false, false}));
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(enabled(), (QList<bool>{true, true, true}));
    QCOMPARE(record(h.fileBytes(), 34), hexBytes("57 03 F0 08 5F 0F 2B 14 60 14 0A 3F"));
    Harness::pick(h.box("CB_YX"), 0);
    QCOMPARE(enabled(), (QList<bool>{true, true, false}));
    QCOMPARE(record(h.fileBytes(), 34), hexBytes("57 03 F0 08 5F 0F 2B 14 60 14 0A 1F"));
    Harness::pick(h.box("CB_YX"), 1);
    QCOMPARE(enabled(), (QList<bool>{true, true, true}));
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(enabled(), (QList<bool>{false, false, false}));
    QCOMPARE(h.fileBytes(), before);
}

void TestSettingsPanel::pickingTheShownItemStoresNothing_data() {
    QTest::addColumn<QString>("list");
    for (const char *name :
         {"f_box", "CB_BY", "CB_SD", "CB_DP", "CB_YY", "CB_JT", "CB_CS", "CB_SM", "CB_YX", "CB_CH"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// Only a change of the selection stores: the blocks hold bytes that a store would rewrite.
void TestSettingsPanel::pickingTheShownItemStoresNothing() {
    QFETCH(QString, list);
    Block03F0Values scanOn;
    scanOn.scanOn = true;
    QByteArray image = withRecords(baseImage(), 34, save03F0(scanOn).toByteArray());
    image[32 * MemoryFrame::kSize + 8] = 0x00;
    image[34 * MemoryFrame::kSize + 5] = 0x00;
    Harness h(Language::English, image);
    QComboBox *box = h.box(list.toLatin1().constData());
    QVERIFY(box->isEnabled());
    Harness::pick(box, box->currentIndex());
    QTest::qWait(20); // a list's close is told from the event queue
    QCOMPARE(h.fileBytes(), image);
    QCOMPARE(h.window->findChild<EditHistory *>()->count(), 0);
}

QTEST_MAIN(TestSettingsPanel)
#include "tst_settingspanel.moc"
