#include "error.h"
#include "frequency.h"
#include "frequencythroughdouble.h"

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
        // Half of 10 Hz rounds up on the typed digits, whatever a double makes of them.
        QTest::newRow("tie up onto 6.25 kHz") << "512.012495" << in << "512.01250";
        QTest::newRow("below tie") << "512.012494" << in << "512.00625";
        QTest::newRow("above tie") << "512.012496" << in << "512.01250";
        QTest::newRow("tie up off the 5 kHz raster") << "512.030005" << in << "512.02500";
        QTest::newRow("below tie on 5 kHz") << "512.030004" << in << "512.03000";
        QTest::newRow("tie with trailing zeros") << "512.01249500" << in << "512.01250";
        QTest::newRow("tie in exponent form") << "5.12012495e2" << in << "512.01250";
        QTest::newRow("tie in a low band") << "450.012495" << in << "450.01250";
        QTest::newRow("tie below lowest") << "399.999995" << out << "450.01250";
        QTest::newRow("highest, trailing zeros") << "512.9999900" << in << "512.99375";
        QTest::newRow("just above highest, far digit") << "512.999990001" << out << "450.01250";
        QTest::newRow("sign and blanks") << " +450.0125 " << in << "450.01250";
        QTest::newRow("negative") << "-450" << out << "450.01250";
        QTest::newRow("leading zeros") << "000450.0125" << in << "450.01250";
        QTest::newRow("leading point") << ".45e3" << in << "450.00000";
        QTest::newRow("tiny exponent") << "4.5e-300" << out << "450.01250";
        QTest::newRow("ten times too big") << "4500" << out << "450.01250";
    }
    void check() {
        QFETCH(QString, typed);
        QFETCH(Verdict, verdict);
        QFETCH(QString, stored);
        const CheckedFrequency c = checkFrequencyText(typed);
        QCOMPARE(c.verdict, verdict);
        QCOMPARE(c.text, stored);
    }

    // Every form the grid took before gives what the former check through a double gave,
    // except a tie, which now gives what a hair above it gives.
    void sameAsThroughDoubleExceptTies() {
        const auto viaDouble = [](const QString &text) {
            return test::frequencyThroughDouble(text.trimmed().toDouble());
        };
        const QStringList tails{"", "0", "1", "4", "49", "6", "9", "51"};
        int checked = 0;
        // Around points of the 6.25 kHz raster, where a tie rounded the wrong way moves the
        // snapped result by a whole raster step.
        for (qint64 units = 39993125 - 1; units <= 51306250 + 1;
             units += units % 625 == 1 ? 6873 : 1) {
            const QString digits = QString::number(units);
            const QString plain = digits.left(3) + '.' + digits.mid(3);
            for (int k = 0; k <= tails.size(); ++k) {
                const bool tie = k == tails.size();
                const QString tail = tie ? QStringLiteral("5") : tails.at(k);
                QString typed = plain + tail;
                switch (tie ? 0 : (units + k) % 5) {
                case 1:
                    typed = '+' + typed;
                    break;
                case 2:
                    typed = ' ' + typed + ' ';
                    break;
                case 3:
                    typed = "0." + digits + tail + "e3";
                    break;
                case 4:
                    typed = '0' + typed;
                    break;
                }
                const QString expected = viaDouble(tie ? plain + "51" : typed);
                QCOMPARE(checkFrequencyText(typed).text, expected);
                ++checked;
            }
        }
        QVERIFY(checked > 40000);
    }

    void notANumber_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("lone point") << ".";
        QTest::newRow("two points") << "450.01.2";
        QTest::newRow("letters") << "abc";
        QTest::newRow("comma") << "450,0125";
        QTest::newRow("beyond a double") << "1e400";
        QTest::newRow("below a double") << "1e-400";
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

    // A step typed in kHz, in 10 Hz units; -1: refused.
    void step_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("units");
        QTest::newRow("two decimals") << " 6.25 " << qint64(625);
        QTest::newRow("one") << "12.5" << qint64(1250);
        QTest::newRow("point first") << ".5" << qint64(50);
        QTest::newRow("point last") << "25." << qint64(2500);
        QTest::newRow("the widest") << "100000" << qint64(10000000);
        QTest::newRow("wider") << "100000.01" << qint64(-1);
        QTest::newRow("below 10 Hz") << "6.255" << qint64(-1);
        QTest::newRow("zero") << "0.00" << qint64(-1);
        QTest::newRow("sign") << "-5" << qint64(-1);
        QTest::newRow("lone point") << "." << qint64(-1);
        QTest::newRow("empty") << "" << qint64(-1);
    }
    void step() {
        QFETCH(QString, typed);
        QFETCH(qint64, units);
        QCOMPARE(stepUnits(typed).value_or(-1), units);
    }
};

QTEST_APPLESS_MAIN(TestFrequency)
#include "tst_frequency.moc"
