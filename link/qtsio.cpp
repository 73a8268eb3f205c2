#include "sio.h"

#include <QFileInfo>
#include <QSerialPort>

namespace qx {

QtSio::QtSio(std::function<QString(int)> deviceForPort)
    : m_deviceForPort(std::move(deviceForPort)) {}

QtSio::~QtSio() {
    for (auto &entry : m_ports)
        entry.second->close();
}

QSerialPort *QtSio::portFor(int port) const {
    const auto it = m_ports.find(port);
    return it == m_ports.end() ? nullptr : it->second.get();
}

namespace {

QString openFailure(const QString &device, const QSerialPort &serial) {
    QString reason = serial.errorString();
    switch (serial.error()) {
    case QSerialPort::PermissionError: {
        // Qt reports a port locked by another program as a permission error too; only a
        // device this user cannot open points at the group.
        const QFileInfo info(device);
        if (info.isReadable() && info.isWritable())
            reason += QStringLiteral(" (is the port in use by another program?)");
        else if (info.exists())
            reason += QStringLiteral(" (is the user in the dialout group?)");
        break;
    }
    case QSerialPort::DeviceNotFoundError:
        reason = QStringLiteral("no such device");
        break;
    default:
        break;
    }
    return device + QStringLiteral(": ") + reason;
}

} // namespace

int QtSio::sio_open(int port) {
    m_lastOpenError.clear();
    const QString device = m_deviceForPort ? m_deviceForPort(port) : QString();
    if (device.isEmpty()) {
        m_lastOpenError = QStringLiteral("COM%1: no device configured").arg(port);
        return -1;
    }
    auto &slot = m_ports[port];
    if (!slot) {
        slot = std::make_unique<QSerialPort>();
        QSerialPort *serial = slot.get();
        // A vanished device makes Qt report the error again on every pass of the event
        // loop; closing at once turns it into missing replies and keeps the loop quiet.
        QObject::connect(serial, &QSerialPort::errorOccurred, serial,
                         [serial](QSerialPort::SerialPortError error) {
                             if (error == QSerialPort::ReadError ||
                                 error == QSerialPort::ResourceError)
                                 serial->close();
                         });
    }
    QSerialPort &serial = *slot;
    if (serial.isOpen())
        return -1; // owned by a transfer already: a second open must not share it
    serial.setPortName(device);
    serial.setBaudRate(QSerialPort::Baud9600);
    serial.setDataBits(QSerialPort::Data8);
    serial.setParity(QSerialPort::NoParity);
    serial.setStopBits(QSerialPort::OneStop);
    serial.setFlowControl(QSerialPort::NoFlowControl);
    if (!serial.open(QIODevice::ReadWrite)) {
        m_lastOpenError = openFailure(device, serial);
        return -1;
    }
    return 0;
}

int QtSio::sio_ioctl(int port, int baud, int mode) {
    QSerialPort *serial = portFor(port);
    if (!serial || !serial->isOpen() || baud != kBaud9600 || mode != kMode8N1)
        return -1;
    const bool ok =
        serial->setBaudRate(QSerialPort::Baud9600) && serial->setDataBits(QSerialPort::Data8) &&
        serial->setParity(QSerialPort::NoParity) && serial->setStopBits(QSerialPort::OneStop);
    return ok ? 0 : -1;
}

int QtSio::sio_flowctrl(int port, int mode) {
    QSerialPort *serial = portFor(port);
    if (!serial || !serial->isOpen() || mode != kNoFlowControl)
        return -1;
    return serial->setFlowControl(QSerialPort::NoFlowControl) ? 0 : -1;
}

int QtSio::sio_write(int port, const char *buf, int len) {
    QSerialPort *serial = portFor(port);
    if (!serial || !serial->isOpen() || len < 0)
        return -1;
    const qint64 written = serial->write(buf, len);
    // write() only queues: without flush() nothing leaves before the pacing wait.
    serial->flush();
    return written < 0 ? -1 : int(written);
}

int QtSio::sio_read(int port, char *buf, int len) {
    QSerialPort *serial = portFor(port);
    if (!serial || !serial->isOpen() || len < 0)
        return -1;
    // Pull what the system holds into Qt's buffer; the zero wait reports a harmless timeout.
    while (serial->isOpen() && serial->waitForReadyRead(0)) {
    }
    if (!serial->isOpen())
        return -1; // the read failed and the error handler closed the port
    if (serial->error() == QSerialPort::TimeoutError)
        serial->clearError();
    const qint64 n = serial->read(buf, len);
    return n < 0 ? -1 : int(n);
}

int QtSio::sio_close(int port) {
    if (QSerialPort *serial = portFor(port))
        serial->close();
    return 0;
}

void QtSio::discardInput(int port) {
    QSerialPort *serial = portFor(port);
    if (serial && serial->isOpen())
        serial->clear(QSerialPort::Input);
}

QString QtSio::lastOpenError() const {
    return m_lastOpenError;
}

} // namespace qx
