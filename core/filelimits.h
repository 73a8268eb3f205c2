#pragma once

#include <QByteArray>
#include <QString>

namespace qx {

// What the window and the command line accept as the files they read and write, and the
// words they refuse the rest in: one set of limits for both.

// An image is 420 bytes and a channel list a few kilobytes: a larger file is a mistaken
// name (a disk image, a log), and reading it whole would stall the program.
constexpr qint64 kMaxInputBytes = 1024 * 1024;
// A message quotes at most this many characters of a field.
constexpr int kQuotedChars = 32;

enum class InputKind { Image, Csv };

// The words of the refusals below and of FileCopy's. English, the command line's; Chinese
// while the Chinese window lives. The system's reasons stay the system's.
struct FileWords {
    QString isFolder, isPipe, isSocket, isDevice, notRegular;
    QString noSuchFile, noFileName, noFolder;
    QString folderNotWritable, notWritable, cannotWrite; // %1 the system's reason
    QString partlyWritten;                               // %1 of %2 bytes
    QString tooLargeImage;                               // %1 the name, %2 its bytes
    QString tooLarge;                                    // %1 the name, %2 the kind
    QString radioImage, channelList;
};
const FileWords &fileWords();
void setChineseFileWords(bool chinese);

// Why path is not a regular file: "is a folder", "is a pipe (FIFO)", "is a device"...;
// empty for a regular file and for a name with nothing there.
QString notRegularFile(const QString &path);

// The bytes of an input file: a regular file of at most kMaxInputBytes. Throws qx::Error
// "path: reason" for a missing, unreadable, special or oversized file.
QByteArray readInputFile(const QString &path, InputKind kind);
// The words for an input over kMaxInputBytes; size -1 when it is unknown (a pipe).
QString tooLargeText(const QString &name, InputKind kind, qint64 size);

// Throws qx::Error "path: reason" unless path can take a new file at once: an existing
// regular file that may be written, or a new name in an existing folder that may be
// written. A pipe, a device or a folder is refused, never opened: opening one blocks or
// writes somewhere else than a file.
void checkOutputFile(const QString &path);

// A field for a message: its first kQuotedChars characters, "..." when there is more.
QString quotedPrefix(const QString &field);

} // namespace qx
