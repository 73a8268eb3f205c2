#pragma once

#include "portprobe.h"

#include <QObject>

#include <memory>
#include <vector>

namespace qx {

class Sio;

// Probes ports 1 to count of one link, all at once; finished() once every probe ended.
class ProbeGroup : public QObject {
    Q_OBJECT
public:
    ProbeGroup(Sio &sio, int count, QObject *parent = nullptr);
    ~ProbeGroup() override;

    // finished() may come before start() returns (no ports, or none that opens).
    void start();
    bool running() const { return m_pending > 0; }
    // What the probe of port index + 1 found.
    const PortDiagnosis &result(int index) const { return m_probes[std::size_t(index)]->result(); }

signals:
    void finished();

private:
    std::vector<std::unique_ptr<PortProbe>> m_probes;
    int m_pending = 0;
};

} // namespace qx
