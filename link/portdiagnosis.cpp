#include "portdiagnosis.h"

#include "serialdevices.h"

#include <QFileInfo>

namespace qx {

namespace {

// Serial cables belong to this group on Debian and most distributions.
const QString kSerialGroup = QStringLiteral("dialout");

QString joinGroup(const QString &group) {
    const QString name = group.isEmpty() ? kSerialGroup : group;
    const QString hint =
        name == kSerialGroup
            ? QString()
            : QStringLiteral(" (serial cables are in %1 on Debian)").arg(kSerialGroup);
    return QStringLiteral("permission denied: join the device's group %1%2 with 'sudo usermod "
                          "-aG %1 $USER', then log in again")
        .arg(name, hint);
}

} // namespace

QString PortDiagnosis::words() const {
    switch (verdict) {
    case Verdict::Answered:
        return QStringLiteral("the radio answered; it is ready to read or write");
    case Verdict::NoDevice:
        return present.isEmpty() ? QStringLiteral("no such device; no serial device is plugged in")
                                 : QStringLiteral("no such device; serial devices present: %1")
                                       .arg(present.join(QStringLiteral(", ")));
    case Verdict::PermissionDenied:
        return joinGroup(detail);
    case Verdict::InUse:
        return QStringLiteral("in use by %1")
            .arg(detail.isEmpty() ? QStringLiteral("another program") : detail);
    case Verdict::WentAway:
        return QStringLiteral("the device went away (was the cable unplugged?)");
    case Verdict::NoAnswer:
        // The order of the README: the plug is the usual culprit.
        return QStringLiteral("no answer from the radio; check that the plug is seated fully "
                              "in the radio's jack, that the radio is switched on, and that "
                              "this is the radio's port");
    case Verdict::CannotOpen:
        return detail.isEmpty()
                   ? QStringLiteral("cannot be opened as a serial port")
                   : QStringLiteral("cannot be opened as a serial port: %1").arg(detail);
    case Verdict::Refused:
        return QStringLiteral("nothing is listening at %1 (connection refused); check the port "
                              "number and that ser2net runs there")
            .arg(address().hostAndPort());
    case Verdict::HostNotFound:
        return QStringLiteral("host not found; check the name %1").arg(address().host);
    case Verdict::NoReply:
        return QStringLiteral("no answer from the host within %1 s; check the address, the "
                              "network and that the host is switched on")
            .arg(kNetworkTimeoutMs / 1000);
    case Verdict::NotRfc2217:
        return QStringLiteral("the server does not speak RFC 2217; for a plain tcp accepter use "
                              "%1")
            .arg(address().otherUrl());
    case Verdict::SpeaksTelnet:
        return QStringLiteral("the server speaks telnet; for a telnet(rfc2217) accepter use %1")
            .arg(address().otherUrl());
    case Verdict::ServerClosed:
        return QStringLiteral("the server closed the connection (another client took the port)");
    }
    return {};
}

NetworkPort PortDiagnosis::address() const {
    return NetworkPort::parse(device).value_or(NetworkPort{});
}

PortDiagnosis PortDiagnosis::of(Verdict verdict, const QString &device, const QString &detail) {
    PortDiagnosis d;
    d.verdict = verdict;
    d.device = device;
    d.detail = detail;
    if (verdict == Verdict::NoDevice)
        d.present = serialDevicePaths();
    return d;
}

PortDiagnosis diagnoseOpenFailure(const QString &device, OpenFailure failure,
                                  const QString &systemReason, bool openedBefore) {
    using Verdict = PortDiagnosis::Verdict;
    // A dangling by-id link counts as missing: exists() follows links.
    if (failure == OpenFailure::NotFound || !QFileInfo::exists(device))
        return PortDiagnosis::of(openedBefore ? Verdict::WentAway : Verdict::NoDevice, device);
    const LockHolder holder = lockHolder(device);
    if (holder.held())
        return PortDiagnosis::of(Verdict::InUse, device, holder.text());
    if (!userMayOpen(device))
        return PortDiagnosis::of(Verdict::PermissionDenied, device, deviceGroup(device));
    // Reachable and without a live lock, yet refused: held exclusively (TIOCEXCL) by a
    // program that keeps no lock file.
    if (failure == OpenFailure::Permission)
        return PortDiagnosis::of(Verdict::InUse, device);
    return PortDiagnosis::of(Verdict::CannotOpen, device, systemReason);
}

} // namespace qx
