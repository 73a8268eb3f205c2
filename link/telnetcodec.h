#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>

namespace qx {

// The client side of telnet with serial-port control (RFC 2217), as ser2net's
// telnet(rfc2217) accepter speaks it: binary both ways, the COM-PORT option, 0xFF doubled
// in the data. Pure code: bytes from the server go in, the payload and the answers to
// send back come out.
class TelnetCodec {
public:
    static constexpr std::uint8_t kIac = 0xFF;
    static constexpr std::uint8_t kBinary = 0;
    static constexpr std::uint8_t kSuppressGoAhead = 3;
    static constexpr std::uint8_t kComPort = 44;

    // COM-PORT commands as the client sends them; the server answers with 100 more.
    enum class Command : std::uint8_t {
        SetBaudRate = 1,
        SetDataSize = 2,
        SetParity = 3,
        SetStopSize = 4,
        SetControl = 5,
    };
    static constexpr std::uint8_t kParityNone = 1;
    static constexpr std::uint8_t kOneStopBit = 1;
    static constexpr std::uint8_t kNoFlowControl = 1;

    // What the client offers at once: binary both ways, COM-PORT, no go-ahead.
    QByteArray start();
    // Decodes bytes from the server, which may end in the middle of a sequence: returns
    // the payload; answers to the server's requests are appended to reply.
    QByteArray decode(const QByteArray &bytes, QByteArray &reply);

    // The data as it goes on the wire: every 0xFF doubled.
    static QByteArray escape(const QByteArray &data);
    // Whether the bytes begin with a telnet option negotiation: IAC, then WILL, WONT, DO or
    // DONT, then the option.
    static bool isNegotiation(const QByteArray &bytes);
    // A COM-PORT subnegotiation; the baud rate takes four bytes, the others one.
    static QByteArray request(Command command, std::uint32_t value);

    // The server agreed to binary both ways and to COM-PORT.
    bool ready() const;
    // The server refused COM-PORT or binary: it is a telnet server without serial control.
    bool refused() const { return m_refused; }
    // Anything telnet came from the server at all.
    bool heardTelnet() const { return m_heardTelnet; }
    // The server's last answer to a command; nothing before the first.
    std::optional<std::uint32_t> answer(Command command) const;
    // Forgets the answers, before a new request.
    void clearAnswers() { m_answers = {}; }

private:
    // RFC 1143's states for one side of one option, without the queue bit: we never
    // change our mind while a request is out.
    enum class State : std::uint8_t { No, Yes, WantYes };
    struct Option {
        State us = State::No;  // we perform it
        State him = State::No; // the server performs it
    };
    void command(std::uint8_t verb, std::uint8_t option, QByteArray &reply);
    void subnegotiation();

    enum class Parse : std::uint8_t { Data, Iac, Verb, Sub, SubIac };
    Parse m_parse = Parse::Data;
    std::uint8_t m_verb = 0;
    QByteArray m_sub;
    std::array<Option, 256> m_options{};
    std::array<std::optional<std::uint32_t>, 6> m_answers{};
    bool m_refused = false;
    bool m_heardTelnet = false;
};

} // namespace qx
