// What ports prints, as text and as JSON, for devices made up to cover every field.
#include "portcommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace qx;
using namespace qx::cli;

namespace {

QList<SerialDevice> twoDevices() {
    SerialDevice cable;
    cable.path = QStringLiteral("/dev/ttyUSB0");
    cable.byId = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    cable.usbId = QStringLiteral("0403:6001");
    cable.manufacturer = QStringLiteral("FTDI");
    cable.description = QStringLiteral("FT232R USB UART");
    cable.serialNumber = QStringLiteral("A50285BI");
    cable.group = QStringLiteral("dialout");
    cable.accessible = true;
    cable.lock.pid = 4242;
    cable.lock.program = QStringLiteral("minicom");
    SerialDevice onboard;
    onboard.path = QStringLiteral("/dev/ttyS0");
    onboard.group = QStringLiteral("dialout");
    return {cable, onboard};
}

int portOf(const QString &device) {
    return device == QLatin1String("/dev/ttyUSB0") ? 1 : 0;
}

} // namespace

class TestPortCommands : public QObject {
    Q_OBJECT
private slots:
    void text() {
        QCOMPARE(formatPorts({}, portOf), QStringLiteral("no serial device is plugged in\n"));
        QCOMPARE(formatPorts(twoDevices(), portOf),
                 QStringLiteral(
                     "/dev/ttyUSB0: port 1\n"
                     "  by-id: /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\n"
                     "  USB 0403:6001, FTDI, FT232R USB UART, serial A50285BI\n"
                     "  this user may open it\n"
                     "  in use by another program: minicom (pid 4242)\n"
                     "/dev/ttyS0: no port number maps to it\n"
                     "  this user may not open it (group dialout)\n"));
        QCOMPARE(formatPorts({}, portOf, {{3, "rfc2217://bench2:3001"}}),
                 QStringLiteral("no serial device is plugged in\n"
                                "rfc2217://bench2:3001: port 3\n"
                                "  on the network: 'qx7420-cli probe --port 3' asks whether the "
                                "radio answers\n"));
    }

    void json() {
        QCOMPARE(QJsonDocument::fromJson(portsJson({}, portOf)).array(), QJsonArray());
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(portsJson(twoDevices(), portOf), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QVERIFY(doc.isArray());
        const QJsonArray devices = doc.array();
        QCOMPARE(devices.size(), 2);
        const QJsonObject cable = devices.at(0).toObject();
        QCOMPARE(cable,
                 (QJsonObject{
                     {"device", "/dev/ttyUSB0"},
                     {"byId", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
                     {"usbId", "0403:6001"},
                     {"manufacturer", "FTDI"},
                     {"description", "FT232R USB UART"},
                     {"serialNumber", "A50285BI"},
                     {"group", "dialout"},
                     {"accessible", true},
                     {"locked", true},
                     {"lockedBy", QJsonObject{{"pid", 4242}, {"program", "minicom"}}},
                     {"port", 1},
                 }));
        // What a device lacks is null, never a missing key: scripts read every key.
        const QJsonObject onboard = devices.at(1).toObject();
        QCOMPARE(onboard.keys(), cable.keys());
        for (const char *key : {"byId", "usbId", "lockedBy", "port"})
            QVERIFY2(onboard.value(key).isNull(), key);
        QCOMPARE(onboard.value("accessible"), QJsonValue(false));
        QCOMPARE(onboard.value("locked"), QJsonValue(false));
        const QJsonObject network =
            QJsonDocument::fromJson(portsJson({}, portOf, {{3, "socket://[::1]:4000"}}))
                .array()
                .at(0)
                .toObject();
        QCOMPARE(network.keys(), cable.keys());
        QCOMPARE(network.value("device"), QJsonValue("socket://[::1]:4000"));
        QCOMPARE(network.value("port"), QJsonValue(3));
    }
};

QTEST_GUILESS_MAIN(TestPortCommands)
#include "tst_portcommands.moc"
