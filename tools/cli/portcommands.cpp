#include "portcommands.h"

#include "loggingsio.h"
#include "networkport.h"
#include "probegroup.h"
#include "ptini.h"
#include "routingsio.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qx::cli {

namespace {

QString usbLine(const SerialDevice &d) {
    QStringList parts;
    if (!d.usbId.isEmpty())
        parts << QStringLiteral("USB %1").arg(d.usbId);
    for (const QString &part : {d.manufacturer, d.description})
        if (!part.isEmpty())
            parts << part;
    if (!d.serialNumber.isEmpty())
        parts << QStringLiteral("serial %1").arg(d.serialNumber);
    return parts.join(QStringLiteral(", "));
}

QJsonValue orNull(const QString &text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

} // namespace

QList<NetworkMapping> networkMappings(const PtIni &ini) {
    QList<NetworkMapping> out;
    const QList<int> ports = ini.mappedPorts();
    for (int port : ports) {
        const QString device = ini.deviceForPort(port);
        if (NetworkPort::named(device))
            out << NetworkMapping{port, device};
    }
    return out;
}

QString formatPorts(const QList<SerialDevice> &devices, const PortOf &portOf,
                    const QList<NetworkMapping> &network) {
    QString out;
    if (devices.isEmpty())
        out = QStringLiteral("no serial device is plugged in\n");
    for (const SerialDevice &d : devices) {
        const int port = portOf(d.path);
        out += d.path + (port > 0 ? QStringLiteral(": port %1\n").arg(port)
                                  : QStringLiteral(": no port number maps to it\n"));
        if (!d.byId.isEmpty())
            out += QStringLiteral("  by-id: %1\n").arg(d.byId);
        const QString usb = usbLine(d);
        if (!usb.isEmpty())
            out += QStringLiteral("  %1\n").arg(usb);
        out += d.accessible ? QStringLiteral("  this user may open it\n")
                            : QStringLiteral("  this user may not open it (group %1)\n")
                                  .arg(d.group.isEmpty() ? QStringLiteral("?") : d.group);
        if (d.lock.held())
            out += QStringLiteral("  in use by %1\n").arg(d.lock.text());
    }
    for (const NetworkMapping &n : network)
        out += QStringLiteral("%1: port %2\n  on the network: 'qx7420-cli probe --port %2' "
                              "asks whether the radio answers\n")
                   .arg(n.url)
                   .arg(n.port);
    return out;
}

QByteArray portsJson(const QList<SerialDevice> &devices, const PortOf &portOf,
                     const QList<NetworkMapping> &network) {
    QJsonArray array;
    for (const SerialDevice &d : devices) {
        const int port = portOf(d.path);
        QJsonObject lock;
        if (d.lock.held())
            lock = QJsonObject{{QStringLiteral("pid"), d.lock.pid},
                               {QStringLiteral("program"), d.lock.program}};
        array.append(QJsonObject{
            {QStringLiteral("device"), d.path},
            {QStringLiteral("byId"), orNull(d.byId)},
            {QStringLiteral("usbId"), orNull(d.usbId)},
            {QStringLiteral("manufacturer"), d.manufacturer},
            {QStringLiteral("description"), d.description},
            {QStringLiteral("serialNumber"), d.serialNumber},
            {QStringLiteral("group"), d.group},
            {QStringLiteral("accessible"), d.accessible},
            {QStringLiteral("locked"), d.lock.held()},
            {QStringLiteral("lockedBy"), d.lock.held() ? QJsonValue(lock) : QJsonValue()},
            {QStringLiteral("port"), port > 0 ? QJsonValue(port) : QJsonValue()},
        });
    }
    // The same keys: what only a serial device has is null.
    for (const NetworkMapping &n : network)
        array.append(QJsonObject{
            {QStringLiteral("device"), n.url},
            {QStringLiteral("byId"), QJsonValue()},
            {QStringLiteral("usbId"), QJsonValue()},
            {QStringLiteral("manufacturer"), QString()},
            {QStringLiteral("description"), QStringLiteral("network port")},
            {QStringLiteral("serialNumber"), QString()},
            {QStringLiteral("group"), QString()},
            {QStringLiteral("accessible"), QJsonValue()},
            {QStringLiteral("locked"), false},
            {QStringLiteral("lockedBy"), QJsonValue()},
            {QStringLiteral("port"), n.port},
        });
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

int listPorts(bool json, Console &console) {
    const PtIni ini = PtIni::inDataFolder();
    const PortOf portOf = [&ini](const QString &device) { return ini.portForDevice(device); };
    const QList<SerialDevice> devices = serialDevices();
    const QList<NetworkMapping> network = networkMappings(ini);
    if (json)
        console.out << QString::fromUtf8(portsJson(devices, portOf, network));
    else
        console.out << formatPorts(devices, portOf, network);
    return kExitOk;
}

int probePorts(const QStringList &ports, const QString &logPath, Console &console) {
    QList<PortChoice> choices;
    for (const QString &port : ports)
        choices << resolvePort(port);
    // One link for all: probe i talks on port i + 1.
    RoutingSio portSio([&choices](int i) { return choices.value(i - 1).device; });
    TransferLog log;
    if (!beginLog(log, logPath, console))
        return kExitUsage;
    LoggingSio sio(portSio, log);

    QEventLoop loop;
    ProbeGroup probes(sio, int(choices.size()));
    QObject::connect(&probes, &ProbeGroup::finished, &loop, &QEventLoop::quit);
    probes.start();
    if (probes.running())
        loop.exec();

    bool allAnswered = true;
    for (int i = 0; i < choices.size(); ++i) {
        const PortDiagnosis &result = probes.result(i);
        allAnswered = allAnswered && result.answered();
        console.out << (choices.at(i).numbered ? QStringLiteral("port %1, ").arg(choices.at(i).port)
                                               : QString())
                    << result.text() << '\n';
    }
    return allAnswered ? kExitOk : kExitNoRadio;
}

} // namespace qx::cli
