#pragma once

#include <QString>
#include <memory>

namespace qx {

class MainWindow;
class Prompter;
class Sio;

// Exactly "E" opens the English window; any other key, "e", "" or garbage included,
// opens the Chinese one (the original then ended silently without any window).
std::unique_ptr<MainWindow> createMainWindow(const QString &language, Prompter &prompter, Sio &sio,
                                             const QString &folder);

} // namespace qx
