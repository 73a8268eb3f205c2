#include "frequency.h"

#include "error.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

namespace qx {

namespace {

constexpr qint64 kUnitsPerMHz = 100000; // 10 Hz steps
constexpr qint64 kLowest = 400 * kUnitsPerMHz;
constexpr qint64 kHighest = 51299999;

// What a typed or pasted number may look like: blanks around it, a sign, one point,
// an exponent. No digit grouping, no comma. Throws invalidFloat for anything else,
// including what a double cannot hold (1e400, 1e-400).
void checkNumber(const QString &text) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(text).hasMatch())
        throw invalidFloat(text);
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw invalidFloat(text);
}

// The checked number in whole 10 Hz units, rounded half up on its decimal digits; empty
// when it lies outside 400 to 512.99999 MHz. The digits of the text, not a double: a
// double holds 512.012495 as 512.0124949999..., which rounds down where the digits say up.
std::optional<qint64> unitsInRange(const QString &text) {
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-'))
        negative = t.at(i++) == QLatin1Char('-');
    // value = 0.digits x 10^point
    QString digits;
    qint64 point = 0;
    bool afterPoint = false;
    for (; i < t.size() && t.at(i).toLower() != QLatin1Char('e'); ++i) {
        if (t.at(i) == QLatin1Char('.')) {
            afterPoint = true;
            continue;
        }
        digits += t.at(i);
        if (!afterPoint)
            ++point;
    }
    if (i < t.size()) {
        ++i;
        const bool down = t.at(i) == QLatin1Char('-');
        if (t.at(i) == QLatin1Char('+') || down)
            ++i;
        qint64 exponent = 0;
        for (; i < t.size(); ++i) // saturates far beyond any text's length
            exponent = std::min<qint64>(exponent * 10 + t.at(i).digitValue(), 1'000'000'000'000);
        point += down ? -exponent : exponent;
    }
    int lead = 0;
    while (lead < digits.size() && digits.at(lead) == QLatin1Char('0'))
        ++lead;
    digits.remove(0, lead);
    point -= lead;
    // Zero, negative, below 100 MHz or from 1000 MHz on.
    if (digits.isEmpty() || negative || point != 3)
        return std::nullopt;
    const qint64 cut = (digits + QString(8, QLatin1Char('0'))).left(8).toLongLong();
    const QString rest = digits.mid(8);
    const bool exact = rest.count(QLatin1Char('0')) == rest.size();
    if (cut < kLowest || cut > kHighest || (cut == kHighest && !exact))
        return std::nullopt;
    return cut + (!rest.isEmpty() && rest.at(0) >= QLatin1Char('5') ? 1 : 0);
}

// "ddd.ddddd" from 10 Hz units.
QString unitsText(qint64 units) {
    return QStringLiteral("%1.%2")
        .arg(units / kUnitsPerMHz, 3, 10, QLatin1Char('0'))
        .arg(units % kUnitsPerMHz, 5, 10, QLatin1Char('0'));
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
    checkNumber(text);
    const std::optional<qint64> inRange = unitsInRange(text);
    if (!inRange)
        return {CheckedFrequency::Verdict::OutOfRange, kFallbackFrequency};
    const QString formatted = unitsText(*inRange);
    const QString snapped = SnapToStep(formatted);
    return {CheckedFrequency::Verdict::InRange, snapped, snapped != formatted};
}

std::optional<qint64> stepUnits(const QString &kHz) {
    static const QRegularExpression step(QStringLiteral("^\\s*(\\d{0,6})(?:\\.(\\d{0,2}))?\\s*$"));
    const QRegularExpressionMatch m = step.match(kHz);
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(2).isEmpty()))
        return std::nullopt;
    const qint64 units = m.captured(1).toLongLong() * 100 +
                         m.captured(2).leftJustified(2, QLatin1Char('0')).toLongLong();
    if (units < 1 || units > kMaxStep)
        return std::nullopt;
    return units;
}

QStringList frequencyRun(const QString &start, qint64 step, int count, bool *snapped) {
    QStringList run;
    if (snapped)
        *snapped = false;
    bool ok = false;
    const qint64 first = QString(start).remove(QLatin1Char('.')).toLongLong(&ok);
    if (!ok || start.size() != 9 || step < 1)
        return run;
    for (int i = 0; i < count; ++i) {
        // Each from the start, not from the one before: snapping never adds up.
        const CheckedFrequency f = checkFrequencyText(unitsText(first + i * step));
        if (f.verdict != CheckedFrequency::Verdict::InRange)
            break;
        run << f.text;
        if (snapped)
            *snapped = *snapped || f.snapped;
    }
    return run;
}

} // namespace qx
