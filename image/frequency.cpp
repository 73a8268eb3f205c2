#include "frequency.h"

#include "error.h"

#include <QRegularExpression>
#include <cmath>

namespace qx {

namespace {

constexpr qint64 kUnitsPerMHz = 100000; // 10 Hz steps
constexpr double kLowest = 400.0;
constexpr double kHighest = 512.99999;

double parseFrequency(const QString &text) {
    // What a typed or pasted number may look like: blanks around it, a sign, one point,
    // an exponent. No digit grouping, no comma.
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(text).hasMatch())
        throw invalidFloat(text);
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw invalidFloat(text);
    return v;
}

} // namespace

QString SnapToStep(const QString &text) {
    const int n = text.mid(5, 4).toInt();
    if (n % 500 == 0 || n % 625 == 0)
        return text;
    return text.left(5) + QStringLiteral("%1").arg(n / 625 * 625, 4, 10, QLatin1Char('0'));
}

CheckedFrequency checkFrequencyText(const QString &text) {
    if (text.isEmpty())
        return {};
    const double mhz = parseFrequency(text);
    if (mhz < kLowest || mhz > kHighest)
        return {CheckedFrequency::Verdict::OutOfRange, kFallbackFrequency};
    // Whole 10 Hz units, so the text has exactly five decimals and no binary residue.
    const qint64 units = std::llround(mhz * double(kUnitsPerMHz));
    const QString formatted = QStringLiteral("%1.%2")
                                  .arg(units / kUnitsPerMHz, 3, 10, QLatin1Char('0'))
                                  .arg(units % kUnitsPerMHz, 5, 10, QLatin1Char('0'));
    const QString snapped = SnapToStep(formatted);
    return {CheckedFrequency::Verdict::InRange, snapped, snapped != formatted};
}

} // namespace qx
