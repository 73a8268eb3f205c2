#pragma once

#include "prompter.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace qx {

class Sio;
class WorkingFile;

// The texts and the prompt style of one window language.
struct TransferTexts {
    QString startRead;  // empty: no start message
    QString startWrite; // empty: no start message
    QString over;
    QString retryCaption;
    QString retryText;
    Prompter::Buttons retryButtons = Prompter::Buttons::OkCancel;
    QString openError;   // sio_open failed
    QString setupError;  // sio_ioctl failed
    QString flowError;   // sio_flowctrl failed
    QString setupFailed; // after either of the two above
    QString tooFewRecords; // a write of an image with fewer than 35 records
    QString alreadyRunning;
};
TransferTexts chineseTransferTexts();
TransferTexts englishTransferTexts();

// One step-chain engine for both transfers: the armed step, RetryCount, the retry
// check (init) and the link. Read has 36 steps, write 41.
class Transfer : public QObject {
    Q_OBJECT
public:
    enum class Mode { Read, Write };

    Transfer(Sio &sio, WorkingFile &file, Prompter &prompter, TransferTexts texts,
             QObject *parent = nullptr);
    ~Transfer() override;

    // n11Click / N12Click after their own first steps: port is the number from pt.ini.
    // Returns false when the transfer did not start.
    bool start(Mode mode, int port);
    // ToolButton13Click: kills the chain, enables the buttons, closes the link, progress 0.
    void stop();
    // Exit: closes the link's current port.
    void closeLink();

    bool running() const;
    int armedStep() const { return m_step; }
    int retryCount() const { return m_retryCount; }
    QString transferMode() const { return m_mode == Mode::Read ? QStringLiteral("R") : QStringLiteral("W"); }
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
    void arm(int step);
    void tick();
    void evaluate();
    void init(int step);
    void endTransfer(bool completed);

    Sio &m_sio;
    WorkingFile &m_file;
    Prompter &m_prompter;
    TransferTexts m_texts;
    Mode m_mode = Mode::Read;
    int m_port = 0;
    int m_step = 0; // armed step, 0 when none
    int m_retryCount = 0;
    bool m_linkOpen = false;
    QTimer m_stepTimer;
    QTimer m_waitTimer;
};

} // namespace qx
