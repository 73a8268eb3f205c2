#include "portdiagnosis.h"

#include "serialdevices.h"

#include <QFileInfo>

namespace qx {

namespace {

// The advice for a device this user may not open. A group is named only when joining it
// would help: it can read and write the device, and it is not root.
QString permissionAdvice(const QString &device) {
    const DeviceAccess access = deviceAccess(device);
    if (access.groupMayUse && !access.group.isEmpty() && access.group != QLatin1String("root"))
        return QStringLiteral("join the device's group %1 with 'sudo usermod -aG %1 $USER', "
                              "then log in again")
            .arg(access.group);
    const QString who = access.groupMayUse
                            ? QStringLiteral("%1 and the group %2").arg(access.owner, access.group)
                            : access.owner;
    return QStringLiteral("only %1 may read and write it (%2 %3 %4); ask the administrator for "
                          "a udev rule that gives it the group %5 and mode 0660, as serial "
                          "cables have on this system, and join that group")
        .arg(who.isEmpty() ? QStringLiteral("its owner") : who, access.mode, access.owner,
             access.group, serialGroup());
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
        return QStringLiteral("permission denied: ") + detail;
    case Verdict::InUse:
        return QStringLiteral("in use by %1")
            .arg(detail.isEmpty() ? QStringLiteral("another program") : detail);
    case Verdict::WentAway:
        return QStringLiteral("the device went away (was the cable unplugged?)");
    case Verdict::NoAnswer:
        // The order of the README: the plug is the usual culprit.
        if (!detail.isEmpty())
            return QStringLiteral("no answer from the radio: the line carried %1 instead; "
                                  "check that this is the radio's port")
                .arg(detail);
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
        // ser2net closes without a word both when it stops and when kickolduser gives the
        // cable to another client: the bytes cannot tell which.
        return QStringLiteral("the server closed the connection without saying why; check that "
                              "it still runs and that no other client took the port");
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
        return PortDiagnosis::of(Verdict::PermissionDenied, device, permissionAdvice(device));
    // Reachable and without a live lock, yet refused: held exclusively (TIOCEXCL) by a
    // program that keeps no lock file.
    if (failure == OpenFailure::Permission)
        return PortDiagnosis::of(Verdict::InUse, device);
    return PortDiagnosis::of(Verdict::CannotOpen, device, systemReason);
}

} // namespace qx
