// The check of a read against any answers the radio may give: each input byte is one
// answer, in the order the check asks for blocks (its low bits pick the answer's data
// among four, so answers repeat as often as they differ); a first byte with its top bit
// set makes it the read-back of a write, whose expected data are the first of the four.
// - The first round asks every block once; after that only blocks that answered.
// - A block is asked at most six times; one asked no more is settled or unstable.
// - A settled block's last answers agree: two in a row, three once answers of one block
//   have differed; or, for a read-back, the last answer is what was written.
#include "fuzzcheck.h"
#include "memoryframe.h"
#include "readcheck.h"

#include <map>

using namespace qx;

namespace {

QByteArray data(int pick) {
    return QByteArray(8, char('a' + pick));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size) {
    const bool readBack = size > 0 && (bytes[0] & 0x80);
    QByteArray expected;
    if (readBack)
        for (int r = 0; r < kRecordCount; ++r)
            expected += QByteArray(4, '\0') + data(0);
    ReadCheck check = readBack ? ReadCheck(expected) : ReadCheck();
    check.restart();
    std::map<int, QList<QByteArray>> answers;
    QList<int> ask;
    for (int r = 0; r < kRecordCount; ++r)
        ask << r;
    std::size_t at = readBack ? 1 : 0;
    bool noise = false;
    while (!ask.isEmpty() && at < size) {
        for (int record : ask) {
            FUZZ_CHECK(record >= 0 && record < kRecordCount);
            FUZZ_CHECK(answers[record].size() < 6);
            const QByteArray answer = data(bytes[at < size ? at++ : size - 1] & 3);
            QList<QByteArray> &a = answers[record];
            if (!a.isEmpty() && a.last() != answer && !(readBack && answer == data(0)))
                noise = true;
            a << answer;
            check.answered(record, answer);
        }
        ask = check.next();
    }
    FUZZ_CHECK(check.noiseSeen() == noise);
    if (!ask.isEmpty())
        return 0; // the input ran out
    const QList<int> unstable = check.unstable();
    for (const auto &[record, a] : answers) {
        if (unstable.contains(record)) {
            FUZZ_CHECK(a.size() == 6);
            continue;
        }
        if (readBack && a.last() == data(0))
            continue;
        const int needed = noise ? 3 : 2;
        FUZZ_CHECK(a.size() >= needed);
        for (int i = a.size() - needed; i < a.size(); ++i)
            FUZZ_CHECK(a[i] == a.last());
    }
    return 0;
}
