// A frequency typed into the grid or read from a CSV: any text. The check throws only
// qx::Error and only the invalid-number message; an empty text stays empty; anything in
// range becomes a 9-character text on the 5 kHz or 6.25 kHz raster, anything else the
// fallback. Against the former arithmetic through a double it differs only where a
// double cannot tell the digits apart: half a 10 Hz step, or the range's two ends.
#include "error.h"
#include "frequency.h"
#include "frequencythroughdouble.h"
#include "fuzzcheck.h"

#include <cmath>

using namespace qx;

namespace {

bool nearTieOrEnd(double mhz) {
    const double units = mhz * 100000.0;
    return std::abs(units - std::floor(units) - 0.5) < 1e-6 || std::abs(mhz - 400.0) < 1e-9 ||
           std::abs(mhz - 512.99999) < 1e-9;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QString text = QString::fromUtf8(fuzz::bytesOf(data, size));
    CheckedFrequency checked;
    try {
        checked = checkFrequencyText(text);
    } catch (const Error &e) {
        FUZZ_CHECK(e.message() == invalidFloat(text).message());
        return 0;
    }
    using Verdict = CheckedFrequency::Verdict;
    FUZZ_CHECK((checked.verdict == Verdict::Empty) == text.isEmpty());
    if (checked.verdict == Verdict::Empty) {
        FUZZ_CHECK(checked.text.isEmpty());
        return 0;
    }
    if (checked.verdict == Verdict::OutOfRange) {
        FUZZ_CHECK(checked.text == kFallbackFrequency);
    } else {
        const QString &t = checked.text;
        FUZZ_CHECK_MSG(t.size() == 9 && t.at(3) == QLatin1Char('.') && t >= "400.00000" &&
                           t <= "512.99999" && SnapToStep(t) == t,
                       t);
    }
    const double mhz = text.trimmed().toDouble();
    const QString former = test::frequencyThroughDouble(mhz);
    FUZZ_CHECK_MSG(
        former == checked.text || nearTieOrEnd(mhz),
        QStringLiteral("'%1' gives %2, through a double %3").arg(text, checked.text, former));
    return 0;
}
