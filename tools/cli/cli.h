#pragma once

#include "radiojobs.h"

#include <QStringList>

namespace qx::cli {

// Runs one command line (arguments without the program name) and returns the exit code.
// Needs a QCoreApplication for read and write.
int runCli(const QStringList &arguments, Console &console);

} // namespace qx::cli
