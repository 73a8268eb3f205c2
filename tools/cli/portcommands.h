#pragma once

#include "radiojobs.h"
#include "serialdevices.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

namespace qx::cli {

// The port number that maps to a device, 0 when none does.
using PortOf = std::function<int(const QString &device)>;

// ports: a block per device, or a line saying that none is plugged in.
QString formatPorts(const QList<SerialDevice> &devices, const PortOf &portOf);
// ports --json: one array with an object per device.
QByteArray portsJson(const QList<SerialDevice> &devices, const PortOf &portOf);
int listPorts(bool json, Console &console);

// probe: opens each port as a transfer would, sends the handshake, and prints one line
// per port saying what it found; all ports at once. Exit 0 only when every radio answered.
int probePorts(const QStringList &ports, const QString &logPath, Console &console);

} // namespace qx::cli
