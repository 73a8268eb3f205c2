#include "networkport.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace qx {

namespace {

const QString kSocket = QStringLiteral("socket://");
const QString kRfc2217 = QStringLiteral("rfc2217://");

QString scheme(NetworkPort::Kind kind) {
    return kind == NetworkPort::Kind::Socket ? kSocket : kRfc2217;
}

} // namespace

bool NetworkPort::named(const QString &device) {
    return device.startsWith(kSocket, Qt::CaseInsensitive) ||
           device.startsWith(kRfc2217, Qt::CaseInsensitive);
}

std::optional<NetworkPort> NetworkPort::parse(const QString &device) {
    if (!named(device))
        return std::nullopt;
    NetworkPort p;
    p.kind = device.startsWith(kSocket, Qt::CaseInsensitive) ? Kind::Socket : Kind::Rfc2217;
    const QString rest = device.mid(scheme(p.kind).size());
    // A host name of letters, digits, dots and hyphens, or an address in brackets; no
    // path, user or options after the port.
    static const QRegularExpression form(
        QStringLiteral("^(?:\\[([0-9A-Fa-f:.]+)\\]|([A-Za-z0-9](?:[A-Za-z0-9.-]*[A-Za-z0-9])?))"
                       ":(\\d{1,5})$"));
    const QRegularExpressionMatch m = form.match(rest);
    if (!m.hasMatch())
        return std::nullopt;
    const int port = m.captured(3).toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    const QString bracketed = m.captured(1);
    if (!bracketed.isEmpty() && QHostAddress(bracketed).protocol() != QAbstractSocket::IPv6Protocol)
        return std::nullopt;
    p.host = bracketed.isEmpty() ? m.captured(2) : bracketed;
    p.port = quint16(port);
    return p;
}

QString NetworkPort::formHint(Language language) {
    if (language == Language::Chinese)
        return QStringLiteral("网络端口的写法是rfc2217://主机:端口或socket://主机:端口，端口为1至"
                              "65535，IPv6地址放在方括号里");
    return QStringLiteral("a network port is rfc2217://HOST:PORT or socket://HOST:PORT, with a "
                          "port from 1 to 65535 and an IPv6 address in brackets");
}

QString NetworkPort::hostAndPort() const {
    const QString h = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1:%2").arg(h).arg(port);
}

QString NetworkPort::url() const {
    return scheme(kind) + hostAndPort();
}

QString NetworkPort::otherUrl() const {
    return scheme(kind == Kind::Socket ? Kind::Rfc2217 : Kind::Socket) + hostAndPort();
}

QString NetworkPort::fileStem() const {
    QString stem = host;
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9.-]"));
    stem.replace(unsafe, QStringLiteral("-"));
    return QStringLiteral("%1_%2").arg(stem).arg(port);
}

} // namespace qx
