#include "mainwindow.h"

#include "channelgrid.h"
#include "editcommands.h"
#include "edithistory.h"
#include "filecopy.h"
#include "settingspanel.h"

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
    m_editCommands->addMenus(menuBar(), N1, menuBar()->findChild<QMenu *>(QStringLiteral("N2")));
}

} // namespace qx
