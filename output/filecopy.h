#pragma once

#include <QString>

namespace qx {

// The one entry of the open and save dialogs: shows "hex(*.dat)" and lists *.dat.
// Qt reads the pattern from the parentheses, so the display text is the filter.
inline const QString kDatFilter = QStringLiteral("hex(*.dat)");

// Replaces target with a byte-for-byte copy of source. The target is written as a
// temporary file beside it and renamed, so it is either the old file or the whole
// copy, never half of one. A pipe or a device on either side is refused. Throws
// qx::Error carrying the file name and the system's reason; on failure target is left
// as it was.
void copyFileOver(const QString &source, const QString &target);

} // namespace qx
