#include "transfer.h"

#include "error.h"
#include "memoryframe.h"
#include "readcheck.h"
#include "sio.h"
#include "steps.h"
#include "workingfile.h"

#include <algorithm>

namespace qx {

namespace {

constexpr int kBufferSize = 256;
constexpr int kReadLength = 255;
// The prompt comes when the tick count of a step reaches this.
constexpr int kRetryLimit = 10;

} // namespace

Transfer::Transfer(Sio &sio, WorkingFile &file, Prompter &prompter, TransferTexts texts,
                   QObject *parent)
    : QObject(parent), m_sio(sio), m_home(file), m_file(&file), m_prompter(prompter),
      m_texts(std::move(texts)) {
    for (QTimer *timer : {&m_stepTimer, &m_waitTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    m_clock.start();
    // An error in a tick ends the transfer cleanly before it is shown: left alone, the chain
    // would stop with the port open and the buttons disabled.
    const auto ended = [this] {
        if (m_active)
            finish(Outcome::FileError);
    };
    connect(&m_stepTimer, &QTimer::timeout, this, [this, ended] {
        guard(
            m_prompter, [this] { tick(); }, ended);
    });
    connect(&m_waitTimer, &QTimer::timeout, this, [this, ended] {
        guard(
            m_prompter, [this] { evaluate(); }, ended);
    });
    connect(&m_opener, &LinkOpener::settled, this, [this, ended](LinkOpener::Result result) {
        m_opened = result;
        guard(
            m_prompter, [this] { linkAwaited(); }, ended);
    });
}

Transfer::~Transfer() {
    kill();
    if (m_linkOpen)
        m_sio.sio_close(m_port);
}

const Step &Transfer::stepAt(int n) const {
    return m_steps.at(std::size_t(n - 1));
}

int Transfer::lastStep() const {
    return int(m_steps.size());
}

void Transfer::planSteps() {
    m_steps = stepTable(m_mode);
    m_attemptRecords = 0;
    if (m_target.check)
        m_target.check->restart();
    // The second pass of a checked read is certain; what it asks again is not.
    const bool checked =
        m_mode == Mode::Read && m_target.check && m_target.check->asksEveryBlockTwice();
    emit progressMaximum(lastStep() + (checked ? kRecordCount : 0));
}

bool Transfer::checkAsksMore() {
    if (m_mode != Mode::Read || !m_target.check)
        return false;
    const QList<int> more = m_target.check->next();
    if (more.isEmpty())
        return false;
    for (int record : more)
        m_steps.push_back(
            {Step::Kind::ReadRequest, recordAddress(record), record, Step::Wait::Long});
    emit progressMaximum(
        std::max(lastStep(), int(stepTable(m_mode).size()) +
                                 (m_target.check->asksEveryBlockTwice() ? kRecordCount : 0)));
    return true;
}

bool Transfer::start(Mode mode, int port, Target target) {
    // The menu items stay enabled during a transfer; a second start must not reopen the port.
    if (m_active) {
        m_prompter.message(m_texts.alreadyRunning);
        return false;
    }
    m_target = target;
    m_file = target.file ? target.file : &m_home;
    const QString &startText = mode == Mode::Read ? m_texts.startRead : m_texts.startWrite;
    if (!startText.isEmpty() && target.startMessage) {
        m_prompter.message(startText);
        if (m_active) // started from elsewhere while the box was open
            return false;
    }
    m_retryCount = 1;
    m_mode = mode;
    m_outcome = Outcome::FileError;
    if (mode == Mode::Read) {
        // Every reply is stored as it comes: a file that cannot take them must stop the
        // read before the radio hears anything.
        m_file->ensureExists();
        m_file->checkWritable();
    } else if (m_file->recordCount() < kRecordCount) {
        // A short image would fail half-way through, after the radio took part of it.
        m_outcome = Outcome::Refused;
        m_prompter.message(m_texts.tooFewRecords);
        return false;
    } else if (const QByteArray image = m_file->readAll(); firstForeignRecord(image) >= 0) {
        // The radio stores a frame where its header says: send none of a misplaced image.
        const int record = firstForeignRecord(image);
        const auto hex = [](const QByteArray &b) { return QString::fromLatin1(b.toHex(' ')); };
        m_outcome = Outcome::Refused;
        m_prompter.message(m_texts.foreignRecord.arg(
            recordName(m_texts, record), hex(recordBytes(image, record).left(4)).toUpper(),
            hex(recordHeader(record)).toUpper()));
        return false;
    }

    m_outcome = Outcome::Refused;
    m_port = port;
    const LinkOpener::Result opened = m_opener.start(port);
    if (opened != LinkOpener::Result::Pending && !linkSettled(opened))
        return false;
    run();
    if (opened == LinkOpener::Result::Ready)
        arm(1);
    return true;
}

bool Transfer::linkSettled(LinkOpener::Result result) {
    switch (result) {
    case LinkOpener::Result::Ready:
        return true;
    case LinkOpener::Result::OpenFailed:
        m_prompter.message(withReason(m_texts.openError));
        m_sio.sio_close(m_port);
        return false;
    case LinkOpener::Result::SetUpFailed:
    case LinkOpener::Result::FlowFailed:
        // port_SetUp's message for the setting that failed, then the common one.
        m_prompter.message(withReason(
            result == LinkOpener::Result::SetUpFailed ? m_texts.setupError : m_texts.flowError));
        m_sio.sio_close(m_port);
        m_prompter.message(m_texts.setupFailed);
        return false;
    case LinkOpener::Result::Pending:
        break;
    }
    return false;
}

QString Transfer::withReason(const QString &text) const {
    // A link that classifies its failure says it in the window's language.
    const PortDiagnosis why = m_sio.lastOpenDiagnosis();
    const QString reason =
        why.device.isEmpty() ? m_sio.lastOpenError() : why.text(m_texts.language);
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

QString Transfer::withHeard(const QString &text) const {
    if (m_foreign.isEmpty() || m_step == 0)
        return text;
    const auto address = [](int a) { return QStringLiteral("%1").arg(a, 4, 16, QLatin1Char('0')); };
    const int heard = (std::uint8_t(m_foreign.at(1)) << 8) | std::uint8_t(m_foreign.at(2));
    return text + QLatin1Char('\n') +
           m_texts.foreignAnswer.arg(address(heard).toUpper(),
                                     address(stepAt(m_step).address).toUpper(),
                                     quotedBytes(m_foreign));
}

void Transfer::run() {
    m_linkOpen = true; // also while it connects, so that the stop command and exit close it
    m_active = true;
    m_recordsSent = 0;
    ++m_generation;
    emit buttonsEnabled(false);
    emit progress(0);
    planSteps();
}

void Transfer::linkAwaited() {
    if (!m_active)
        return;
    if (m_opened == LinkOpener::Result::Ready) {
        arm(1);
        return;
    }
    const unsigned generation = m_generation;
    m_linkOpen = false;
    linkSettled(m_opened);
    if (generation == m_generation)
        finish(Outcome::Refused);
}

void Transfer::stop() {
    finish(Outcome::Stopped);
}

void Transfer::closeLink() {
    finish(Outcome::Closed);
}

void Transfer::finish(Outcome outcome) {
    kill();
    // The stop command and exit close the link's current port even when no chain runs.
    if (m_linkOpen || outcome == Outcome::Stopped || outcome == Outcome::Closed)
        m_sio.sio_close(m_port);
    m_linkOpen = false;
    const bool wasActive = m_active;
    m_active = false;
    ++m_generation;
    if (outcome == Outcome::Closed) {
        if (wasActive)
            m_outcome = outcome;
        return;
    }
    emit buttonsEnabled(true);
    if (outcome == Outcome::Stopped || outcome == Outcome::Gone || outcome == Outcome::Unstable)
        emit progress(0);
    if (!wasActive)
        return;
    m_outcome = outcome;
    if (outcome == Outcome::Completed && m_mode == Mode::Read && m_file == &m_home &&
        m_target.overMessage)
        emit readCompleted();
    emit finished(outcome == Outcome::Completed);
}

void Transfer::arm(int step, int lateMs) {
    m_retryCount = 1;
    m_step = step;
    m_sends = 0;
    m_foreign.clear();
    m_settling = false;
    // Named after the running steps, which a checked read extends.
    m_sio.noteStep(m_port,
                   step <= lastStep() ? stepLabel(step, stepAt(step)) : stepLabel(m_mode, step));
    m_waitTimer.stop();
    // The gap before a step's first tick absorbs the lateness of the wait that ended the
    // previous step, so timer jitter does not add up over 41 steps. The wait after each
    // send is never shortened.
    m_stepTimer.start(std::clamp(m_pacing.stepGapMs - lateMs, 0, m_pacing.stepGapMs));
}

void Transfer::kill() {
    m_opener.cancel();
    m_stepTimer.stop();
    m_waitTimer.stop();
    m_settling = false;
    m_step = 0;
}

bool Transfer::send(const QByteArray &bytes) {
    if (m_sio.sio_write(m_port, bytes.constData(), int(bytes.size())) != Sio::kDeviceGone)
        return true;
    deviceGone();
    return false;
}

void Transfer::deviceGone() {
    // Asking again cannot bring a pulled cable back: end at once and name the device.
    const PortDiagnosis lost = m_sio.lostDiagnosis(m_port);
    finish(Outcome::Gone);
    QString text = lost.text(m_texts.language);
    if (!m_texts.deviceGone.isEmpty())
        text.prepend(m_texts.deviceGone + QLatin1Char('\n'));
    m_prompter.message(text);
}

void Transfer::tick() {
    if (!m_active || m_step == 0)
        return;
    const Step &step = stepAt(m_step);
    // A reply that came after the previous read must not pass for the answer to this one.
    m_sio.discardInput(m_port);
    bool sent = false;
    switch (step.kind) {
    case Step::Kind::Handshake:
        sent = send(handshakeBytes());
        break;
    case Step::Kind::ReadRequest:
        sent = send(readRequestBytes(step.address));
        break;
    case Step::Kind::Blank:
        sent = send(blankFrameBytes(step.address));
        break;
    case Step::Kind::Record:
        sent = send_Record(step.record);
        break;
    }
    if (!sent)
        return;
    ++m_sends;
    if (m_pacing.untilAnswered) {
        m_reply.clear();
        m_sentNs = m_clock.nsecsElapsed();
        m_waitTimer.start(m_pacing.pollMs);
        return;
    }
    const int waitMs = step.wait == Step::Wait::Long ? m_pacing.longWaitMs : m_pacing.shortWaitMs;
    m_waitTimer.start(waitMs);
    m_waitDueNs = m_clock.nsecsElapsed() + qint64(waitMs) * 1'000'000;
}

bool Transfer::send_Record(int index) {
    // The box would otherwise open with the step still armed and ticks piling up behind it.
    if (!m_file->exists()) {
        finish(Outcome::FileError);
        m_prompter.message(m_texts.noFile);
        return false;
    }
    if (m_file->recordCount() == 0) {
        finish(Outcome::FileError);
        m_prompter.message(m_texts.overFile);
        return false;
    }
    m_file->seekAndRead(index);
    return send(m_file->readRecord().toByteArray() + char(0x06));
}

void Transfer::evaluate() {
    if (!m_active || m_step == 0)
        return;
    if (m_settling) {
        settle();
        return;
    }
    const int n = m_step;
    // A copy: a checked read adds steps below, and the table may move.
    const Step step = stepAt(n);
    char buf[kBufferSize] = {};
    // Polled pacing gathers the answer over several reads, within the same buffer size.
    const int room = m_pacing.untilAnswered ? kReadLength - int(m_reply.size()) : kReadLength;
    const int count = m_sio.sio_read(m_port, buf, room);
    if (count == Sio::kDeviceGone) {
        deviceGone();
        return;
    }
    QByteArray reply(buf, std::max(count, 0));
    if (m_pacing.untilAnswered)
        reply = m_reply.append(reply);
    // A read answer must carry its own block's header in either pacing: a stray byte of a
    // late reply in front of it would otherwise shift the stored record.
    const bool answered = isAnswer(m_mode, step, reply) && echoesRequest(step, reply);
    if (!answered && keepWaiting(reply)) {
        m_waitTimer.start(m_pacing.pollMs);
        return;
    }
    // A whole frame for another block: the retry prompt quotes it.
    if (!answered && isAnswer(m_mode, step, reply) && step.kind == Step::Kind::ReadRequest)
        m_foreign = reply.left(MemoryFrame::kSize);

    if (answered && step.kind == Step::Kind::ReadRequest && m_target.check)
        m_target.check->answered(step.record, reply.mid(4, 8));
    if (answered && n == lastStep() && !checkAsksMore()) {
        if (m_target.check && !m_target.check->unstable().isEmpty()) {
            finish(Outcome::Unstable);
            return;
        }
        complete(reply);
        return;
    }
    if (answered) {
        const bool repeated = m_sends > 1;
        kill();
        if (step.kind == Step::Kind::ReadRequest)
            m_file->StoreFrame(step.record, MemoryFrame::fromBytes(reply));
        if (step.kind == Step::Kind::Record)
            m_recordsSent = std::max(m_recordsSent, ++m_attemptRecords);
        if (!m_pacing.untilAnswered) {
            // Rounded down: the gap never ends before wait and gap have passed since the send.
            arm(n + 1, int((m_clock.nsecsElapsed() - m_waitDueNs) / 1'000'000));
        } else {
            arm(n + 1);
            if (repeated) {
                m_stepTimer.stop();
                m_settling = true;
                m_quietSinceNs = m_clock.nsecsElapsed();
                m_waitTimer.start(m_pacing.pollMs);
            }
        }
        if (n > 1)
            emit progress(n);
    }
    const unsigned generation = m_generation;
    init();
    // Like the original's overdue periodic timer: an unanswered step ticks again at once.
    if (generation == m_generation && m_active && m_step == n && !m_stepTimer.isActive() &&
        !m_waitTimer.isActive())
        m_stepTimer.start(0);
}

bool Transfer::keepWaiting(const QByteArray &reply) const {
    if (!m_pacing.untilAnswered)
        return false;
    // A full buffer that is no answer will not become one.
    return reply.size() < kReadLength &&
           m_clock.nsecsElapsed() - m_sentNs < qint64(m_pacing.timeoutMs) * 1'000'000;
}

void Transfer::settle() {
    char buf[kBufferSize];
    const qint64 now = m_clock.nsecsElapsed();
    const int count = m_sio.sio_read(m_port, buf, kReadLength);
    if (count == Sio::kDeviceGone) {
        deviceGone();
        return;
    }
    if (count > 0)
        m_quietSinceNs = now;
    if (now - m_quietSinceNs < qint64(m_pacing.timeoutMs) * 1'000'000) {
        m_waitTimer.start(m_pacing.pollMs);
        return;
    }
    m_settling = false;
    m_stepTimer.start(m_pacing.stepGapMs);
}

void Transfer::init() {
    ++m_retryCount;
    if (m_retryCount != kRetryLimit)
        return;
    emit progress(0);
    const QString question = withHeard(m_texts.retryText); // while the step is armed
    kill();
    const unsigned generation = m_generation;
    const bool again = m_prompter.ask(m_texts.retryCaption, question, m_texts.retryButtons,
                                      Prompter::Icon::Question);
    if (generation != m_generation || !m_active)
        return; // stopped while the box was open
    if (again) {
        // The link stays open; the whole transfer runs again from the handshake.
        emit buttonsEnabled(false);
        planSteps();
        arm(1);
    } else {
        finish(Outcome::NoAnswer);
    }
}

void Transfer::complete(const QByteArray &reply) {
    kill();
    m_sio.sio_close(m_port);
    m_linkOpen = false;
    if (m_mode == Mode::Read)
        m_file->StoreFrame(stepAt(lastStep()).record, MemoryFrame::fromBytes(reply));
    emit progressMaximum(lastStep());
    emit progress(lastStep());
    const unsigned generation = m_generation;
    if (m_target.overMessage)
        m_prompter.message(m_texts.over);
    if (generation != m_generation)
        return;
    finish(Outcome::Completed);
}

} // namespace qx
