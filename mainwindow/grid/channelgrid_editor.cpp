#include "channelgrid.h"

#include "celldelegate.h"
#include "dropdown.h"
#include "fileedits.h"
#include "frequency.h"
#include "gridview.h"
#include "prompter.h"

#include <QEvent>
#include <QKeyEvent>
#include <array>
#include <utility>

namespace qx {

namespace {

bool isFrequencyColumn(int column) {
    return column == ChannelGrid::RxFrequency || column == ChannelGrid::TxFrequency;
}

// The columns that take their value from a drop-down.
constexpr std::array<int, 4> kBoxColumns{ChannelGrid::RxTone, ChannelGrid::TxTone,
                                         ChannelGrid::Busy, ChannelGrid::Scan};

bool isEnter(const QKeyEvent *event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

void ChannelGrid::wireEditors() {
    // Takes over from the plain display delegate: only the frequency columns get an editor.
    StringGrid->setItemDelegate(new CellDelegate(StringGrid));
    StringGrid->isTextColumn = isFrequencyColumn;
    StringGrid->mayLeaveCell = [this] { return StringGridSelectCell(); };
    StringGrid->keyHook = [this](QKeyEvent *event, bool inEditor) {
        return StringGridKeyDown(event, inEditor) || StringGridKeyPress(event);
    };
    StringGrid->editedHook = [this](int row, int column, const QString &text) {
        setCell(column, row, text);
        m_typed.insert(typedKey(row, column), text);
    };
    // A list lying over the current cell shows what the cell holds after a reload or a
    // band rewrite; closing it without a pick would otherwise store the old value again.
    connect(StringGrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        DropDown *box = boxForColumn(item->column());
        if (box && box->isVisible() && item->row() == StringGrid->currentRow() &&
            item->column() == StringGrid->currentColumn())
            box->setCurrentIndex(box->findText(item->text(), Qt::MatchExactly));
    });
    // After the view's own reaction, which closes the in-place editor.
    connect(StringGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &ChannelGrid::StringGridClick);

    connect(RX_BOX, &DropDown::closedUp, this, &ChannelGrid::RX_BOXCloseUp);
    connect(TX_BOX, &DropDown::closedUp, this, &ChannelGrid::TX_BOXCloseUp);
    connect(box1, &DropDown::closedUp, this, &ChannelGrid::box1CloseUp);
    connect(box2, &DropDown::closedUp, this, &ChannelGrid::box2CloseUp);
    for (DropDown *box : {RX_BOX, TX_BOX, box1, box2}) {
        box->installEventFilter(this);
        connect(box, &DropDown::poppedUp, this, [this] { m_listRow = StringGrid->currentRow(); });
    }
}

bool ChannelGrid::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
        // RX_BOXKeyDown, TX_BOXKeyDown, box1KeyDown, box2KeyDown: Enter commits like a
        // closing list, then the keyboard goes back to the grid.
        for (int column : kBoxColumns) {
            DropDown *box = boxForColumn(column);
            if (watched == box) {
                commitBox(box, column);
                StringGrid->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

DropDown *ChannelGrid::boxForColumn(int column) const {
    switch (column) {
    case RxTone:
        return RX_BOX;
    case TxTone:
        return TX_BOX;
    case Busy:
        return box1;
    case Scan:
        return box2;
    default:
        return nullptr;
    }
}

QString ChannelGrid::CheckFrequency(const QString &text) {
    const CheckedFrequency checked = checkFrequencyText(text);
    if (checked.verdict == CheckedFrequency::Verdict::OutOfRange)
        m_prompter.message(m_texts.outOfRange);
    return checked.text;
}

void ChannelGrid::checkCell(int row, int column) {
    setCell(column, row, CheckFrequency(cell(column, row)));
    m_typed.remove(typedKey(row, column));
}

bool ChannelGrid::StringGridSelectCell() {
    const int row = StringGrid->currentRow();
    const int column = StringGrid->currentColumn();
    if (row < 1 || !isFrequencyColumn(column))
        return true;
    bool left = false;
    guard(m_prompter, [&] {
        checkCell(row, column);
        completeGridRow();
        left = true;
    });
    return left;
}

bool ChannelGrid::commitTypedText() {
    if (!holdsTypedText(StringGrid->currentColumn(), StringGrid->currentRow()))
        return true;
    if (!StringGridSelectCell())
        return false;
    StringGrid->closeCellEditor();
    return true;
}

bool ChannelGrid::StringGridKeyDown(QKeyEvent *event, bool inEditor) {
    const int row = StringGrid->currentRow();
    const int column = StringGrid->currentColumn();
    if (isEnter(event)) {
        if (isFrequencyColumn(column)) {
            bool stored = false;
            guard(m_prompter, [&] {
                checkCell(row, column);
                completeGridRow();
                stored = true;
            });
            // A failed check leaves the editor as it is, like any failed handler.
            if (stored) {
                if (StringGrid->editorOpen())
                    StringGrid->closeCellEditor();
                else
                    StringGrid->openCellEditor();
            }
        } else if (DropDown *box = boxForColumn(column)) {
            if (!cell(RxFrequency, row).isEmpty()) {
                // After a commit the box is hidden while its cell stays current.
                if (!box->isVisible()) {
                    box->setCurrentIndex(box->findText(cell(column, row), Qt::MatchExactly));
                    box->show();
                    box->raise();
                }
                placeBoxes();
                box->setFocus(Qt::OtherFocusReason);
            }
        }
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        return true; // there is no cancel: typed text stays in the cell
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (inEditor) {
            // Leaves the grid without committing; the editor keeps the typed text.
            StringGrid->focusNextControl(event->key() == Qt::Key_Tab);
            return true;
        }
        return false;
    case Qt::Key_Backspace:
        // Opens the editor on the whole text, which the Backspace then clears.
        if (!inEditor && isFrequencyColumn(column) && !StringGrid->editorOpen()) {
            StringGrid->openCellEditor(event);
            return true;
        }
        return false;
    case Qt::Key_Delete:
        // Without an open editor Delete changes nothing; the editor exists only in the
        // frequency columns.
        return !StringGrid->editorOpen();
    default:
        return false;
    }
}

bool ChannelGrid::StringGridKeyPress(QKeyEvent *event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false; // shortcuts such as paste; a paste is checked when the cell is left
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const QChar c = text.at(0);
    if (!c.isPrint() && c != QLatin1Char('\b'))
        return false;
    const bool passes = isFrequencyColumn(StringGrid->currentColumn()) &&
                        (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('\b')) &&
                        c.unicode() < 128;
    return !passes;
}

void ChannelGrid::StringGridClick() {
    const int row = StringGrid->currentRow();
    const int column = StringGrid->currentColumn();
    if (row < 1 || column < RxFrequency)
        return;
    if (cell(RxFrequency, row).isEmpty()) {
        // A channel is always started with its receive frequency.
        if (column != RxFrequency)
            StringGrid->moveCurrentQuietly(row, RxFrequency);
        for (int c : kBoxColumns)
            boxForColumn(c)->hide();
        placeBoxes();
        return;
    }
    for (int c : kBoxColumns) {
        DropDown *box = boxForColumn(c);
        if (c == column) {
            box->setCurrentIndex(box->findText(cell(c, row), Qt::MatchExactly));
            box->show();
            box->raise();
        } else {
            box->hide();
        }
    }
    placeBoxes();
}

void ChannelGrid::placeBoxes() {
    const QTableWidgetItem *current = StringGrid->currentItem();
    if (!current)
        return;
    const QRect rect = StringGrid->visualItemRect(current);
    const QPoint topLeft = StringGrid->viewport()->mapTo(this, rect.topLeft());
    for (int c : kBoxColumns)
        boxForColumn(c)->move(topLeft);
}

void ChannelGrid::completeGridRow() {
    const int row = StringGrid->currentRow();
    if (row < 1)
        return;
    if (cell(RxFrequency, row).isEmpty())
        showChannel(row, ChannelCells{});
    else
        showChannel(row, completedChannel(channelAt(row), m_texts.flags));
    encodeGridRow(row);
}

void ChannelGrid::encodeGridRow(int row) {
    m_edits.commitChannel(row, channelAt(row));
    m_typed.clear(); // the reload replaced every cell with what is stored
}

void ChannelGrid::CompleteGridRow() {
    guard(m_prompter, [this] { completeGridRow(); });
}

void ChannelGrid::EncodeGridRow(int row) {
    guard(m_prompter, [this, row] { encodeGridRow(row); });
}

void ChannelGrid::commitBox(DropDown *box, int column) {
    // A list commits into the row it was opened over: the click that closed it may have
    // moved the current cell, and the box with it, before its close is told.
    const int listRow = std::exchange(m_listRow, -1);
    guard(m_prompter, [&] {
        const int row = listRow >= 1 ? listRow : StringGrid->currentRow();
        if (row < 1)
            return;
        // A frequency still being typed in this row is checked first, so the encoder
        // only ever sees a checked frequency or an empty cell.
        for (int c : {RxFrequency, TxFrequency})
            if (holdsTypedText(c, row))
                checkCell(row, c);
        setCell(column, row, box->closedText());
        if (row == StringGrid->currentRow()) {
            const bool hadFocus = box->hasFocus();
            box->hide();
            if (hadFocus)
                StringGrid->setFocus(Qt::OtherFocusReason);
        }
        encodeGridRow(row);
    });
}

void ChannelGrid::RX_BOXCloseUp() {
    commitBox(RX_BOX, RxTone);
}
void ChannelGrid::TX_BOXCloseUp() {
    commitBox(TX_BOX, TxTone);
}
void ChannelGrid::box1CloseUp() {
    commitBox(box1, Busy);
}
void ChannelGrid::box2CloseUp() {
    commitBox(box2, Scan);
}

} // namespace qx
