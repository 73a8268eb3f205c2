#pragma once

#include "ptini.h"
#include "radiojobs.h"
#include "serialdevices.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

namespace qx::cli {

// The port number that maps to a device, 0 when none does.
using PortOf = std::function<int(const QString &device)>;

// A radio on the network that a port number maps to ([ports] COMn=rfc2217://...).
struct NetworkMapping {
    int port = 0;
    QString url;
};
QList<NetworkMapping> networkMappings(const PtIni &ini);

// ports: a block per device, or a line saying that none is plugged in; then a line per
// network port.
QString formatPorts(const QList<SerialDevice> &devices, const PortOf &portOf,
                    const QList<NetworkMapping> &network = {});
// ports --json: one array with an object per device and per network port.
QByteArray portsJson(const QList<SerialDevice> &devices, const PortOf &portOf,
                     const QList<NetworkMapping> &network = {});
int listPorts(bool json, Console &console);

// probe: opens each port as a transfer would, sends the handshake, and prints one line
// per port saying what it found; all ports at once. Exit 0 only when every radio answered.
int probePorts(const QStringList &ports, const QString &logPath, Console &console);

} // namespace qx::cli
