#pragma once

#include "radiojobs.h"
#include "radiorun.h"

#include <QList>
#include <QString>

namespace qx {
class TransferLog;
}

namespace qx::cli {

struct FleetRadio {
    PortChoice port;
    RadioTask task;
};

// How one radio's task ended, for the report.
struct RadioReport {
    QString port; // as given on the command line
    QString device;
    RadioResult result = RadioResult::Completed;
    double seconds = 0;
    QList<int> differing;
};

// The radios of a bench, each on its own port, all at once on one event loop: one
// transfer per port, each with its own retries, backup and verify, so one that fails
// never holds up the others. Progress shows every radio, one line each on a terminal;
// with several radios every note names its port.
class FleetRun {
public:
    explicit FleetRun(Console &console) : m_console(console) {}
    // Needs a QCoreApplication. Returns the reports in the order of the radios. The
    // traffic of every port goes to the log when it is active.
    QList<RadioReport> run(const QList<FleetRadio> &radios, TransferLog &log);

private:
    Console &m_console;
};

// One aligned line per radio: port, device, result, seconds, differing records.
QString reportLines(const QList<RadioReport> &reports);
// The same as CSV with a header line.
QString reportCsv(const QList<RadioReport> &reports);
// 0 when every radio succeeded, 3 when the only failures are verify differences,
// 130 after Ctrl-C, 1 otherwise.
int fleetExitCode(const QList<RadioReport> &reports);

} // namespace qx::cli
