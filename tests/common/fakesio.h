#pragma once

#include "sio.h"

#include <QByteArray>
#include <QList>

namespace qx::test {

// A serial library with no radio behind it: every open fails unless told otherwise.
class FakeSio : public Sio {
public:
    int openResult = -1;
    int ioctlResult = 0;
    int flowResult = 0;
    QList<QString> calls;

    int sio_open(int port) override { return log("open", port), openResult; }
    int sio_ioctl(int port, int, int) override { return log("ioctl", port), ioctlResult; }
    int sio_flowctrl(int port, int) override { return log("flowctrl", port), flowResult; }
    int sio_write(int port, const char *, int len) override { return log("write", port), len; }
    int sio_read(int port, char *, int) override { return log("read", port), 0; }
    int sio_close(int port) override { return log("close", port), 0; }
    void discardInput(int) override {}
    QString lastOpenError() const override { return {}; }

private:
    void log(const char *op, int port) {
        calls << QStringLiteral("%1 %2").arg(QLatin1String(op)).arg(port);
    }
};

} // namespace qx::test
