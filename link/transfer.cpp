#include "transfer.h"

#include "error.h"
#include "memoryframe.h"
#include "sio.h"
#include "workingfile.h"

#include <algorithm>

namespace qx {

namespace {

constexpr int kReadSteps = 36;
constexpr int kWriteSteps = 41;
constexpr int kStepPeriodMs = 30;
constexpr int kBufferSize = 256;
constexpr int kReadLength = 255;
// The prompt comes when the tick count of a step reaches this.
constexpr int kRetryLimit = 10;

constexpr std::uint8_t kProgramOk = 0x50;   // 'P'
constexpr std::uint8_t kFrameMarker = 0x57; // 'W'
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kBlockLength = 0x08;
const char kHandshake[] = "\x02PROGRAM";
constexpr int kHandshakeSize = 8;

} // namespace

struct Transfer::Step {
    enum class Kind { Handshake, ReadRequest, Blank, Record };
    Kind kind = Kind::Handshake;
    std::uint16_t address = 0; // read request or blank frame
    int record = -1;           // stored (read) or sent (write)
    int waitMs = 30;
};

Transfer::Transfer(Sio &sio, WorkingFile &file, Prompter &prompter, TransferTexts texts,
                   QObject *parent)
    : QObject(parent), m_sio(sio), m_file(file), m_prompter(prompter), m_texts(std::move(texts)) {
    for (QTimer *timer : {&m_stepTimer, &m_waitTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    m_clock.start();
    connect(&m_stepTimer, &QTimer::timeout, this, [this] { guarded(&Transfer::tick); });
    connect(&m_waitTimer, &QTimer::timeout, this, [this] { guarded(&Transfer::evaluate); });
}

Transfer::~Transfer() {
    kill();
    if (m_linkOpen)
        m_sio.sio_close(m_port);
}

Transfer::Step Transfer::stepOf(Mode mode, int n) {
    using Kind = Step::Kind;
    if (n == 1)
        return {Kind::Handshake, 0, -1, 30};
    if (mode == Mode::Read) {
        return {Kind::ReadRequest, recordAddress(n - 2), n - 2, n == kReadSteps ? 30 : 50};
    }
    switch (n) {
    case 2:
        return {Kind::Blank, 0x0000, -1, 30};
    case 3:
        return {Kind::Blank, 0x0008, -1, 30};
    case 36:
        return {Kind::Record, 0, 32, 30};
    case 37:
        return {Kind::Blank, 0x03C8, -1, 30};
    case 38:
        return {Kind::Record, 0, 33, 30};
    case 39:
        return {Kind::Blank, 0x03D8, -1, 30};
    case 40:
        return {Kind::Record, 0, 34, 30};
    case 41:
        return {Kind::Blank, 0x03F8, -1, 30};
    default:
        return {Kind::Record, 0, n - 4, 30};
    }
}

int Transfer::lastStep() const {
    return m_mode == Mode::Read ? kReadSteps : kWriteSteps;
}

bool Transfer::running() const {
    return m_active;
}

bool Transfer::start(Mode mode, int port) {
    // The menu items stay enabled during a transfer; a second start must not reopen the port.
    if (m_active) {
        m_prompter.message(m_texts.alreadyRunning);
        return false;
    }
    const QString &startText = mode == Mode::Read ? m_texts.startRead : m_texts.startWrite;
    if (!startText.isEmpty()) {
        m_prompter.message(startText);
        if (m_active) // started from elsewhere while the box was open
            return false;
    }
    m_retryCount = 1;
    m_mode = mode;
    if (mode == Mode::Read) {
        m_file.ensureExists();
        m_file.recordCount();
    } else if (m_file.recordCount() < kRecordCount) {
        // A short image would fail half-way through, after the radio took part of it.
        m_prompter.message(m_texts.tooFewRecords);
        return false;
    }

    m_port = port;
    if (m_sio.sio_open(port) != 0) {
        QString text = m_texts.openError;
        const QString reason = m_sio.lastOpenError();
        if (!reason.isEmpty())
            text += QLatin1Char('\n') + reason;
        m_prompter.message(text);
        m_sio.sio_close(port);
        return false;
    }
    if (!port_SetUp()) {
        m_sio.sio_close(port);
        m_prompter.message(m_texts.setupFailed);
        return false;
    }
    m_linkOpen = true;
    m_active = true;
    ++m_generation;
    arm(1);
    emit buttonsEnabled(false);
    emit progress(0);
    emit progressMaximum(lastStep());
    return true;
}

bool Transfer::port_SetUp() {
    if (m_sio.sio_ioctl(m_port, Sio::kBaud9600, Sio::kMode8N1) != 0) {
        m_prompter.message(m_texts.setupError);
        return false;
    }
    if (m_sio.sio_flowctrl(m_port, Sio::kNoFlowControl) != 0) {
        m_prompter.message(m_texts.flowError);
        return false;
    }
    return true;
}

void Transfer::stop() {
    const bool wasActive = m_active;
    kill();
    m_active = false;
    ++m_generation;
    emit buttonsEnabled(true);
    m_sio.sio_close(m_port);
    m_linkOpen = false;
    emit progress(0);
    if (wasActive)
        emit finished(false);
}

void Transfer::closeLink() {
    kill();
    m_active = false;
    ++m_generation;
    m_sio.sio_close(m_port);
    m_linkOpen = false;
}

void Transfer::arm(int step, int lateMs) {
    m_retryCount = 1;
    m_step = step;
    m_waitTimer.stop();
    // The gap before a step's first tick absorbs the lateness of the wait that ended the
    // previous step, so timer jitter does not add up over 41 steps. The wait after each
    // send is never shortened.
    m_stepTimer.start(std::clamp(kStepPeriodMs - lateMs, 0, kStepPeriodMs));
}

void Transfer::kill() {
    m_stepTimer.stop();
    m_waitTimer.stop();
    m_step = 0;
}

void Transfer::closeOpenLink() {
    m_sio.sio_close(m_port);
    m_linkOpen = false;
}

void Transfer::endTransfer(bool completed) {
    kill();
    if (m_linkOpen)
        closeOpenLink();
    m_active = false;
    ++m_generation;
    emit buttonsEnabled(true);
    emit finished(completed);
}

void Transfer::guarded(void (Transfer::*callback)()) {
    guard(m_prompter, [this, callback] {
        try {
            (this->*callback)();
        } catch (...) {
            // Left alone, the chain would stop with the port open and the buttons disabled.
            if (m_active)
                endTransfer(false);
            throw;
        }
    });
}

void Transfer::tick() {
    if (!m_active || m_step == 0)
        return;
    const Step step = stepOf(m_mode, m_step);
    // A reply that came after the previous read must not pass for the answer to this one.
    m_sio.discardInput(m_port);
    switch (step.kind) {
    case Step::Kind::Handshake:
        m_sio.sio_write(m_port, kHandshake, kHandshakeSize);
        break;
    case Step::Kind::ReadRequest:
        send_ReadRequest(std::uint8_t(step.address >> 8), std::uint8_t(step.address & 0xFF));
        break;
    case Step::Kind::Blank:
        byte_ok(std::uint8_t(step.address >> 8), std::uint8_t(step.address & 0xFF));
        break;
    case Step::Kind::Record:
        if (!send_Record(step.record))
            return;
        break;
    }
    m_waitTimer.start(step.waitMs);
    m_waitDueNs = m_clock.nsecsElapsed() + qint64(step.waitMs) * 1'000'000;
}

void Transfer::send_ReadRequest(std::uint8_t high, std::uint8_t low) {
    const char request[] = {char(0x52), char(high), char(low), char(kBlockLength), char(kAck)};
    m_sio.sio_write(m_port, request, int(sizeof request));
}

void Transfer::byte_ok(std::uint8_t high, std::uint8_t low) {
    QByteArray frame;
    frame.append(char(kFrameMarker))
        .append(char(high))
        .append(char(low))
        .append(char(kBlockLength));
    frame.append(8, char(0xFF));
    frame.append(char(kAck));
    m_sio.sio_write(m_port, frame.constData(), int(frame.size()));
}

bool Transfer::send_Record(int index) {
    // The box would otherwise open with the step still armed and ticks piling up behind it.
    if (!m_file.exists()) {
        endTransfer(false);
        m_prompter.message(m_texts.noFile);
        return false;
    }
    if (m_file.recordCount() == 0) {
        endTransfer(false);
        m_prompter.message(m_texts.overFile);
        return false;
    }
    m_file.seekAndRead(index);
    QByteArray frame = m_file.readRecord().toByteArray();
    frame.append(char(kAck));
    m_sio.sio_write(m_port, frame.constData(), int(frame.size()));
    return true;
}

void Transfer::evaluate() {
    if (!m_active || m_step == 0)
        return;
    const int n = m_step;
    const Step step = stepOf(m_mode, n);
    char buf[kBufferSize] = {};
    const int count = m_sio.sio_read(m_port, buf, kReadLength);
    const auto first = std::uint8_t(buf[0]);

    bool answered = false;
    if (count > 0) {
        if (step.kind == Step::Kind::Handshake)
            answered = first == kProgramOk;
        else if (m_mode == Mode::Read)
            // A short frame would store bytes the radio never sent.
            answered = first == kFrameMarker && count >= MemoryFrame::kSize;
        else
            answered = first == kAck;
    }

    if (answered && n == lastStep()) {
        if (m_mode == Mode::Read)
            completeRead(QByteArray(buf, MemoryFrame::kSize));
        else
            completeWrite();
        return;
    }
    if (answered) {
        kill();
        if (m_mode == Mode::Read && step.kind == Step::Kind::ReadRequest)
            m_file.StoreFrame(step.record,
                              MemoryFrame::fromBytes(QByteArray(buf, MemoryFrame::kSize)));
        arm(n + 1, int((m_clock.nsecsElapsed() - m_waitDueNs + 500'000) / 1'000'000));
        if (n > 1)
            emit progress(n);
    }
    const unsigned generation = m_generation;
    init(n);
    // Like the original's overdue periodic timer: an unanswered step ticks again at once.
    if (generation == m_generation && m_active && m_step == n && !m_stepTimer.isActive() &&
        !m_waitTimer.isActive())
        m_stepTimer.start(0);
}

void Transfer::init(int step) {
    Q_UNUSED(step);
    ++m_retryCount;
    if (m_retryCount != kRetryLimit)
        return;
    emit progress(0);
    kill();
    const unsigned generation = m_generation;
    const bool again = m_prompter.ask(m_texts.retryCaption, m_texts.retryText, m_texts.retryButtons,
                                      Prompter::Icon::Question);
    if (generation != m_generation || !m_active)
        return; // stopped while the box was open
    if (again) {
        // The link stays open; the whole transfer runs again from the handshake.
        emit buttonsEnabled(false);
        arm(1);
    } else {
        endTransfer(false);
    }
}

void Transfer::completeRead(const QByteArray &reply) {
    closeOpenLink();
    kill();
    m_file.StoreFrame(kRecordCount - 1, MemoryFrame::fromBytes(reply));
    emit progress(kReadSteps);
    const unsigned generation = m_generation;
    m_prompter.message(m_texts.over);
    if (generation != m_generation)
        return;
    m_active = false;
    ++m_generation;
    emit buttonsEnabled(true);
    emit readCompleted();
    emit finished(true);
}

void Transfer::completeWrite() {
    kill();
    closeOpenLink();
    emit progress(kWriteSteps);
    const unsigned generation = m_generation;
    m_prompter.message(m_texts.over);
    if (generation != m_generation)
        return;
    m_active = false;
    ++m_generation;
    emit buttonsEnabled(true);
    emit finished(true);
}

} // namespace qx
