#include "readcheck.h"
#include "testbytes.h"

#include <QtTest>

using namespace qx;

namespace {

QByteArray data(char c) {
    return QByteArray(8, c);
}

} // namespace

// When a block counts as read: the answers one block gets, in order, and whether the check
// asks for it again after each of them.
class TestReadCheck : public QObject {
    Q_OBJECT
private slots:
    void block_data();
    void block();
    void noiseOnOneBlockAsksAThirdOfEvery();
};

void TestReadCheck::block_data() {
    QTest::addColumn<QByteArray>("answers");  // one character an answer's data
    QTest::addColumn<QByteArray>("expected"); // what was written; empty: a plain read
    QTest::addColumn<QString>("asks");        // after each answer: a = asked again, - = settled
    QTest::addColumn<bool>("unsettled");      // at the end

    QTest::newRow("the same twice") << QByteArray("aa") << QByteArray() << "a-" << false;
    QTest::newRow("differs, then three alike")
        << QByteArray("abbb") << QByteArray() << "aaa-" << false;
    QTest::newRow("never twice the same")
        << QByteArray("abcdef") << QByteArray() << "aaaaa-" << true;
    QTest::newRow("two alike after noise are not enough")
        << QByteArray("abb") << QByteArray() << "aaa" << true;
    QTest::newRow("read-back as written") << QByteArray("w") << QByteArray("w") << "-" << false;
    QTest::newRow("read-back noisy once") << QByteArray("xw") << QByteArray("w") << "a-" << false;
    QTest::newRow("read-back wrong twice") << QByteArray("xx") << QByteArray("w") << "a-" << false;
}

void TestReadCheck::block() {
    QFETCH(QByteArray, answers);
    QFETCH(QByteArray, expected);
    QFETCH(QString, asks);
    QFETCH(bool, unsettled);
    QByteArray image;
    if (!expected.isEmpty())
        image = QByteArray(4 * MemoryFrame::kSize, '\0').replace(3 * 12 + 4, 8, data(expected[0]));
    ReadCheck check = expected.isEmpty() ? ReadCheck() : ReadCheck(image);
    check.restart();
    QString seen;
    for (char a : answers) {
        check.answered(3, data(a));
        seen += check.next().contains(3) ? QLatin1Char('a') : QLatin1Char('-');
    }
    QCOMPARE(seen, asks);
    QCOMPARE(check.unstable().contains(3), unsettled);
}

// Two like answers may both be wrong the same way on a noisy line.
void TestReadCheck::noiseOnOneBlockAsksAThirdOfEvery() {
    ReadCheck check;
    for (int r = 0; r < 3; ++r)
        check.answered(r, data('a'));
    for (int r = 0; r < 3; ++r)
        check.answered(r, data(r == 1 ? 'b' : 'a'));
    QVERIFY(check.noiseSeen());
    QCOMPARE(check.next(), (QList<int>{0, 1, 2}));
    check.restart();
    QVERIFY(!check.noiseSeen());
    QCOMPARE(check.next(), QList<int>{});
}

QTEST_APPLESS_MAIN(TestReadCheck)
#include "tst_readcheck.moc"
