#pragma once

#include <QByteArray>
#include <QString>

namespace qx {

// The one entry of the open and save dialogs: shows "hex(*.dat)" and lists *.dat.
// Qt reads the pattern from the parentheses, so the display text is the filter.
inline const QString kDatFilter = QStringLiteral("hex(*.dat)");

// Replaces target with a byte-for-byte copy of source. The target is written as a
// temporary file beside it, flushed, synced, its size compared, and only then renamed,
// so it is either the old file or the whole copy, never half of one. A pipe, a device or
// a folder on either side is refused (checkOutputFile). Throws qx::Error carrying the
// file name and the system's reason; on failure target is left as it was.
void copyFileOver(const QString &source, const QString &target);

// Replaces path with bytes in the same way: the one way the program saves a file whole.
// Throws qx::Error naming the file and the reason; the old file is then untouched.
void saveFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace qx
