#include "portchoice.h"

#include "networkport.h"
#include "ptini.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace qx::cli {

PortChoice resolvePort(const QString &argument) {
    static const QRegularExpression number(QStringLiteral("^\\d{1,9}$"));
    if (number.match(argument).hasMatch()) {
        const int port = argument.toInt();
        return {port, PtIni::inDataFolder().deviceForPort(port), argument, true};
    }
    // The serial library takes a bare name as one under /dev; a link or device in the
    // current folder is what a bare name means here when /dev has no such entry.
    if (!argument.contains(QLatin1Char('/')) && QFileInfo::exists(argument) &&
        !QFileInfo::exists(QStringLiteral("/dev/") + argument))
        return {1, QFileInfo(argument).absoluteFilePath(), argument};
    return {1, argument, argument};
}

QString portFileName(const PortChoice &port) {
    if (port.numbered)
        return QStringLiteral("COM%1").arg(port.port);
    if (const std::optional<NetworkPort> address = NetworkPort::parse(port.device))
        return address->fileStem();
    const QString name = QFileInfo(port.given).fileName();
    return name.isEmpty() ? QFileInfo(port.device).fileName() : name;
}

} // namespace qx::cli
