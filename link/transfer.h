#pragma once

#include "prompter.h"
#include "windowtexts.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>

namespace qx {

class Sio;
class WorkingFile;

// One step-chain engine for both transfers: the armed step, RetryCount, the retry
// check (init) and the link. Read has 36 steps, write 41.
class Transfer : public QObject {
    Q_OBJECT
public:
    enum class Mode { Read, Write };

    Transfer(Sio &sio, WorkingFile &file, Prompter &prompter, TransferTexts texts,
             QObject *parent = nullptr);
    ~Transfer() override;

    // n11Click / N12Click: port is the number from pt.ini. Returns false when the
    // transfer did not start; throws qx::Error when the working file cannot be opened.
    bool start(Mode mode, int port);
    // ToolButton13Click: kills the chain, enables the buttons, closes the link, progress 0.
    void stop();
    // Exit: ends any chain silently and closes the link's current port.
    void closeLink();

    bool running() const;
    int armedStep() const { return m_step; }
    int retryCount() const { return m_retryCount; }
    QString transferMode() const {
        return m_mode == Mode::Read ? QStringLiteral("R") : QStringLiteral("W");
    }
    int currentPort() const { return m_port; }

signals:
    void progressMaximum(int maximum);
    void progress(int position);
    void buttonsEnabled(bool enabled);
    // After a completed read, once the completion message was dismissed: decode the file.
    void readCompleted();
    // Any end of a transfer: completed, cancelled, stopped or failed.
    void finished(bool completed);

private:
    struct Step;
    static Step stepOf(Mode mode, int step);
    int lastStep() const;

    // Both timers are single-shot: a step is armed by starting the first, a tick sends
    // and starts the second, whose expiry reads the reply. Nothing blocks the thread.
    void arm(int step, int lateMs = 0);
    void tick();
    void evaluate();
    void init(int step);
    void kill();
    bool port_SetUp();
    void send_ReadRequest(std::uint8_t high, std::uint8_t low);
    void byte_ok(std::uint8_t high, std::uint8_t low);
    bool send_Record(int index);
    void completeRead(const QByteArray &reply);
    void completeWrite();
    void endTransfer(bool completed);
    void closeOpenLink();
    // Runs a timer callback under qx::guard; an exception ends the transfer cleanly first.
    void guarded(void (Transfer::*callback)());

    Sio &m_sio;
    WorkingFile &m_file;
    Prompter &m_prompter;
    TransferTexts m_texts;
    Mode m_mode = Mode::Read;
    int m_port = 0;
    int m_step = 0; // armed step, 0 when none
    int m_retryCount = 0;
    bool m_active = false;
    bool m_linkOpen = false;
    // Bumped whenever a chain ends or starts, so code resumed after a modal box can tell
    // that someone else ended the transfer meanwhile.
    unsigned m_generation = 0;
    QTimer m_stepTimer;
    QTimer m_waitTimer;
    QElapsedTimer m_clock;
    qint64 m_waitDueNs = 0;
};

} // namespace qx
