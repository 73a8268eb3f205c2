#pragma once

#include "fileedits.h"
#include "workingfile.h"

#include <QByteArray>
#include <QObject>
#include <functional>
#include <optional>

namespace qx {

class ChannelGrid;
class EditHistory;
class Prompter;
class SettingsPanel;
struct WindowTexts;

// The working file as the window shows and edits it: every store of the grid, the
// settings panel and the commands, each user action one undo step; the bytes the window
// last read or wrote, so that an action reads the file once and a change made by another
// program is noticed before it is overwritten; and the load with its report.
class WorkingImage : public QObject, public FileEdits {
    Q_OBJECT
public:
    WorkingImage(WorkingFile &file, const WindowTexts &texts, Prompter &prompter, QObject *parent);
    ~WorkingImage() override;

    // The parts that show the file, once they exist.
    void attach(ChannelGrid *grid, SettingsPanel *settings);
    EditHistory &history() { return *m_history; }

    // Shows the working file as showFile does and names, in one message, the records it
    // lacks or that are damaged; never writes.
    void ReadAndDeal_F();
    // Shows the working file as it is: a row or setting whose record is missing or does
    // not decode shows as in a new window, never what an earlier image left there. Says
    // nothing; empty when the file is gone, and then the window keeps what it shows.
    std::optional<RecordReport> showFile();
    // Shows the bytes in hand again, after a change the window made.
    void showInHand();
    // The file replaced whole by write() as one undo step (a read, an opened file).
    void replace(const std::function<void()> &write);

    // FileEdits.
    void commitChannel(int channel, const ChannelCells &cells) override;
    void storeChannel(int channel, const ChannelCells &cells) override;
    void storeRecord(int record, const MemoryFrame &frame) override;
    void resetChannels(const QString &frequency) override;
    void beginStep() override;
    void endStep() noexcept override;

private:
    void storeRecords(int first, const QList<MemoryFrame> &frames);
    // Throws, after showing the file as it now is, when another program changed it.
    void ensureUnchanged();
    RecordReport show(const QByteArray &image);

    WorkingFile &m_file;
    const WindowTexts &m_texts;
    Prompter &m_prompter;
    QByteArray m_image;               // the working file as the window last read or wrote it
    int m_depth = 0;                  // of the steps under way
    EditHistory *m_history = nullptr; // a child, found by tests as "EditHistory"
    ChannelGrid *m_grid = nullptr;
    SettingsPanel *m_settings = nullptr;
};

} // namespace qx
