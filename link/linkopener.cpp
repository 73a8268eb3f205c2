#include "linkopener.h"

#include "sio.h"

namespace qx {

namespace {

// Often enough that a link on the loopback is ready within a few milliseconds.
constexpr int kPollMs = 1;

} // namespace

LinkOpener::LinkOpener(Sio &sio, QObject *parent) : QObject(parent), m_sio(sio) {
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &LinkOpener::poll);
}

LinkOpener::Result LinkOpener::start(int port) {
    m_poll.stop();
    m_port = port;
    m_stage = Stage::Open;
    const Result result = advance(m_sio.sio_open(port));
    if (result == Result::Pending)
        m_poll.start();
    return result;
}

LinkOpener::Result LinkOpener::advance(int result) {
    for (;;) {
        if (result == Sio::kPending)
            return Result::Pending;
        if (result != 0)
            return m_stage == Stage::Open    ? Result::OpenFailed
                   : m_stage == Stage::SetUp ? Result::SetUpFailed
                                             : Result::FlowFailed;
        switch (m_stage) {
        case Stage::Open:
            m_stage = Stage::SetUp;
            result = m_sio.sio_ioctl(m_port, Sio::kBaud9600, Sio::kMode8N1);
            break;
        case Stage::SetUp:
            m_stage = Stage::Flow;
            result = m_sio.sio_flowctrl(m_port, Sio::kNoFlowControl);
            break;
        case Stage::Flow:
            return Result::Ready;
        }
    }
}

void LinkOpener::poll() {
    const Result result = advance(m_sio.pendingResult(m_port));
    if (result == Result::Pending)
        return;
    m_poll.stop();
    emit settled(result);
}

} // namespace qx
