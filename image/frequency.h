#pragma once

#include <QString>
#include <QStringList>
#include <optional>

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

// A channel step typed in kHz ("12.5"), in 10 Hz units: at most two decimals, above 0 and
// up to kMaxStep; nothing for anything else.
constexpr qint64 kMaxStep = 10000000; // 100 MHz
std::optional<qint64> stepUnits(const QString &kHz);
// Up to `count` frequencies from start (a text as checkFrequencyText gives it) in steps of
// `step` 10 Hz units, each moved down onto the channel raster as typing it would be; fewer
// when the band ends first.
// snapped, when given, tells whether any of them was moved.
QStringList frequencyRun(const QString &start, qint64 step, int count, bool *snapped = nullptr);

} // namespace qx
