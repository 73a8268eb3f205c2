#pragma once

#include <QString>

namespace qx {

// What the print system answered when this thread last handed it a job. Qt's print
// plugin hands the document to CUPS in QPainter::end() and keeps the answer to itself, but
// libcups keeps the last answer for each thread: a queue that does not accept jobs, a
// printer that is gone or a server that is down shows here with CUPS's own words.
struct SpoolAnswer {
    bool accepted = true;
    QString reason; // empty when accepted
};
SpoolAnswer lastSpoolAnswer();

} // namespace qx
