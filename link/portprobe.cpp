#include "portprobe.h"

#include "sio.h"
#include "steps.h"

namespace qx {

PortProbe::PortProbe(Sio &sio, int port, QObject *parent)
    : QObject(parent), m_sio(sio), m_port(port) {
    for (QTimer *timer : {&m_gapTimer, &m_waitTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_gapTimer, &QTimer::timeout, this, &PortProbe::tick);
    connect(&m_waitTimer, &QTimer::timeout, this, &PortProbe::evaluate);
}

PortProbe::~PortProbe() {
    if (m_running)
        m_sio.sio_close(m_port);
}

void PortProbe::start() {
    if (m_running)
        return;
    m_result = {};
    m_tries = 0;
    if (m_sio.sio_open(m_port) != 0) {
        m_result = m_sio.lastOpenDiagnosis();
        if (m_result.device.isEmpty())
            m_result.device = m_sio.deviceName(m_port);
        m_sio.sio_close(m_port);
        emit finished();
        return;
    }
    m_running = true;
    if (m_sio.sio_ioctl(m_port, Sio::kBaud9600, Sio::kMode8N1) != 0 ||
        m_sio.sio_flowctrl(m_port, Sio::kNoFlowControl) != 0) {
        finish(PortDiagnosis::Verdict::CannotOpen,
               QStringLiteral("the line cannot be set to 9600 baud, 8N1"));
        return;
    }
    tick();
}

void PortProbe::tick() {
    ++m_tries;
    m_sio.noteStep(m_port, QStringLiteral("probe handshake %1").arg(m_tries));
    m_sio.discardInput(m_port);
    const QByteArray handshake = handshakeBytes();
    if (m_sio.sio_write(m_port, handshake.constData(), int(handshake.size())) == Sio::kDeviceGone)
        return finish(PortDiagnosis::Verdict::WentAway);
    m_waitTimer.start(m_pacing.shortWaitMs);
}

void PortProbe::evaluate() {
    char buf[256];
    const int count = m_sio.sio_read(m_port, buf, 255);
    if (count == Sio::kDeviceGone)
        return finish(PortDiagnosis::Verdict::WentAway);
    const QByteArray reply(buf, std::max(count, 0));
    if (isAnswer(TransferMode::Read, stepTable(TransferMode::Read).front(), reply))
        return finish(PortDiagnosis::Verdict::Answered);
    if (m_tries >= kTries)
        return finish(PortDiagnosis::Verdict::NoAnswer);
    m_gapTimer.start(m_pacing.stepGapMs);
}

void PortProbe::finish(PortDiagnosis::Verdict verdict, const QString &detail) {
    m_gapTimer.stop();
    m_waitTimer.stop();
    m_sio.sio_close(m_port);
    m_running = false;
    m_result = PortDiagnosis::of(verdict, m_sio.deviceName(m_port), detail);
    emit finished();
}

} // namespace qx
