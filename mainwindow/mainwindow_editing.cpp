#include "mainwindow.h"

#include "channelgrid.h"
#include "editcommands.h"
#include "edithistory.h"
#include "filecopy.h"
#include "settingscodec.h"
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
    m_switches = new TransferSwitches(program, m_texts, m_prompter,
                                      QDir(m_folder).filePath(QStringLiteral("pt.ini")));
}

void MainWindow::showWorkingFile() {
    // A plain load keeps what a short file does not hold; the image that undo restores is
    // shown as it is, so what is missing from it shows as in a new window.
    if (m_file.recordCount() < kRecordCount) {
        m_grid->clearChannelRows();
        Block03C0Values first;
        first.monitorKey = m_texts.initialMonitorKey;
        const int bands = int(bandNames(0).size());
        m_settings->applySettingsRecord(kRecord03C0, FrameText(save03C0(first)));
        m_settings->applySettingsRecord(kRecord03D0, FrameText(save03D0(0, 0, bands)));
        m_settings->applySettingsRecord(kRecord03F0, FrameText(save03F0(Block03F0Values{})));
    }
    ReadAndDeal_F();
}

} // namespace qx
