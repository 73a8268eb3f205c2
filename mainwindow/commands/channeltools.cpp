#include "channeltools.h"

#include "channelgrid.h"
#include "commandhost.h"
#include "fileedits.h"
#include "filldialog.h"
#include "frequency.h"
#include "gridview.h"
#include "prompter.h"
#include "setselecteddialog.h"
#include "transferjob.h"
#include "windowtexts.h"
#include "workingfile.h"

#include <QAction>
#include <QMenu>

namespace qx {

ChannelTools::ChannelTools(CommandHost &host, QObject *parent)
    : QObject(parent), m_host(host), m_edits(host.edits()), m_file(host.workingFile()) {
    setObjectName(QStringLiteral("ChannelTools"));
}

QAction *ChannelTools::item(QMenu *menu, const char *name, const QString &text,
                            void (ChannelTools::*slot)()) {
    auto *action = new QAction(text, menu);
    action->setObjectName(QLatin1String(name));
    menu->addAction(action);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void ChannelTools::addMenu(QMenu *edit) {
    const ChannelToolTexts &t = m_host.texts().tools;
    edit->addSeparator();
    QMenu *menu = edit->addMenu(t.menu);
    menu->setObjectName(QStringLiteral("ChannelsMenu"));
    menu->menuAction()->setObjectName(QStringLiteral("ChannelsMenu"));
    m_moveUp = item(menu, "ChannelMoveUp", t.moveUp, &ChannelTools::moveUp);
    m_moveUp->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up));
    m_moveDown = item(menu, "ChannelMoveDown", t.moveDown, &ChannelTools::moveDown);
    m_moveDown->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down));
    // Wherever the grid or one of its drop-downs has the keyboard; elsewhere (a settings
    // list, the power field) the arrows keep their meaning.
    ChannelGrid &grid = m_host.channelGrid();
    for (QAction *a : {m_moveUp, m_moveDown}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        grid.addAction(a);
    }
    m_insert = item(menu, "ChannelInsert", t.insertEmpty, &ChannelTools::insertEmpty);
    m_delete = item(menu, "ChannelDelete", t.deleteAndMoveUp, &ChannelTools::deleteAndMoveUp);
    m_sort = item(menu, "ChannelSort", t.sort, &ChannelTools::sortByReceive);
    menu->addSeparator();
    m_fill = item(menu, "ChannelFill", t.fill, &ChannelTools::fillFrequencies);
    m_set = item(menu, "ChannelSetSelected", t.setSelected, &ChannelTools::setForSelected);

    GridView *view = grid.view();
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ChannelTools::updateActions);
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ChannelTools::updateActions);
    connect(view, &QTableWidget::itemChanged, this, &ChannelTools::updateActions);
    connect(&m_host.job(), &TransferJob::busyChanged, this, &ChannelTools::updateActions);
    connect(menu, &QMenu::aboutToShow, this, &ChannelTools::updateActions);
    updateActions();
}

void ChannelTools::updateActions() {
    if (!m_moveUp)
        return;
    // As Paste and Clear Channel do, they wait for a transfer to end.
    const bool idle = !m_host.job().busy();
    const ChannelGrid &grid = m_host.channelGrid();
    const QList<int> run = grid.selectedChannels();
    bool anyInUse = false;
    for (int channel : run)
        anyInUse = anyInUse || !grid.cell(ChannelGrid::RxFrequency, channel).isEmpty();
    const bool some = idle && !run.isEmpty();
    m_moveUp->setEnabled(some && run.first() > 1);
    m_moveDown->setEnabled(some && run.last() < kChannelCount);
    m_insert->setEnabled(idle && grid.currentChannel() > 0);
    m_delete->setEnabled(some);
    m_sort->setEnabled(idle);
    m_fill->setEnabled(some);
    m_set->setEnabled(some && anyInUse);
}

void ChannelTools::run(const std::function<void()> &tool) {
    guard(m_host.prompter(), [&] {
        if (m_host.job().busy() || !m_host.channelGrid().commitTypedText())
            return;
        m_host.channelGrid().view()->closeCellEditor();
        tool();
    });
    updateActions();
}

QString ChannelTools::heading(const QList<int> &channels) const {
    const ChannelToolTexts &t = m_host.texts().tools;
    if (channels.size() == 1)
        return t.oneChannel.arg(channels.first());
    return t.channels.arg(channels.first()).arg(channels.last());
}

void ChannelTools::reload() {
    m_host.reloadWorkingFile();
    updateActions();
}

void ChannelTools::reorder(const ChannelOrder &order) {
    const QByteArray image = m_file.readAll();
    const QByteArray placed = reorderedChannels(image, order);
    {
        const FileEdits::Step step(m_edits);
        for (int channel = 1; channel <= kChannelCount; ++channel) {
            if (order[std::size_t(channel - 1)] == channel)
                continue;
            for (int record : {2 * (channel - 1), 2 * (channel - 1) + 1}) {
                const QByteArray frame = recordBytes(placed, record);
                if (recordBytes(image, record) != frame)
                    m_edits.storeRecord(record, MemoryFrame::fromBytes(frame));
            }
        }
    }
    reload();
}

void ChannelTools::move(int by) {
    run([this, by] {
        GridView *view = m_host.channelGrid().view();
        const QList<int> channels = m_host.channelGrid().selectedChannels();
        if (channels.isEmpty() || channels.first() + by < 1 || channels.last() + by > kChannelCount)
            return;
        const ChannelOrder order = movedRun(channels.first(), channels.last(), by);
        const QItemSelection selected = view->selectionModel()->selection();
        const int row = view->currentRow();
        reorder(order);
        // The current cell and the selection go with the channels, so the keys can move
        // them on.
        if (const int place = newPlace(order, row))
            view->moveCurrentQuietly(place, view->currentColumn());
        QItemSelection moved;
        for (const QItemSelectionRange &range : selected)
            moved.select(view->model()->index(range.top() + by, range.left()),
                         view->model()->index(range.bottom() + by, range.right()));
        view->selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect);
    });
}

void ChannelTools::moveUp() {
    move(-1);
}

void ChannelTools::moveDown() {
    move(1);
}

void ChannelTools::insertEmpty() {
    run([this] {
        const ChannelToolTexts &t = m_host.texts().tools;
        const ChannelGrid &grid = m_host.channelGrid();
        const int at = grid.currentChannel();
        if (at < 1)
            return;
        if (!grid.cell(ChannelGrid::RxFrequency, kChannelCount).isEmpty() &&
            !m_host.prompter().ask(t.insertEmpty, t.insertDropsLast, Prompter::Buttons::YesNo))
            return;
        reorder(insertedEmpty(at));
    });
}

void ChannelTools::deleteAndMoveUp() {
    run([this] {
        const QList<int> channels = m_host.channelGrid().selectedChannels();
        if (!channels.isEmpty())
            reorder(deletedRun(channels.first(), channels.last()));
    });
}

void ChannelTools::sortByReceive() {
    run([this] {
        std::array<QString, kChannelCount> rx;
        for (int channel = 1; channel <= kChannelCount; ++channel)
            rx[std::size_t(channel - 1)] =
                m_host.channelGrid().cell(ChannelGrid::RxFrequency, channel);
        reorder(sortedByFrequency(rx));
    });
}

void ChannelTools::fillFrequencies() {
    run([this] {
        const ChannelGrid &grid = m_host.channelGrid();
        QList<int> channels = grid.selectedChannels();
        if (channels.isEmpty())
            return;
        // A single channel is filled as typing it would be; a run from it to the last
        // channel is what filling is for.
        if (channels.size() == 1)
            for (int channel = channels.first() + 1; channel <= kChannelCount; ++channel)
                channels << channel;
        auto *dialog = new FillDialog(m_host.texts().tools, heading(channels),
                                      grid.cell(ChannelGrid::RxFrequency, channels.first()),
                                      int(channels.size()), m_host.hostWidget());
        connect(dialog, &ToolDialog::applyRequested, this,
                [this, dialog, channels] { run([&] { fill(*dialog, channels); }); });
        dialog->open();
    });
}

void ChannelTools::fill(FillDialog &dialog, const QList<int> &channels) {
    const WindowTexts &t = m_host.texts();
    const QString start = dialog.start().trimmed();
    if (start.isEmpty()) {
        m_host.prompter().message(t.tools.fillNoStart);
        return;
    }
    const CheckedFrequency first = checkFrequencyText(start);
    if (first.verdict != CheckedFrequency::Verdict::InRange) {
        m_host.prompter().message(t.tools.fillOutOfRange);
        return;
    }
    const std::optional<qint64> step = stepUnits(dialog.step());
    if (!step) {
        m_host.prompter().message(t.tools.fillBadStep);
        return;
    }
    const bool transmit = dialog.transmitToo();
    dialog.accept();
    const QStringList frequencies = frequencyRun(first.text, *step, int(channels.size()));
    {
        const FileEdits::Step undoStep(m_edits);
        for (int i = 0; i < frequencies.size(); ++i) {
            ChannelCells cells = m_host.channelGrid().channelAt(channels[i]);
            cells.rx = frequencies[i];
            if (transmit)
                cells.tx = frequencies[i];
            m_edits.storeChannel(channels[i], completedChannel(cells, t.flags));
        }
    }
    reload();
    if (frequencies.size() < channels.size())
        m_host.prompter().message(t.tools.fillStopped.arg(frequencies.size()).arg(channels.size()));
}

void ChannelTools::setForSelected() {
    run([this] {
        const QList<int> channels = m_host.channelGrid().selectedChannels();
        if (channels.isEmpty())
            return;
        auto *dialog =
            new SetSelectedDialog(m_host.texts(), heading(channels), m_host.hostWidget());
        connect(dialog, &ToolDialog::applyRequested, this,
                [this, dialog, channels] { run([&] { set(*dialog, channels); }); });
        dialog->open();
    });
}

void ChannelTools::set(SetSelectedDialog &dialog, const QList<int> &channels) {
    dialog.accept();
    const ChannelGrid &grid = m_host.channelGrid();
    {
        const FileEdits::Step step(m_edits);
        for (int channel : channels) {
            // A tone or a flag needs a receive frequency, as in the grid.
            const ChannelCells cells = grid.channelAt(channel);
            const ChannelCells changed = dialog.appliedTo(cells);
            if (!cells.rx.isEmpty() && !(changed == cells))
                m_edits.storeChannel(channel, changed);
        }
    }
    reload();
}

} // namespace qx
