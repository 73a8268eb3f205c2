// qx7420-cli: the radio image from scripts and service benches.
#include "cli.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

int main(int argc, char *argv[]) {
    // print draws with fonts, which need the GUI's font database, but never a display.
    const bool print = argc > 1 && std::strcmp(argv[1], "print") == 0;
    if (print)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(print ? new QGuiApplication(argc, argv)
                                                      : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("qx7420-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    qx::cli::Console console{out, err, isatty(fileno(stderr)) != 0};
    qx::cli::installInterruptHandler();
    int code = qx::cli::runCli(QCoreApplication::arguments().mid(1), console);
    out.flush();
    // A full disk behind "> list.csv" must not pass for a complete listing, nor a diff
    // that was never written for "differ".
    if (out.status() != QTextStream::Ok) {
        console.note(QStringLiteral("cannot write to standard output"));
        if (code == qx::cli::kExitOk || code == qx::cli::kExitDiffer)
            code = qx::cli::kExitUsage;
    }
    err.flush();
    return code;
}
