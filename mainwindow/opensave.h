#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace qx {

class ChannelGrid;
class Prompter;
class WorkingFile;
class WorkingImage;
struct WindowTexts;

// File -> Open and Save with the recent files: an image file copied over the working file
// as one undo step and listed first among the recent files; the working file copied out.
class OpenSave : public QObject {
    Q_OBJECT
public:
    // recent: the menu's first recent-file slot (a1); the others follow it.
    OpenSave(const WindowTexts &texts, Prompter &prompter, WorkingFile &file, WorkingImage &image,
             ChannelGrid &grid, QMenu *menu, QAction *recent, QObject *parent);

    // The open dialog starting in that folder (empty: the dialog's own).
    void openFrom(const QString &dir);
    // The image at path, as if chosen in the dialog (the program's file argument).
    void openFile(const QString &path);
    void save();
    // Where the next save dialog starts: the last saved file's folder.
    const QString &saveFolder() const { return m_saveFolder; }

private:
    void openChosen(const QString &chosen);

    const WindowTexts &m_texts;
    Prompter &m_prompter;
    WorkingFile &m_file;
    WorkingImage &m_image;
    ChannelGrid &m_grid;
    QMenu *m_menu;
    QAction *m_recent;
    QString m_saveFolder;
};

} // namespace qx
