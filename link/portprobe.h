#pragma once

#include "linkopener.h"
#include "portdiagnosis.h"
#include "transfer.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

namespace qx {

class Sio;

// Opens a port as a transfer does, sends only the handshake until the radio answers or
// the tries run out, closes the port again and says what it found. Never blocks: the
// waits are timers, so several probes can run at once.
class PortProbe : public QObject {
    Q_OBJECT
public:
    // As many handshakes as a transfer sends before it asks whether to try again.
    static constexpr int kTries = 9;

    PortProbe(Sio &sio, int port, QObject *parent = nullptr);
    ~PortProbe() override;

    void setPacing(const Pacing &pacing) { m_pacing = pacing; }
    // finished() may come before start() returns (a port that does not open).
    void start();
    bool running() const { return m_running; }
    int port() const { return m_port; }
    const PortDiagnosis &result() const { return m_result; }

signals:
    void finished();

private:
    void linkSettled(LinkOpener::Result result);
    void tick();
    void evaluate();
    void finish(PortDiagnosis::Verdict verdict, const QString &detail = {},
                const QString &detailChinese = {});
    void finish(const PortDiagnosis &result);

    Sio &m_sio;
    LinkOpener m_opener{m_sio};
    int m_port;
    Pacing m_pacing;
    int m_tries = 0;
    bool m_running = false;
    QTimer m_gapTimer;  // before the next handshake
    QTimer m_waitTimer; // before reading the answer
    PortDiagnosis m_result;
    QByteArray m_heard; // the last bytes that were no answer
};

} // namespace qx
