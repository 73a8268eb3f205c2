#include "mainwindow.h"
#include "ptini.h"
#include "qtprompter.h"
#include "routingsio.h"
#include "startup.h"
#include "windowclaim.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Last line of defence: an exception that a handler did not guard is shown, and the
// program goes on.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    qx::Prompter *prompter = nullptr;

    bool notify(QObject *receiver, QEvent *event) override {
        bool handled = false;
        auto call = [&] { handled = QApplication::notify(receiver, event); };
        if (prompter)
            qx::guard(*prompter, call);
        else
            call();
        return handled;
    }
};

const char kHelp[] =
    "Usage: qx7420 [FILE]\n"
    "\n"
    "Opens the window of the QX-7420 programming tool: reads the memory of a QX-7420\n"
    "radio over its USB-serial programming cable, edits its channels and settings, and\n"
    "writes it back. The window works on r_and_w.dat in the folder that --version names.\n"
    "\n"
    "With FILE, the window opens that image as \"File\" -> \"Open\" does: copied over\n"
    "r_and_w.dat as one step that \"Edit\" -> \"Undo\" takes back, with a message when\n"
    "the file cannot be read or holds less than a whole image.\n"
    "\n"
    "Options:\n"
    "  -h, --help   this help\n"
    "  --version    the program's version and the folder of its pt.ini and r_and_w.dat\n"
    "  --device     the device that the port chosen in the window maps to\n"
    "\n"
    "Qt's own options are taken as well, for example -platform offscreen.\n";

int usageError(const QString &text) {
    std::fprintf(stderr, "qx7420: %s\ntry 'qx7420 --help'\n", qPrintable(text));
    return 2;
}

// --device prints the device that the configured port maps to, for the run command;
// --version the version and the folder of pt.ini and r_and_w.dat. Neither opens a window.
int printInfo(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QString folder = qx::dataFolder();
    if (std::strcmp(argv[1], "--device") == 0) {
        const qx::PtIni ini = qx::PtIni::inFolder(folder);
        std::printf("%s\n", QFile::encodeName(ini.deviceForPort(ini.comPort())).constData());
    } else {
        std::printf("qx7420 %s\nfiles: %s\n", QX_VERSION,
                    QFile::encodeName(QDir::toNativeSeparators(folder)).constData());
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    // Answered before QApplication exists: it needs a display, these need none.
    const char *option = argc == 2 ? argv[1] : "";
    if (std::strcmp(option, "-h") == 0 || std::strcmp(option, "--help") == 0) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (std::strcmp(option, "--device") == 0 || std::strcmp(option, "--version") == 0)
        return printInfo(argc, argv);
    GuardedApplication app(argc, argv);
    // What is left once Qt has taken its own options: at most the image to open.
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments == QStringList{QStringLiteral("--help")}) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (arguments.size() > 1)
        return usageError(QStringLiteral("one FILE at most, not %1").arg(arguments.size()));
    if (!arguments.isEmpty() && arguments.first().startsWith(QLatin1Char('-')))
        return usageError(QStringLiteral("unknown option '%1'").arg(arguments.first()));
    // The title of message boxes. No display name: Qt would append it to every window caption.
    QApplication::setApplicationName(QStringLiteral("QX-7420"));
    // Ties the window to qx7420.desktop, whose icon the desktop shows for it.
    QGuiApplication::setDesktopFileName(QStringLiteral("qx7420"));

    const QString folder = qx::dataFolder();
    const qx::PtIni ini = qx::PtIni::inFolder(folder);
    const QString language = ini.language();

    qx::QtPrompter prompter;
    app.prompter = &prompter;
    // Two windows on one working file would undo each other's edits.
    qx::WindowClaim claim(QDir(folder).filePath(QStringLiteral("r_and_w.dat")));
    if (!qx::claimWorkingFile(claim, language, prompter))
        return 0;
    qx::RoutingSio sio([ini](int port) { return ini.deviceForPort(port); });

    std::unique_ptr<qx::MainWindow> window = qx::showSplashWhileCreating(
        [&] { return qx::createMainWindow(language, prompter, sio, folder); });
    prompter.setParent(window.get());
    claim.serve(window.get());
    window->show();
    // Read as empty meanwhile: the language, the port and the switches are the defaults.
    if (const QString problem = ini.problem(); !problem.isEmpty())
        prompter.message(window->texts().settingsUnreadable.arg(problem));
    if (!arguments.isEmpty())
        window->openFile(QFileInfo(arguments.first()).absoluteFilePath());
    const int rc = QApplication::exec();
    prompter.setParent(nullptr);
    return rc;
}
