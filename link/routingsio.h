#pragma once

#include "netsio.h"
#include "qtsio.h"

#include <functional>
#include <map>

namespace qx {

// The Sio that the window, the CLI and the probes talk to: each port goes to QtSio or,
// when its device is a network URL (socket://, rfc2217://), to NetSio. The route is
// chosen at every open by the device the port stands for then.
class RoutingSio : public Sio {
public:
    explicit RoutingSio(std::function<QString(int)> deviceForPort);

    int sio_open(int port) override;
    int sio_ioctl(int port, int baud, int mode) override;
    int sio_flowctrl(int port, int mode) override;
    int sio_write(int port, const char *buf, int len) override;
    int sio_read(int port, char *buf, int len) override;
    int sio_close(int port) override;
    void discardInput(int port) override { route(port).discardInput(port); }
    int pendingResult(int port) override;
    QString lastOpenError() const override { return m_last->lastOpenError(); }
    PortDiagnosis lastOpenDiagnosis() const override { return m_last->lastOpenDiagnosis(); }
    PortDiagnosis lostDiagnosis(int port) const override;
    QString deviceName(int port) const override { return m_serial.deviceName(port); }

private:
    Sio &route(int port) const;

    std::function<QString(int)> m_deviceForPort;
    QtSio m_serial;
    NetSio m_network;
    std::map<int, Sio *> m_routes;
    Sio *const m_unrouted = &m_serial; // a port never opened: closing it is harmless
    // Of the last open or set-up, whose failure lastOpenError() tells.
    Sio *m_last = &m_serial;
};

} // namespace qx
