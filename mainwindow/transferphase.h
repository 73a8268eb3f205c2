#pragma once

#include "accesstexts.h"
#include "transferjob.h"

#include <QObject>
#include <functional>

class QProgressBar;

namespace qx {

// Says what a running transfer does: the status line names the phase and the block
// ("Reading block 12 of 35"), and the progress bar's accessible name is the phase, so
// that a screen reader's progress updates say what they measure.
class TransferPhase : public QObject {
    Q_OBJECT
public:
    TransferPhase(const AccessTexts &texts, TransferJob &job, Transfer &transfer,
                  QProgressBar *gauge, std::function<void(const QString &)> showLine,
                  QObject *parent);

    // The line for step n of a phase: the block it is at, counted over the records the
    // steps so far carry; a checked read's second pass is its checking.
    static QString line(const AccessTexts &texts, TransferJob::Phase phase, int step);

private:
    void phaseStarted(TransferJob::Phase phase);
    void progressed(int step);

    const AccessTexts &m_texts;
    QProgressBar *m_gauge;
    std::function<void(const QString &)> m_showLine;
    TransferJob::Phase m_phase = TransferJob::Phase::Read;
    bool m_running = false;
};

} // namespace qx
