#pragma once

#include <QString>

namespace qx::cli {

// --port: a number is mapped through pt.ini beside the program as the window maps it;
// anything else is a device path.
struct PortChoice {
    int port = 1;
    QString device;
    QString given;         // the argument as typed
    bool numbered = false; // given as a port number, not as a device
};
PortChoice resolvePort(const QString &argument);

// The file name for a radio's image in a folder: COMn for a port number, host and port
// for a network port (bench2_3001), else the device's own name (ttyUSB0 for /dev/ttyUSB0).
QString portFileName(const PortChoice &port);

} // namespace qx::cli
