#include "loggingsio.h"

namespace qx {

void LoggingSio::event(int port, const QString &text) {
    m_log.line(QStringLiteral("%1  %2").arg(m_inner.deviceName(port), text));
}

int LoggingSio::sio_open(int port) {
    return ended(port, "open", m_inner.sio_open(port));
}

int LoggingSio::sio_ioctl(int port, int baud, int mode) {
    return ended(port, "ioctl", m_inner.sio_ioctl(port, baud, mode));
}

int LoggingSio::sio_flowctrl(int port, int mode) {
    return ended(port, "flowctrl", m_inner.sio_flowctrl(port, mode));
}

int LoggingSio::pendingResult(int port) {
    const int r = m_inner.pendingResult(port);
    const auto it = m_pending.find(port);
    if (it == m_pending.end() || r == kPending)
        return r;
    const char *op = it->second;
    m_pending.erase(it);
    return ended(port, op, r);
}

int LoggingSio::ended(int port, const char *op, int result) {
    const QLatin1String name(op);
    if (result == kPending) {
        if (name == QLatin1String("open"))
            event(port, QStringLiteral("connecting"));
        m_pending[port] = op;
        return result;
    }
    if (name == QLatin1String("open")) {
        if (result == 0)
            m_open.insert(port);
        event(port,
              result == 0
                  ? QStringLiteral("open")
                  : QStringLiteral("open failed: %1").arg(m_inner.lastOpenDiagnosis().words()));
    } else if (result != 0) {
        const PortDiagnosis why = m_inner.lastOpenDiagnosis();
        const QString reason =
            why.device.isEmpty() ? QString() : QStringLiteral(": ") + why.words();
        event(port, (name == QLatin1String("ioctl")
                         ? QStringLiteral("setting 9600 baud, 8N1 failed")
                         : QStringLiteral("switching flow control off failed")) +
                        reason);
    }
    return result;
}

int LoggingSio::sio_write(int port, const char *buf, int len) {
    const int r = m_inner.sio_write(port, buf, len);
    if (r == kDeviceGone)
        event(port, QStringLiteral("write: the device went away"));
    else if (r < 0)
        event(port, QStringLiteral("write failed"));
    else
        m_log.bytes(m_inner.deviceName(port), m_steps[port], "sent", buf, r);
    return r;
}

int LoggingSio::sio_read(int port, char *buf, int len) {
    const int r = m_inner.sio_read(port, buf, len);
    if (r == kDeviceGone)
        event(port, QStringLiteral("read: the device went away"));
    else if (r < 0)
        event(port, QStringLiteral("read failed"));
    else
        m_log.bytes(m_inner.deviceName(port), m_steps[port], "received", buf, r);
    return r;
}

int LoggingSio::sio_close(int port) {
    // The stop command and exit close a port that may not be open; only a real close counts.
    if (m_open.erase(port) > 0)
        event(port, QStringLiteral("close"));
    m_steps.erase(port);
    m_pending.erase(port);
    return m_inner.sio_close(port);
}

void LoggingSio::noteStep(int port, const QString &step) {
    m_steps[port] = step;
    m_inner.noteStep(port, step);
}

} // namespace qx
