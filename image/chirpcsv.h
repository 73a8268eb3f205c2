#pragma once

#include "channelcsv.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace qx {

// The generic channel CSV of CHIRP, the open multi-radio tool most channel lists are kept
// in: one row per memory, frequencies and offsets in MHz, tone modes instead of a tone per
// direction. Nothing here prints: callers word and show the messages.
inline const QStringList kChirpHeader{
    QStringLiteral("Location"),     QStringLiteral("Name"),       QStringLiteral("Frequency"),
    QStringLiteral("Duplex"),       QStringLiteral("Offset"),     QStringLiteral("Tone"),
    QStringLiteral("rToneFreq"),    QStringLiteral("cToneFreq"),  QStringLiteral("DtcsCode"),
    QStringLiteral("DtcsPolarity"), QStringLiteral("RxDtcsCode"), QStringLiteral("CrossMode"),
    QStringLiteral("Mode"),         QStringLiteral("TStep"),      QStringLiteral("Skip"),
    QStringLiteral("Power"),        QStringLiteral("Comment"),    QStringLiteral("URCALL"),
    QStringLiteral("RPT1CALL"),     QStringLiteral("RPT2CALL"),   QStringLiteral("DVCODE")};

// True when the first line that is not blank has a Location column: CHIRP's header.
bool isChirpCsv(const QString &text);

struct ChirpRow {
    int line = 0;       // where the row starts, from 1
    int channel = 0;    // its Location when that is 1 to 16, else 0
    ChannelCells cells; // what the channel becomes when the row fits (English flag words)
    QString unfit;      // why this radio cannot hold the row; empty when it fits
};

struct ChirpChannels {
    QList<CsvMessage> problems; // about the file as a whole; then no row is read
    QList<ChirpRow> rows;       // every row that is not blank, in file order
    QList<CsvMessage> notes;    // values of fitting rows moved onto the raster
};
// Maps every row onto the grid's six values and checks them as the grid checks typed
// values. Columns are found by name in any letter case; others are ignored. Busy lock-out,
// which the format has no column for, is the image's (NO for a channel that was empty).
ChirpChannels parseChirpCsv(const QString &text, const QByteArray &image,
                            const CsvTexts &say = englishCsvTexts());

// The image with the channels of the fitting rows; a channel whose only rows are unfit as
// it was in image; every other channel empty and every record after the channels unchanged. Throws
// qx::Error when the file has problems.
QByteArray applyChirpCsv(const ChirpChannels &rows, const QByteArray &image);

// The two in one call. Unfit rows are errors, and no image is built, unless skipUnfit:
// then they are listed as skipped and the other rows go in. The messages in the words of say.
CsvImport importChirpCsv(const QString &text, const QByteArray &image, bool skipUnfit,
                         const CsvTexts &say = englishCsvTexts());

// The header and one row per channel in use, with the placeholders the format writes in
// the columns this radio has no use for.
QString formatChirpCsv(const ChannelTable &channels);
inline QString exportChirpCsv(const QByteArray &image) {
    return formatChirpCsv(channelsOfImage(image));
}

} // namespace qx
