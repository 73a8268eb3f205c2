#pragma once

#include "sio.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>

namespace qx {

// Sio over TCP for radios on the network, as a ser2net board serves their cables:
// socket://HOST:PORT carries the bytes as they are (the server's own line settings
// apply), rfc2217://HOST:PORT speaks telnet and sets the line with RFC 2217. Port numbers
// map to URLs through the given function. Nothing blocks: connecting and the server's
// answers to the set-up come in on the event loop, and the open and set-up answer
// kPending until pendingResult() has their result.
class NetSio : public Sio {
public:
    explicit NetSio(std::function<QString(int)> deviceForPort);
    ~NetSio() override;

    int sio_open(int port) override;
    int sio_ioctl(int port, int baud, int mode) override;
    int sio_flowctrl(int port, int mode) override;
    int sio_write(int port, const char *buf, int len) override;
    int sio_read(int port, char *buf, int len) override;
    int sio_close(int port) override;
    void discardInput(int port) override;
    int pendingResult(int port) override;
    QString lastOpenError() const override;
    PortDiagnosis lastOpenDiagnosis() const override { return m_lastOpen; }
    PortDiagnosis lostDiagnosis(int port) const override;
    QString deviceName(int port) const override;

private:
    struct Link;
    Link *linkFor(int port) const;
    void receive(Link &link);
    // Sends the set-up requests that are due once the server agreed to the options.
    void sendRequests(Link &link);
    int connected(Link &link);
    int setUp(Link &link);
    int flowSet(Link &link);
    // The server ended the connection during the open or set-up.
    int closed(Link &link);
    int fail(Link &link, PortDiagnosis::Verdict verdict, const QString &detail = {},
             const QString &detailChinese = {});

    std::function<QString(int)> m_deviceForPort;
    std::map<int, std::unique_ptr<Link>> m_links;
    PortDiagnosis m_lastOpen;
};

} // namespace qx
