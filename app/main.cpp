#include "mainwindow.h"
#include "ptini.h"
#include "qtprompter.h"
#include "routingsio.h"
#include "startup.h"
#include "windowclaim.h"

#include <QApplication>
#include <QDir>
#include <QFile>
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

// --device prints the device that the configured port maps to, for the run command;
// --version the version and the folder of pt.ini and r_and_w.dat. Neither opens a window.
int printInfo(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QString folder = qx::dataFolder();
    if (std::strcmp(argv[1], "--device") == 0) {
        const qx::PtIni ini(QDir(folder).filePath(QStringLiteral("pt.ini")));
        std::printf("%s\n", QFile::encodeName(ini.deviceForPort(ini.comPort())).constData());
    } else {
        std::printf("qx7420 %s\nfiles: %s\n", QX_VERSION,
                    QFile::encodeName(QDir::toNativeSeparators(folder)).constData());
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    const char *option = argc == 2 ? argv[1] : "";
    if (std::strcmp(option, "--device") == 0 || std::strcmp(option, "--version") == 0)
        return printInfo(argc, argv);
    GuardedApplication app(argc, argv);
    // The title of message boxes. No display name: Qt would append it to every window caption.
    QApplication::setApplicationName(QStringLiteral("QX-7420"));
    // Ties the window to qx7420.desktop, whose icon the desktop shows for it.
    QGuiApplication::setDesktopFileName(QStringLiteral("qx7420"));

    const QString folder = qx::dataFolder();
    const qx::PtIni ini(QDir(folder).filePath(QStringLiteral("pt.ini")));
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
    const int rc = QApplication::exec();
    prompter.setParent(nullptr);
    return rc;
}
