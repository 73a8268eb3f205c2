#pragma once

#include "linkopener.h"
#include "prompter.h"
#include "steps.h"
#include "windowtexts.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace qx {

class Sio;
class WorkingFile;

// The pauses of a transfer. The defaults are the radio's own pacing: each step waits
// 30 ms before it sends and 30 or 50 ms before it reads the answer.
struct Pacing {
    int stepGapMs = 30;
    int shortWaitMs = 30;
    int longWaitMs = 50;
    // Instead of one read after a fixed wait, the port is read every pollMs until the whole
    // answer is in; the next step goes out stepGapMs after it. A step still unanswered
    // timeoutMs after its send is sent again, and counts as an unanswered tick.
    bool untilAnswered = false;
    int pollMs = 1;
    int timeoutMs = 150;

    static Pacing standard() { return {}; }
    // As fast as the line and the radio allow, with a 2 ms guard between the answer and
    // the next request.
    static Pacing fast() {
        Pacing pacing;
        pacing.stepGapMs = 2;
        pacing.untilAnswered = true;
        return pacing;
    }
};

// A transfer that works on another file than the engine's own: a read into it, a write
// from it. Quiet: no start or completion message and no readCompleted, for a transfer
// that is part of a larger command (reading back what was written).
struct TransferTarget {
    WorkingFile *file = nullptr; // nullptr: the engine's own file
    bool quiet = false;
};

// One step-chain engine for both transfers: the armed step, RetryCount, the retry
// check (init) and the link. The steps come from the tables in steps.h.
class Transfer : public QObject {
    Q_OBJECT
public:
    using Mode = TransferMode;
    // How the last transfer ended.
    enum class Outcome {
        Completed,
        Failed,  // refused, cancelled at the retry prompt, or an error
        Stopped, // the stop command
        Closed,  // exit: ended silently
        Gone,    // the device went away (cable pulled): ended at once, no retry prompt
        NoLink,  // a network port that could not be opened or set up after start() returned
    };

    using Target = TransferTarget;

    Transfer(Sio &sio, WorkingFile &file, Prompter &prompter, TransferTexts texts,
             QObject *parent = nullptr);
    ~Transfer() override;

    void setPacing(const Pacing &pacing) { m_pacing = pacing; }

    // n11Click / N12Click: port is the number from pt.ini. Returns false when the
    // transfer did not start; throws qx::Error when the working file cannot be opened.
    // A network port connects after it returns: the transfer runs meanwhile, and a link
    // that fails then ends it as NoLink, with the same messages.
    bool start(Mode mode, int port, Target target = {});
    // ToolButton13Click: kills the chain, enables the buttons, closes the link, progress 0.
    void stop();
    // Exit: ends any chain silently and closes the link's current port.
    void closeLink();

    bool running() const { return m_active; }
    Mode mode() const { return m_mode; }
    Outcome outcome() const { return m_outcome; }
    int armedStep() const { return m_step; }
    int retryCount() const { return m_retryCount; }
    QString transferMode() const {
        return m_mode == Mode::Read ? QStringLiteral("R") : QStringLiteral("W");
    }
    int currentPort() const { return m_port; }

signals:
    void progressMaximum(int maximum);
    void progress(int position);
    void buttonsEnabled(bool enabled);
    // After a completed read into the engine's own file, once the completion message was
    // dismissed: decode the file.
    void readCompleted();
    // Any end of a transfer but exit: completed, cancelled, stopped or failed.
    void finished(bool completed);

private:
    const Step &stepAt(int n) const;
    int lastStep() const;

    // Both timers are single-shot: a step is armed by starting the first, a tick sends
    // and starts the second, whose expiry reads the reply. Nothing blocks the thread.
    void arm(int step, int lateMs = 0);
    void tick();
    void evaluate();
    // Polled pacing: whether to keep reading for the answer of the step sent last.
    bool keepWaiting(const QByteArray &reply) const;
    // Polled pacing, after a step that went out more than once: an answer to one of its
    // copies may still come, and must not pass for the next step's. Drops input until the
    // line has been quiet for a time-out, then lets the armed step go.
    void settle();
    void init(int step);
    void kill();
    // The open and set-up's end: false after their messages, with the port closed.
    bool linkSettled(LinkOpener::Result result);
    // The text with the second line that names the device and the reason, when there is one.
    QString withReason(const QString &text) const;
    // From here the transfer runs; the first step is armed once the link is ready, which for
    // a network port is after start() returned (linkAwaited).
    void run();
    void linkAwaited();
    bool send_Record(int index);
    // False when the device went away; the transfer has ended then.
    bool send(const QByteArray &bytes);
    void deviceGone();
    void complete(const QByteArray &reply);
    // Every end of a transfer: timers, link, state and signals in one order.
    void finish(Outcome outcome);
    // Runs a timer callback under qx::guard; an exception ends the transfer cleanly first.
    void guarded(void (Transfer::*callback)());

    Sio &m_sio;
    LinkOpener m_opener{m_sio};
    LinkOpener::Result m_opened = LinkOpener::Result::Pending;
    WorkingFile &m_home;
    WorkingFile *m_file; // of the running transfer
    bool m_quiet = false;
    Prompter &m_prompter;
    TransferTexts m_texts;
    Pacing m_pacing;
    Mode m_mode = Mode::Read;
    Outcome m_outcome = Outcome::Closed;
    int m_port = 0;
    int m_step = 0; // armed step, 0 when none
    int m_retryCount = 0;
    bool m_active = false;
    bool m_linkOpen = false;
    // Bumped whenever a chain ends or starts, so code resumed after a modal box can tell
    // that someone else ended the transfer meanwhile.
    unsigned m_generation = 0;
    QTimer m_stepTimer;
    QTimer m_waitTimer;
    QElapsedTimer m_clock;
    qint64 m_waitDueNs = 0;
    int m_sends = 0;         // of the armed step
    qint64 m_sentNs = 0;     // polled pacing: when the step was last sent
    QByteArray m_reply;      // polled pacing: what has come since
    bool m_settling = false; // polled pacing: dropping input before the armed step
    qint64 m_quietSinceNs = 0;
};

} // namespace qx
