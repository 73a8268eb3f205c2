#include "probegroup.h"

namespace qx {

ProbeGroup::ProbeGroup(Sio &sio, int count, QObject *parent) : QObject(parent) {
    for (int port = 1; port <= count; ++port) {
        m_probes.push_back(std::make_unique<PortProbe>(sio, port));
        connect(m_probes.back().get(), &PortProbe::finished, this, [this] {
            if (--m_pending == 0)
                emit finished();
        });
    }
}

ProbeGroup::~ProbeGroup() = default;

void ProbeGroup::start() {
    if (running())
        return;
    // Held until every probe has started: a probe may finish inside its start().
    m_pending = int(m_probes.size()) + 1;
    for (const auto &probe : m_probes)
        probe->start();
    if (--m_pending == 0)
        emit finished();
}

} // namespace qx
