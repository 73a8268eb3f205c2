#include "editcommands.h"

#include "channelgrid.h"
#include "channelrows.h"
#include "commandhost.h"
#include "edithistory.h"
#include "fileedits.h"
#include "gridview.h"
#include "imagebackups.h"
#include "prompter.h"
#include "transferjob.h"
#include "windowtexts.h"
#include "workingfile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace qx {

EditCommands::EditCommands(CommandHost &host, EditHistory &history, QObject *parent)
    : QObject(parent), m_host(host), m_edits(host.edits()), m_history(history),
      m_file(host.workingFile()) {}

QAction *EditCommands::item(QMenu *menu, const char *name, const QString &text,
                            void (EditCommands::*slot)()) {
    auto *action = new QAction(text, menu);
    action->setObjectName(QLatin1String(name));
    menu->addAction(action);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void EditCommands::addMenus(QMenuBar *bar, QMenu *file, QMenu *program) {
    const WindowTexts &t = m_host.texts();
    QMenu *edit = new QMenu(t.menuEdit, bar);
    edit->setObjectName(QStringLiteral("EditMenu"));
    edit->menuAction()->setObjectName(QStringLiteral("EditMenu"));
    bar->insertMenu(program->menuAction(), edit);
    m_undo = item(edit, "EditUndo", t.menuUndo, &EditCommands::undo);
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = item(edit, "EditRedo", t.menuRedo, &EditCommands::redo);
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addSeparator();
    m_cut = item(edit, "EditCut", t.menuCut, &EditCommands::cut);
    m_cut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    m_copy = item(edit, "EditCopy", t.menuCopy, &EditCommands::copy);
    m_copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    m_paste = item(edit, "EditPaste", t.menuPaste, &EditCommands::paste);
    m_paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    m_clear = item(edit, "EditClearChannel", t.menuClearChannel, &EditCommands::clearChannels);
    // Only while the grid has the keyboard: elsewhere Delete keeps its meaning, and an open
    // cell editor takes it first.
    m_clear->setShortcut(QKeySequence(Qt::Key_Delete));
    m_clear->setShortcutContext(Qt::WidgetShortcut);
    m_host.channelGrid().view()->addAction(m_clear);
    m_host.channelGrid().view()->installEventFilter(this);
    // Text fields keep their own undo, cut, copy and paste: they take these keys first.
    for (QAction *a : {m_undo, m_redo, m_cut, m_copy, m_paste})
        a->setShortcutContext(Qt::WindowShortcut);
    m_host.hostWidget()->addActions({m_undo, m_redo, m_cut, m_copy, m_paste});

    // File: after Save, before the print separator, so the recent-file slots keep their
    // places counted from the end of the menu.
    QAction *printSeparator = nullptr;
    for (QAction *a : file->actions())
        if (a->objectName() == QLatin1String("N7"))
            printSeparator = a;
    file->insertAction(printSeparator,
                       item(file, "OpenBackup", t.menuOpenBackup, &EditCommands::openBackup));

    GridView *grid = m_host.channelGrid().view();
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &EditCommands::updateActions);
    connect(grid, &QTableWidget::itemChanged, this, &EditCommands::updateActions);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &EditCommands::updateActions);
    connect(&m_history, &EditHistory::changed, this, &EditCommands::updateActions);
    connect(&m_host.job(), &TransferJob::busyChanged, this, &EditCommands::updateActions);
    connect(edit, &QMenu::aboutToShow, this, &EditCommands::updateActions);
    updateActions();
}

void EditCommands::updateActions() {
    if (!m_undo)
        return;
    // A change during a transfer would change the file under it, and a read would then
    // overwrite it.
    const bool idle = !m_host.job().busy();
    m_undo->setEnabled(idle && m_history.canUndo());
    m_redo->setEnabled(idle && m_history.canRedo());
    // Cut and clear would change nothing when every selected channel is empty already.
    bool anyFilled = false;
    const ChannelGrid &grid = m_host.channelGrid();
    const QList<int> channels = selected();
    for (int channel : channels)
        for (int c = ChannelGrid::RxFrequency; c <= ChannelGrid::Scan; ++c)
            anyFilled = anyFilled || !grid.cell(c, channel).isEmpty();
    m_cut->setEnabled(idle && anyFilled);
    m_clear->setEnabled(idle && anyFilled);
    m_copy->setEnabled(!channels.isEmpty());
    m_paste->setEnabled(idle && !QGuiApplication::clipboard()->text().isEmpty());
}

bool EditCommands::eventFilter(QObject *watched, QEvent *event) {
    // Delete clears channels only when their whole rows are selected; on a cell it goes to
    // the grid, which does nothing with it. An open cell editor takes it before this.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete &&
        m_host.channelGrid().view()->wholeSelectedRows().isEmpty()) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QList<int> EditCommands::selected() const {
    return m_host.channelGrid().selectedChannels();
}

void EditCommands::reload() {
    m_host.reloadWorkingFile();
    updateActions();
}

void EditCommands::undo() {
    guard(m_host.prompter(), [this] {
        if (!m_host.job().busy())
            m_history.undo();
    });
    updateActions();
}

void EditCommands::redo() {
    guard(m_host.prompter(), [this] {
        if (!m_host.job().busy())
            m_history.redo();
    });
    updateActions();
}

void EditCommands::copy() {
    guard(m_host.prompter(), [this] {
        const ChannelGrid &grid = m_host.channelGrid();
        QList<QStringList> rows;
        for (int channel : selected()) {
            QStringList row{QString::number(channel)};
            for (int c = ChannelGrid::RxFrequency; c <= ChannelGrid::Scan; ++c)
                row << grid.cell(c, channel);
            rows << row;
        }
        if (!rows.isEmpty())
            QGuiApplication::clipboard()->setText(formatChannelRows(rows));
    });
}

void EditCommands::cut() {
    guard(m_host.prompter(), [this] {
        if (m_host.job().busy())
            return;
        const QList<int> channels = selected();
        copy();
        clear(channels);
    });
}

void EditCommands::clearChannels() {
    guard(m_host.prompter(), [this] { clear(selected()); });
}

void EditCommands::clear(const QList<int> &channels) {
    if (channels.isEmpty() || m_host.job().busy())
        return;
    {
        const FileEdits::Step step(m_edits);
        for (int channel : channels)
            m_edits.storeChannel(channel, ChannelCells{});
    }
    reload();
}

void EditCommands::paste() {
    guard(m_host.prompter(), [this] {
        if (m_host.job().busy())
            return;
        const WindowTexts &t = m_host.texts();
        const ChannelGrid &grid = m_host.channelGrid();
        const int first = grid.currentChannel();
        const int column = grid.view()->currentColumn();
        if (first < 1 || column < ChannelGrid::RxFrequency)
            return;
        const QString text = QGuiApplication::clipboard()->text();
        QList<PastedRow> rows;
        if (const std::optional<QString> value = loneValue(text)) {
            // A lone value goes into the current cell, its channel checked as a pasted row.
            QStringList fields;
            for (int c = ChannelGrid::RxFrequency; c <= ChannelGrid::Scan; ++c)
                fields << grid.cell(c, first);
            fields[column - ChannelGrid::RxFrequency] = *value;
            rows << checkPastedFields(fields, t);
            rows.last().line = 1;
        } else {
            rows = parseChannelRows(text, t);
        }
        QStringList rejected;
        {
            const FileEdits::Step step(m_edits);
            for (int i = 0; i < rows.size(); ++i) {
                const int channel = first + i;
                const QString label = t.rowLabel.arg(rows[i].line).arg(channel);
                if (channel > kChannelCount)
                    rejected << label + t.noSuchChannel;
                else if (!rows[i].cells)
                    rejected << label + rows[i].problem;
                else
                    m_edits.storeChannel(channel, *rows[i].cells);
            }
        }
        reload();
        if (!rejected.isEmpty())
            m_host.prompter().message(t.pasteRejected + QLatin1Char('\n') +
                                      rejected.join(QLatin1Char('\n')));
    });
}

void EditCommands::openBackup() {
    m_host.openFrom(ImageBackups::besideFile(m_file.path()).folder());
}

} // namespace qx
