#pragma once

#include <QString>

namespace qx {

// What the grid stores for a frequency that is out of range, whatever the band.
inline const QString kFallbackFrequency = QStringLiteral("450.01250");

struct CheckedFrequency {
    enum class Verdict { Empty, InRange, OutOfRange };
    Verdict verdict = Verdict::Empty;
    QString text;         // empty, the snapped 9-character text, or kFallbackFrequency
    bool snapped = false; // moved down onto the channel raster
};

// The widget-free part of CheckFrequency: an empty text stays empty; a number from 400
// to 512.99999 MHz becomes "ddd.ddddd" on the 5 kHz or 6.25 kHz raster; anything else
// in range terms is OutOfRange. Throws invalidFloat for a text that is not a number.
CheckedFrequency checkFrequencyText(const QString &text);

// Rounds a 9-character frequency text down to the 6.25 kHz raster unless it already
// lies on the 5 kHz or the 6.25 kHz raster.
QString SnapToStep(const QString &text);

} // namespace qx
