#include "mainwindow.h"

#include "frequency.h"
#include "gridview.h"
#include "prompter.h"
#include "widgets.h"

#include <QEvent>
#include <QKeyEvent>

namespace qx {

namespace {

bool isFrequencyColumn(int column) {
    return column == 1 || column == 3;
}

int cellKey(int row, int column) {
    return row * 8 + column;
}

bool isEnter(const QKeyEvent *event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

GridView *MainWindow::grid() const {
    return static_cast<GridView *>(StringGrid);
}

void MainWindow::wireEditors() {
    GridView *view = grid();
    // Takes over from the plain display delegate: only the frequency columns get an editor.
    view->setItemDelegate(new CellDelegate(view));
    view->isTextColumn = isFrequencyColumn;
    view->mayLeaveCell = [this] { return StringGridSelectCell(); };
    view->keyHook = [this](QKeyEvent *event, bool inEditor) {
        return StringGridKeyDown(event, inEditor) || StringGridKeyPress(event);
    };
    view->editedHook = [this](int row, int column, const QString &text) {
        setCell(column, row, text);
        m_typed.insert(cellKey(row, column), text);
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
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainWindow::StringGridClick);

    connect(RX_BOX, &DropDown::closedUp, this, &MainWindow::RX_BOXCloseUp);
    connect(TX_BOX, &DropDown::closedUp, this, &MainWindow::TX_BOXCloseUp);
    connect(box1, &DropDown::closedUp, this, &MainWindow::box1CloseUp);
    connect(box2, &DropDown::closedUp, this, &MainWindow::box2CloseUp);
    for (DropDown *box : {RX_BOX, TX_BOX, box1, box2})
        box->installEventFilter(this);

    wireSettingsPanel();
    wireModelBand();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    timeFieldClicked(watched, event);
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
        // RX_BOXKeyDown, TX_BOXKeyDown, box1KeyDown, box2KeyDown: Enter commits like a
        // closing list, then the keyboard goes back to the grid.
        for (int column : {2, 4, 5, 6}) {
            DropDown *box = boxForColumn(column);
            if (watched == box) {
                commitBox(box, column);
                StringGrid->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

DropDown *MainWindow::boxForColumn(int column) const {
    switch (column) {
    case 2:
        return RX_BOX;
    case 4:
        return TX_BOX;
    case 5:
        return box1;
    case 6:
        return box2;
    default:
        return nullptr;
    }
}

QString MainWindow::CheckFrequency(const QString &text) {
    const CheckedFrequency checked = checkFrequencyText(text);
    if (checked.verdict == CheckedFrequency::Verdict::OutOfRange)
        m_prompter.message(m_texts.outOfRange);
    return checked.text;
}

void MainWindow::checkCell(int row, int column) {
    setCell(column, row, CheckFrequency(cell(column, row)));
    m_typed.remove(cellKey(row, column));
}

bool MainWindow::StringGridSelectCell() {
    const int row = StringGrid->currentRow();
    const int column = StringGrid->currentColumn();
    if (row < 1 || !isFrequencyColumn(column))
        return true;
    bool left = false;
    guarded([&] {
        checkCell(row, column);
        completeGridRow();
        left = true;
    });
    return left;
}

bool MainWindow::StringGridKeyDown(QKeyEvent *event, bool inEditor) {
    const int row = StringGrid->currentRow();
    const int column = StringGrid->currentColumn();
    if (isEnter(event)) {
        if (isFrequencyColumn(column)) {
            bool stored = false;
            guarded([&] {
                checkCell(row, column);
                completeGridRow();
                stored = true;
            });
            // A failed check leaves the editor as it is, like any failed handler.
            if (stored) {
                if (grid()->editorOpen())
                    grid()->closeCellEditor();
                else
                    grid()->openCellEditor();
            }
        } else if (DropDown *box = boxForColumn(column)) {
            if (!cell(1, row).isEmpty()) {
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
            // Leaves the grid without committing; the typed text stays in the cell.
            grid()->closeCellEditor();
            grid()->focusNextControl(event->key() == Qt::Key_Tab);
            return true;
        }
        return false;
    case Qt::Key_Backspace:
        // Opens the editor on the whole text, which the Backspace then clears.
        if (!inEditor && isFrequencyColumn(column) && !grid()->editorOpen()) {
            grid()->openCellEditor(event);
            return true;
        }
        return false;
    case Qt::Key_Delete:
        // Without an open editor Delete changes nothing; the editor exists only in the
        // frequency columns.
        return !grid()->editorOpen();
    default:
        return false;
    }
}

bool MainWindow::StringGridKeyPress(QKeyEvent *event) {
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

void MainWindow::StringGridClick() {
    const int row = StringGrid->currentRow();
    const int column = StringGrid->currentColumn();
    if (row < 1 || column < 1)
        return;
    if (cell(1, row).isEmpty()) {
        // A channel is always started with its receive frequency.
        if (column != 1)
            grid()->moveCurrentQuietly(row, 1);
        for (int c : {2, 4, 5, 6})
            boxForColumn(c)->hide();
        placeBoxes();
        return;
    }
    for (int c : {2, 4, 5, 6}) {
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

void MainWindow::placeBoxes() {
    const QTableWidgetItem *current = StringGrid->currentItem();
    if (!current)
        return;
    const QRect rect = StringGrid->visualItemRect(current);
    const QPoint topLeft = StringGrid->viewport()->mapTo(show_Box, rect.topLeft());
    for (int c : {2, 4, 5, 6})
        boxForColumn(c)->move(topLeft);
}

void MainWindow::completeGridRow() {
    const int row = StringGrid->currentRow();
    if (row < 1)
        return;
    if (cell(1, row).isEmpty()) {
        for (int c = 2; c <= 6; ++c)
            setCell(c, row, QString());
    } else {
        for (int c : {2, 4})
            if (cell(c, row).isEmpty())
                setCell(c, row, QStringLiteral("OFF"));
        for (int c : {5, 6})
            if (cell(c, row).isEmpty())
                setCell(c, row, m_texts.flags.no);
    }
    encodeGridRow(row);
}

void MainWindow::encodeGridRow(int row) {
    const auto orOff = [](const QString &t) { return t.isEmpty() ? QStringLiteral("OFF") : t; };
    const auto orNo = [this](const QString &t) { return t.isEmpty() ? m_texts.flags.no : t; };
    EncodeChannel(m_file, row, cell(1, row), cell(3, row), orOff(cell(2, row)), orOff(cell(4, row)),
                  orNo(cell(5, row)), orNo(cell(6, row)));
    ReadAndDeal_F(QStringLiteral("r_and_w.dat"));
    m_typed.clear(); // the reload replaced every cell with what is stored
}

void MainWindow::CompleteGridRow() {
    guarded([this] { completeGridRow(); });
}

void MainWindow::EncodeGridRow(int row) {
    guarded([this, row] { encodeGridRow(row); });
}

void MainWindow::commitBox(DropDown *box, int column) {
    guarded([&] {
        const int row = StringGrid->currentRow();
        if (row < 1)
            return;
        // A frequency still being typed in this row is checked first, so the encoder
        // only ever sees a checked frequency or an empty cell.
        for (int c : {1, 3}) {
            const auto typed = m_typed.constFind(cellKey(row, c));
            if (typed != m_typed.cend() && *typed == cell(c, row))
                checkCell(row, c);
        }
        setCell(column, row, box->currentText());
        const bool hadFocus = box->hasFocus();
        box->hide();
        if (hadFocus)
            StringGrid->setFocus(Qt::OtherFocusReason);
        encodeGridRow(row);
    });
}

void MainWindow::RX_BOXCloseUp() {
    commitBox(RX_BOX, 2);
}
void MainWindow::TX_BOXCloseUp() {
    commitBox(TX_BOX, 4);
}
void MainWindow::box1CloseUp() {
    commitBox(box1, 5);
}
void MainWindow::box2CloseUp() {
    commitBox(box2, 6);
}

} // namespace qx
