#pragma once

#include "memoryframe.h"
#include "transfer.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTextStream>

namespace qx {
class TransferLog;
}

namespace qx::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitNoRadio = 1, // the port could not be used or the radio did not answer
    kExitUsage = 2,   // usage, file or image error
    kExitVerify = 3,  // write --verify found records that differ
    kExitDiffer = 3,  // diff found fields that differ
    kExitInterrupted = 130,
};

struct Console {
    QTextStream &out;
    QTextStream &err;
    bool errIsTerminal = false;
    void note(const QString &text); // "qx7420-cli: text" on stderr
};

// --log FILE, begun before anything is sent: a log that cannot be written is noted and
// stops the command. True when there is no path or the log was begun.
bool beginLog(TransferLog &log, const QString &path, Console &console);

// --port: a number is mapped through pt.ini beside the program as the window maps it;
// anything else is a device path.
struct PortChoice {
    int port = 1;
    QString device;
    QString given;         // the argument as typed
    bool numbered = false; // given as a port number, not as a device
};
PortChoice resolvePort(const QString &argument);

// With one port, output and backup name files; with several, folders that receive a
// file per radio named after its port (see portFileName).
struct ReadJob {
    QList<PortChoice> ports;
    QString output;
    bool checked = true; // every block received the same twice
    int retries = 2;
    Pacing pacing;
    QString report; // CSV of the results; empty: none
    QString log;    // --log: every byte on the line; empty: none
};
int readRadio(const ReadJob &job, Console &console);

struct WriteJob {
    QList<PortChoice> ports;
    QString input;
    QString backup; // empty: none
    bool verify = true;
    int retries = 2;
    Pacing pacing;
    QString report;
    QString log; // --log: every byte of all its transfers; empty: none
};
int writeRadio(const WriteJob &job, Console &console);

// The file name for a radio's image in a folder: COMn for a port number, host and port
// for a network port (bench2_3001), else the device's own name (ttyUSB0 for /dev/ttyUSB0).
QString portFileName(const PortChoice &port);

// Why an image must not be sent, or empty: fewer than 35 records, a record whose frame
// header is not 57, its own address, 08 (the write sends records to the address they
// carry), or a field that does not decode.
QString writeRefusal(const QByteArray &image, const QString &fileName);
// Records 0 to 34 whose 12 bytes differ: shared with the window's verify.
using qx::differingRecords;

// Ctrl-C during a transfer stops it cleanly: link closed, no output file.
void installInterruptHandler();
bool interruptRequested();

} // namespace qx::cli
