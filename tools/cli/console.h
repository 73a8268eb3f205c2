#pragma once

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

} // namespace qx::cli
