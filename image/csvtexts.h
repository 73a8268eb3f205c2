#pragma once

#include "imagewords.h"

#include <QString>

namespace qx {

// The problems and notes of the CSV readers, in the window's language. The command line
// always uses the English ones. Column names (RxFrequency, Location, Tone...) are the
// file's own and stay as they are in both languages.
struct CsvTexts {
    QString line;   // "line %1: %2"
    QString joiner; // between the problems of one row

    // Any row's values. %1 the column, %2 the value as given.
    QString notFrequency, outOfRange, notTone, notFlag;
    QString snapped;        // %3 the frequency stored
    QString givenWithoutRx; // %3 the receive frequency's column

    // The CSV itself.
    QString quoteInside, textAfterQuote, quoteNotClosed;
    QString utf16, crOnly; // the encoding and the line ends a reader cannot take

    // The program's own CSV.
    QString noHeader, wrongHeader; // %1 the header
    QString fieldCount;            // %1 fields, %2 expected
    QString pasteColumns;          // a pasted row of %1 columns, not 6 or 7
    QString notChannel;            // %1 the value
    QString channelTwice;          // %1 the channel, %2 its first line
    QString channelMissing;        // %1 the channel

    // CHIRP's CSV. %1 the value unless said otherwise.
    QString chirpNoHeader;
    QString lacksColumn, lacksColumns; // %1 the columns
    QString busyNotKept;               // %1 why the image does not decode
    QString chirpFieldCount;           // %1 fields, %2 in the header
    QString locationBeyond, locationNotChannel;
    QString locationTwice; // %1 the location, %2 its first line
    QString dtcsTone, unknownTone, dtcsCrossMode, unknownCrossMode;
    QString unknownDuplex, offsetNotNumber, frequencyEmpty;
    QString toneMissing; // %1 the Tone mode, %2 the column it needs
};

CsvTexts englishCsvTexts();
CsvTexts chineseCsvTexts();
CsvTexts csvTexts(Language language);

} // namespace qx
