#include "qtsio.h"

#include "serialdevices.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QSet>

namespace qx {

namespace {

// Devices this process has had open: one that is missing now went away (a cable pulled
// between two transfers) rather than never being there.
QSet<QString> &openedDevices() {
    static QSet<QString> devices;
    return devices;
}

OpenFailure failureOf(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::NotFound;
    case QSerialPort::PermissionError:
        return OpenFailure::Permission;
    default:
        return OpenFailure::Other;
    }
}

} // namespace

struct QtSio::Port {
    QSerialPort serial;
    bool gone = false; // the device went away while open
    // The lock of the real device when it was opened through a link.
    std::unique_ptr<QLockFile> realLock;
    void close() {
        serial.close();
        realLock.reset();
    }
};

QtSio::QtSio(std::function<QString(int)> deviceForPort)
    : m_deviceForPort(std::move(deviceForPort)) {}

QtSio::~QtSio() {
    for (auto &entry : m_ports)
        entry.second->serial.close();
}

QtSio::Port *QtSio::portFor(int port) const {
    const auto it = m_ports.find(port);
    return it == m_ports.end() ? nullptr : it->second.get();
}

QString QtSio::deviceName(int port) const {
    const QString device = m_deviceForPort ? m_deviceForPort(port) : QString();
    return device.isEmpty() ? Sio::deviceName(port) : device;
}

int QtSio::sio_open(int port) {
    m_lastOpen = {};
    const QString device = m_deviceForPort ? m_deviceForPort(port) : QString();
    if (device.isEmpty()) {
        m_lastOpen = PortDiagnosis::of(
            PortDiagnosis::Verdict::CannotOpen, QStringLiteral("COM%1").arg(port),
            QStringLiteral("no device configured"), QStringLiteral("没有配置设备"));
        return -1;
    }
    auto &slot = m_ports[port];
    if (!slot) {
        slot = std::make_unique<Port>();
        Port *entry = slot.get();
        // A vanished device makes Qt report the error again on every pass of the event
        // loop; closing at once keeps the loop quiet, and reads and writes then say that
        // the device went away.
        QObject::connect(&entry->serial, &QSerialPort::errorOccurred, &entry->serial,
                         [entry](QSerialPort::SerialPortError error) {
                             if (error == QSerialPort::ReadError ||
                                 error == QSerialPort::ResourceError) {
                                 entry->gone = entry->gone || entry->serial.isOpen();
                                 entry->close();
                             }
                         });
    }
    QSerialPort &serial = slot->serial;
    if (serial.isOpen()) {
        // Owned by a transfer already: a second open must not share it.
        m_lastOpen = PortDiagnosis::of(PortDiagnosis::Verdict::InUse, device,
                                       QStringLiteral("this program"), QStringLiteral("本程序"));
        return -1;
    }
    slot->gone = false;
    // Qt locks the name it is given: the same device opened elsewhere under another name
    // is found by its real name.
    if (const LockHolder holder = lockHolder(device); holder.held()) {
        m_lastOpen = PortDiagnosis::of(PortDiagnosis::Verdict::InUse, device, holder.text());
        return -1;
    }
    serial.setPortName(device);
    serial.setBaudRate(QSerialPort::Baud9600);
    serial.setDataBits(QSerialPort::Data8);
    serial.setParity(QSerialPort::NoParity);
    serial.setStopBits(QSerialPort::OneStop);
    serial.setFlowControl(QSerialPort::NoFlowControl);
    if (!serial.open(QIODevice::ReadWrite)) {
        m_lastOpen = diagnoseOpenFailure(device, failureOf(serial.error()), serial.errorString(),
                                         openedDevices().contains(device));
        return -1;
    }
    const QString real = QFileInfo(device).canonicalFilePath();
    if (!real.isEmpty() && real != device) {
        slot->realLock = lockRealDevice(device);
        if (!slot->realLock) {
            serial.close();
            m_lastOpen =
                PortDiagnosis::of(PortDiagnosis::Verdict::InUse, device, lockHolder(real).text());
            return -1;
        }
    }
    openedDevices().insert(device);
    return 0;
}

int QtSio::sio_ioctl(int port, int baud, int mode) {
    Port *entry = portFor(port);
    if (!entry || !entry->serial.isOpen() || baud != kBaud9600 || mode != kMode8N1)
        return -1;
    QSerialPort &serial = entry->serial;
    const bool ok =
        serial.setBaudRate(QSerialPort::Baud9600) && serial.setDataBits(QSerialPort::Data8) &&
        serial.setParity(QSerialPort::NoParity) && serial.setStopBits(QSerialPort::OneStop);
    return ok ? 0 : -1;
}

int QtSio::sio_flowctrl(int port, int mode) {
    Port *entry = portFor(port);
    if (!entry || !entry->serial.isOpen() || mode != kNoFlowControl)
        return -1;
    return entry->serial.setFlowControl(QSerialPort::NoFlowControl) ? 0 : -1;
}

int QtSio::sio_write(int port, const char *buf, int len) {
    Port *entry = portFor(port);
    if (!entry || !entry->serial.isOpen() || len < 0)
        return entry && entry->gone ? kDeviceGone : -1;
    const qint64 written = entry->serial.write(buf, len);
    // write() only queues: without flush() nothing leaves before the pacing wait.
    entry->serial.flush();
    if (entry->gone)
        return kDeviceGone; // the write failed and the error handler closed the port
    return written < 0 ? -1 : int(written);
}

int QtSio::sio_read(int port, char *buf, int len) {
    Port *entry = portFor(port);
    if (!entry || !entry->serial.isOpen() || len < 0)
        return entry && entry->gone ? kDeviceGone : -1;
    QSerialPort &serial = entry->serial;
    // Pull what the system holds into Qt's buffer; the zero wait reports a harmless timeout.
    while (serial.isOpen() && serial.waitForReadyRead(0)) {
    }
    if (!serial.isOpen())
        return entry->gone ? kDeviceGone : -1; // the read failed, the handler closed the port
    if (serial.error() == QSerialPort::TimeoutError)
        serial.clearError();
    const qint64 n = serial.read(buf, len);
    return n < 0 ? -1 : int(n);
}

int QtSio::sio_close(int port) {
    if (Port *entry = portFor(port))
        entry->close();
    return 0;
}

void QtSio::discardInput(int port) {
    Port *entry = portFor(port);
    if (entry && entry->serial.isOpen())
        entry->serial.clear(QSerialPort::Input);
}

QString QtSio::lastOpenError() const {
    return m_lastOpen.device.isEmpty() ? QString() : m_lastOpen.text();
}

} // namespace qx
