#include "portdiagnosis.h"

#include "serialdevices.h"

#include <QFileInfo>

namespace qx {

namespace {

// The advice for a device this user may not open. A group is named only when joining it
// would help: it can read and write the device, and it is not root.
QString permissionAdvice(const QString &device, Language language) {
    const bool chinese = language == Language::Chinese;
    const DeviceAccess access = deviceAccess(device);
    if (access.groupMayUse && !access.group.isEmpty() && access.group != QLatin1String("root"))
        return (chinese ? QStringLiteral("请用“sudo usermod -aG %1 $USER”加入设备的用户组%1，"
                                         "然后重新登录")
                        : QStringLiteral("join the device's group %1 with 'sudo usermod -aG %1 "
                                         "$USER', then log in again"))
            .arg(access.group);
    QString who = access.owner;
    if (access.groupMayUse)
        who = (chinese ? QStringLiteral("%1和用户组%2") : QStringLiteral("%1 and the group %2"))
                  .arg(access.owner, access.group);
    if (who.isEmpty())
        who = chinese ? QStringLiteral("它的所有者") : QStringLiteral("its owner");
    return (chinese ? QStringLiteral("只有%1可以读写它（%2 %3 %4）；请管理员添加一条udev规则，"
                                     "把它的用户组设为%5、权限设为0660（本系统的串口线都是"
                                     "这样），并加入该用户组")
                    : QStringLiteral("only %1 may read and write it (%2 %3 %4); ask the "
                                     "administrator for a udev rule that gives it the group %5 "
                                     "and mode 0660, as serial cables have on this system, and "
                                     "join that group"))
        .arg(who, access.mode, access.owner, access.group, serialGroup());
}

} // namespace

QString PortDiagnosis::words(Language language) const {
    if (language == Language::Chinese)
        return chineseWords();
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

QString PortDiagnosis::chineseWords() const {
    const QString said = detailChinese.isEmpty() ? detail : detailChinese;
    switch (verdict) {
    case Verdict::Answered:
        return QStringLiteral("对讲机已应答，可以读写");
    case Verdict::NoDevice:
        return present.isEmpty() ? QStringLiteral("没有此设备；没有插入任何串口设备")
                                 : QStringLiteral("没有此设备；现有的串口设备：%1")
                                       .arg(present.join(QStringLiteral("、")));
    case Verdict::PermissionDenied:
        return QStringLiteral("没有权限：") + said;
    case Verdict::InUse:
        return QStringLiteral("正被%1占用")
            .arg(said.isEmpty() ? QStringLiteral("另一个程序") : said);
    case Verdict::WentAway:
        return QStringLiteral("设备已断开（数据线被拔掉了吗？）");
    case Verdict::NoAnswer:
        if (!detail.isEmpty())
            return QStringLiteral("对讲机没有应答：线路上收到的是%1；请检查这是不是对讲机的串口")
                .arg(detail);
        return QStringLiteral("对讲机没有应答；请检查插头是否完全插入对讲机的插孔、对讲机是否已"
                              "开机，以及这是不是对讲机的串口");
    case Verdict::CannotOpen:
        return said.isEmpty() ? QStringLiteral("不能作为串口打开")
                              : QStringLiteral("不能作为串口打开：%1").arg(said);
    case Verdict::Refused:
        return QStringLiteral("%1上没有程序在监听（连接被拒绝）；请检查端口号，以及该主机上是否在"
                              "运行ser2net")
            .arg(address().hostAndPort());
    case Verdict::HostNotFound:
        return QStringLiteral("找不到主机；请检查名称%1").arg(address().host);
    case Verdict::NoReply:
        return QStringLiteral("主机在%1秒内没有应答；请检查地址、网络，以及主机是否已开机")
            .arg(kNetworkTimeoutMs / 1000);
    case Verdict::NotRfc2217:
        return QStringLiteral("服务器不支持RFC 2217；普通TCP接入请用%1").arg(address().otherUrl());
    case Verdict::SpeaksTelnet:
        return QStringLiteral("服务器使用telnet协议；telnet(rfc2217)接入请用%1")
            .arg(address().otherUrl());
    case Verdict::ServerClosed:
        return QStringLiteral("服务器没有说明原因就关闭了连接；请检查它是否仍在运行，以及是否有"
                              "别的客户端占用了该端口");
    }
    return {};
}

NetworkPort PortDiagnosis::address() const {
    return NetworkPort::parse(device).value_or(NetworkPort{});
}

PortDiagnosis PortDiagnosis::of(Verdict verdict, const QString &device, const QString &detail,
                                const QString &detailChinese) {
    PortDiagnosis d;
    d.verdict = verdict;
    d.device = device;
    d.detail = detail;
    d.detailChinese = detailChinese;
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
        return PortDiagnosis::of(Verdict::InUse, device, holder.text(),
                                 holder.text(Language::Chinese));
    if (!userMayOpen(device))
        return PortDiagnosis::of(Verdict::PermissionDenied, device,
                                 permissionAdvice(device, Language::English),
                                 permissionAdvice(device, Language::Chinese));
    // Reachable and without a live lock, yet refused: held exclusively (TIOCEXCL) by a
    // program that keeps no lock file.
    if (failure == OpenFailure::Permission)
        return PortDiagnosis::of(Verdict::InUse, device);
    return PortDiagnosis::of(Verdict::CannotOpen, device, systemReason);
}

} // namespace qx
