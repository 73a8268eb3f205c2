#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace qx {

class EditHistory;
class FileEdits;
class CommandHost;
class WorkingFile;

// The commands added to the window: the Edit menu (undo, redo, channel rows on the
// clipboard, clearing channels) and opening a backup in the File menu. Every change goes
// through the window's FileEdits as one undo step.
class EditCommands : public QObject {
    Q_OBJECT
public:
    EditCommands(CommandHost &host, EditHistory &history, QObject *parent);

    void addMenus(QMenuBar *bar, QMenu *file, QMenu *program);

public slots:
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void clearChannels();
    void openBackup();
    // Disables the items that would do nothing now.
    void updateActions();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *item(QMenu *menu, const char *name, const QString &text, void (EditCommands::*slot)());
    QList<int> selected() const;
    void clear(const QList<int> &channels);
    void reload();

    CommandHost &m_host;
    FileEdits &m_edits;
    EditHistory &m_history;
    WorkingFile &m_file;
    QAction *m_undo = nullptr, *m_redo = nullptr, *m_cut = nullptr, *m_copy = nullptr;
    QAction *m_paste = nullptr, *m_clear = nullptr;
};

} // namespace qx
