#include "startup.h"

#include "covers.h"
#include "mainwindow.h"

namespace qx {

std::unique_ptr<MainWindow> createMainWindow(const QString &language, Prompter &prompter, Sio &sio,
                                             const QString &folder) {
    if (language == QLatin1String("E"))
        return std::make_unique<TE_Form>(prompter, sio, folder);
    return std::make_unique<TForm1>(prompter, sio, folder);
}

std::unique_ptr<MainWindow>
showSplashWhileCreating(const std::function<std::unique_ptr<MainWindow>()> &create) {
    std::unique_ptr<MainWindow> window;
    Tcover cover;
    QObject::connect(&cover, &Tcover::appeared, &cover, [&] {
        if (!window)
            window = create();
    });
    cover.exec();
    // A splash that closed before it was ever painted.
    if (!window)
        window = create();
    return window;
}

} // namespace qx
