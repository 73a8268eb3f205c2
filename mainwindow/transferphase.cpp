#include "transferphase.h"

#include "steps.h"

#include <QProgressBar>
#include <algorithm>

namespace qx {

namespace {

using Phase = TransferJob::Phase;

TransferMode modeOf(Phase phase) {
    return phase == Phase::Write ? TransferMode::Write : TransferMode::Read;
}

int recordsIn(const std::vector<Step> &steps) {
    return int(
        std::count_if(steps.begin(), steps.end(), [](const Step &s) { return s.record >= 0; }));
}

} // namespace

TransferPhase::TransferPhase(const AccessTexts &texts, TransferJob &job, Transfer &transfer,
                             QProgressBar *gauge, std::function<void(const QString &)> showLine,
                             QObject *parent)
    : QObject(parent), m_texts(texts), m_gauge(gauge), m_showLine(std::move(showLine)) {
    connect(&job, &TransferJob::phaseStarted, this, &TransferPhase::phaseStarted);
    connect(&transfer, &Transfer::progress, this, &TransferPhase::progressed);
    connect(&job, &TransferJob::busyChanged, this, [this](bool busy) {
        m_running = busy;
        if (!busy)
            m_gauge->setAccessibleName(m_texts.progress);
    });
}

QString TransferPhase::line(const AccessTexts &texts, Phase phase, int step) {
    const std::vector<Step> &table = stepTable(modeOf(phase));
    const int total = recordsIn(table);
    const int tableSteps = int(table.size());
    QString words;
    switch (phase) {
    case Phase::Backup:
        words = texts.backingUp;
        break;
    case Phase::Read:
        words = step > tableSteps ? texts.checking : texts.reading;
        break;
    case Phase::Write:
        words = texts.writing;
        break;
    case Phase::Verify:
        words = texts.verifying;
        break;
    }
    int done = step > tableSteps
                   ? step - tableSteps
                   : recordsIn({table.begin(), table.begin() + std::clamp(step, 0, tableSteps)});
    // The block under way: the one after those done.
    return words.arg(std::clamp(done + 1, 1, total)).arg(total);
}

void TransferPhase::phaseStarted(Phase phase) {
    m_phase = phase;
    m_running = true;
    const QString names[] = {m_texts.backingUpName, m_texts.readingName, m_texts.writingName,
                             m_texts.verifyingName};
    m_gauge->setAccessibleName(names[int(phase)]);
    m_showLine(line(m_texts, phase, 0));
}

void TransferPhase::progressed(int step) {
    if (!m_running || step <= 0)
        return;
    if (m_phase == Phase::Read && step == int(stepTable(TransferMode::Read).size()) + 1)
        m_gauge->setAccessibleName(m_texts.checkingName);
    m_showLine(line(m_texts, m_phase, step));
}

} // namespace qx
