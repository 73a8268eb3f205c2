#include "error.h"
#include "ptini.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using qx::PtIni;

class TestPtIni : public QObject {
    Q_OBJECT

    QString write(const QTemporaryDir &dir, const QByteArray &content) {
        const QString path = dir.filePath(QStringLiteral("pt.ini"));
        QFile f(path);
        if (content == "<folder>") // a pt.ini that cannot be read
            QDir(dir.path()).mkdir(QStringLiteral("pt.ini"));
        else if (!content.isNull()) {
            f.open(QIODevice::WriteOnly);
            f.write(content);
        }
        return path;
    }

private slots:
    void reads_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("port");
        QTest::newRow("absent") << QByteArray() << "C" << 1;
        QTest::newRow("empty") << QByteArray("") << "C" << 1;
        QTest::newRow("english") << QByteArray("[LG]\nLG=E\n[pt]\nCOM=3\n") << "E" << 3;
        QTest::newRow("keys in the wrong section")
            << QByteArray("[pt]\nLG=E\n[LG]\nCOM=4\n") << "C" << 1;
        QTest::newRow("names ignore case") << QByteArray("[lg]\nlg=E\n[PT]\ncom=2\n") << "E" << 2;
        QTest::newRow("port not a number") << QByteArray("[pt]\nCOM=abc\n") << "C" << 1;
        QTest::newRow("port zero") << QByteArray("[pt]\nCOM=0\n") << "C" << 0;
        QTest::newRow("lower-case language") << QByteArray("[LG]\nLG=e\n") << "e" << 1;
        QTest::newRow("empty language") << QByteArray("[LG]\nLG=\n") << "" << 1;
        QTest::newRow("CRLF lines") << QByteArray("[LG]\r\nLG=E\r\n[pt]\r\nCOM=7\r\n") << "E" << 7;
        // Read as empty, and the start says why.
        QTest::newRow("unreadable") << QByteArray("<folder>") << "C" << 1;
    }
    void reads() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const PtIni ini(write(dir, content));
        QTEST(ini.language(), "language");
        QTEST(ini.comPort(), "port");
        QCOMPARE(ini.problem().isEmpty(), content != "<folder>");
        if (!ini.problem().isEmpty())
            QVERIFY2(ini.problem().startsWith(ini.path() + ": "), qPrintable(ini.problem()));
    }

    void writeKeepsOtherKeysAndComments() {
        QTemporaryDir dir;
        PtIni ini(write(dir, "; dealer notes\n[LG]\nLG=C\n[Other]\nKey=Value\n"));
        ini.writeString("LG", "lg", "E");
        ini.writeInt("pt", "COM", 5);
        QFile f(ini.path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY(text.contains("; dealer notes"));
        QVERIFY(text.contains("Key=Value"));
        QVERIFY(!text.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(ini.language(), QStringLiteral("E"));
        QCOMPARE(ini.comPort(), 5);
        QCOMPARE(text.count("LG="), 1);
    }

    // A section line without its closing bracket is read back differently once written:
    // the key under it would move to another section (and the line grows each time).
    void writeRefusedWhenADamagedLineWouldChange_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("forgotten bracket") << QByteArray("[LG]\nLG=C\n[ports\nCOM1=/dev/ttyACM0\n");
        QTest::newRow("cut section name") << QByteArray("[pt]\nCOM=2\n[por\ncom2 = /dev/ttyUSB5\n");
    }
    void writeRefusedWhenADamagedLineWouldChange() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        PtIni ini(write(dir, content));
        QVERIFY_THROWS_EXCEPTION(qx::Error, ini.writeInt("pt", "COM", 5));
        QFile f(ini.path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }

    void writeCreatesTheFile() {
        QTemporaryDir dir;
        PtIni ini(dir.filePath("pt.ini"));
        ini.writeInt("pt", "COM", 3);
        QVERIFY(QFile::exists(ini.path()));
        QCOMPARE(ini.comPort(), 3);
    }

    void writeToUnwritableFolderThrows() {
        PtIni ini(QStringLiteral("/nonexistent-folder/pt.ini"));
        QVERIFY_THROWS_EXCEPTION(qx::Error, ini.writeInt("pt", "COM", 3));
    }

    void portDevices() {
        QTemporaryDir dir;
        PtIni ini(write(dir, "[ports]\nCOM2=/dev/ttyACM0\n"));
        qunsetenv("QX7420_DEVICE");
        QCOMPARE(ini.deviceForPort(2), QStringLiteral("/dev/ttyACM0"));
#ifndef Q_OS_WIN
        QCOMPARE(ini.deviceForPort(1), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(ini.deviceForPort(4), QStringLiteral("/dev/ttyUSB3"));
#endif
        qputenv("QX7420_DEVICE", "/tmp/radio");
        QCOMPARE(ini.deviceForPort(2), QStringLiteral("/tmp/radio"));
        qunsetenv("QX7420_DEVICE");
    }

    void portForDevice_data() {
        QTest::addColumn<QByteArray>("content"); // %D stands for a temporary folder
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("port");
        QTest::newRow("default name") << QByteArray() << "/dev/ttyUSB3" << 4;
        QTest::newRow("default name taken by a mapping")
            << QByteArray("[ports]\nCOM4=/dev/ttyACM0\n") << "/dev/ttyUSB3" << 0;
        QTest::newRow("mapped device")
            << QByteArray("[ports]\ncom4=/dev/ttyACM0\n") << "/dev/ttyACM0" << 4;
        QTest::newRow("lowest of two")
            << QByteArray("[ports]\nCOM5=/dev/ttyACM0\nCOM3=/dev/ttyACM0\n") << "/dev/ttyACM0" << 3;
        QTest::newRow("not mapped")
            << QByteArray("[ports]\nCOM1=/dev/ttyACM0\n") << "/dev/ttyS0" << 0;
        // A by-id name follows the cable into any socket: the device it leads to is found
        // under that name's number, and the name itself too.
        QTest::newRow("device behind a by-id name")
            << QByteArray("[ports]\nCOM2=%D/by-id/usb-cable\n") << "%D/ttyUSB7" << 2;
        QTest::newRow("by-id name itself")
            << QByteArray("[ports]\nCOM2=%D/by-id/usb-cable\n") << "%D/by-id/usb-cable" << 2;
    }
    void portForDevice() {
        QFETCH(QByteArray, content);
        QFETCH(QString, device);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("by-id"));
        QFile target(dir.filePath("ttyUSB7"));
        QVERIFY(target.open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(target.fileName(), dir.filePath("by-id/usb-cable")));
        qunsetenv("QX7420_DEVICE");
        const PtIni ini(write(dir, content.replace("%D", QFile::encodeName(dir.path()))));
        QTEST(ini.portForDevice(device.replace("%D", dir.path())), "port");
    }

    void dataFolder_data() {
        QTest::addColumn<QString>("program"); // empty: a fresh temporary folder
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("beside");
        QTest::newRow("writable: beside the program") << QString() << false << true;
        QTest::newRow("read-only: the data folder") << QString() << true << false;
        // Root can write there, yet an installed program must not leave files in /usr.
        QTest::newRow("under /usr: the data folder") << "/usr/bin" << false << false;
    }
    void dataFolder() {
        QFETCH(QString, program);
        QFETCH(bool, readOnly);
        QTemporaryDir dir, home;
        if (program.isEmpty())
            program = dir.path();
        const QString data = home.filePath("share/qx7420");
        const QByteArray before = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("share")));
        if (readOnly)
            QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
        const bool writable = QFileInfo(program).isWritable();
        const QString folder = qx::dataFolder(program);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_DATA_HOME", before);
        if (readOnly && writable)
            QSKIP("root writes into read-only folders: tests/package runs this case unprivileged");
        QFETCH(bool, beside);
        QCOMPARE(folder, beside ? program : data);
        QCOMPARE(QFileInfo(data).isDir(), !beside); // created at the first start
    }
};

QTEST_GUILESS_MAIN(TestPtIni)
#include "tst_ptini.moc"
