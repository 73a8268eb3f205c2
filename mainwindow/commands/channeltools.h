#pragma once

#include "channelorder.h"

#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QMenu;

namespace qx {

class FileEdits;
class FillDialog;
class CommandHost;
class SetSelectedDialog;
class WorkingFile;

// Edit -> Channels: moving, inserting, deleting and sorting channels, filling a run of
// frequencies and setting tones and flags on many channels at once. Each tool is one undo
// step through the window's FileEdits, stores what it changes at once and shows the
// working file again; none runs while a transfer does.
class ChannelTools : public QObject {
    Q_OBJECT
public:
    ChannelTools(CommandHost &host, QObject *parent);

    // The Channels submenu at the end of the Edit menu.
    void addMenu(QMenu *edit);

public slots:
    void moveUp();
    void moveDown();
    void insertEmpty();
    void deleteAndMoveUp();
    void sortByReceive();
    void fillFrequencies();
    void setForSelected();
    // Disables the tools that would do nothing now.
    void updateActions();

private:
    QAction *item(QMenu *menu, const char *name, const QString &text, void (ChannelTools::*slot)());
    // Runs a tool under the guard once the text typed into the grid is stored; nothing while
    // a transfer runs or when that text is refused.
    void run(const std::function<void()> &tool);
    void move(int by);
    // Records move as the order says: the moved channels byte for byte, under their new
    // addresses.
    void reorder(const ChannelOrder &order);
    // What the dialogs' OK applies; Fill leaves its dialog open on a value it refuses.
    void fill(FillDialog &dialog, const QList<int> &channels);
    void set(SetSelectedDialog &dialog, const QList<int> &channels);
    void reload();
    // The channels a dialog works on, for its heading.
    QString heading(const QList<int> &channels) const;

    CommandHost &m_host;
    FileEdits &m_edits;
    WorkingFile &m_file;
    QAction *m_moveUp = nullptr, *m_moveDown = nullptr, *m_insert = nullptr, *m_delete = nullptr;
    QAction *m_sort = nullptr, *m_fill = nullptr, *m_set = nullptr;
};

} // namespace qx
