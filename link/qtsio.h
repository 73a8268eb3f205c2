#pragma once

#include "sio.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>

namespace qx {

// Sio over Qt SerialPort. Port numbers map to devices through the given function.
class QtSio : public Sio {
public:
    explicit QtSio(std::function<QString(int)> deviceForPort);
    ~QtSio() override;

    int sio_open(int port) override;
    int sio_ioctl(int port, int baud, int mode) override;
    int sio_flowctrl(int port, int mode) override;
    int sio_write(int port, const char *buf, int len) override;
    int sio_read(int port, char *buf, int len) override;
    int sio_close(int port) override;
    void discardInput(int port) override;
    QString lastOpenError() const override;
    PortDiagnosis lastOpenDiagnosis() const override { return m_lastOpen; }
    QString deviceName(int port) const override;

private:
    struct Port;
    Port *portFor(int port) const;

    std::function<QString(int)> m_deviceForPort;
    std::map<int, std::unique_ptr<Port>> m_ports;
    PortDiagnosis m_lastOpen;
};

} // namespace qx
