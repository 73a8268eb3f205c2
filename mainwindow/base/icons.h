#pragma once

#include <QIcon>

namespace qx {

// The ten 35 x 35 tool-bar pictures of ImageList1, drawn rather than shipped.
// 0 write, 1 save, 2 read, 3 open, 4 port, 5 print, 6 exit, 7 stop, 8 and 9 spare.
QIcon toolIcon(int index);

} // namespace qx
