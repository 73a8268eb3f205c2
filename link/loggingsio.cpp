#include "loggingsio.h"

namespace qx {

void LoggingSio::event(int port, const QString &text) {
    m_log.line(QStringLiteral("%1  %2").arg(m_inner.deviceName(port), text));
}

int LoggingSio::sio_open(int port) {
    const int r = m_inner.sio_open(port);
    if (r == 0)
        m_open.insert(port);
    event(port, r == 0
                    ? QStringLiteral("open")
                    : QStringLiteral("open failed: %1").arg(m_inner.lastOpenDiagnosis().words()));
    return r;
}

int LoggingSio::sio_ioctl(int port, int baud, int mode) {
    const int r = m_inner.sio_ioctl(port, baud, mode);
    if (r != 0)
        event(port, QStringLiteral("setting 9600 baud, 8N1 failed"));
    return r;
}

int LoggingSio::sio_flowctrl(int port, int mode) {
    const int r = m_inner.sio_flowctrl(port, mode);
    if (r != 0)
        event(port, QStringLiteral("switching flow control off failed"));
    return r;
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
    return m_inner.sio_close(port);
}

void LoggingSio::noteStep(int port, const QString &step) {
    m_steps[port] = step;
    m_inner.noteStep(port, step);
}

} // namespace qx
