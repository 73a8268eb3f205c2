// The bench's report and exit status, and the file each radio's image gets in a folder.
#include "fleetrun.h"

#include <QtTest>

using namespace qx::cli;

Q_DECLARE_METATYPE(QList<RadioResult>)

class TestFleetReport : public QObject {
    Q_OBJECT
private slots:
    void portFileName_data();
    void portFileName();
    void exitStatus_data();
    void exitStatus();
    void reportFormats();
};

void TestFleetReport::portFileName_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("name");
    QTest::newRow("port number") << "3"
                                 << "COM3";
    QTest::newRow("device") << "/dev/ttyUSB0"
                            << "ttyUSB0";
    QTest::newRow("name under /dev") << "ttyACM1"
                                     << "ttyACM1";
    QTest::newRow("stable name") << "/dev/serial/by-path/pci-0:1.2:1.0-port0"
                                 << "pci-0:1.2:1.0-port0";
    QTest::newRow("network port") << "rfc2217://bench2:3001"
                                  << "bench2_3001";
}

void TestFleetReport::portFileName() {
    QFETCH(QString, argument);
    QFETCH(QString, name);
    QCOMPARE(qx::cli::portFileName(resolvePort(argument)), name);
}

void TestFleetReport::exitStatus_data() {
    QTest::addColumn<QList<RadioResult>>("results");
    QTest::addColumn<int>("code");
    using R = RadioResult;
    QTest::newRow("all ok") << QList<R>{R::Completed, R::Completed} << 0;
    QTest::newRow("verify differences only") << QList<R>{R::Completed, R::VerifyDiffers} << 3;
    QTest::newRow("verify differences and no answer")
        << QList<R>{R::VerifyDiffers, R::NoAnswer, R::Completed} << 1;
    for (R r : {R::Refused, R::NoAnswer, R::WentAway, R::FileError})
        QTest::newRow(qPrintable(resultText(r))) << QList<R>{R::Completed, r} << 1;
    QTest::newRow("interrupted") << QList<R>{R::VerifyDiffers, R::Stopped} << 130;
}

void TestFleetReport::exitStatus() {
    QFETCH(QList<RadioResult>, results);
    QFETCH(int, code);
    QList<RadioReport> reports;
    for (RadioResult r : results)
        reports << RadioReport{"p", "d", r, 1.0, {}};
    QCOMPARE(fleetExitCode(reports), code);
}

void TestFleetReport::reportFormats() {
    const QList<RadioReport> reports{
        {"1", "/dev/ttyUSB0", RadioResult::Completed, 7.912, {}},
        {"/tmp/a,b", "/tmp/a,b", RadioResult::VerifyDiffers, 8.05, {4, 34}},
    };
    QCOMPARE(reportLines(reports), QStringLiteral("1         /dev/ttyUSB0  ok                    "
                                                  "7.9 s\n"
                                                  "/tmp/a,b  /tmp/a,b      verify differences    "
                                                  "8.1 s  records 4 34\n"));
    QCOMPARE(reportCsv(reports), QStringLiteral("port,device,result,seconds,differing_records\n"
                                                "1,/dev/ttyUSB0,ok,7.91,\n"
                                                "\"/tmp/a,b\",\"/tmp/a,b\",verify "
                                                "differences,8.05,4 34\n"));
}

QTEST_GUILESS_MAIN(TestFleetReport)
#include "tst_fleetreport.moc"
