#pragma once

#include "channelcodec.h"

#include <QObject>

class QMenu;

namespace qx {

class FileEdits;
class CommandHost;
class WorkingFile;

// The File menu's commands that read or write other files than images: comparing the
// working file with an image file, and the channel list as CSV, ours and CHIRP's. An
// import shows what it would change and changes nothing until the user confirms; it is
// then one undo step.
class FileCommands : public QObject {
    Q_OBJECT
public:
    FileCommands(CommandHost &host, QObject *parent);

    // Before the print separator: Compare With File, a separator, the CSV items.
    void addMenus(QMenu *file);

public slots:
    void compareWithFile();
    void importCsv();
    void exportCsv();
    void exportChirpCsv();

private:
    void exportAs(QString (*format)(const ChannelTable &));

    CommandHost &m_host;
    FileEdits &m_edits;
    WorkingFile &m_file;
};

} // namespace qx
