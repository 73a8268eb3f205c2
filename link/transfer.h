#pragma once

#include "linkopener.h"
#include "prompter.h"
#include "steps.h"
#include "transfertexts.h"

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

class ReadCheck;

// A transfer that works on another file than the engine's own: a read into it, a write
// from it. A transfer that is part of a larger command leaves out its start message (the
// read-back of a write) or its completion message (a write whose read-back follows). A
// read with a check completes only once the check has settled every block.
struct TransferTarget {
    WorkingFile *file = nullptr; // nullptr: the engine's own file
    bool startMessage = true;
    bool overMessage = true;
    ReadCheck *check = nullptr;
};

// One step-chain engine for both transfers: the armed step, RetryCount, the retry
// check (init) and the link. The steps come from the tables in steps.h.
class Transfer : public QObject {
    Q_OBJECT
public:
    using Mode = TransferMode;
    // How the last transfer ended, or why it did not start.
    enum class Outcome {
        Completed,
        Refused,   // did not start: port, set-up, a short image, another transfer running;
                   // or a network port that could not be opened or set up after start()
        NoAnswer,  // the retry prompt was answered no
        FileError, // a file could not be read or written; the error was shown
        Stopped,   // the stop command
        Closed,    // exit: ended silently
        Gone,      // the device went away (cable pulled): ended at once, no retry prompt
        Unstable,  // the read's check gave up: some block never came the same twice
    };

    using Target = TransferTarget;

    Transfer(Sio &sio, WorkingFile &file, Prompter &prompter, TransferTexts texts,
             QObject *parent = nullptr);
    ~Transfer() override;

    void setPacing(const Pacing &pacing) { m_pacing = pacing; }

    // n11Click / N12Click: port is the number from pt.ini. Returns false when the
    // transfer did not start (outcome Refused); throws qx::Error when the working file
    // cannot be opened (outcome FileError). A network port connects after it returns: the
    // transfer runs meanwhile, and a link that fails then ends it as Refused, with the same
    // messages.
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
    int currentPort() const { return m_port; }
    // A write: how many records the radio acknowledged, in the attempt that got furthest.
    int recordsSent() const { return m_recordsSent; }
    const TransferTexts &texts() const { return m_texts; }

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
    // The steps of a run from its handshake; a checked read announces its second pass.
    void planSteps();
    // After the last step's answer: the check's next blocks, if any. True when the
    // transfer goes on with them.
    bool checkAsksMore();

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
    // The retry check after every tick of the armed step.
    void init();
    void kill();
    // The open and set-up's end: false after their messages, with the port closed.
    bool linkSettled(LinkOpener::Result result);
    // The text with the second line that names the device and the reason, when there is one.
    QString withReason(const QString &text) const;
    // The retry question with a second line that quotes a frame for another block, when
    // that is what the armed step heard.
    QString withHeard(const QString &text) const;
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

    Sio &m_sio;
    LinkOpener m_opener{m_sio};
    LinkOpener::Result m_opened = LinkOpener::Result::Pending;
    WorkingFile &m_home;
    WorkingFile *m_file; // of the running transfer
    Target m_target;
    std::vector<Step> m_steps; // of the running transfer; a checked read adds to them
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
    int m_sends = 0;          // of the armed step
    int m_attemptRecords = 0; // acknowledged in this attempt of a write
    int m_recordsSent = 0;
    qint64 m_sentNs = 0;     // polled pacing: when the step was last sent
    QByteArray m_reply;      // polled pacing: what has come since
    QByteArray m_foreign;    // a frame for another block that answered the armed step
    bool m_settling = false; // polled pacing: dropping input before the armed step
    qint64 m_quietSinceNs = 0;
};

} // namespace qx
