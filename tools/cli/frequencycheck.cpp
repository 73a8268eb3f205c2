#include "frequencycheck.h"

#include <QRegularExpression>
#include <cmath>

namespace qx::cli {

namespace {

constexpr qint64 kUnitsPerMHz = 100000; // 10 Hz steps
constexpr double kLowest = 400.0;
constexpr double kHighest = 512.99999;

} // namespace

QString snapToStep(const QString &text) {
    const int n = text.mid(5, 4).toInt();
    if (n % 500 == 0 || n % 625 == 0)
        return text;
    return text.left(5) + QStringLiteral("%1").arg(n / 625 * 625, 4, 10, QLatin1Char('0'));
}

FrequencyCheck checkFrequency(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    // A plain decimal number: no sign games, exponent or digit grouping from a spreadsheet.
    static const QRegularExpression number(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)$"));
    bool ok = number.match(t).hasMatch();
    const double mhz = ok ? t.toDouble(&ok) : 0.0;
    if (!ok || !std::isfinite(mhz))
        return {FrequencyCheck::Verdict::NotANumber, {}};
    if (mhz < kLowest || mhz > kHighest)
        return {FrequencyCheck::Verdict::OutOfRange, {}};
    // Whole 10 Hz units, so the text has exactly five decimals and no binary residue.
    const qint64 units = std::llround(mhz * double(kUnitsPerMHz));
    const QString formatted = QStringLiteral("%1.%2")
                                  .arg(units / kUnitsPerMHz, 3, 10, QLatin1Char('0'))
                                  .arg(units % kUnitsPerMHz, 5, 10, QLatin1Char('0'));
    const QString snapped = snapToStep(formatted);
    return {FrequencyCheck::Verdict::Ok, snapped, snapped != formatted};
}

} // namespace qx::cli
