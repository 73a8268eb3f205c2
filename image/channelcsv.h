#pragma once

#include "channelcodec.h"
#include "csvtexts.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace qx {

// The channel list as CSV for spreadsheets, with the English flag words whatever the
// window's language. Nothing here prints: callers word and show the messages.
inline const QStringList kCsvHeader{QStringLiteral("Channel"), QStringLiteral("RxFrequency"),
                                    QStringLiteral("RxTone"),  QStringLiteral("TxFrequency"),
                                    QStringLiteral("TxTone"),  QStringLiteral("BusyLockout"),
                                    QStringLiteral("Scan")};

// The 16 grid rows of an image as the English window shows them (records 0 to 31; a
// channel whose records are missing stays empty). Throws qx::Error naming the record
// that cannot be decoded.
ChannelTable channelsOfImage(const QByteArray &image);

// The header and one row per channel; an empty channel has empty fields.
QString formatChannelCsv(const ChannelTable &channels);
inline QString exportChannelCsv(const QByteArray &image) {
    return formatChannelCsv(channelsOfImage(image));
}

// Six values in the grid's order, RxFrequency to Scan; missing ones are empty.
ChannelCells cellsOf(const QStringList &values);

// One channel's six values as given (a CSV row, a pasted row), checked as the grid editor checks
// what is typed and picked: range and raster of the frequencies, a tone of the list or OFF, YES or
// NO, or the flag words given. The cells carry the English flag words; an empty RxFrequency
// makes an empty channel, and a value given with it that the grid would drop is a problem.
// Problems and notes name the CSV column, or the names given for the six values, in the
// words of say.
struct ChannelCheck {
    ChannelCells cells;
    QStringList problems;
    QStringList notes; // values the grid editor would have changed (raster snap)
};
ChannelCheck checkChannelValues(const ChannelCells &given,
                                const FlagWords &words = englishFlagWords(),
                                const QStringList &names = kCsvHeader.mid(1),
                                const CsvTexts &say = englishCsvTexts());

// A decimal number with at most one point, blanks around it; no sign, no exponent.
bool isPlainDecimal(const QString &text);

struct CsvRecord {
    int line = 0; // where the record starts, from 1
    QStringList fields;
    QString error;      // malformed quoting; the record is rejected
    bool blank() const; // well-formed with nothing but blanks: skipped
};
// Comma-separated records with double-quoted fields ("" for a quote inside), LF or CRLF
// line ends, an optional byte-order mark. Quoted line breaks stay in their field.
QList<CsvRecord> parseCsv(const QString &text, const CsvTexts &say = englishCsvTexts());

struct CsvMessage {
    int line = 0; // 0: about the file as a whole
    QString text;
    // "line N: text", or the text alone for line 0.
    QString toString(const CsvTexts &say = englishCsvTexts()) const;
};

// The checked rows of a channel CSV.
struct CsvChannels {
    // Every channel's cells once ok(); an empty channel has empty cells.
    std::array<std::optional<ChannelCells>, kChannelCount> channels;
    QList<CsvMessage> problems; // every rejected row (one message each), then what is missing
    QList<CsvMessage> notes;    // values the grid editor would have changed (raster snap)
    bool ok() const { return problems.isEmpty(); }
};
// Checks every row as the grid editor would. All 16 channels must have a row; a row
// with only its channel number is an empty channel.
CsvChannels parseChannelCsv(const QString &text, const CsvTexts &say = englishCsvTexts());

// The image with channel records 0 to 31 encoded from the checked rows as the grid
// encodes them, and every record after them unchanged. Throws qx::Error when the rows
// have problems.
QByteArray applyChannelCsv(const CsvChannels &rows, const QByteArray &image);

// What makes a whole file unreadable as a channel list, in the words of say: UTF-16 text,
// CR-only line ends; empty when there is nothing of the kind.
QString csvEncodingProblem(const QString &csvText, const CsvTexts &say = englishCsvTexts());

struct CsvImport {
    QByteArray image;    // empty when anything was rejected
    QStringList errors;  // every rejected row, "line N: ..."
    QStringList notes;   // values the grid editor would have changed (raster snap)
    QStringList skipped; // rows left out by skipUnfit, "line N: ..."
};
// A channel CSV of either format, told apart by its header: parseChannelCsv and
// applyChannelCsv for the program's own, importChirpCsv for CHIRP's (where skipUnfit
// imports the rows this radio can hold). The messages as texts, in the words of say.
CsvImport importCsv(const QString &csvText, const QByteArray &image, bool skipUnfit = false,
                    const CsvTexts &say = englishCsvTexts());

} // namespace qx
