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
    connect(&m_opener, &LinkOpener::settled, this, &PortProbe::linkSettled);
}

PortProbe::~PortProbe() {
    if (m_running)
        m_sio.sio_close(m_port);
}

void PortProbe::start() {
    if (m_running)
        return;
    m_result = {};
    m_heard.clear();
    m_tries = 0;
    m_running = true;
    const LinkOpener::Result opened = m_opener.start(m_port);
    if (opened != LinkOpener::Result::Pending)
        linkSettled(opened);
}

void PortProbe::linkSettled(LinkOpener::Result result) {
    switch (result) {
    case LinkOpener::Result::Pending:
        return;
    case LinkOpener::Result::Ready:
        tick();
        return;
    case LinkOpener::Result::OpenFailed:
        m_running = false;
        m_result = m_sio.lastOpenDiagnosis();
        if (m_result.device.isEmpty())
            m_result.device = m_sio.deviceName(m_port);
        m_sio.sio_close(m_port);
        emit finished();
        return;
    case LinkOpener::Result::SetUpFailed:
    case LinkOpener::Result::FlowFailed: {
        // A network server says why; a serial port only that it failed.
        const PortDiagnosis why = m_sio.lastOpenDiagnosis();
        if (!why.device.isEmpty())
            return finish(why);
        return finish(PortDiagnosis::Verdict::CannotOpen,
                      QStringLiteral("the line cannot be set to 9600 baud, 8N1"),
                      QStringLiteral("不能把线路设为9600波特、8N1"));
    }
    }
}

void PortProbe::tick() {
    ++m_tries;
    m_sio.noteStep(m_port, QStringLiteral("probe handshake %1").arg(m_tries));
    m_sio.discardInput(m_port);
    const QByteArray handshake = handshakeBytes();
    if (m_sio.sio_write(m_port, handshake.constData(), int(handshake.size())) == Sio::kDeviceGone)
        return finish(m_sio.lostDiagnosis(m_port));
    m_waitTimer.start(m_pacing.shortWaitMs);
}

void PortProbe::evaluate() {
    char buf[256];
    const int count = m_sio.sio_read(m_port, buf, 255);
    if (count == Sio::kDeviceGone)
        return finish(m_sio.lostDiagnosis(m_port));
    const QByteArray reply(buf, std::max(count, 0));
    if (isAnswer(TransferMode::Read, stepTable(TransferMode::Read).front(), reply))
        return finish(PortDiagnosis::Verdict::Answered);
    if (!reply.isEmpty())
        m_heard = reply;
    if (m_tries >= kTries)
        return finish(PortDiagnosis::Verdict::NoAnswer, quotedBytes(m_heard));
    m_gapTimer.start(m_pacing.stepGapMs);
}

void PortProbe::finish(PortDiagnosis::Verdict verdict, const QString &detail,
                       const QString &detailChinese) {
    finish(PortDiagnosis::of(verdict, m_sio.deviceName(m_port), detail, detailChinese));
}

void PortProbe::finish(const PortDiagnosis &result) {
    m_opener.cancel();
    m_gapTimer.stop();
    m_waitTimer.stop();
    m_sio.sio_close(m_port);
    m_running = false;
    m_result = result;
    emit finished();
}

} // namespace qx
