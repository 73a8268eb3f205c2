#include "cli.h"

#include "channelcsv.h"
#include "chirpcsv.h"
#include "filecopy.h"
#include "filelimits.h"
#include "frequencylistprinter.h"
#include "gridrows.h"
#include "imagediff.h"
#include "imagedump.h"
#include "imagefields.h"
#include "portcommands.h"
#include "ptini.h"

#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace qx::cli {

namespace {

const QString kExitStatus = QStringLiteral(
    "Exit status: 0 done; 1 the port could not be used or the radio did not answer;\n"
    "2 a usage, file or image error; 3 write found records that differ on reading back,\n"
    "or diff found fields that differ; 130 interrupted (Ctrl-C).\n");

const QString kProgramHelp =
    QStringLiteral(
        "Usage: qx7420-cli COMMAND [OPTIONS]\n"
        "\n"
        "Reads and writes a QX-7420 radio and its image files (.dat) from scripts.\n"
        "\n"
        "Commands:\n"
        "  dump FILE                        print an image as the program's window shows it\n"
        "  diff A B                         print what differs between two images, field by\n"
        "                                   field (exit status 3 when they differ)\n"
        "  read --port P -o FILE            read the radio into an image file\n"
        "  write --port P -i FILE           write an image file into the radio\n"
        "                                   (--port once per radio: several at once)\n"
        "  export-csv FILE [-o CSV]         write the channels of an image as CSV\n"
        "                                   (--format chirp: as CHIRP's CSV)\n"
        "  import-csv CSV -i FILE -o FILE   an image with the channels of a CSV file,\n"
        "                                   ours or CHIRP's (--skip-unfit: the rows that fit)\n"
        "  ports [--json]                   list the serial devices and their port numbers\n"
        "  probe --port P [--port P...]     say whether the radio answers, or what is wrong\n"
        "  print FILE -o PDF [--lang en|zh] the frequency list of an image as a PDF file,\n"
        "                                   the pages the window prints\n"
        "\n"
        "Options:\n"
        "  -h, --help      this help; after a command, the command's help\n"
        "  -v, --version   the program's version and the folder of its pt.ini\n"
        "\n") +
    kExitStatus;

const QString kPortHelp = QStringLiteral(
    "  --port P      a port number, mapped to a device as the program's window maps it\n"
    "                (key COMn of section [ports] in the program's pt.ini, in the folder\n"
    "                that --version names; else /dev/ttyUSB<n-1>, or COMn on Windows),\n"
    "                or a device: a path, or a name under /dev such as ttyUSB0, or a\n"
    "                radio on the network: rfc2217://HOST:PORT (a ser2net\n"
    "                telnet(rfc2217) accepter) or socket://HOST:PORT (a tcp accepter)\n"
    "                Give --port once per radio to program several at once.\n"
    "  --retries N   start the whole transfer again from the handshake up to N times\n"
    "                when the radio stops answering (default 2)\n"
    "  --pace MODE   standard (the default) keeps the program window's fixed waits:\n"
    "                about 2.9 s a read and 2.5 s a write. fast sends each request\n"
    "                2 ms after the answer to the one before and again when no answer\n"
    "                came within 150 ms: about 0.8 s each. If a radio misses frames at\n"
    "                the fast pacing, use standard.\n"
    "  --report FILE write the results as CSV: port,device,result,seconds,\n"
    "                differing_records (one line per radio)\n"
    "  --log FILE    write every byte sent and received to FILE, one a line, with the\n"
    "                milliseconds since the start and the step it belongs to\n"
    "\n"
    "Several radios: with --port given more than once, all radios are served at the\n"
    "same time, each with its own retries, backup and verify; one that fails does not\n"
    "stop or slow the others. -o and --backup then name an existing folder that gets\n"
    "<port>.dat per radio: COMn for a port number n, HOST_PORT for a network port\n"
    "(bench2_3001.dat), else the device's name (ttyUSB0.dat). At the end one line\n"
    "per radio on stdout: port, device, result (ok, no answer, went away, verify\n"
    "differences, file error, port unusable, interrupted), seconds, and the records\n"
    "that differ. Exit status 0 when every radio succeeded, 3 when the only failures\n"
    "are verify differences, else 1.\n");

const QString kPortsHelp =
    QStringLiteral(
        "Usage: qx7420-cli ports [--json]\n"
        "\n"
        "Lists every serial device of the system: its path, its stable name under\n"
        "/dev/serial/by-id/ (the same in every USB socket), USB vendor:product,\n"
        "manufacturer, description and serial number, whether this user may open it,\n"
        "whether another program holds it (and which, when its lock file says), and the\n"
        "port number that maps to it ([ports] COMn in the program's pt.ini, in the\n"
        "folder that --version names; else /dev/ttyUSB<n-1>). Then the radios on the\n"
        "network that [ports] maps (COM3=rfc2217://bench2:3001), with their numbers.\n"
        "\n"
        "Options:\n"
        "  --json   one JSON array with an object per device (empty: no device)\n"
        "\n") +
    kExitStatus;

const QString kProbeHelp =
    QStringLiteral(
        "Usage: qx7420-cli probe --port P [--port P...] [--log FILE]\n"
        "\n"
        "Opens each port as a read or write would, sends only the handshake, and prints\n"
        "one line per port: the radio answered (ready to read or write), no such device,\n"
        "permission denied, in use by another program, the device went away, or no\n"
        "answer. For a network port also: nothing listening at HOST:PORT, host not\n"
        "found, no answer from the host within 3 s, the server does not speak RFC 2217\n"
        "(use socket://) or speaks telnet (use rfc2217://), or the server closed the\n"
        "connection without saying why (it stopped, or gave the port to another client).\n"
        "Bytes that came instead of the radio's answer are quoted. Several ports are\n"
        "probed at once.\n"
        "Exit status 0 when every radio answered, else 1.\n"
        "\n"
        "Options:\n"
        "  --port P      a port number, mapped to a device as the program's window maps it\n"
        "                (key COMn of section [ports] in the program's pt.ini, in the folder\n"
        "                that --version names; else /dev/ttyUSB<n-1>), a device, or\n"
        "                rfc2217://HOST:PORT or socket://HOST:PORT; may be given more\n"
        "                than once\n"
        "  --log FILE    write every byte sent and received to FILE, one a line\n"
        "\n") +
    kExitStatus;

const QString kDumpHelp =
    QStringLiteral(
        "Usage: qx7420-cli dump FILE\n"
        "\n"
        "Prints the image FILE as the English window shows it: a header line and one\n"
        "tab-separated line per channel (number, receive frequency, CTCSS, transmit\n"
        "frequency, CTCSS, busy lock-out, scan; an empty channel has empty fields), an\n"
        "empty line, then one name<TAB>value line per setting. A setting whose record is\n"
        "missing from the file, or a list left without a selection, prints \"-\".\n"
        "\n"
        "An empty or short file, or records not marked with their own address, are\n"
        "printed all the same (what is missing as in a new window) and named on stderr,\n"
        "as the window names them; the exit status is then 2. A record that cannot be\n"
        "decoded prints nothing and names the record, exit status 2.\n"
        "\n") +
    kExitStatus;

const QString kDiffHelp = QStringLiteral(
    "Usage: qx7420-cli diff A B\n"
    "\n"
    "Compares the images A and B as the English window shows them and prints one line\n"
    "per field that differs, in the words of the grid and the settings panel, A's\n"
    "value first:\n"
    "  channel 3 Receive F: 462.06250 -> 462.07500\n"
    "  channel 3 CTCSS (Transmit F): OFF -> 67.0\n"
    "  Beep Tone: ON -> OFF\n"
    "A cell the grid shows empty is (empty); a field whose record is missing from a\n"
    "short file is (missing), one whose record does not decode is (damaged). Channels\n"
    "and settings blocks that differ only in bytes no field shows (unused bytes, a\n"
    "record's header) are named on one last line. Records after the 35th are ignored,\n"
    "as the window and the radio ignore them.\n"
    "\n"
    "Exit status: 0 the images are the same; 3 they differ; 2 a usage error, a file\n"
    "that cannot be read, or output that cannot be written.\n");

const QString kReadHelp =
    QStringLiteral(
        "Usage: qx7420-cli read --port P... -o FILE|DIR [--single-pass] [--retries N]\n"
        "                       [--pace MODE] [--report FILE] [--log FILE]\n"
        "\n"
        "Reads the radio's 35 memory blocks into the image FILE. The line carries no\n"
        "checksum, so every block is read twice and taken only when both answers agree; a\n"
        "block whose answers differ is asked again until two in a row agree, at most four\n"
        "more times (three in a row once the line has shown noise). FILE is written only\n"
        "when every block arrived and agreed, through a temporary file and a rename, so a\n"
        "failed read never leaves a partial image. A block that never agrees is named,\n"
        "with exit status 1. Progress goes to stderr.\n"
        "\n"
        "Options:\n"
        "  -o FILE       the image file to write (a folder with several ports)\n"
        "  --single-pass read every block once, without the check (about half the time)\n") +
    kPortHelp + QStringLiteral("\n") + kExitStatus;

const QString kWriteHelp =
    QStringLiteral(
        "Usage: qx7420-cli write --port P... -i FILE [--backup FILE|DIR] [--no-verify]\n"
        "                        [--retries N] [--pace MODE] [--report FILE]\n"
        "                        [--log FILE]\n"
        "\n"
        "Writes the image FILE into the radio. An image with fewer than 35 records, a\n"
        "record that does not carry its own address, or a field that cannot be decoded is\n"
        "refused before anything is sent.\n"
        "\n"
        "Options:\n"
        "  -i FILE         the image file to write\n"
        "  --backup FILE   first read the radio (every block twice, as read does) and save\n"
        "                  its image to FILE (a folder with several ports); stop if that\n"
        "                  read fails\n"
        "  --no-verify     do not read the radio back afterwards. By default it is read\n"
        "                  back and records 0 to 34 are compared with the image (a block\n"
        "                  that differs is asked again first, so line noise is not taken\n"
        "                  for a bad write); exit status 3 names every record that differs.\n"
        "                  --verify is accepted and changes nothing.\n") +
    kPortHelp + QStringLiteral("\n") + kExitStatus;

const QString kExportHelp =
    QStringLiteral(
        "Usage: qx7420-cli export-csv FILE [-o CSV] [--format qx7420|chirp]\n"
        "\n"
        "Writes the 16 channels of the image FILE as CSV, to CSV or to standard output:\n"
        "  Channel,RxFrequency,RxTone,TxFrequency,TxTone,BusyLockout,Scan\n"
        "Frequencies in MHz as 9 characters (450.01250), tones OFF or a CTCSS tone (67.0),\n"
        "flags YES or NO; an empty channel has only its number.\n"
        "\n"
        "With --format chirp, the generic CSV of CHIRP instead: one row per channel in\n"
        "use, Location the channel number, Duplex and Offset for the transmit frequency\n"
        "(off: none), Tone, rToneFreq and cToneFreq for the tones, Skip S for a channel\n"
        "left out of the scan, and what CHIRP writes in the columns this radio has no\n"
        "use for. Busy lock-out has no column there.\n"
        "\n"
        "Options:\n"
        "  -o CSV            the CSV file to write (default: standard output)\n"
        "  --format FORMAT   qx7420 (the default) or chirp\n"
        "\n") +
    kExitStatus;

const QString kImportHelp =
    QStringLiteral(
        "Usage: qx7420-cli import-csv CSV -i FILE -o FILE [--skip-unfit]\n"
        "\n"
        "Builds an image from the channels of CSV (\"-\" reads standard input) and the\n"
        "settings records of the image -i, and writes it to -o (which may be the same\n"
        "file). Every row is checked as the channel grid checks it: a frequency from 400\n"
        "to 512.99999 MHz, moved down to the 5 kHz or 6.25 kHz raster (reported on\n"
        "stderr), a tone of the list or OFF, YES or NO. All 16 channels need a row; an\n"
        "empty channel is a row with only its number. Every rejected row is reported with\n"
        "its line number, and then nothing is written. Quoted fields and CRLF line ends\n"
        "are accepted.\n"
        "\n"
        "A CSV whose header has a Location column is CHIRP's: each row fills the channel\n"
        "of its Location, channels without a row become empty, and busy lock-out keeps\n"
        "the value of the image -i (NO for a channel that was empty). Duplex '' transmits\n"
        "on Frequency, + and - add or subtract Offset, split transmits on Offset, off\n"
        "not at all; Tone puts rToneFreq on transmit, TSQL cToneFreq both ways, Cross\n"
        "follows CrossMode (Tone->Tone, Tone->, ->Tone). A row this radio cannot hold (a\n"
        "Location beyond 16, a frequency outside the band, a DTCS mode, a tone missing or\n"
        "not in the list) is named with its line number and why.\n"
        "\n"
        "Options:\n"
        "  -i FILE         the image whose settings records are kept\n"
        "  -o FILE         the image file to write\n"
        "  --skip-unfit    CHIRP's CSV: import the rows that fit and list the skipped\n"
        "                  lines, instead of writing nothing; the channels of skipped\n"
        "                  lines stay as they are in -i\n"
        "\n") +
    kExitStatus;

const QString kPrintHelp =
    QStringLiteral(
        "Usage: qx7420-cli print FILE -o PDF [--lang en|zh]\n"
        "\n"
        "Writes the frequency list of the image FILE as a PDF file: the pages the\n"
        "window's \"Print\" draws, with the title, the date, the grid of the 16 channels\n"
        "as the window shows them and the page numbers. A record that is missing or does\n"
        "not decode leaves its channel as the window shows it, and is named on stderr.\n"
        "The paper is the system's default (A4, or Letter where the locale measures in\n"
        "inches). Prints the PDF file's path on stdout. Needs no display.\n"
        "\n"
        "Options:\n"
        "  -o PDF          the PDF file to write; .pdf is added when the name lacks it\n"
        "  --lang LANG     en (the default) for the English window's list, zh for the\n"
        "                  Chinese one\n"
        "\n") +
    kExitStatus;

struct Command {
    const char *name;
    const QString *help;
    int (*run)(QCommandLineParser &, Console &);
    QList<QCommandLineOption> options;
};

const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")}, QString());
const QCommandLineOption kPort(QStringLiteral("port"), QString(), QStringLiteral("P"));
const QCommandLineOption kOutput(QStringLiteral("o"), QString(), QStringLiteral("FILE"));
const QCommandLineOption kInput(QStringLiteral("i"), QString(), QStringLiteral("FILE"));
const QCommandLineOption kRetries(QStringLiteral("retries"), QString(), QStringLiteral("N"),
                                  QStringLiteral("2"));
const QCommandLineOption kBackup(QStringLiteral("backup"), QString(), QStringLiteral("FILE"));
const QCommandLineOption kVerify(QStringLiteral("verify"), QString());
const QCommandLineOption kNoVerify(QStringLiteral("no-verify"), QString());
const QCommandLineOption kSinglePass(QStringLiteral("single-pass"), QString());
const QCommandLineOption kLog(QStringLiteral("log"), QString(), QStringLiteral("FILE"));
const QCommandLineOption kJson(QStringLiteral("json"), QString());
const QCommandLineOption kPace(QStringLiteral("pace"), QString(), QStringLiteral("MODE"),
                               QStringLiteral("standard"));
const QCommandLineOption kReport(QStringLiteral("report"), QString(), QStringLiteral("FILE"));
const QCommandLineOption kFormat(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"),
                                 QStringLiteral("qx7420"));
const QCommandLineOption kSkipUnfit(QStringLiteral("skip-unfit"), QString());
const QCommandLineOption kLang(QStringLiteral("lang"), QString(), QStringLiteral("LANG"),
                               QStringLiteral("en"));

constexpr int kMaxRetries = 100;

int usage(Console &console, const QString &text, const char *command) {
    console.note(text);
    console.note(QStringLiteral("try 'qx7420-cli %1--help'")
                     .arg(command ? QString::fromLatin1(command) + QLatin1Char(' ') : QString()));
    return kExitUsage;
}

// One positional argument, no more.
bool onePositional(QCommandLineParser &parser, Console &console, const char *command,
                   const char *what, QString &value) {
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        usage(console,
              args.isEmpty()
                  ? QStringLiteral("%1 needs %2").arg(QLatin1String(command), QLatin1String(what))
                  : QStringLiteral("unexpected argument '%1'").arg(quotedPrefix(args.at(1))),
              command);
        return false;
    }
    value = args.first();
    return true;
}

bool required(QCommandLineParser &parser, const QCommandLineOption &option, Console &console,
              const char *command, QString &value) {
    value = parser.value(option);
    if (!value.isEmpty())
        return true;
    const QString name = option.names().first();
    usage(console,
          QStringLiteral("%1 needs %2%3 %4")
              .arg(QLatin1String(command),
                   name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name,
                   option.valueName()),
          command);
    return false;
}

bool noPositional(QCommandLineParser &parser, Console &console, const char *command) {
    if (parser.positionalArguments().isEmpty())
        return true;
    usage(console,
          QStringLiteral("unexpected argument '%1'")
              .arg(quotedPrefix(parser.positionalArguments().first())),
          command);
    return false;
}

bool retries(QCommandLineParser &parser, Console &console, const char *command, int &value) {
    bool ok = false;
    value = parser.value(kRetries).toInt(&ok);
    if (ok && value >= 0 && value <= kMaxRetries)
        return true;
    usage(console,
          QStringLiteral("--retries takes a number from 0 to %1, not '%2'")
              .arg(kMaxRetries)
              .arg(quotedPrefix(parser.value(kRetries))),
          command);
    return false;
}

// --port (once per radio), --retries, --pace and --report.
template <typename Job>
bool radioOptions(QCommandLineParser &parser, Console &console, const char *command, Job &job) {
    QString port;
    if (!required(parser, kPort, console, command, port) ||
        !retries(parser, console, command, job.retries))
        return false;
    for (const QString &argument : parser.values(kPort))
        job.ports << resolvePort(argument);
    const QString pace = parser.value(kPace);
    if (pace != QLatin1String("standard") && pace != QLatin1String("fast")) {
        usage(console,
              QStringLiteral("--pace takes standard or fast, not '%1'").arg(quotedPrefix(pace)),
              command);
        return false;
    }
    if (pace == QLatin1String("fast"))
        job.pacing = Pacing::fast();
    if (parser.isSet(kReport) && parser.value(kReport).isEmpty()) {
        usage(console, QStringLiteral("--report needs a FILE"), command);
        return false;
    }
    job.report = parser.value(kReport);
    return true;
}

int runDump(QCommandLineParser &parser, Console &console) {
    QString file;
    if (!onePositional(parser, console, "dump", "an image FILE", file))
        return kExitUsage;
    try {
        const QByteArray bytes = readImageFile(file);
        console.out << formatDump(decodeImage(bytes, file));
        // Printed all the same, as the window opens it; the status tells a script.
        if (const QString note = incompleteImageNote(bytes); !note.isEmpty()) {
            console.note(QStringLiteral("%1: %2").arg(file, note));
            return kExitUsage;
        }
    } catch (const Error &e) {
        console.note(e.message());
        return kExitUsage;
    }
    return kExitOk;
}

int runDiff(QCommandLineParser &parser, Console &console) {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2)
        return usage(
            console,
            files.size() < 2
                ? QStringLiteral("diff needs two image files")
                : QStringLiteral("unexpected argument '%1'").arg(quotedPrefix(files.at(2))),
            "diff");
    try {
        const QStringList lines =
            formatImageDiff(diffImages(readImageFile(files.at(0)), readImageFile(files.at(1))),
                            englishImageWords());
        for (const QString &line : lines)
            console.out << line << QLatin1Char('\n');
        return lines.isEmpty() ? kExitOk : kExitDiffer;
    } catch (const Error &e) {
        console.note(e.message());
        return kExitUsage;
    }
}

int runRead(QCommandLineParser &parser, Console &console) {
    ReadJob job;
    if (!noPositional(parser, console, "read") || !radioOptions(parser, console, "read", job) ||
        !required(parser, kOutput, console, "read", job.output))
        return kExitUsage;
    job.log = parser.value(kLog);
    job.checked = !parser.isSet(kSinglePass);
    return readRadio(job, console);
}

int runWrite(QCommandLineParser &parser, Console &console) {
    WriteJob job;
    if (!noPositional(parser, console, "write") || !radioOptions(parser, console, "write", job) ||
        !required(parser, kInput, console, "write", job.input))
        return kExitUsage;
    if (parser.isSet(kBackup) && parser.value(kBackup).isEmpty())
        return usage(console, QStringLiteral("--backup needs a FILE"), "write");
    job.backup = parser.value(kBackup);
    if (parser.isSet(kVerify) && parser.isSet(kNoVerify))
        return usage(console, QStringLiteral("--verify and --no-verify contradict each other"),
                     "write");
    job.verify = !parser.isSet(kNoVerify);
    job.log = parser.value(kLog);
    return writeRadio(job, console);
}

int runPorts(QCommandLineParser &parser, Console &console) {
    if (!noPositional(parser, console, "ports"))
        return kExitUsage;
    return listPorts(parser.isSet(kJson), console);
}

int runProbe(QCommandLineParser &parser, Console &console) {
    QString port;
    if (!noPositional(parser, console, "probe") || !required(parser, kPort, console, "probe", port))
        return kExitUsage;
    return probePorts(parser.values(kPort), parser.value(kLog), console);
}

int runExport(QCommandLineParser &parser, Console &console) {
    QString file;
    if (!onePositional(parser, console, "export-csv", "an image FILE", file))
        return kExitUsage;
    const QString format = parser.value(kFormat);
    if (format != QLatin1String("qx7420") && format != QLatin1String("chirp"))
        return usage(
            console,
            QStringLiteral("--format takes qx7420 or chirp, not '%1'").arg(quotedPrefix(format)),
            "export-csv");
    try {
        const ChannelTable channels = decodeImageFile(file).channels;
        const QString csv = format == QLatin1String("chirp") ? formatChirpCsv(channels)
                                                             : formatChannelCsv(channels);
        if (parser.isSet(kOutput))
            saveFileAtomically(parser.value(kOutput), csv.toUtf8());
        else
            console.out << csv;
    } catch (const Error &e) {
        console.note(e.message());
        return kExitUsage;
    }
    return kExitOk;
}

int runImport(QCommandLineParser &parser, Console &console) {
    QString csvPath, input, output;
    if (!onePositional(parser, console, "import-csv", "a CSV file", csvPath) ||
        !required(parser, kInput, console, "import-csv", input) ||
        !required(parser, kOutput, console, "import-csv", output))
        return kExitUsage;
    QByteArray csvBytes;
    const bool fromStdin = csvPath == QLatin1String("-");
    if (fromStdin) {
        QFile csvFile;
        if (!csvFile.open(stdin, QIODevice::ReadOnly)) {
            console.note(QStringLiteral("standard input: %1").arg(csvFile.errorString()));
            return kExitUsage;
        }
        // A pipe hands its bytes over in parts: read to its end, but never without end.
        for (QByteArray part; csvBytes.size() <= kMaxInputBytes; csvBytes += part) {
            part = csvFile.read(kMaxInputBytes + 1 - csvBytes.size());
            if (part.isEmpty())
                break;
        }
        if (csvFile.error() != QFileDevice::NoError) {
            console.note(QStringLiteral("standard input: %1").arg(csvFile.errorString()));
            return kExitUsage;
        }
        if (csvBytes.size() > kMaxInputBytes) {
            console.note(tooLargeText(QStringLiteral("standard input"), InputKind::Csv, -1));
            return kExitUsage;
        }
    } else {
        try {
            csvBytes = readInputFile(csvPath, InputKind::Csv);
        } catch (const Error &e) {
            console.note(e.message());
            return kExitUsage;
        }
    }
    try {
        const QByteArray image = readImageFile(input);
        const QString text = QString::fromUtf8(csvBytes);
        const CsvImport result = importCsv(text, image, parser.isSet(kSkipUnfit));
        const QString name = fromStdin ? QStringLiteral("standard input") : csvPath;
        for (const QString &note : result.notes)
            console.note(QStringLiteral("%1: %2").arg(name, note));
        for (const QString &error : result.errors)
            console.note(QStringLiteral("%1: %2").arg(name, error));
        for (const QString &skipped : result.skipped)
            console.note(QStringLiteral("%1: skipped %2").arg(name, skipped));
        if (!result.errors.isEmpty()) {
            const bool chirp = isChirpCsv(text) && !parser.isSet(kSkipUnfit);
            console.note(QStringLiteral("nothing written: %1 %2%3")
                             .arg(result.errors.size())
                             .arg(result.errors.size() == 1 ? QStringLiteral("problem")
                                                            : QStringLiteral("problems"))
                             .arg(chirp
                                      ? QStringLiteral(" (--skip-unfit imports the rows that fit)")
                                      : QString()));
            return kExitUsage;
        }
        const int records = int(image.size() / MemoryFrame::kSize);
        if (records < kRecordCount)
            console.note(QStringLiteral("%1 holds %2 records; the settings records it lacks "
                                        "are missing from %3 too")
                             .arg(input)
                             .arg(records)
                             .arg(output));
        saveFileAtomically(output, result.image);
    } catch (const Error &e) {
        console.note(e.message());
        return kExitUsage;
    }
    return kExitOk;
}

int runPrint(QCommandLineParser &parser, Console &console) {
    QString file, output;
    if (!onePositional(parser, console, "print", "an image FILE", file) ||
        !required(parser, kOutput, console, "print", output))
        return kExitUsage;
    const QString lang = parser.value(kLang);
    if (lang != QLatin1String("en") && lang != QLatin1String("zh"))
        return usage(console, QStringLiteral("--lang takes en or zh, not '%1'").arg(lang), "print");
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        console.note(QStringLiteral("print needs a QGuiApplication"));
        return kExitUsage;
    }
    const Language language = lang == QLatin1String("zh") ? Language::Chinese : Language::English;
    try {
        const ImageFields fields = decodeImageFields(readImageFile(file));
        QList<int> faulty;
        for (int record = 0; record < kRecord03C0; ++record)
            if (fields.records[std::size_t(record)] != FieldValue::State::Shown)
                faulty << record;
        if (!faulty.isEmpty()) {
            QStringList names;
            for (const int record : faulty)
                names << QString::number(record);
            console.note(QStringLiteral("%1: records %2 are missing or damaged; their channels "
                                        "print as the window shows them")
                             .arg(file, names.join(QStringLiteral(", "))));
        }
        const PrintTexts texts = printTexts(language, QFileInfo(file).fileName());
        const QString pdf = FrequencyListPrinter::writePdf(
            output, gridRows(fields.channels, imageWords(language)), texts, QDate::currentDate());
        console.out << QDir::toNativeSeparators(pdf) << QLatin1Char('\n');
    } catch (const Error &e) {
        console.note(e.message());
        return kExitUsage;
    }
    return kExitOk;
}

} // namespace

int runCli(const QStringList &arguments, Console &console) {
    if (arguments.isEmpty()) {
        console.err << kProgramHelp;
        console.err.flush();
        return kExitUsage;
    }
    const QString first = arguments.first();
    if (first == QLatin1String("-h") || first == QLatin1String("--help") ||
        first == QLatin1String("help")) {
        console.out << kProgramHelp;
        return kExitOk;
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        console.out << QStringLiteral("qx7420-cli %1\nfiles: %2\n")
                           .arg(QStringLiteral(QX_VERSION), QDir::toNativeSeparators(dataFolder()));
        if (const QString problem = PtIni::inDataFolder().problem(); !problem.isEmpty())
            console.note(problem);
        return kExitOk;
    }

    static const Command commands[] = {
        {"dump", &kDumpHelp, runDump, {kHelp}},
        {"diff", &kDiffHelp, runDiff, {kHelp}},
        {"read",
         &kReadHelp,
         runRead,
         {kHelp, kPort, kOutput, kSinglePass, kRetries, kPace, kReport, kLog}},
        {"write",
         &kWriteHelp,
         runWrite,
         {kHelp, kPort, kInput, kRetries, kBackup, kVerify, kNoVerify, kPace, kReport, kLog}},
        {"export-csv", &kExportHelp, runExport, {kHelp, kOutput, kFormat}},
        {"import-csv", &kImportHelp, runImport, {kHelp, kInput, kOutput, kSkipUnfit}},
        {"ports", &kPortsHelp, runPorts, {kHelp, kJson}},
        {"probe", &kProbeHelp, runProbe, {kHelp, kPort, kLog}},
        {"print", &kPrintHelp, runPrint, {kHelp, kOutput, kLang}},
    };
    for (const Command &command : commands) {
        if (first != QLatin1String(command.name))
            continue;
        QCommandLineParser parser;
        parser.addOptions(command.options);
        // Program name first: QCommandLineParser skips it.
        if (!parser.parse(QStringList{QStringLiteral("qx7420-cli")} + arguments.mid(1))) {
            if (arguments.mid(1).contains(QStringLiteral("--help"))) {
                console.out << *command.help;
                return kExitOk;
            }
            return usage(console, parser.errorText(), command.name);
        }
        if (parser.isSet(kHelp)) {
            console.out << *command.help;
            return kExitOk;
        }
        for (const QCommandLineOption &option : command.options)
            if (option.valueName().size() && parser.values(option).size() > 1 &&
                option.names() != kPort.names())
                return usage(console,
                             QStringLiteral("%1 given more than once").arg(option.names().last()),
                             command.name);
        // Once, before the commands that map port numbers through it.
        if (QByteArrayList{"read", "write", "probe", "ports"}.contains(command.name))
            if (const QString problem = PtIni::inDataFolder().problem(); !problem.isEmpty())
                console.note(problem + QStringLiteral("; port numbers map to their default "
                                                      "devices"));
        return command.run(parser, console);
    }
    return usage(console, QStringLiteral("unknown command '%1'").arg(quotedPrefix(first)), nullptr);
}

} // namespace qx::cli
