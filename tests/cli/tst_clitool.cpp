// The built qx7420-cli: command lines, exit codes, files left behind, and read and
// write against the radio emulator on a pseudo-terminal.
#include "channelcsv.h"
#include "chirpcsv.h"
#include "filefaults.h"
#include "heldlock.h"
#include "imagedump.h"
#include "radioemulator.h"
#include "sampleimage.h"
#include "ser2netserver.h"
#include "serialdevices.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace qx;
using namespace qx::test;

namespace {

struct Run {
    int code = -1;
    QString out;
    QString err;
};

// prefix: a program that runs the tool (setpriv as another user), with its arguments.
Run runTool(const QStringList &args, const QString &dir, const QString &forcedDevice = {},
            const QStringList &prefix = {}, const QString &stdoutFile = {}) {
    QProcess p;
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QX7420_DEVICE"));
    if (!forcedDevice.isEmpty())
        env.insert(QStringLiteral("QX7420_DEVICE"), forcedDevice);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir);
    if (prefix.isEmpty())
        p.start(QStringLiteral(QX_CLI), args);
    else
        p.start(prefix.first(), prefix.mid(1) + QStringList{QStringLiteral(QX_CLI)} + args);
    Run r;
    if (!p.waitForFinished(90000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// How many times a transfer started: runs of handshakes, each repeated until answered.
int handshakeRuns(const RadioEmulator &emu) {
    int runs = 0;
    bool inRun = false;
    for (const QByteArray &f : emu.receivedFrames()) {
        const bool handshake = f.startsWith('\x02');
        runs += handshake && !inRun;
        inRun = handshake;
    }
    return runs;
}

// Frames of one kind, a frame sent again at once (its answer came late) counted once:
// how often the line repeats depends on the machine's load, not on the tool.
int countFrames(const RadioEmulator &emu, char first) {
    int n = 0;
    QByteArray previous;
    for (const QByteArray &f : emu.receivedFrames()) {
        n += !f.isEmpty() && f.at(0) == first && f != previous;
        previous = f;
    }
    return n;
}

// Emulator memory as a read would store it.
RadioEmulator::Memory patternMemory() {
    RadioEmulator::Memory m;
    for (int i = 0; i < RadioEmulator::kMemorySize; ++i)
        m[std::size_t(i)] = std::uint8_t(i * 7 + 3);
    return m;
}

// The words of a missing device, which list the serial devices that are there.
QString noSuchDevice() {
    const QStringList present = serialDevicePaths();
    return present.isEmpty() ? QStringLiteral("no such device; no serial device is plugged in")
                             : QStringLiteral("no such device; serial devices present: ") +
                                   present.join(QStringLiteral(", "));
}

const QString kWentAway = QStringLiteral("the device went away (was the cable unplugged?)");

struct Radio {
    RadioEmulator emu;
    explicit Radio(const EmulatorFaults &faults = {}) {
        emu.setMemory(patternMemory());
        emu.setFaults(faults);
        QString error;
        if (!emu.start(&error))
            qFatal("emulator: %s", qPrintable(error));
    }
    ~Radio() { emu.stop(); }
    QString device() const { return emu.slavePath(); }
};

// A bench of radios, each reachable through a link named after it in the given folder.
struct Bench {
    std::vector<std::unique_ptr<Radio>> radios;
    Radio &add(const QString &folder, const QString &name, const EmulatorFaults &faults = {}) {
        radios.push_back(std::make_unique<Radio>(faults));
        if (!radios.back()->emu.makeLink(folder + QLatin1Char('/') + name))
            qFatal("cannot link %s", qPrintable(name));
        return *radios.back();
    }
};

// The lines of a report, each split into its columns.
QList<QStringList> reportRows(const QString &text, const QString &separator) {
    QList<QStringList> rows;
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        rows << line.split(QRegularExpression(separator));
    return rows;
}

} // namespace

class TestCliTool : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
    }

    void commandLines_data();
    void commandLines();
    void dumpExitCodes();
    void diffExitCodes();
    void csvFilesEndToEnd();
    void chirpCsvBothWays();
    void outputFaults_data();
    void outputFaults();
    void fullStandardOutputFails();

    void readsTheRadioThroughAPortNumber();
    void retryRecoversARead();
    void lineFaults_data();
    void lineFaults();
    void faultOutlastsEveryRetry_data();
    void faultOutlastsEveryRetry();
    void writeWithBackupAndVerify();
    void verifyNamesEveryDifferingRecord();
    void writeRefusesBeforeSending_data();
    void writeRefusesBeforeSending();
    void failedBackupStopsTheWrite();
    void portThatCannotOpen();
    void severalRadiosAtOnce();
    void eachFailureIsReportedAndTheOthersSucceed();
    void verifyDifferencesAloneExitThree();
    void benchAcrossMachines();

    void cablePulledEndsTheCommand_data();
    void cablePulledEndsTheCommand();
    void probeVerdicts_data();
    void probeVerdicts();
    void probePermissionDenied_data();
    void probePermissionDenied();
    void probeSeveralPortsAtOnce();
    void logOfAShortRead();
    void portsListsEveryDevice();

private:
    QString path(const QString &name) const { return m_temp->filePath(name); }
    QString dir() const { return m_temp->path(); }
    std::unique_ptr<QTemporaryDir> m_temp; // a fresh folder for every test
};

void TestCliTool::commandLines_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("onStdout");
    QTest::addColumn<QString>("text");

    QTest::newRow("help") << QStringList{"--help"} << 0 << true << "import-csv CSV -i FILE -o FILE";
    QTest::newRow("version") << QStringList{"--version"} << 0 << true << "qx7420-cli 1.";
    for (const char *c : {"dump", "diff", "read", "write", "export-csv", "import-csv"})
        QTest::newRow(qPrintable(QStringLiteral("%1 --help").arg(c)))
            << QStringList{c, "--help"} << 0 << true
            << QStringLiteral("Usage: qx7420-cli %1 ").arg(c);
    QTest::newRow("no command") << QStringList{} << 2 << false << "Usage: qx7420-cli COMMAND";
    QTest::newRow("unknown command")
        << QStringList{"burn"} << 2 << false << "unknown command 'burn'";
    QTest::newRow("read without -o")
        << QStringList{"read", "--port", "1"} << 2 << false << "read needs -o FILE";
    QTest::newRow("write without --port")
        << QStringList{"write", "-i", "x.dat"} << 2 << false << "write needs --port P";
    QTest::newRow("retries not a number")
        << QStringList{"read", "--port", "1", "-o", "r.dat", "--retries", "x"} << 2 << false
        << "--retries takes a number";
    QTest::newRow("unknown option")
        << QStringList{"dump", "--bogus", "x.dat"} << 2 << false << "Unknown option 'bogus'";
    QTest::newRow("two files") << QStringList{"dump", "a.dat", "b.dat"} << 2 << false
                               << "unexpected argument 'b.dat'";
    QTest::newRow("diff of one file")
        << QStringList{"diff", "a.dat"} << 2 << false << "diff needs two image files";
    QTest::newRow("unknown pace") << QStringList{"read",  "--port", "1",    "-o",
                                                 "r.dat", "--pace", "turbo"}
                                  << 2 << false << "--pace takes standard or fast, not 'turbo'";
    QTest::newRow("several ports, -o a file")
        << QStringList{"read", "--port", "/dev/null", "--port", "/dev/zero", "-o", "r.dat"} << 2
        << false << "-o r.dat: with several ports this must be an existing folder";
    QTest::newRow("one device twice")
        << QStringList{"read", "--port", "/dev/null", "--port", "/dev/../dev/null", "-o", "."} << 2
        << false << "ports /dev/null and /dev/../dev/null are the same device";
    QTest::newRow("unknown CSV format")
        << QStringList{"export-csv", "x.dat", "--format", "excel"} << 2 << false
        << "--format takes qx7420 or chirp, not 'excel'";
    QTest::newRow("-o given twice") << QStringList{"read", "--port", "1", "-o", "a", "-o", "b"} << 2
                                    << false << "o given more than once";
}

void TestCliTool::commandLines() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(bool, onStdout);
    QFETCH(QString, text);
    const Run r = runTool(args, dir());
    QCOMPARE(r.code, code);
    QVERIFY2((onStdout ? r.out : r.err).contains(text), qPrintable(r.out + r.err));
}

void TestCliTool::dumpExitCodes() {
    QVERIFY(writeFile(path("good.dat"), sampleImage()));
    Run r = runTool({"dump", "good.dat"}, dir());
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, cli::formatDump(cli::decodeImage(sampleImage(), "good.dat")));
    QCOMPARE(r.err, QString());

    QByteArray bad = sampleImage();
    bad[32 * 12 + 5] = char(0x0A); // squelch digit A
    QVERIFY(writeFile(path("bad.dat"), bad));
    r = runTool({"dump", "bad.dat"}, dir());
    QCOMPARE(r.code, 2);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err, QStringLiteral("qx7420-cli: bad.dat: record 32 (settings 03C0): 'A' is not a "
                                   "valid integer value\n"));

    r = runTool({"dump", "none.dat"}, dir());
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err, QStringLiteral("qx7420-cli: none.dat: no such file\n"));

    // Printed as the window shows them, and named as the window names them.
    QByteArray foreign = sampleImage();
    foreign[2 * 12 + 2] = char(0x40); // channel 2's first record under another address
    const QList<std::pair<QByteArray, QString>> incomplete{
        {QByteArray(), "the file holds no records"},
        {sampleImage().left(33 * 12),
         "the file does not hold a whole image for the radio; what is missing or damaged shows "
         "as in a new window; missing: settings 03D0, settings 03F0"},
        {foreign, "not marked with their own address, so a write refuses them: channel 2"}};
    for (const auto &[bytes, note] : incomplete) {
        QVERIFY(writeFile(path("part.dat"), bytes));
        r = runTool({"dump", "part.dat"}, dir());
        QCOMPARE(r.code, 2);
        QCOMPARE(r.out, cli::formatDump(cli::decodeImage(bytes, "part.dat")));
        QVERIFY2(r.err.startsWith("qx7420-cli: part.dat: the file ") && r.err.contains(note),
                 qPrintable(r.err));
    }
}

void TestCliTool::diffExitCodes() {
    QByteArray other = sampleImage();
    other[32 * 12 + 4] = char(0xFC); // beep off
    QVERIFY(writeFile(path("a.dat"), sampleImage()) && writeFile(path("b.dat"), other));
    Run r = runTool({"diff", "a.dat", "a.dat"}, dir());
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out + r.err, QString());
    r = runTool({"diff", "a.dat", "b.dat"}, dir());
    QCOMPARE(r.code, 3);
    QCOMPARE(r.out, QStringLiteral("Beep Tone: ON -> OFF\n"));
    QCOMPARE(r.err, QString());
    r = runTool({"diff", "a.dat", "none.dat"}, dir());
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err, QStringLiteral("qx7420-cli: none.dat: no such file\n"));
    // Differences that could not be written are an output error, not "differ".
    if (QFileInfo::exists("/dev/full")) {
        r = runTool({"diff", "a.dat", "b.dat"}, dir(), {}, {}, "/dev/full");
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err, QStringLiteral("qx7420-cli: cannot write to standard output\n"));
    }
}

void TestCliTool::csvFilesEndToEnd() {
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    Run r = runTool({"export-csv", "in.dat", "-o", "ch.csv"}, dir());
    QCOMPARE(r.code, 0);
    QString csv = QString::fromUtf8(readFile(path("ch.csv")));
    QCOMPARE(csv, exportChannelCsv(sampleImage()));

    // Two bad rows: nothing written, both named.
    QString broken = csv;
    broken.replace("\n3,", "\n3,999").replace("\n5,", "\n5,45x");
    QVERIFY(writeFile(path("bad.csv"), broken.toUtf8()));
    r = runTool({"import-csv", "bad.csv", "-i", "in.dat", "-o", "out.dat"}, dir());
    QCOMPARE(r.code, 2);
    QVERIFY(!QFile::exists(path("out.dat")));
    QVERIFY2(r.err.contains("bad.csv: line 4: RxFrequency '999") &&
                 r.err.contains("bad.csv: line 6: RxFrequency '45x") &&
                 r.err.contains("nothing written: 2 problems"),
             qPrintable(r.err));

    // A changed channel in place of the input image, read from standard input.
    QString edited = csv;
    edited.replace(QRegularExpression("\n2,[^\n]*"), "\r\n2,\"470.5\",OFF,,OFF,NO,YES");
    QProcess p;
    p.setWorkingDirectory(dir());
    p.start(QStringLiteral(QX_CLI), {"import-csv", "-", "-i", "in.dat", "-o", "in.dat"});
    p.write(edited.toUtf8());
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QByteArray expected = sampleImage().replace(
        24, 24, channelRecords(2, {"470.50000", "OFF", "", "OFF", "NO", "YES"}));
    QCOMPARE(readFile(path("in.dat")).toHex(' '), expected.toHex(' '));

    // Far too long for a channel list: refused before it is parsed, nothing written.
    QVERIFY(writeFile(path("long.csv"), csv.toUtf8() + QByteArray(1 << 20, '\n')));
    r = runTool({"import-csv", "long.csv", "-i", "in.dat", "-o", "long.dat"}, dir());
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err, QStringLiteral("qx7420-cli: long.csv: more than 1 MiB, far more than a "
                                   "channel list; not read\n"));
    QVERIFY(!QFile::exists(path("long.dat")));
}

void TestCliTool::chirpCsvBothWays() {
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    Run r = runTool({"export-csv", "in.dat", "--format", "chirp", "-o", "chirp.csv"}, dir());
    QCOMPARE(r.code, 0);
    QString csv = QString::fromUtf8(readFile(path("chirp.csv")));
    QCOMPARE(csv, exportChirpCsv(sampleImage()));

    // Channel 3 moved to a Location this radio does not have: refused, then skipped.
    csv.replace("\n3,", "\n17,");
    QVERIFY(writeFile(path("chirp.csv"), csv.toUtf8()));
    r = runTool({"import-csv", "chirp.csv", "-i", "in.dat", "-o", "out.dat"}, dir());
    QCOMPARE(r.code, 2);
    QVERIFY(!QFile::exists(path("out.dat")));
    QCOMPARE(r.err, QStringLiteral("qx7420-cli: chirp.csv: line 4: Location 17 is beyond this "
                                   "radio's 16 channels\nqx7420-cli: nothing written: 1 problem "
                                   "(--skip-unfit imports the rows that fit)\n"));
    r = runTool({"import-csv", "chirp.csv", "-i", "in.dat", "-o", "out.dat", "--skip-unfit"},
                dir());
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QStringLiteral("qx7420-cli: chirp.csv: skipped line 4: Location 17 is beyond "
                                   "this radio's 16 channels\n"));
    const QByteArray expected = sampleImage().replace(48, 24, channelRecords(3, {}));
    QCOMPARE(readFile(path("out.dat")).toHex(' '), expected.toHex(' '));

    // Channel 2 with a DTCS tone, skipped: it stays as -i holds it, not emptied.
    QStringList lines = exportChirpCsv(sampleImage()).split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.startsWith(QLatin1String("2,"))) {
            QStringList fields = line.split(QLatin1Char(','));
            fields[5] = QStringLiteral("DTCS");
            line = fields.join(QLatin1Char(','));
        }
    QVERIFY(writeFile(path("chirp.csv"), lines.join(QLatin1Char('\n')).toUtf8()));
    r = runTool({"import-csv", "chirp.csv", "-i", "in.dat", "-o", "kept.dat", "--skip-unfit"},
                dir());
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.contains("skipped line 3: Tone 'DTCS' is a DTCS mode"), qPrintable(r.err));
    QCOMPARE(readFile(path("kept.dat")).toHex(' '), sampleImage().toHex(' '));
}

void TestCliTool::outputFaults_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("command");
    for (const QString &fault : FileFault::kinds())
        for (const char *command : {"export-csv -o", "import-csv -o", "read -o", "write --backup",
                                    "read --report", "read --log"})
            QTest::newRow(qPrintable(fault + QStringLiteral(": ") + QLatin1String(command)))
                << fault << QString::fromLatin1(command);
}

// Every output of the command line against a full disk, a read-only one, a FIFO, a device,
// a folder, a missing folder: exit status 2 with the reason, the old file byte for byte,
// and nothing sent to the radio that could be spared.
void TestCliTool::outputFaults() {
    QFETCH(QString, fault);
    QFETCH(QString, command);
    const QByteArray old = sampleImage().replace(0, 1, "\x58");
    FileFault place(fault, path("place"), QStringLiteral("old.dat"), old);
    if (!place.skipReason().isEmpty())
        QSKIP(qPrintable(place.skipReason()));
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    QVERIFY(writeFile(path("list.csv"), exportChannelCsv(sampleImage()).toUtf8()));
    Radio radio;
    const QString out = place.path();
    const QStringList radioArgs{"--port", radio.device(), "--pace", "fast"};
    const QHash<QString, QStringList> args{
        {"export-csv -o", {"export-csv", "in.dat", "-o", out}},
        {"import-csv -o", {"import-csv", "list.csv", "-i", "in.dat", "-o", out}},
        {"read -o", QStringList{"read", "-o", out} + radioArgs},
        {"write --backup", QStringList{"write", "-i", "in.dat", "--backup", out} + radioArgs},
        {"read --report", QStringList{"read", "-o", "r.dat", "--report", out} + radioArgs},
        {"read --log", QStringList{"read", "-o", "r.dat", "--log", out} + radioArgs},
    };
    const Run r = runTool(args.value(command), dir());
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(out + QStringLiteral(": ")) && r.err.contains(place.reason()),
             qPrintable(r.err));
    // A log is written as it goes: a full disk finds it begun afresh, but refused.
    if (!(command == QLatin1String("read --log") && fault == QLatin1String("full disk")))
        QCOMPARE(place.changed(), QString());
    // Only a full disk lets the read run before the file fails (a log begun afresh frees
    // the old one's room and fails later); the write never starts.
    const bool radioRan = fault == QLatin1String("full disk") && command.startsWith("read");
    QCOMPARE(radio.emu.requestCount() > 0,
             radioRan || (command == "write --backup" && fault == QLatin1String("full disk")));
    QCOMPARE(countFrames(radio.emu, 'W'), 0);
    if (command == QLatin1String("read -o") && radioRan)
        QVERIFY2(r.err.contains(out + QStringLiteral(" not written")), qPrintable(r.err));
}

void TestCliTool::fullStandardOutputFails() {
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    for (const char *command : {"dump", "export-csv"}) {
        QProcess p;
        p.setWorkingDirectory(dir());
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(QStringLiteral(QX_CLI), {command, "in.dat"});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
                 QStringLiteral("qx7420-cli: cannot write to standard output\n"));
    }
}

void TestCliTool::readsTheRadioThroughAPortNumber() {
    Radio radio;
    // The port number goes through the window's mapping; the run script's override of
    // it stands in for pt.ini here.
    const Run r = runTool({"read", "--port", "3", "-o", "radio.dat", "--pace", "fast"}, dir(),
                          radio.device());
    QCOMPARE(r.code, 0);
    QCOMPARE(readFile(path("radio.dat")).toHex(' '),
             RadioEmulator::datImage(patternMemory()).toHex(' '));
    QVERIFY2(r.err.contains("read 35 records"), qPrintable(r.err));
}

void TestCliTool::retryRecoversARead() {
    Radio radio;
    EmulatorFaults faults;
    for (int request = 5; request <= 12; ++request)
        faults.dropReplies.push_back(request); // step 5 goes unanswered until the prompt
    radio.emu.setFaults(faults);
    const Run r = runTool({"read", "--port", radio.device(), "-o", "radio.dat"}, dir());
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.contains("starting again from the handshake (retry 1 of 2)"), qPrintable(r.err));
    QCOMPARE(readFile(path("radio.dat")), RadioEmulator::datImage(patternMemory()));
    QCOMPARE(handshakeRuns(radio.emu), 2);
}

// A worn cable: what a read stores is exactly the radio's memory or nothing, and a write is
// read back unless told not to.
void TestCliTool::lineFaults_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<double>("noiseOut");
    QTest::addColumn<double>("noiseIn");
    QTest::addColumn<int>("unstableBlock");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("readRequests"); // -1: not counted
    const QStringList read{"read", "-o", "radio.dat", "--pace", "fast"};
    const QStringList write{"write", "-i", "in.dat", "--pace", "fast"};
    QTest::newRow("clean line: every block read twice")
        << read << 0.0 << 0.0 << -1 << 0 << "read 35 records" << 70;
    QTest::newRow("single pass") << read + QStringList{"--single-pass"} << 0.0 << 0.0 << -1 << 0
                                 << "read 35 records" << 35;
    QTest::newRow("noise both ways, one in a hundred bytes")
        << read << 0.01 << 0.0 << -1 << 0 << "read 35 records" << -1;
    QTest::newRow("a block never the same twice")
        << read << 0.0 << 0.0 << 0x0030 << 1
        << "records 4 (channel 3, frequencies) came back different every time they were "
           "read; radio.dat not written: push the plug fully into the radio's jack"
        << -1;
    QTest::newRow("noise on the way in: the read-back finds it")
        << write << 0.0 << 0.05 << -1 << 3 << "verify failed" << -1;
    QTest::newRow("noise on the way in, not read back")
        << write + QStringList{"--no-verify"} << 0.0 << 0.05 << -1 << 0 << "wrote 35 records" << 0;
}

void TestCliTool::lineFaults() {
    QFETCH(QStringList, args);
    QFETCH(double, noiseOut);
    QFETCH(double, noiseIn);
    QFETCH(int, unstableBlock);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(int, readRequests);
    EmulatorFaults faults;
    faults.noiseOut = noiseOut;
    faults.noiseIn = noiseIn;
    faults.unstableBlock = unstableBlock;
    faults.seed = 7;
    Radio radio(faults);
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    const Run r = runTool(args + QStringList{"--port", radio.device()}, dir());
    QVERIFY2(r.code == code && r.err.contains(message), qPrintable(r.err));
    if (args.first() == QLatin1String("read"))
        QCOMPARE(readFile(path("radio.dat")),
                 code == 0 ? RadioEmulator::datImage(patternMemory()) : QByteArray());
    if (readRequests >= 0)
        QCOMPARE(countFrames(radio.emu, 'R'), readRequests);
}

void TestCliTool::faultOutlastsEveryRetry_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("silentFrom");
    QTest::addColumn<QString>("message");

    // Silent half-way through the blocks: a partial image exists only in the temporary file.
    QTest::newRow("read") << QStringList{"read", "-o", "radio.dat", "--retries", "1"} << 20
                          << "radio.dat not written";
    QTest::newRow("write") << QStringList{"write", "-i", "in.dat", "--retries", "1"} << 10
                           << "the write did not complete; the radio may hold part of in.dat";
}

void TestCliTool::faultOutlastsEveryRetry() {
    QFETCH(QStringList, args);
    QFETCH(int, silentFrom);
    QFETCH(QString, message);
    Radio radio;
    EmulatorFaults faults;
    faults.silentFrom = silentFrom;
    radio.emu.setFaults(faults);
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    QVERIFY(writeFile(path("radio.dat"), "earlier"));

    const Run r = runTool(args + QStringList{"--port", radio.device()}, dir());
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("retry 1 of 1") &&
                 r.err.contains("no answer from the radio after 1 retry") &&
                 r.err.contains(message),
             qPrintable(r.err));
    QCOMPARE(readFile(path("radio.dat")), QByteArray("earlier"));
    QCOMPARE(handshakeRuns(radio.emu), 2);
    QCOMPARE(QDir(dir()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TestCliTool::writeWithBackupAndVerify() {
    Radio radio;
    const QByteArray image = sampleImage();
    QVERIFY(writeFile(path("in.dat"), image));
    // Three transfers whose pacing changes nothing here: at the fast one.
    const Run r = runTool({"write", "--port", radio.device(), "-i", "in.dat", "--backup", "old.dat",
                           "--verify", "--pace", "fast"},
                          dir());
    QCOMPARE(r.code, 0);
    QCOMPARE(readFile(path("old.dat")), RadioEmulator::datImage(patternMemory()));
    QCOMPARE(RadioEmulator::datImage(radio.emu.memory()).toHex(' '), image.toHex(' '));
    QVERIFY2(r.err.contains("verified"), qPrintable(r.err));
    // Backup read, write, read back: three handshakes, 40 frames written.
    QCOMPARE(handshakeRuns(radio.emu), 3);
    QCOMPARE(countFrames(radio.emu, 'W'), 40);
}

void TestCliTool::verifyNamesEveryDifferingRecord() {
    Radio radio;
    // A radio that does not keep what it acknowledged at two addresses.
    radio.emu.setFrameLogger([&radio](const QByteArray &frame) {
        if (frame.size() != 13 || frame.at(0) != 'W')
            return;
        const int address = std::uint8_t(frame.at(1)) << 8 | std::uint8_t(frame.at(2));
        if (address == 0x0030 || address == 0x03F0) {
            RadioEmulator::Memory m = radio.emu.memory();
            m[std::size_t(address + 7)] ^= 0x11;
            radio.emu.setMemory(m);
        }
    });
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    const Run r = runTool(
        {"write", "--port", radio.device(), "-i", "in.dat", "--verify", "--pace", "fast"}, dir());
    QCOMPARE(r.code, 3);
    QVERIFY2(r.err.contains("record 4 (channel 3, frequencies) differs") &&
                 r.err.contains("record 34 (settings 03F0) differs") &&
                 r.err.contains("verify failed: 2 of 35 records differ"),
             qPrintable(r.err));
    QCOMPARE(r.err.count("differs:"), 2);
}

void TestCliTool::writeRefusesBeforeSending_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QString>("message");

    QTest::newRow("34 records") << sampleImage().left(34 * 12)
                                << "in.dat: holds 34 records; a write needs all 35";
    for (const int size : {421, 840, 4200})
        QTest::newRow(qPrintable(QStringLiteral("%1 bytes").arg(size)))
            << sampleImage() + QByteArray(size - 420, '\x5a')
            << QStringLiteral("in.dat: %1 bytes, not the 420 of an image; a write sends an image "
                              "of exactly 420 bytes")
                   .arg(size);
    QByteArray zeroHeader = sampleImage();
    zeroHeader.replace(3 * 12, 4, QByteArray(4, '\0'));
    QTest::newRow("zero header")
        << zeroHeader
        << "in.dat: record 3 (channel 2, tones and flags) starts 00 00 00 00 "
           "instead of 57 00 28 08";
    QByteArray badBcd = sampleImage();
    badBcd[0 * 12 + 4] = char(0xAB);
    QTest::newRow("bad BCD")
        << badBcd
        << "in.dat: record 0 (channel 1, frequencies): '451006AB' is not a valid integer value";
}

void TestCliTool::writeRefusesBeforeSending() {
    QFETCH(QByteArray, image);
    QFETCH(QString, message);
    Radio radio;
    QVERIFY(writeFile(path("in.dat"), image));
    const Run r = runTool({"write", "--port", radio.device(), "-i", "in.dat"}, dir());
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(message) && r.err.contains("nothing was sent to the radio"),
             qPrintable(r.err));
    QCOMPARE(radio.emu.requestCount(), 0);
}

void TestCliTool::failedBackupStopsTheWrite() {
    Radio radio;
    EmulatorFaults faults;
    faults.silentFrom = 1;
    radio.emu.setFaults(faults);
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    const Run r = runTool({"write", "--port", radio.device(), "-i", "in.dat", "--backup", "old.dat",
                           "--retries", "0"},
                          dir());
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("backup failed; nothing was sent to the radio"), qPrintable(r.err));
    QVERIFY(!QFile::exists(path("old.dat")));
    QCOMPARE(countFrames(radio.emu, 'W'), 0);
}

void TestCliTool::portThatCannotOpen() {
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    const Run r = runTool({"write", "--port", path("no-tty"), "-i", "in.dat"}, dir());
    QCOMPARE(r.code, 1);
    QCOMPARE(r.err, QStringLiteral("qx7420-cli: Error opening serial port!\n"
                                   "qx7420-cli: %1: %2\n"
                                   "qx7420-cli: nothing was sent to the radio\n")
                        .arg(path("no-tty"), noSuchDevice()));
}

void TestCliTool::cablePulledEndsTheCommand_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("read") << QStringList{"read", "-o", "radio.dat"} << "radio.dat not written";
    QTest::newRow("write") << QStringList{"write", "-i", "in.dat"}
                           << "the write did not complete; the radio may hold part of in.dat";
}

// The line dies half-way: exit 1 at once, naming the device; no retry, no file.
void TestCliTool::cablePulledEndsTheCommand() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    Radio radio;
    EmulatorFaults faults;
    faults.hangUpAt = 12;
    radio.emu.setFaults(faults);
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    const Run r = runTool(args + QStringList{"--port", radio.device(), "--retries", "2"}, dir());
    QCOMPARE(r.code, 1);
    QVERIFY2(
        r.err.contains(QStringLiteral("qx7420-cli: %1: %2\n").arg(radio.device(), kWentAway)) &&
            r.err.contains(message) && !r.err.contains("retry"),
        qPrintable(r.err));
    QCOMPARE(handshakeRuns(radio.emu), 1);
    QVERIFY(!QFile::exists(path("radio.dat")));
}

void TestCliTool::probeVerdicts_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("words"); // after "<device>: "

    QTest::newRow("answered") << "radio" << 0 << "the radio answered; it is ready to read or write";
    QTest::newRow("no such device") << "missing" << 1 << noSuchDevice();
    QTest::newRow("in use") << "locked" << 1 << "in use by another program: sleep (pid %1)";
    QTest::newRow("went away") << "hang-up" << 1 << kWentAway;
    QTest::newRow("no answer")
        << "silent" << 1
        << "no answer from the radio; check that the plug is seated fully in the radio's jack, "
           "that the radio is switched on, and that this is the radio's port";
    QTest::newRow("not a serial device")
        << "file" << 1 << "cannot be opened as a serial port: Inappropriate ioctl for device";
}

void TestCliTool::probeVerdicts() {
    QFETCH(QString, kind);
    QFETCH(int, code);
    QFETCH(QString, words);
    Radio radio;
    EmulatorFaults faults;
    faults.silentFrom = kind == "silent" ? 1 : 0;
    faults.hangUpAt = kind == "hang-up" ? 1 : 0;
    radio.emu.setFaults(faults);
    HeldLock lock;
    QString device = radio.device();
    if (kind == "missing")
        device = path("ttyUSB9");
    if (kind == "file") {
        device = path("plain.txt");
        QVERIFY(writeFile(device, "not a tty"));
    }
    if (kind == "locked") {
        QVERIFY(lock.hold(device));
        words = words.arg(lock.pid());
    }

    const Run r = runTool({"probe", "--port", device}, dir());
    QCOMPARE(r.code, code);
    QCOMPARE(r.out, device + ": " + words + "\n");
    // Only the handshake: a probe never reads or writes the radio's memory.
    for (const QByteArray &frame : radio.emu.receivedFrames())
        QCOMPARE(frame, QByteArray("\x02PROGRAM", 8));
}

// The emulator's terminal with a given mode and group, probed by an unprivileged user that
// the test creates: a group is named only when joining it would help, and never root.
void TestCliTool::probePermissionDenied_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("advice");
    QTest::newRow("0600 root root")
        << 0600 << "root"
        << "permission denied: only root may read and write it (crw------- root root); ask the "
           "administrator for a udev rule that gives it the group dialout and mode 0660";
    QTest::newRow("0660 root root") << 0660 << "root"
                                    << "permission denied: only root and the group root may "
                                       "read and write it (crw-rw---- root root)";
    QTest::newRow("0660 root dialout")
        << 0660 << "dialout"
        << "permission denied: join the device's group dialout with 'sudo usermod -aG dialout "
           "$USER', then log in again";
}

void TestCliTool::probePermissionDenied() {
#ifndef Q_OS_UNIX
    QSKIP("device permissions are a Unix matter");
#else
    QFETCH(int, mode);
    QFETCH(QString, group);
    QFETCH(QString, advice);
    if (::geteuid() != 0)
        QSKIP("creating a user and giving a device to root need root");
    const QString user = QStringLiteral("qx7420-probe");
    QProcess::execute("useradd",
                      {"--system", "--no-create-home", "--shell", "/usr/sbin/nologin", user});
    const struct passwd *account = ::getpwnam(qPrintable(user));
    const struct group *owner = ::getgrnam(qPrintable(group));
    if (!account || !owner)
        QSKIP("useradd, or the group, missing on this system");
    const QStringList asUser = {"setpriv", QStringLiteral("--reuid=%1").arg(account->pw_uid),
                                QStringLiteral("--regid=%1").arg(account->pw_gid),
                                "--clear-groups"};
    if (runTool({"--version"}, QDir::tempPath(), {}, asUser).code != 0)
        QSKIP("setpriv missing, or the tool not reachable for an unprivileged user");
    Radio radio;
    const QByteArray device = QFile::encodeName(radio.device());
    QCOMPARE(::chown(device.constData(), 0, owner->gr_gid), 0);
    QCOMPARE(::chmod(device.constData(), mode_t(mode)), 0);

    const Run r = runTool({"probe", "--port", radio.device()}, QDir::tempPath(), {}, asUser);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.out.startsWith(radio.device() + ": " + advice), qPrintable(r.out + r.err));
    QVERIFY2(!r.out.contains("-aG root"), qPrintable(r.out));
    QCOMPARE(radio.emu.requestCount(), 0);
#endif
}

// Several --port options are probed at once, one line each, in the order given; a
// number is mapped as the window maps it.
void TestCliTool::probeSeveralPortsAtOnce() {
    Radio answering;
    Radio silent;
    EmulatorFaults faults;
    faults.silentFrom = 1;
    silent.emu.setFaults(faults);
    const Run r = runTool({"probe", "--port", silent.device(), "--port", "3", "--log", "probe.log"},
                          dir(), answering.device());
    QCOMPARE(r.code, 1);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith(silent.device() + ": no answer from the radio"),
             qPrintable(r.out));
    QCOMPARE(lines[1], "port 3, " + answering.device() +
                           ": the radio answered; it is ready to read or write");
    QCOMPARE(silent.emu.requestCount(), 9); // as many as a transfer sends before it asks
    QVERIFY(answering.emu.requestCount() >= 1);
    const QString log = QString::fromUtf8(readFile(path("probe.log")));
    QVERIFY2(log.contains(silent.device() + "  probe handshake 9  sent 02\n") &&
                 log.contains(answering.device() + "  probe handshake 1  received 50 P\n"),
             qPrintable(log));
}

// read --log: one line per byte, in the steps that sent and received them; the short
// reply to step 3 is there with its five bytes, then the request again.
void TestCliTool::logOfAShortRead() {
    Radio radio;
    EmulatorFaults faults;
    faults.shortReply = 3;
    faults.shortBytes = 5;
    radio.emu.setFaults(faults);
    const Run r =
        runTool({"read", "--port", radio.device(), "-o", "radio.dat", "--log", "read.log"}, dir());
    QCOMPARE(r.code, 0);
    const QStringList lines =
        QString::fromUtf8(readFile(path("read.log"))).split('\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() > 3);
    QVERIFY(lines[0].startsWith("# qx7420 serial log begun "));
    static const QRegularExpression stamped(QStringLiteral("^ *\\d+ ms  (.*)$"));
    QStringList events;
    for (const QString &line : lines.mid(1)) {
        const QRegularExpressionMatch m = stamped.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(line));
        events << m.captured(1);
    }
    const QString dev = radio.device() + "  ";
    QCOMPARE(events.first(), dev + "open");
    QCOMPARE(events.last(), dev + "close");

    // Step 3 (block 0018) as runs of sent and received bytes.
    const QString step3 = dev + "step 3 read 0018  ";
    QStringList runs;
    QString previous;
    for (const QString &e : events) {
        if (!e.startsWith(step3))
            continue;
        const QString byte = e.mid(step3.size());
        const QString direction = byte.section(' ', 0, 0);
        if (direction != previous)
            runs << QString();
        runs.last() +=
            (runs.last().isEmpty() ? direction + ":" : QString()) + ' ' + byte.section(' ', 1, 1);
        previous = direction;
    }
    const RadioEmulator::Memory m = patternMemory();
    auto hex = [](int b) { return QString::number(b, 16).rightJustified(2, '0').toUpper(); };
    QString frame = QStringLiteral(" 57 00 18 08");
    for (int i = 0; i < 8; ++i)
        frame += ' ' + hex(m[0x18 + i]);
    QVERIFY2(runs.size() >= 4, qPrintable(runs.join('|')));
    QCOMPARE(runs[0], QStringLiteral("sent: 52 00 18 08 06"));
    QCOMPARE(runs[1], "received:" + frame.left(5 * 3));
    QCOMPARE(runs[2], QStringLiteral("sent: 52 00 18 08 06"));
    QCOMPARE(runs.last(), "received:" + frame);
}

// ports --json: one array, an object per device with every key; the text form names
// the same devices, or says that none is plugged in.
void TestCliTool::portsListsEveryDevice() {
    const Run json = runTool({"ports", "--json"}, dir());
    QCOMPARE(json.code, 0);
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json.out.toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QVERIFY(doc.isArray());
    const QStringList keys{"accessible", "byId",         "description", "device",
                           "group",      "locked",       "lockedBy",    "manufacturer",
                           "port",       "serialNumber", "usbId"};
    QStringList devices;
    for (const QJsonValue &v : doc.array()) {
        const QJsonObject o = v.toObject();
        QCOMPARE(o.keys(), keys);
        QVERIFY(o.value("device").isString() && o.value("accessible").isBool());
        QVERIFY(o.value("port").isNull() || o.value("port").toInt() > 0);
        devices << o.value("device").toString();
    }
    QCOMPARE(devices, serialDevicePaths());

    const Run text = runTool({"ports"}, dir());
    QCOMPARE(text.code, 0);
    if (devices.isEmpty())
        QCOMPARE(text.out, QStringLiteral("no serial device is plugged in\n"));
    for (const QString &device : devices)
        QVERIFY2(
            text.out.contains(QRegularExpression('^' + QRegularExpression::escape(device) + ": ",
                                                 QRegularExpression::MultilineOption)),
            qPrintable(text.out));
}

// Three radios read and then written at once at the fast pacing: each image lands in
// the folder under its port's name, every radio holds what was written, one line each.
void TestCliTool::severalRadiosAtOnce() {
    Bench bench;
    const QStringList names{"radio-a", "radio-b", "radio-c"};
    for (int i = 0; i < names.size(); ++i)
        bench.add(dir(), names[i]).emu.setMemory([i] {
            RadioEmulator::Memory m = patternMemory();
            m[0x0010] = std::uint8_t(i);
            return m;
        }());
    QVERIFY(QDir(dir()).mkdir("out"));
    // A bare name in the current folder, a path, and a relative path.
    const QStringList ports{"radio-a", path("radio-b"), "./radio-c"};
    const QStringList devices{path("radio-a"), path("radio-b"), "./radio-c"};
    Run r = runTool({"read", "--port", ports[0], "--port", ports[1], "--port", ports[2], "-o",
                     "out", "--pace", "fast", "--report", "read.csv"},
                    dir());
    QCOMPARE(r.code, 0);
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(readFile(path("out/" + names[i] + ".dat")),
                 RadioEmulator::datImage(bench.radios[std::size_t(i)]->emu.memory()));
    const QList<QStringList> lines = reportRows(r.out, "\\s{2,}");
    QCOMPARE(lines.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(lines[i].mid(0, 3), (QStringList{ports[i], devices[i], "ok"}));
        QVERIFY(lines[i][3].endsWith(" s"));
    }
    QVERIFY2(r.err.contains("qx7420-cli: ./radio-c: read 35 records"), qPrintable(r.err));
    const QList<QStringList> csv = reportRows(QString::fromUtf8(readFile(path("read.csv"))), ",");
    QCOMPARE(csv.size(), 4);
    QCOMPARE(csv[0], (QStringList{"port", "device", "result", "seconds", "differing_records"}));
    QCOMPARE(csv[2].mid(0, 3), (QStringList{ports[1], devices[1], "ok"}));

    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    QVERIFY(QDir(dir()).mkdir("old"));
    r = runTool({"write", "--port", ports[0], "--port", ports[1], "--port", ports[2], "-i",
                 "in.dat", "--backup", "old", "--verify", "--pace", "fast"},
                dir());
    QCOMPARE(r.code, 0);
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(readFile(path("old/" + names[i] + ".dat")),
                 readFile(path("out/" + names[i] + ".dat")));
        QCOMPARE(RadioEmulator::datImage(bench.radios[std::size_t(i)]->emu.memory()),
                 sampleImage());
    }
    QCOMPARE(r.err.count("verified: the radio holds records 0 to 34 as written"), 3);
}

// A local radio and two behind ser2net servers of their own (standing in for two boards),
// one reached as rfc2217://, one as socket://: read into one folder, then written and
// verified, all in one command each.
void TestCliTool::benchAcrossMachines() {
    if (Ser2NetServer::program().isEmpty())
        QSKIP("ser2net is not installed (tools/deps.sh installs it)");
    Bench bench;
    for (const char *name : {"local", "board1", "board2"})
        bench.add(dir(), QLatin1String(name)).emu.setMemory([name] {
            RadioEmulator::Memory m = patternMemory();
            m[0x0011] = std::uint8_t(name[5]);
            return m;
        }());
    Ser2NetServer board1, board2;
    QString error;
    QVERIFY2(board1.start({{true, bench.radios[1]->device()}}, &error), qPrintable(error));
    QVERIFY2(board2.start({{false, bench.radios[2]->device()}}, &error), qPrintable(error));
    const QStringList ports{"local", board1.url(0), board2.url(0)};
    const QStringList files{"local", QStringLiteral("127.0.0.1_%1").arg(board1.port(0)),
                            QStringLiteral("127.0.0.1_%1").arg(board2.port(0))};
    QVERIFY(QDir(dir()).mkdir("out"));
    Run r = runTool({"read", "--port", ports[0], "--port", ports[1], "--port", ports[2], "-o",
                     "out", "--pace", "fast"},
                    dir());
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const QList<QStringList> lines = reportRows(r.out, "\\s{2,}");
    QCOMPARE(lines.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(readFile(path("out/" + files[i] + ".dat")),
                 RadioEmulator::datImage(bench.radios[std::size_t(i)]->emu.memory()));
        QCOMPARE(lines[i].mid(0, 3), (QStringList{ports[i], i ? ports[i] : path("local"), "ok"}));
    }

    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    r = runTool({"write", "--port", ports[0], "--port", ports[1], "--port", ports[2], "-i",
                 "in.dat", "--verify", "--pace", "fast"},
                dir());
    QVERIFY2(r.code == 0, qPrintable(r.err));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(RadioEmulator::datImage(bench.radios[std::size_t(i)]->emu.memory()),
                 sampleImage());
}

// One radio silent, one that hangs up, one that cuts every reply short: the two good
// ones are read in full, and the report names each failure.
void TestCliTool::eachFailureIsReportedAndTheOthersSucceed() {
    Bench bench;
    EmulatorFaults silent, hangUp, cut;
    silent.silentFrom = 1;
    hangUp.hangUpAt = 10;
    cut.shortFrom = 5;
    cut.shortBytes = 7;
    bench.add(dir(), "good-1");
    bench.add(dir(), "silent", silent);
    bench.add(dir(), "hangs-up", hangUp);
    bench.add(dir(), "short", cut);
    bench.add(dir(), "good-2");
    QStringList args{"read", "-o", dir(), "--retries", "0", "--report", "bench.csv"};
    for (const char *name : {"good-1", "silent", "hangs-up", "short", "good-2"})
        args << "--port" << name;
    const Run r = runTool(args, dir());
    QCOMPARE(r.code, 1);

    const QStringList expected{"ok", "no answer", "went away", "no answer", "ok"};
    const QList<QStringList> csv = reportRows(QString::fromUtf8(readFile(path("bench.csv"))), ",");
    QCOMPARE(csv.size(), 6);
    const QList<QStringList> lines = reportRows(r.out, "\\s{2,}");
    QCOMPARE(lines.size(), 5);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(lines[i][2], expected[i]);
        QCOMPARE(csv[i + 1][2], expected[i]);
    }
    for (const char *name : {"good-1", "good-2"})
        QCOMPARE(readFile(path(QStringLiteral("%1.dat").arg(name))),
                 RadioEmulator::datImage(patternMemory()));
    for (const char *name : {"silent", "hangs-up", "short"}) {
        QVERIFY(!QFile::exists(path(QStringLiteral("%1.dat").arg(name))));
        QVERIFY2(r.err.contains(
                     QStringLiteral("qx7420-cli: %1: %2/%1.dat not written").arg(name, dir())),
                 qPrintable(r.err));
    }
}

// Verify differences and nothing worse: exit status 3, the records named on the line.
void TestCliTool::verifyDifferencesAloneExitThree() {
    Bench bench;
    bench.add(dir(), "keeps");
    Radio &forgets = bench.add(dir(), "forgets");
    forgets.emu.setFrameLogger([&forgets](const QByteArray &frame) {
        if (frame.size() == 13 && frame.at(0) == 'W' && frame.at(2) == 0x30) {
            RadioEmulator::Memory m = forgets.emu.memory();
            m[0x0037] ^= 0x11;
            forgets.emu.setMemory(m);
        }
    });
    QVERIFY(writeFile(path("in.dat"), sampleImage()));
    const Run r = runTool(
        {"write", "--port", "keeps", "--port", "forgets", "-i", "in.dat", "--verify"}, dir());
    QCOMPARE(r.code, 3);
    const QList<QStringList> lines = reportRows(r.out, "\\s{2,}");
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0][2], QStringLiteral("ok"));
    QCOMPARE(lines[1][2], QStringLiteral("verify differences"));
    QCOMPARE(lines[1].last(), QStringLiteral("records 4"));
    QVERIFY2(r.err.contains("forgets: record 4 (channel 3, frequencies) differs"),
             qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestCliTool)
#include "tst_clitool.moc"
