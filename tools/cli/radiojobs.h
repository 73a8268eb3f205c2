#pragma once

#include "console.h"
#include "memoryframe.h"
#include "portchoice.h"
#include "transfer.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace qx {
class TransferLog;
}

namespace qx::cli {

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
