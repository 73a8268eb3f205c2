#pragma once

#include "transfer.h"
#include "windowtexts.h"

#include <QByteArray>
#include <QObject>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace qx {

class EditHistory;
class Prompter;
class WorkingFile;

// What the window adds around the radio transfers of its working file: a read becomes an
// undo step and leaves a backup; a write first leaves a backup of the image it sends and,
// when asked, reads the radio back into a file of its own and compares.
class TransferSafety : public QObject {
    Q_OBJECT
public:
    TransferSafety(Transfer &transfer, WorkingFile &file, EditHistory &history, Prompter &prompter,
                   const WindowTexts &texts, QObject *parent = nullptr);
    ~TransferSafety() override;

    void setVerifyAfterWrite(bool on) { m_verify = on; }
    bool verifyAfterWrite() const { return m_verify; }
    // n11Click and N12Click: a read into or a write of the working file on that port.
    void start(Transfer::Mode mode, int port);
    // The channels and settings blocks that differ, in the window's words; empty if none.
    QString differences(const QByteArray &written, const QByteArray &back) const;

private:
    enum class Phase { None, Read, Write, Verify };

    void ended(bool completed);
    void backup(bool read, const QByteArray &image);
    void startVerify();
    void compare();

    Transfer &m_transfer;
    WorkingFile &m_file;
    EditHistory &m_history;
    Prompter &m_prompter;
    const WindowTexts &m_texts;
    bool m_verify = false;
    Phase m_phase = Phase::None;
    std::optional<QByteArray> m_before; // the working file when the transfer started
    QTemporaryDir m_scratch;
    std::unique_ptr<WorkingFile> m_readBack;
};

} // namespace qx
