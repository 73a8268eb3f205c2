#pragma once

#include "memoryframe.h"

#include <QByteArray>
#include <QFile>
#include <QString>

namespace qx::test {

// Bytes written as hexadecimal text, blanks allowed: "57 00 10 08".
inline QByteArray hexBytes(const char *spaced) {
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

// A frame as upper-case hexadecimal text with blanks, for readable comparisons.
inline QString hexText(const MemoryFrame &frame) {
    return QString::fromLatin1(frame.toByteArray().toHex(' ').toUpper());
}

// A whole file; empty when it cannot be read.
inline QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Record i of an image, and the image with its records from first on replaced.
inline QByteArray record(const QByteArray &image, int index) {
    return recordBytes(image, index);
}
inline QByteArray withRecords(QByteArray image, int first, const QByteArray &records) {
    image.replace(first * MemoryFrame::kSize, records.size(), records);
    return image;
}

} // namespace qx::test
