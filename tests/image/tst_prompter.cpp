#include "error.h"
#include "prompter.h"

#include <QtTest>

using namespace qx;

namespace {

class RecordingPrompter : public Prompter {
public:
    QStringList errors;
    void message(const QString &) override {}
    bool ask(const QString &, const QString &, Buttons, Icon) override { return false; }
    void error(const QString &text) override { errors << text; }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &) override { return {}; }
};

} // namespace

class TestPrompter : public QObject {
    Q_OBJECT
private slots:
    void guardShowsEveryFailure();
};

void TestPrompter::guardShowsEveryFailure() {
    RecordingPrompter p;
    bool ran = false;
    guard(p, [&] { ran = true; });
    QVERIFY(ran);
    QVERIFY(p.errors.isEmpty());
    guard(p, [] { throw invalidInteger(QString::fromUtf8("4500125A")); });
    guard(p, [] { throw std::runtime_error("disk full"); });
    guard(p, [] { throw 42; });
    QCOMPARE(p.errors.size(), 3);
    QCOMPARE(p.errors[0], QString("'4500125A' is not a valid integer value"));
    QCOMPARE(p.errors[1], QString("disk full"));
    QVERIFY(!p.errors[2].isEmpty());
}

QTEST_APPLESS_MAIN(TestPrompter)
#include "tst_prompter.moc"
