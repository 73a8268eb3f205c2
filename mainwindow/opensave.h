#pragma once

#include <QObject>
#include <QString>
#include <array>

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
    // menu: the File menu, with the recent-file slots a1, b1 and c1 before the separator N9.
    OpenSave(const WindowTexts &texts, Prompter &prompter, WorkingFile &file, WorkingImage &image,
             ChannelGrid &grid, QMenu *menu, QObject *parent);

    // The open dialog starting in that folder (empty: the dialog's own).
    void openFrom(const QString &dir);
    // The image at path, as if chosen in the dialog (the program's file argument).
    void openFile(const QString &path);
    void save();
    // Where the next save dialog starts: the last saved file's folder.
    const QString &saveFolder() const { return m_saveFolder; }

private:
    void openChosen(const QString &chosen);
    // The slots that name a file stand in the menu; the others are out of it, since a
    // screen reader lists a menu's hidden items too.
    void showRecentSlots();

    const WindowTexts &m_texts;
    Prompter &m_prompter;
    WorkingFile &m_file;
    WorkingImage &m_image;
    ChannelGrid &m_grid;
    QMenu *m_menu;
    std::array<QAction *, 3> m_recent; // a1, b1, c1
    QAction *m_recentEnd;
    QString m_saveFolder;
};

} // namespace qx
