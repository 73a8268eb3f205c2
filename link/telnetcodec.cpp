#include "telnetcodec.h"

namespace qx {

namespace {

constexpr std::uint8_t kSe = 240;
constexpr std::uint8_t kSb = 250;
constexpr std::uint8_t kWill = 251;
constexpr std::uint8_t kWont = 252;
constexpr std::uint8_t kDo = 253;
constexpr std::uint8_t kDont = 254;
constexpr std::uint8_t kServerOffset = 100;
// A subnegotiation longer than any the COM-PORT option knows is dropped, not collected
// without end.
constexpr int kMaxSubnegotiation = 64;

// Binary carries the radio's bytes unchanged; without go-ahead the line is full duplex.
// Everything else (echo above all, which would send our requests back as replies) is
// refused.
bool weWant(std::uint8_t option) {
    return option == TelnetCodec::kBinary || option == TelnetCodec::kComPort ||
           option == TelnetCodec::kSuppressGoAhead;
}

bool heWants(std::uint8_t option) {
    return option == TelnetCodec::kBinary || option == TelnetCodec::kSuppressGoAhead;
}

void send(QByteArray &out, std::uint8_t verb, std::uint8_t option) {
    out += char(TelnetCodec::kIac);
    out += char(verb);
    out += char(option);
}

} // namespace

QByteArray TelnetCodec::start() {
    QByteArray out;
    for (std::uint8_t option : {kBinary, kComPort, kSuppressGoAhead}) {
        if (m_options[option].us == State::No) {
            m_options[option].us = State::WantYes;
            send(out, kWill, option);
        }
    }
    for (std::uint8_t option : {kBinary, kSuppressGoAhead}) {
        if (m_options[option].him == State::No) {
            m_options[option].him = State::WantYes;
            send(out, kDo, option);
        }
    }
    return out;
}

bool TelnetCodec::isNegotiation(const QByteArray &bytes) {
    if (bytes.size() < 3 || std::uint8_t(bytes.at(0)) != kIac)
        return false;
    const auto command = std::uint8_t(bytes.at(1));
    return command >= kWill && command <= kDont;
}

QByteArray TelnetCodec::escape(const QByteArray &data) {
    QByteArray out;
    out.reserve(data.size() + data.count(char(kIac)));
    for (char c : data) {
        out += c;
        if (std::uint8_t(c) == kIac)
            out += c;
    }
    return out;
}

QByteArray TelnetCodec::request(Command command, std::uint32_t value) {
    QByteArray out;
    out += char(kIac);
    out += char(kSb);
    out += char(kComPort);
    out += char(command);
    QByteArray body;
    if (command == Command::SetBaudRate) {
        for (int shift = 24; shift >= 0; shift -= 8)
            body += char((value >> shift) & 0xFF);
    } else {
        body += char(value & 0xFF);
    }
    out += escape(body);
    out += char(kIac);
    out += char(kSe);
    return out;
}

bool TelnetCodec::ready() const {
    return m_options[kBinary].us == State::Yes && m_options[kBinary].him == State::Yes &&
           m_options[kComPort].us == State::Yes;
}

std::optional<std::uint32_t> TelnetCodec::answer(Command command) const {
    return m_answers[std::size_t(command)];
}

QByteArray TelnetCodec::decode(const QByteArray &bytes, QByteArray &reply) {
    QByteArray data;
    for (char c : bytes) {
        const auto b = std::uint8_t(c);
        switch (m_parse) {
        case Parse::Data:
            if (b == kIac)
                m_parse = Parse::Iac;
            else
                data += c;
            break;
        case Parse::Iac:
            if (b == kIac) {
                data += c;
                m_parse = Parse::Data;
            } else if (b >= kWill && b <= kDont) {
                m_verb = b;
                m_parse = Parse::Verb;
            } else if (b == kSb) {
                m_sub.clear();
                m_parse = Parse::Sub;
            } else {
                // NOP, go-ahead, a lone SE and the other one-byte commands carry nothing here.
                m_heardTelnet = true;
                m_parse = Parse::Data;
            }
            break;
        case Parse::Verb:
            command(m_verb, b, reply);
            m_parse = Parse::Data;
            break;
        case Parse::Sub:
            if (b == kIac)
                m_parse = Parse::SubIac;
            else if (m_sub.size() < kMaxSubnegotiation)
                m_sub += c;
            break;
        case Parse::SubIac:
            if (b == kSe) {
                subnegotiation();
                m_parse = Parse::Data;
            } else {
                // IAC IAC is a 0xFF inside; anything else is malformed and read as data of
                // the subnegotiation, which its length check then rejects.
                if (m_sub.size() < kMaxSubnegotiation)
                    m_sub += c;
                m_parse = Parse::Sub;
            }
            break;
        }
    }
    return data;
}

void TelnetCodec::command(std::uint8_t verb, std::uint8_t option, QByteArray &reply) {
    m_heardTelnet = true;
    Option &o = m_options[option];
    const bool essential = option == kBinary || option == kComPort;
    switch (verb) {
    case kWill:
        if (o.him == State::No) {
            o.him = heWants(option) ? State::Yes : State::No;
            send(reply, heWants(option) ? kDo : kDont, option);
        } else {
            o.him = State::Yes; // the answer to our DO, or a repeat
        }
        break;
    case kWont:
        if (o.him == State::Yes)
            send(reply, kDont, option);
        m_refused = m_refused || (option == kBinary && o.him != State::No);
        o.him = State::No;
        break;
    case kDo:
        if (o.us == State::No) {
            o.us = weWant(option) ? State::Yes : State::No;
            send(reply, weWant(option) ? kWill : kWont, option);
        } else {
            o.us = State::Yes;
        }
        break;
    case kDont:
        if (o.us == State::Yes)
            send(reply, kWont, option);
        m_refused = m_refused || (essential && o.us != State::No);
        o.us = State::No;
        break;
    default:
        break;
    }
}

void TelnetCodec::subnegotiation() {
    // Option, command, value: four bytes for the baud rate, one for the others.
    if (m_sub.size() < 3 || std::uint8_t(m_sub.at(0)) != kComPort)
        return;
    const int command = std::uint8_t(m_sub.at(1)) - kServerOffset;
    if (command < int(Command::SetBaudRate) || command > int(Command::SetControl))
        return;
    const int length = command == int(Command::SetBaudRate) ? 4 : 1;
    if (m_sub.size() != 2 + length)
        return;
    std::uint32_t value = 0;
    for (int i = 0; i < length; ++i)
        value = value << 8 | std::uint8_t(m_sub.at(2 + i));
    m_answers[std::size_t(command)] = value;
}

} // namespace qx
