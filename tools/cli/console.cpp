#include "console.h"

#include "transferlog.h"

namespace qx::cli {

void Console::note(const QString &text) {
    err << QStringLiteral("qx7420-cli: ") << text << '\n';
    err.flush();
}

bool beginLog(TransferLog &log, const QString &path, Console &console) {
    QString error;
    if (path.isEmpty() || log.begin(path, false, &error))
        return true;
    console.note(error);
    return false;
}

} // namespace qx::cli
