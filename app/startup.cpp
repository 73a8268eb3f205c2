#include "startup.h"

#include "mainwindow.h"

namespace qx {

std::unique_ptr<MainWindow> createMainWindow(const QString &language, Prompter &prompter, Sio &sio,
                                             const QString &folder) {
    if (language == QLatin1String("E"))
        return std::make_unique<TE_Form>(prompter, sio, folder);
    return std::make_unique<TForm1>(prompter, sio, folder);
}

} // namespace qx
