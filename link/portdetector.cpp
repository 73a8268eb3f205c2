#include "portdetector.h"

#include "networkport.h"
#include "probegroup.h"
#include "routingsio.h"
#include "serialdevices.h"

#include <QFileInfo>

namespace qx {

QString PortDetector::Tried::line(Language language) const {
    const QString text = result.text(language);
    return port > 0 ? QStringLiteral("COM%1, %2").arg(port).arg(text) : text;
}

PortDetector::PortDetector(QObject *parent) : QObject(parent), m_otherDevices(serialDevicePaths) {}

PortDetector::~PortDetector() = default;

void PortDetector::start(const PtIni &ini) {
    if (running())
        return;
    m_probes.reset(); // before the link it talks on
    m_tried.clear();
    m_current = ini.comPort();
    const auto known = [this](const QString &device) {
        return std::any_of(m_tried.begin(), m_tried.end(),
                           [&](const Tried &t) { return sameDevice(t.device, device); });
    };
    // The current port first, so that a device several numbers map to keeps it.
    QList<int> order{m_current};
    for (int port = 1; port <= kPorts; ++port)
        if (port != m_current)
            order << port;
    // A port set in [ports] is tried even when its device is absent, so that the message
    // names it; a radio on the network is only there when asked.
    const QList<int> mapped = ini.mappedPorts();
    for (int port : order) {
        const QString device = ini.deviceForPort(port);
        const bool wanted =
            QFileInfo::exists(device) || mapped.contains(port) || NetworkPort::named(device);
        if (port >= 1 && port <= kPorts && wanted && !known(device))
            m_tried << Tried{port, device, {}};
    }
    std::sort(m_tried.begin(), m_tried.end(),
              [](const Tried &a, const Tried &b) { return a.port < b.port; });
    for (const QString &device : m_otherDevices())
        if (!known(device))
            m_tried << Tried{0, device, {}};

    // One link for all: probe i talks on port i + 1.
    m_sio = std::make_unique<RoutingSio>([this](int i) { return m_tried.value(i - 1).device; });
    m_probes = std::make_unique<ProbeGroup>(*m_sio, int(m_tried.size()));
    connect(m_probes.get(), &ProbeGroup::finished, this, [this] {
        for (int i = 0; i < m_tried.size(); ++i)
            m_tried[i].result = m_probes->result(i);
        emit finished();
    });
    m_probes->start();
}

bool PortDetector::running() const {
    return m_probes && m_probes->running();
}

const PortDetector::Tried *PortDetector::found() const {
    const Tried *first = nullptr;
    for (const Tried &t : m_tried) {
        if (!t.result.answered())
            continue;
        if (t.port == m_current)
            return &t;
        if (!first)
            first = &t;
    }
    return first;
}

int PortDetector::freePort(const PtIni &ini) {
    const QList<int> mapped = ini.mappedPorts();
    int absent = 0;
    for (int port = 1; port <= kPorts; ++port) {
        const QString device = ini.deviceForPort(port);
        if (QFileInfo::exists(device) || NetworkPort::named(device))
            continue;
        if (!mapped.contains(port))
            return port;
        if (absent == 0)
            absent = port;
    }
    if (absent > 0)
        return absent;
    const int current = ini.comPort();
    return current >= 1 && current <= kPorts ? current : 1;
}

} // namespace qx
