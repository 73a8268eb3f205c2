#include "routingsio.h"

#include "networkport.h"

namespace qx {

RoutingSio::RoutingSio(std::function<QString(int)> deviceForPort)
    : m_deviceForPort(deviceForPort), m_serial(deviceForPort), m_network(deviceForPort) {}

Sio &RoutingSio::route(int port) const {
    const auto it = m_routes.find(port);
    return it == m_routes.end() ? *m_unrouted : *it->second;
}

int RoutingSio::sio_open(int port) {
    const QString device = m_deviceForPort ? m_deviceForPort(port) : QString();
    Sio &chosen = NetworkPort::named(device) ? static_cast<Sio &>(m_network) : m_serial;
    // A port that another route holds open is closed first, as a reopen of it would be.
    Sio &previous = route(port);
    if (&previous != &chosen)
        previous.sio_close(port);
    m_routes[port] = &chosen;
    m_last = &chosen;
    return chosen.sio_open(port);
}

int RoutingSio::sio_ioctl(int port, int baud, int mode) {
    m_last = &route(port);
    return m_last->sio_ioctl(port, baud, mode);
}

int RoutingSio::sio_flowctrl(int port, int mode) {
    m_last = &route(port);
    return m_last->sio_flowctrl(port, mode);
}

int RoutingSio::pendingResult(int port) {
    m_last = &route(port);
    return m_last->pendingResult(port);
}

int RoutingSio::sio_write(int port, const char *buf, int len) {
    return route(port).sio_write(port, buf, len);
}

int RoutingSio::sio_read(int port, char *buf, int len) {
    return route(port).sio_read(port, buf, len);
}

int RoutingSio::sio_close(int port) {
    return route(port).sio_close(port);
}

PortDiagnosis RoutingSio::lostDiagnosis(int port) const {
    return route(port).lostDiagnosis(port);
}

} // namespace qx
