#pragma once

#include "sio.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <map>
#include <set>

namespace qx {

// A log file of serial traffic for bug reports: every byte sent and received on a line
// of its own, with the milliseconds since the log began, the device and the step.
class TransferLog {
public:
    // Starts the file afresh (or adds to it) and restarts the clock; false with the
    // reason when it cannot be written.
    bool begin(const QString &path, bool append, QString *error = nullptr);
    void end();
    bool active() const { return m_file.isOpen(); }
    // A line of its own: "   123 ms  text".
    void line(const QString &text);
    void bytes(const QString &device, const QString &step, const char *direction, const char *data,
               int count);

private:
    QFile m_file;
    QElapsedTimer m_clock;
};

// Passes every call to another Sio and writes the traffic to a TransferLog, when the
// log is active. The transfer names each step through noteStep().
class LoggingSio : public Sio {
public:
    LoggingSio(Sio &inner, TransferLog &log) : m_inner(inner), m_log(log) {}

    int sio_open(int port) override;
    int sio_ioctl(int port, int baud, int mode) override;
    int sio_flowctrl(int port, int mode) override;
    int sio_write(int port, const char *buf, int len) override;
    int sio_read(int port, char *buf, int len) override;
    int sio_close(int port) override;
    void discardInput(int port) override { m_inner.discardInput(port); }
    QString lastOpenError() const override { return m_inner.lastOpenError(); }
    PortDiagnosis lastOpenDiagnosis() const override { return m_inner.lastOpenDiagnosis(); }
    QString deviceName(int port) const override { return m_inner.deviceName(port); }
    void noteStep(int port, const QString &step) override;

private:
    void event(int port, const QString &text);

    Sio &m_inner;
    TransferLog &m_log;
    std::map<int, QString> m_steps; // per port: probes run on several at once
    std::set<int> m_open;
};

} // namespace qx
