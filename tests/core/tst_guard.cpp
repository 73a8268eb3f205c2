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

class TestGuard : public QObject {
    Q_OBJECT
private slots:
    void guardShowsEveryFailure();
    void onErrorRunsBeforeTheBox();
};

void TestGuard::guardShowsEveryFailure() {
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

// A transfer ends before its error is shown; a failure of that clean-up is shown too.
void TestGuard::onErrorRunsBeforeTheBox() {
    RecordingPrompter p;
    QStringList order;
    const auto fail = [] { throw Error(QStringLiteral("cannot store record 3")); };
    guard(
        p, [&] { order << QStringLiteral("handler"); },
        [&] { order << QStringLiteral("onError"); });
    QCOMPARE(order, QStringList{QStringLiteral("handler")});
    guard(p, fail, [&] { order << QStringLiteral("onError ") + QString::number(p.errors.size()); });
    QCOMPARE(order.last(), QStringLiteral("onError 0"));
    guard(p, fail, [] { throw Error(QStringLiteral("cannot close")); });
    QCOMPARE(p.errors,
             (QStringList{QStringLiteral("cannot store record 3"), QStringLiteral("cannot close"),
                          QStringLiteral("cannot store record 3")}));
}

QTEST_APPLESS_MAIN(TestGuard)
#include "tst_guard.moc"
