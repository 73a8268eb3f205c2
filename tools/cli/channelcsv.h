#pragma once

#include "imagedump.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace qx::cli {

inline const QStringList kCsvHeader{QStringLiteral("Channel"), QStringLiteral("RxFrequency"),
                                    QStringLiteral("RxTone"),  QStringLiteral("TxFrequency"),
                                    QStringLiteral("TxTone"),  QStringLiteral("BusyLockout"),
                                    QStringLiteral("Scan")};

// The header and one row per channel; an empty channel has empty fields.
QString formatCsv(const ImageDump &dump);

struct CsvRecord {
    int line = 0; // where the record starts, from 1
    QStringList fields;
    QString error; // malformed quoting; the record is rejected
};
// Comma-separated records with double-quoted fields ("" for a quote inside), LF or CRLF
// line ends, an optional byte-order mark. Quoted line breaks stay in their field.
QList<CsvRecord> parseCsv(const QString &text);

struct CsvImport {
    QByteArray image;   // empty when anything was rejected
    QStringList errors; // every rejected row, "line N: ..."
    QStringList notes;  // values the grid editor would have changed (raster snap)
};
// Checks every row as the grid editor would and builds the image: channel records from
// the CSV, everything after them unchanged from the given image. All 16 channels must
// have a row.
CsvImport importCsv(const QString &csvText, const QByteArray &image);

} // namespace qx::cli
