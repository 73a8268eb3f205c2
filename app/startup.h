#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace qx {

class MainWindow;
class Prompter;
class Sio;
class WindowClaim;

// Exactly "E" opens the English window; any other key, "e", "" or garbage included,
// opens the Chinese one (the original then ended silently without any window).
std::unique_ptr<MainWindow> createMainWindow(const QString &language, Prompter &prompter, Sio &sio,
                                             const QString &folder);

// True when this program may open the working file; else another window holds it, and the
// user was asked whether to bring that window forward before this program ends.
bool claimWorkingFile(WindowClaim &claim, const QString &language, Prompter &prompter);

// Shows the splash until it closes itself and calls create while it shows (once it has
// been painted), so the window is ready the moment the splash goes; the splash is
// destroyed after the window exists. Returns what create returned.
std::unique_ptr<MainWindow>
showSplashWhileCreating(const std::function<std::unique_ptr<MainWindow>()> &create);

} // namespace qx
