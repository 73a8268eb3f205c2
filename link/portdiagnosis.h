#pragma once

#include "imagewords.h"
#include "networkport.h"

#include <QString>
#include <QStringList>

namespace qx {

// What a serial device is good for, in the one set of words that the CLI's probe, the
// window's Detect Port and the second line of an open failure share.
struct PortDiagnosis {
    enum class Verdict {
        Answered,         // the radio answered the handshake
        NoDevice,         // nothing at that path
        PermissionDenied, // this user may not open it
        InUse,            // another program holds it
        WentAway,         // it was there and vanished (cable pulled)
        NoAnswer,         // opened, but the handshake went unanswered
        CannotOpen,       // any other failure, with the system's words
        // A radio on the network (device: its URL).
        Refused,      // nothing listens at HOST:PORT
        HostNotFound, // the name does not resolve
        NoReply,      // the host did not answer within the connect time-out
        NotRfc2217,   // rfc2217:// at a server that does not speak it
        SpeaksTelnet, // socket:// at a telnet server
        ServerClosed, // the server ended the connection without a word
    };
    Verdict verdict = Verdict::CannotOpen;
    QString device;
    // PermissionDenied: the advice; InUse: the lock's holder as LockHolder::text() words
    // it, empty when unknown; NoAnswer: the bytes heard instead of an answer, if any;
    // CannotOpen: the system's reason.
    QString detail;
    // The detail in Chinese where this program words it; a system's reason or the bytes
    // heard have one form only, and detail stands for both languages.
    QString detailChinese;
    QStringList present; // NoDevice: the serial devices that are there

    bool answered() const { return verdict == Verdict::Answered; }
    // What was found, without the device: "no such device; ...".
    QString words(Language language = Language::English) const;
    // One line: the device, then the words.
    QString text(Language language = Language::English) const {
        return device + QStringLiteral(": ") + words(language);
    }

    static PortDiagnosis of(Verdict verdict, const QString &device, const QString &detail = {},
                            const QString &detailChinese = {});

private:
    QString chineseWords() const;
    // The parts of a network device's URL.
    NetworkPort address() const;
};

// How long a network port may take to connect, and the server to answer the set-up.
constexpr int kNetworkTimeoutMs = 3000;

// How Qt SerialPort's open failed, reduced to what the classification needs.
enum class OpenFailure { NotFound, Permission, Other };

// Classifies a failed open by what the system shows: whether the path exists, who holds
// its lock file, whether this user may open it. A device this process had open before
// and that is gone now went away.
PortDiagnosis diagnoseOpenFailure(const QString &device, OpenFailure failure,
                                  const QString &systemReason, bool openedBefore);

} // namespace qx
