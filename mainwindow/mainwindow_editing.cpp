#include "mainwindow.h"

#include "channelgrid.h"
#include "channeltools.h"
#include "editcommands.h"
#include "edithistory.h"
#include "filecommands.h"
#include "filecopy.h"
#include "settingspanel.h"
#include "transferswitches.h"

#include <QDir>
#include <QMenuBar>

namespace qx {

void MainWindow::buildEditing() {
    m_history = new EditHistory(EditHistory::Access{[this] { return m_file.readAll(); },
                                                    [this](const QByteArray &bytes) {
                                                        saveFileAtomically(m_file.path(), bytes);
                                                    },
                                                    [this] { showWorkingFile(); }},
                                this);
    m_history->setObjectName(QStringLiteral("EditHistory"));
    m_editCommands = new EditCommands(*this, *this, *m_history, m_file);
    QMenu *program = menuBar()->findChild<QMenu *>(QStringLiteral("N2"));
    m_editCommands->addMenus(menuBar(), N1, program);
    (new FileCommands(*this, *this, m_file))->addMenus(N1);
    auto *tools = new ChannelTools(*this, *this, m_file);
    tools->addMenu(menuBar()->findChild<QMenu *>(QStringLiteral("EditMenu")));
    m_switches = new TransferSwitches(program, m_texts, m_prompter,
                                      QDir(m_folder).filePath(QStringLiteral("pt.ini")));
}

} // namespace qx
