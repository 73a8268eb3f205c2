#pragma once

#include "portdiagnosis.h"

#include <QString>

namespace qx {

// The six operations of the serial library the radio protocol was written against,
// with its results: 0 means success, reads return at once with what has arrived.
class Sio {
public:
    static constexpr int kBaud9600 = 12;
    static constexpr int kMode8N1 = 3;
    static constexpr int kNoFlowControl = 0;
    // What sio_read and sio_write return once the device went away (cable pulled): the
    // port is closed then, and no retry can bring it back.
    static constexpr int kDeviceGone = -2;
    // What sio_open, sio_ioctl and sio_flowctrl answer while a network port still connects
    // or waits for the server: the caller asks pendingResult() on its own timer until it
    // gives the operation's result. A serial port never answers this; a value no serial
    // library gives, since any other non-zero result is a failure.
    static constexpr int kPending = 1 << 30;

    virtual ~Sio() = default;
    virtual int sio_open(int port) = 0;
    virtual int sio_ioctl(int port, int baud, int mode) = 0;
    virtual int sio_flowctrl(int port, int mode) = 0;
    // Queues and sends the bytes; negative on failure, kDeviceGone when the device went away.
    virtual int sio_write(int port, const char *buf, int len) = 0;
    // Returns at once with the bytes received so far (up to len); 0 when none; negative on
    // failure, kDeviceGone when the device went away.
    virtual int sio_read(int port, char *buf, int len) = 0;
    // Safe on a port that is not open.
    virtual int sio_close(int port) = 0;
    // Drops input waiting in the port, so a late reply is never taken for the next one.
    virtual void discardInput(int port) = 0;
    // The result of the open or set-up that answered kPending, or kPending still.
    virtual int pendingResult(int port) {
        Q_UNUSED(port);
        return 0;
    }
    // The device and the system's reason for the last failed open (or set-up of a network
    // port), for the second line of the message; empty when there is nothing to add.
    virtual QString lastOpenError() const = 0;
    // The same failure classified, for the probe and Detect Port.
    virtual PortDiagnosis lastOpenDiagnosis() const {
        PortDiagnosis d;
        d.detail = lastOpenError();
        return d;
    }
    // Why reads and writes answer kDeviceGone.
    virtual PortDiagnosis lostDiagnosis(int port) const {
        return PortDiagnosis::of(PortDiagnosis::Verdict::WentAway, deviceName(port));
    }
    // The device a port number stands for, to name it in messages.
    virtual QString deviceName(int port) const { return QStringLiteral("COM%1").arg(port); }
    // Which step the bytes that follow belong to; a logging link writes it beside them.
    virtual void noteStep(int port, const QString &step) {
        Q_UNUSED(port);
        Q_UNUSED(step);
    }
};

} // namespace qx
