#pragma once

#include "imagewords.h"

#include <QList>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>

namespace qx {

// The process holding a device's lock file (Qt SerialPort, minicom and others write
// one), when it is still alive.
struct LockHolder {
    qint64 pid = 0; // 0: no lock, or its process is gone
    QString program;
    bool held() const { return pid > 0; }
    // "another program: minicom (pid 1234)", or "this program (pid 99)".
    QString text(Language language = Language::English) const;
};
LockHolder lockHolder(const QString &device);
// Takes the lock file of a device's real name, for a device opened by another name (a
// symbolic link): Qt SerialPort locks only the name it was given, so two programs could
// otherwise open one device under two names. nullptr when the lock is held elsewhere.
std::unique_ptr<QLockFile> lockRealDevice(const QString &device);

// One serial device of the system, with what a user needs to pick the right one.
struct SerialDevice {
    QString path;  // /dev/ttyUSB0
    QString byId;  // its /dev/serial/by-id/ name, empty when there is none
    QString usbId; // vendor:product in hex ("0403:6001"), empty when not USB
    QString manufacturer;
    QString description;
    QString serialNumber;
    QString group;           // the group that owns the device node
    bool accessible = false; // this user may open it for reading and writing
    LockHolder lock;
};

// Every serial device the system reports, sorted by path.
QList<SerialDevice> serialDevices();
// Their paths only.
QStringList serialDevicePaths();

// The /dev/serial/by-id/ name of a device, which stays the same in every USB socket;
// empty when there is none.
QString stableName(const QString &device);
// The group owning a device node; empty when it cannot be told.
QString deviceGroup(const QString &device);
// Whether this user may open the device for reading and writing.
bool userMayOpen(const QString &device);

// Who may use a device node: its owner, its group and whether the group may read and
// write it, and its mode as ls shows it ("crw-------").
struct DeviceAccess {
    QString owner;
    QString group;
    bool groupMayUse = false;
    QString mode;
};
DeviceAccess deviceAccess(const QString &device);
// The group serial cables get on this system: dialout (Debian and most others), else uucp
// (Arch).
QString serialGroup();

} // namespace qx
