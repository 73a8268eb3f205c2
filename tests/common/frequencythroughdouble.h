#pragma once

#include "frequency.h"

#include <QString>
#include <cmath>

namespace qx::test {

// The frequency check as it was before it rounded on the typed digits: through a double,
// rounded to 10 Hz, then snapped. The reference the tests compare the digit rounding with.
inline QString frequencyThroughDouble(double mhz) {
    if (mhz < 400.0 || mhz > 512.99999)
        return kFallbackFrequency;
    const qint64 units = std::llround(mhz * 100000.0);
    return SnapToStep(QStringLiteral("%1.%2")
                          .arg(units / 100000, 3, 10, QLatin1Char('0'))
                          .arg(units % 100000, 5, 10, QLatin1Char('0')));
}

} // namespace qx::test
