#pragma once

#include "channelcodec.h"
#include "error.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <utility>
#include <vector>

namespace qx::cli {

// A record that cannot be decoded, or a file that cannot be read (record -1).
class ImageError : public Error {
public:
    ImageError(const QString &file, int record, const QString &reason);
    // A file that cannot be read: the message names it.
    explicit ImageError(const QString &message);
    int record() const { return m_record; }

private:
    int m_record;
};

// What the English window shows for an image: the 16 grid rows and the settings as
// item texts, "-" where a record is missing or a list has no selection.
struct ImageDump {
    std::array<ChannelCells, kChannelCount> channels;
    std::vector<std::pair<QString, QString>> settings; // name, value, in print order
    int recordCount = 0;
};

// Decodes records 0 to 34 as the window's load does. Throws ImageError naming the file
// (as given) and the record.
ImageDump decodeImage(const QByteArray &bytes, const QString &fileName);
// Reads the file first; a missing, unreadable or implausibly large (over 1 MiB) file
// throws ImageError with record -1.
QByteArray readImageFile(const QString &path);
ImageDump decodeImageFile(const QString &path);

// What the English window says when it opens such a file: the records missing from a
// short file and those not marked with their own address; empty for a whole image.
QString incompleteImageNote(const QByteArray &bytes);

// Header, 16 tab-separated rows, an empty line, one name<TAB>value line per setting.
QString formatDump(const ImageDump &dump);

} // namespace qx::cli
