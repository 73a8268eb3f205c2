#pragma once

#include "imagewords.h"

#include <QString>

#include <optional>

namespace qx {

// A radio on the network: socket://HOST:PORT (raw TCP) or rfc2217://HOST:PORT (telnet with
// serial-port control), as ser2net's tcp and telnet(rfc2217) accepters serve a cable. HOST
// is a name, an IPv4 address or an IPv6 address in brackets.
struct NetworkPort {
    enum class Kind { Socket, Rfc2217 };
    Kind kind = Kind::Socket;
    QString host; // without the brackets of an IPv6 address
    quint16 port = 0;

    // A device name that starts with socket:// or rfc2217:// names a network port, well
    // formed or not.
    static bool named(const QString &device);
    // The parts of a well-formed name; nothing otherwise.
    static std::optional<NetworkPort> parse(const QString &device);
    // What a malformed name lacks, in a user's words.
    static QString formHint(Language language = Language::English);

    // HOST:PORT, with brackets around an IPv6 address.
    QString hostAndPort() const;
    QString url() const;
    // The same server port named with the other kind of URL.
    QString otherUrl() const;
    // A file name made of host and port: bench2_3001.
    QString fileStem() const;
};

} // namespace qx
