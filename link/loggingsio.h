#pragma once

#include "sio.h"
#include "transferlog.h"

#include <QString>
#include <map>
#include <set>

namespace qx {

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
    PortDiagnosis lostDiagnosis(int port) const override { return m_inner.lostDiagnosis(port); }
    int pendingResult(int port) override;
    QString deviceName(int port) const override { return m_inner.deviceName(port); }
    void noteStep(int port, const QString &step) override;

private:
    void event(int port, const QString &text);
    // Logs how an open or set-up ended, at once or after kPending.
    int ended(int port, const char *op, int result);

    Sio &m_inner;
    TransferLog &m_log;
    std::map<int, QString> m_steps; // per port: probes run on several at once
    std::set<int> m_open;
    std::map<int, const char *> m_pending; // the operation a network port still works on
};

} // namespace qx
