#pragma once

#include "portdiagnosis.h"
#include "ptini.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

namespace qx {

class ProbeGroup;
class RoutingSio;

// Detect Port: probes every port COM1 to COM8 whose device is there or that [ports] maps
// (a radio on the network, a device that is absent) and every other serial device
// present, all at once, with the handshake only.
class PortDetector : public QObject {
    Q_OBJECT
public:
    static constexpr int kPorts = 8; // the port panel's items

    struct Tried {
        int port = 0; // 0: a device no port number maps to
        QString device;
        PortDiagnosis result;
        // "COM2, /dev/ttyUSB1: the radio answered; ..." in the probe's words.
        QString line(Language language = Language::English) const;
    };

    explicit PortDetector(QObject *parent = nullptr);
    ~PortDetector() override;

    // The serial devices beyond the mapped ports: the system's list unless replaced.
    void setOtherDevices(std::function<QStringList()> list) { m_otherDevices = std::move(list); }

    // finished() may come before start() returns (nothing to try).
    void start(const PtIni &ini);
    bool running() const;
    const QList<Tried> &tried() const { return m_tried; }
    // Where the radio answered, the current port first; nullptr when nowhere.
    const Tried *found() const;
    // The number for a radio on a device no port maps to: the first of COM1 to COM8 whose
    // device is absent and not set in [ports], else the first absent one, else the current.
    // A port on the network counts as present.
    static int freePort(const PtIni &ini);

signals:
    void finished();

private:
    std::function<QStringList()> m_otherDevices;
    std::unique_ptr<RoutingSio> m_sio;
    std::unique_ptr<ProbeGroup> m_probes;
    QList<Tried> m_tried;
    int m_current = 0;
};

} // namespace qx
