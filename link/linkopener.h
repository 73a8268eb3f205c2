#pragma once

#include <QObject>
#include <QTimer>

namespace qx {

class Sio;

// Opens a port and sets its line as a transfer needs it: sio_open, then sio_ioctl
// (9600 baud, 8N1), then sio_flowctrl (none). A serial port answers each at once; a
// network port may answer kPending, and the step is then asked again on a timer, so the
// event loop never waits for the server.
class LinkOpener : public QObject {
    Q_OBJECT
public:
    enum class Result { Pending, Ready, OpenFailed, SetUpFailed, FlowFailed };

    explicit LinkOpener(Sio &sio, QObject *parent = nullptr);

    // The result when it is known at once (always so for a serial port); Pending
    // otherwise, and settled() brings it later. A failed step leaves the port to the
    // caller to close, in the order its messages need.
    Result start(int port);
    void cancel() { m_poll.stop(); }
    bool running() const { return m_poll.isActive(); }

signals:
    void settled(qx::LinkOpener::Result result);

private:
    enum class Stage { Open, SetUp, Flow };
    // Runs the stages from m_stage on with the result of the current one.
    Result advance(int result);
    void poll();

    Sio &m_sio;
    int m_port = 0;
    Stage m_stage = Stage::Open;
    QTimer m_poll;
};

} // namespace qx
