#pragma once

class QMenuBar;

namespace qx {

// Alt and a letter open each menu of the window's bar (File, Edit, Program, COM Setup,
// Language Mode, Help), F10 the first.
void addMenuMnemonics(QMenuBar *bar);

} // namespace qx
