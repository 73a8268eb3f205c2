#include "error.h"
#include "frequency.h"

#include <QtTest>

using namespace qx;
using Verdict = CheckedFrequency::Verdict;

Q_DECLARE_METATYPE(Verdict)

class TestFrequency : public QObject {
    Q_OBJECT
private slots:
    void check_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<QString>("stored");
        const auto in = Verdict::InRange;
        const auto out = Verdict::OutOfRange;
        QTest::newRow("empty stays empty") << "" << Verdict::Empty << "";
        QTest::newRow("six decimals round to 10 Hz") << "450.012512" << in << "450.01250";
        QTest::newRow("below lowest") << "399.99999" << out << "450.01250";
        QTest::newRow("highest snaps down") << "512.99999" << in << "512.99375";
        QTest::newRow("just above highest") << "512.999995" << out << "450.01250";
        QTest::newRow("off raster to 6.25 kHz") << "450.01660" << in << "450.01250";
        QTest::newRow("5 kHz raster kept") << "450.01500" << in << "450.01500";
        QTest::newRow("6.25 kHz raster kept") << "450.00625" << in << "450.00625";
        QTest::newRow("never rounded up") << "462.563" << in << "462.56250";
        QTest::newRow("trailing point") << "450." << in << "450.00000";
        QTest::newRow("zero is out of range") << "0" << out << "450.01250";
        QTest::newRow("pasted exponent") << "4.5e2" << in << "450.00000";
    }
    void check() {
        QFETCH(QString, typed);
        QFETCH(Verdict, verdict);
        QFETCH(QString, stored);
        const CheckedFrequency c = checkFrequencyText(typed);
        QCOMPARE(c.verdict, verdict);
        QCOMPARE(c.text, stored);
    }

    void notANumber_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("lone point") << ".";
        QTest::newRow("two points") << "450.01.2";
        QTest::newRow("letters") << "abc";
        QTest::newRow("comma") << "450,0125";
    }
    void notANumber() {
        QFETCH(QString, typed);
        try {
            checkFrequencyText(typed);
            QFAIL("no error");
        } catch (const Error &e) {
            QCOMPARE(e.message(),
                     QStringLiteral("'%1' is not a valid floating point value").arg(typed));
        }
    }
};

QTEST_APPLESS_MAIN(TestFrequency)
#include "tst_frequency.moc"
