#include "covers.h"
#include "mainwindow.h"
#include "ptini.h"
#include "qtprompter.h"
#include "sio.h"
#include "startup.h"

#include <QApplication>
#include <QDir>
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

} // namespace

int main(int argc, char *argv[]) {
    GuardedApplication app(argc, argv);
    // The title of message boxes. No display name: Qt would append it to every window caption.
    QApplication::setApplicationName(QStringLiteral("QX-7420"));

    const QString folder = qx::programFolder();
    const qx::PtIni ini(QDir(folder).filePath(QStringLiteral("pt.ini")));
    const QString language = ini.language();

    qx::QtPrompter prompter;
    app.prompter = &prompter;
    qx::QtSio sio([ini](int port) { return ini.deviceForPort(port); });

    {
        qx::Tcover cover;
        cover.exec();
    }

    std::unique_ptr<qx::MainWindow> window = qx::createMainWindow(language, prompter, sio, folder);
    prompter.setParent(window.get());
    window->show();
    const int rc = QApplication::exec();
    prompter.setParent(nullptr);
    return rc;
}
