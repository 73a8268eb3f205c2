#pragma once

#include <QString>

class QWidget;

namespace qx {

class ChannelGrid;
class FileEdits;
class Prompter;
class TransferJob;
class WorkingFile;
struct WindowTexts;

// The few things the commands need of the window around them.
class CommandHost {
public:
    virtual const WindowTexts &texts() const = 0;
    virtual Prompter &prompter() = 0;
    virtual ChannelGrid &channelGrid() = 0;
    // Every store, as one undo step per user action.
    virtual FileEdits &edits() = 0;
    virtual WorkingFile &workingFile() = 0;
    // Its busy() and busyChanged(): no command changes the file while a transfer runs.
    virtual TransferJob &job() = 0;
    // The window: the parent of dialogs, the owner of window-wide shortcuts.
    virtual QWidget *hostWidget() = 0;
    // Shows the working file again after a change.
    virtual void reloadWorkingFile() = 0;
    // The open command, its dialog starting in that folder.
    virtual void openFrom(const QString &dir) = 0;

protected:
    ~CommandHost() = default;
};

} // namespace qx
