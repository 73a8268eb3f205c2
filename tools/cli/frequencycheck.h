#pragma once

#include <QString>

namespace qx::cli {

// The grid editor's frequency check without its message box: a number from 400 to
// 512.99999 MHz becomes the 9-character text on the 5 kHz or 6.25 kHz raster.
// Kept here until the window's widget-free copy moves to a library the CLI can link.
struct FrequencyCheck {
    enum class Verdict { Empty, Ok, NotANumber, OutOfRange };
    Verdict verdict = Verdict::Empty;
    QString text;         // the stored text when Ok
    bool snapped = false; // moved down to the raster
};
FrequencyCheck checkFrequency(const QString &text);

// Rounds a 9-character frequency text down to the 6.25 kHz raster unless it already
// lies on the 5 kHz or the 6.25 kHz raster.
QString snapToStep(const QString &text);

} // namespace qx::cli
