#pragma once

#include <QByteArray>
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

// Replaces path with bytes in the same way. A pipe, a device or /dev/stdout is written
// into instead: a file renamed over it would replace the node itself. Throws qx::Error.
void saveFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace qx
