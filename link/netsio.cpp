#include "netsio.h"

#include "networkport.h"
#include "telnetcodec.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <optional>

namespace qx {

namespace {

// A telnet server greets a client at once: a socket:// link waits this long for such a
// greeting before it counts as raw.
constexpr int kGreetingMs = 50;
// ser2net says "Port's device already in use" before it closes a connection whose cable
// another accepter's client holds.
constexpr int kSaidBytes = 128;
// Input nobody reads is kept up to this much; a transfer reads far less between polls.
constexpr int kMaxInput = 64 * 1024;

using Command = TelnetCodec::Command;
using Verdict = PortDiagnosis::Verdict;

struct Setting {
    Command command;
    std::uint32_t value;
};
// 9600 baud, 8 data bits, no parity, one stop bit; then no flow control.
constexpr Setting kLine[] = {{Command::SetBaudRate, 9600},
                             {Command::SetDataSize, 8},
                             {Command::SetParity, TelnetCodec::kParityNone},
                             {Command::SetStopSize, TelnetCodec::kOneStopBit}};
constexpr Setting kFlow[] = {{Command::SetControl, TelnetCodec::kNoFlowControl}};

} // namespace

struct NetSio::Link {
    enum class Op { None, Open, SetUp, Flow };

    NetworkPort address;
    std::unique_ptr<QTcpSocket> socket = std::make_unique<QTcpSocket>();
    TelnetCodec codec;
    QByteArray input;    // payload that came and was not read yet
    QByteArray greeting; // socket://: the first bytes, to tell a telnet server by
    QByteArray said;     // the first payload, for ser2net's words when it turns a client away
    Op pending = Op::None;
    bool requestsSent = true; // of the pending set-up
    QElapsedTimer since;      // of the pending operation
    bool isConnected = false;
    bool closedByServer = false;
    std::optional<PortDiagnosis> failure;

    bool rfc2217() const { return address.kind == NetworkPort::Kind::Rfc2217; }
    void send(const QByteArray &bytes) {
        if (socket->state() != QAbstractSocket::ConnectedState)
            return;
        socket->write(bytes);
        socket->flush(); // write() only queues; flush() sends what it can without waiting
    }
};

NetSio::NetSio(std::function<QString(int)> deviceForPort)
    : m_deviceForPort(std::move(deviceForPort)) {}

NetSio::~NetSio() {
    for (auto &entry : m_links)
        entry.second->socket->abort();
}

NetSio::Link *NetSio::linkFor(int port) const {
    const auto it = m_links.find(port);
    return it == m_links.end() ? nullptr : it->second.get();
}

QString NetSio::deviceName(int port) const {
    const QString device = m_deviceForPort ? m_deviceForPort(port) : QString();
    return device.isEmpty() ? Sio::deviceName(port) : device;
}

int NetSio::sio_open(int port) {
    m_lastOpen = {};
    const QString device = deviceName(port);
    const std::optional<NetworkPort> address = NetworkPort::parse(device);
    if (!address) {
        m_lastOpen = PortDiagnosis::of(Verdict::CannotOpen, device, NetworkPort::formHint(),
                                       NetworkPort::formHint(Language::Chinese));
        return -1;
    }
    auto &slot = m_links[port];
    if (slot && slot->socket->state() != QAbstractSocket::UnconnectedState) {
        m_lastOpen = PortDiagnosis::of(Verdict::InUse, device, QStringLiteral("this program"),
                                       QStringLiteral("本程序"));
        return -1;
    }
    slot = std::make_unique<Link>();
    Link *link = slot.get();
    link->address = *address;
    QTcpSocket *socket = link->socket.get();
    QObject::connect(socket, &QTcpSocket::connected, socket, [link] {
        link->isConnected = true;
        // A request written in pieces would otherwise wait for the delayed ACK.
        link->socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (link->rfc2217())
            link->send(link->codec.start());
    });
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, link] { receive(*link); });
    QObject::connect(socket, &QTcpSocket::disconnected, socket,
                     [link] { link->closedByServer = link->isConnected; });
    QObject::connect(
        socket, &QTcpSocket::errorOccurred, socket, [link](QAbstractSocket::SocketError error) {
            const QString url = link->address.url();
            switch (error) {
            case QAbstractSocket::ConnectionRefusedError:
                link->failure = PortDiagnosis::of(Verdict::Refused, url);
                break;
            case QAbstractSocket::HostNotFoundError:
                link->failure = PortDiagnosis::of(Verdict::HostNotFound, url);
                break;
            case QAbstractSocket::SocketTimeoutError:
                link->failure = PortDiagnosis::of(Verdict::NoReply, url);
                break;
            case QAbstractSocket::RemoteHostClosedError:
                link->closedByServer = true;
                link->failure = PortDiagnosis::of(Verdict::ServerClosed, url);
                break;
            default:
                if (!link->failure)
                    link->failure =
                        PortDiagnosis::of(Verdict::CannotOpen, url, link->socket->errorString());
            }
        });
    link->pending = Link::Op::Open;
    link->since.start();
    socket->connectToHost(address->host, address->port);
    return kPending;
}

void NetSio::receive(Link &link) {
    const QByteArray bytes = link.socket->readAll();
    QByteArray payload;
    if (link.rfc2217()) {
        QByteArray reply;
        payload = link.codec.decode(bytes, reply);
        if (!reply.isEmpty())
            link.send(reply);
        sendRequests(link);
    } else {
        payload = bytes;
        if (link.greeting.size() < 3)
            link.greeting += bytes.left(3 - link.greeting.size());
    }
    if (link.said.size() < kSaidBytes)
        link.said += payload.left(kSaidBytes - link.said.size());
    link.input += payload;
    if (link.input.size() > kMaxInput)
        link.input.remove(0, link.input.size() - kMaxInput);
}

void NetSio::sendRequests(Link &link) {
    if (link.requestsSent || !link.codec.ready())
        return;
    link.requestsSent = true;
    QByteArray out;
    if (link.pending == Link::Op::SetUp)
        for (const Setting &s : kLine)
            out += TelnetCodec::request(s.command, s.value);
    else if (link.pending == Link::Op::Flow)
        for (const Setting &s : kFlow)
            out += TelnetCodec::request(s.command, s.value);
    link.send(out);
}

int NetSio::sio_ioctl(int port, int baud, int mode) {
    Link *link = linkFor(port);
    if (!link || !link->isConnected || baud != kBaud9600 || mode != kMode8N1)
        return -1;
    m_lastOpen = {};
    link->pending = Link::Op::SetUp;
    link->since.start();
    if (link->rfc2217()) {
        link->codec.clearAnswers();
        link->requestsSent = false;
        sendRequests(*link);
    }
    return kPending;
}

int NetSio::sio_flowctrl(int port, int mode) {
    Link *link = linkFor(port);
    if (!link || !link->isConnected || mode != kNoFlowControl)
        return -1;
    if (!link->rfc2217())
        return 0;
    m_lastOpen = {};
    link->pending = Link::Op::Flow;
    link->since.start();
    link->codec.clearAnswers();
    link->requestsSent = false;
    sendRequests(*link);
    return kPending;
}

int NetSio::pendingResult(int port) {
    Link *link = linkFor(port);
    if (!link)
        return -1;
    switch (link->pending) {
    case Link::Op::None:
        return 0;
    case Link::Op::Open:
        return connected(*link);
    case Link::Op::SetUp:
        return setUp(*link);
    case Link::Op::Flow:
        return flowSet(*link);
    }
    return -1;
}

int NetSio::connected(Link &link) {
    // A server that turns the client away at once does so after accepting: the set-up
    // tells why.
    if (link.isConnected) {
        link.pending = Link::Op::None;
        return 0;
    }
    if (link.failure)
        return fail(link, link.failure->verdict, link.failure->detail);
    if (link.since.hasExpired(kNetworkTimeoutMs)) {
        link.socket->abort();
        return fail(link, Verdict::NoReply);
    }
    return kPending;
}

int NetSio::setUp(Link &link) {
    if (link.closedByServer)
        return closed(link);
    const bool late = link.since.hasExpired(kNetworkTimeoutMs);
    if (!link.rfc2217()) {
        // ser2net's telnet accepters open with IAC WILL / DO: those bytes and every 0xFF
        // doubled would reach the transfer as the radio's. Only a whole negotiation counts:
        // a raw line may carry any run of 0xFF.
        if (TelnetCodec::isNegotiation(link.greeting))
            return fail(link, Verdict::SpeaksTelnet);
        if (!link.since.hasExpired(kGreetingMs))
            return kPending;
        link.pending = Link::Op::None;
        return 0;
    }
    if (link.codec.refused() || (late && !link.codec.heardTelnet()))
        return fail(link, Verdict::NotRfc2217);
    QStringList answers;
    bool all = true, same = true;
    for (const Setting &s : kLine) {
        const std::optional<std::uint32_t> answer = link.codec.answer(s.command);
        all = all && answer.has_value();
        same = same && answer == s.value;
        answers << (answer ? QString::number(*answer) : QStringLiteral("-"));
    }
    if (all && !same)
        return fail(
            link, Verdict::CannotOpen,
            QStringLiteral("the server refused 9600 baud, 8 data bits, no parity, 1 stop "
                           "bit (it answered %1)")
                .arg(answers.join(QLatin1Char('/'))),
            QStringLiteral("服务器拒绝了9600波特、8个数据位、无校验、1个停止位（它的回答是%1）")
                .arg(answers.join(QLatin1Char('/'))));
    if (all) {
        link.pending = Link::Op::None;
        return 0;
    }
    if (late)
        return fail(link, Verdict::CannotOpen,
                    QStringLiteral("the server did not answer the line settings within %1 s")
                        .arg(kNetworkTimeoutMs / 1000),
                    QStringLiteral("服务器在%1秒内没有回答线路设置").arg(kNetworkTimeoutMs / 1000));
    return kPending;
}

int NetSio::flowSet(Link &link) {
    if (link.closedByServer)
        return closed(link);
    const std::optional<std::uint32_t> answer = link.codec.answer(Command::SetControl);
    if (answer && *answer == TelnetCodec::kNoFlowControl) {
        link.pending = Link::Op::None;
        return 0;
    }
    if (answer)
        return fail(link, Verdict::CannotOpen,
                    QStringLiteral("the server refused to switch flow control off"),
                    QStringLiteral("服务器拒绝关闭流量控制"));
    if (link.since.hasExpired(kNetworkTimeoutMs))
        return fail(
            link, Verdict::CannotOpen,
            QStringLiteral("the server did not answer the flow control setting within "
                           "%1 s")
                .arg(kNetworkTimeoutMs / 1000),
            QStringLiteral("服务器在%1秒内没有回答流量控制设置").arg(kNetworkTimeoutMs / 1000));
    return kPending;
}

int NetSio::closed(Link &link) {
    if (link.said.contains("in use"))
        return fail(link, Verdict::InUse, QStringLiteral("another client of the server"),
                    QStringLiteral("服务器的另一个客户端"));
    return fail(link, Verdict::ServerClosed);
}

int NetSio::fail(Link &link, PortDiagnosis::Verdict verdict, const QString &detail,
                 const QString &detailChinese) {
    link.pending = Link::Op::None;
    m_lastOpen = PortDiagnosis::of(verdict, link.address.url(), detail, detailChinese);
    return -1;
}

int NetSio::sio_write(int port, const char *buf, int len) {
    Link *link = linkFor(port);
    if (!link || len < 0 || link->socket->state() != QAbstractSocket::ConnectedState)
        return link && link->closedByServer ? kDeviceGone : -1;
    const QByteArray data(buf, len);
    link->send(link->rfc2217() ? TelnetCodec::escape(data) : data);
    return len;
}

int NetSio::sio_read(int port, char *buf, int len) {
    Link *link = linkFor(port);
    if (!link || len < 0)
        return -1;
    // What came before the server closed is still the radio's.
    if (link->input.isEmpty())
        return link->closedByServer ? kDeviceGone : link->isConnected ? 0 : -1;
    const int n = std::min(len, int(link->input.size()));
    std::copy(link->input.constData(), link->input.constData() + n, buf);
    link->input.remove(0, n);
    return n;
}

void NetSio::discardInput(int port) {
    Link *link = linkFor(port);
    if (!link)
        return;
    if (link->socket->bytesAvailable() > 0)
        receive(*link);
    link->input.clear();
}

int NetSio::sio_close(int port) {
    const auto it = m_links.find(port);
    if (it == m_links.end())
        return 0;
    // The socket says goodbye on its own time, so that the server frees the cable for the
    // next client at once; the port is free for a new open meanwhile.
    QTcpSocket *socket = it->second->socket.release();
    m_links.erase(it);
    QObject::disconnect(socket, nullptr, nullptr, nullptr);
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        delete socket;
        return 0;
    }
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(kNetworkTimeoutMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    socket->disconnectFromHost();
    return 0;
}

QString NetSio::lastOpenError() const {
    return m_lastOpen.device.isEmpty() ? QString() : m_lastOpen.text();
}

PortDiagnosis NetSio::lostDiagnosis(int port) const {
    const Link *link = linkFor(port);
    if (link && link->closedByServer)
        return PortDiagnosis::of(Verdict::ServerClosed, link->address.url());
    return Sio::lostDiagnosis(port);
}

} // namespace qx
