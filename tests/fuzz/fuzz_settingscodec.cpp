// The settings codec on any three settings records, and the time texts on any text.
// Decoding fails only with qx::Error. What decodes re-encodes to the same list indices,
// texts and values, except a list left without a selection (index -1), which is stored
// as its first item and so comes back as 0.
#include "channelcodec.h"
#include "error.h"
#include "fuzzcheck.h"
#include "settingscodec.h"

#include <algorithm>
#include <cmath>

using namespace qx;

namespace {

int selected(int index) {
    return index < 0 ? 0 : index;
}

void check03C0(const QString &text) {
    Block03C0Values v;
    try {
        v = data03C0(text);
    } catch (const Error &) {
        return;
    }
    FUZZ_CHECK(v.timeOut >= -1 && v.timeOut <= 10 && v.squelch >= 0 && v.squelch <= 9);
    Block03C0Values expected = v;
    expected.timeOut = selected(v.timeOut);
    FUZZ_CHECK(data03C0(FrameText(save03C0(v))) == expected);
}

void check03D0(const QString &text) {
    std::optional<ModelBand> mb;
    try {
        mb = data03D0(text);
    } catch (const Error &) {
        return;
    }
    if (!mb)
        return;
    const int bands = int(bandNames(mb->model).size());
    FUZZ_CHECK(mb->band >= -1 && mb->band < bands);
    const auto again = data03D0(FrameText(save03D0(mb->model, mb->band, bands)));
    FUZZ_CHECK(again && again->model == mb->model && again->band == selected(mb->band));
}

void check03F0(const QString &text) {
    Block03F0Values v;
    try {
        v = data03F0(text);
    } catch (const Error &) {
        return;
    }
    FUZZ_CHECK(v.power >= 0 && v.power <= 255 && v.priorityChannel >= 0 && v.priorityChannel <= 15);
    // The decoded times are texts the encoder takes.
    FUZZ_CHECK(data03F0(FrameText(save03F0(v))) == v);
}

// A time text the encoder takes and the spin buttons can start from: the step results
// are taken too and stay within 0.5 to 15.
void checkTime(const QString &text) {
    double seconds = 0;
    try {
        TimeByte(text);
        seconds = text.trimmed().toDouble();
    } catch (const Error &) {
        try {
            TimeStepUp(text);
            TimeStepDown(text);
        } catch (const Error &) {
        }
        return;
    }
    if (seconds < 0 || seconds > 15)
        return;
    for (const QString &stepped : {TimeStepUp(text), TimeStepDown(text)}) {
        const double s = stepped.toDouble();
        FUZZ_CHECK_MSG(s >= 0.5 && s <= 15, stepped);
        FUZZ_CHECK_MSG(TimeByte(stepped) == std::uint8_t(std::lround(s * 2)), stepped);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    QByteArray records = fuzz::bytesOf(data, std::min<std::size_t>(size, 36));
    records.append(QByteArray(36 - records.size(), '\xFF'));
    check03C0(FrameText(MemoryFrame::fromBytes(records.left(12))));
    check03D0(FrameText(MemoryFrame::fromBytes(records.mid(12, 12))));
    check03F0(FrameText(MemoryFrame::fromBytes(records.mid(24, 12))));
    if (size > 36)
        checkTime(QString::fromUtf8(fuzz::bytesOf(data + 36, size - 36)));
    return 0;
}
