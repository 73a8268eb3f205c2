#include "readcheck.h"

#include "memoryframe.h"

namespace qx {

namespace {

// The first answer, the second pass, then at most kMoreAsks more.
constexpr int kMostAnswers = 2 + ReadCheck::kMoreAsks;

} // namespace

void ReadCheck::restart() {
    m_blocks.clear();
    m_noise = false;
}

void ReadCheck::answered(int record, const QByteArray &data) {
    QList<QByteArray> &answers = m_blocks[record].answers;
    if (!answers.isEmpty() && answers.last() != data && !expected(record, data))
        m_noise = true;
    answers << data;
}

bool ReadCheck::expected(int record, const QByteArray &data) const {
    return !m_expected.isEmpty() && recordBytes(m_expected, record).mid(4) == data;
}

bool ReadCheck::settled(int record, const Block &block) const {
    const QList<QByteArray> &a = block.answers;
    if (a.isEmpty())
        return false;
    if (expected(record, a.last()))
        return true;
    const int n = needed();
    if (a.size() < n)
        return false;
    for (int i = a.size() - n; i < a.size() - 1; ++i)
        if (a[i] != a.last())
            return false;
    return true;
}

QList<int> ReadCheck::next() {
    QList<int> ask;
    for (const auto &[record, block] : m_blocks)
        if (!settled(record, block) && block.answers.size() < kMostAnswers)
            ask << record;
    return ask;
}

QList<int> ReadCheck::unstable() const {
    QList<int> out;
    for (const auto &[record, block] : m_blocks)
        if (!settled(record, block))
            out << record;
    return out;
}

} // namespace qx
