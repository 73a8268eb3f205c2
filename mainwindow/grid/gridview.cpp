#include "gridview.h"

#include "gridaccessible.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <utility>

namespace qx {

namespace {

bool isFixed(const QModelIndex &index) {
    return index.row() == 0 || index.column() == 0;
}

} // namespace

// Every route that moves the current cell (mouse, keys, drag) passes through here,
// so the cell being left is checked exactly once, before the move.
class GridSelectionModel : public QItemSelectionModel {
public:
    GridSelectionModel(QAbstractItemModel *model, GridView *grid)
        : QItemSelectionModel(model, grid), m_grid(grid) {}

    void setCurrentIndex(const QModelIndex &index,
                         QItemSelectionModel::SelectionFlags command) override {
        if (index.isValid() && isFixed(index))
            return;
        const QModelIndex from = currentIndex();
        if (!m_grid->m_quiet && from.isValid() && index != from && m_grid->mayLeaveCell &&
            !m_grid->mayLeaveCell())
            return;
        QItemSelectionModel::setCurrentIndex(index, command);
    }

private:
    GridView *m_grid;
};

GridView::GridView(int rows, int columns, QWidget *parent) : QTableWidget(rows, columns, parent) {
    GridAccessible::install();
    setSelectionModel(new GridSelectionModel(model(), this));
    setTabKeyNavigation(false);
    // No SelectedClicked: Qt delays that editor by the double-click interval and drops
    // every key typed meanwhile. A click only moves the current cell, so the arrow keys
    // and the Edit menu's keys keep working on cells; the first digit typed opens the editor.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::DoubleClicked);
}

void GridView::moveCurrentQuietly(int row, int column) {
    m_quiet = true;
    setCurrentCell(row, column);
    m_quiet = false;
}

QWidget *GridView::openEditor() const {
    for (QLineEdit *edit :
         viewport()->findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly))
        if (edit->isVisible())
            return edit;
    return nullptr;
}

void GridView::openCellEditor(QKeyEvent *key) {
    if (editorOpen() || !isTextColumn || !isTextColumn(currentColumn()))
        return;
    if (key)
        edit(currentIndex(), QAbstractItemView::AnyKeyPressed, key);
    else
        edit(currentIndex());
}

void GridView::closeCellEditor() {
    if (QWidget *editor = openEditor())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

QList<int> GridView::wholeSelectedRows() const {
    QList<int> rows;
    for (int r = 1; r < rowCount(); ++r) {
        bool whole = true;
        for (int c = 1; c < columnCount() && whole; ++c)
            whole = selectionModel()->isSelected(model()->index(r, c));
        if (whole)
            rows << r;
    }
    return rows;
}

void GridView::focusInEvent(QFocusEvent *event) {
    QTableWidget::focusInEvent(event);
    // An editor left open while the keyboard was elsewhere takes it back, with its text.
    if (QWidget *editor = openEditor())
        editor->setFocus(event->reason());
}

void GridView::keyPressEvent(QKeyEvent *event) {
    if (keyHook && keyHook(event, false)) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
    keepSelectionOnCurrent();
}

void GridView::mousePressEvent(QMouseEvent *event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    m_dragFrom = QModelIndex();
    m_ownPress = true;
    event->accept();
    if (!index.isValid() || index.row() == 0)
        return; // the header row and the empty area never take the current cell
    const bool left = event->button() == Qt::LeftButton;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    m_dragRows = index.column() == 0;
    if (left && extend) {
        // From the current cell, which stays where it is.
        m_dragFrom = currentIndex();
        selectRange(m_dragFrom, index, m_dragRows);
        return;
    }
    if (m_dragRows) {
        // A row's number selects its channel; the current cell moves into the row.
        if (!left)
            return;
        selectionModel()->setCurrentIndex(model()->index(index.row(), 1),
                                          QItemSelectionModel::NoUpdate);
        if (currentIndex().row() == index.row()) {
            m_dragFrom = currentIndex();
            selectRange(m_dragFrom, m_dragFrom, true);
        }
        return;
    }
    m_ownPress = false;
    QTableWidget::mousePressEvent(event);
    keepSelectionOnCurrent();
    if (left && currentIndex() == index)
        m_dragFrom = index;
}

void GridView::mouseMoveEvent(QMouseEvent *event) {
    // A drag selects the cells between where it began and the pointer; Qt's own drag
    // would walk the current cell over every cell it crosses, committing each one.
    if (event->buttons() == Qt::NoButton) {
        QTableWidget::mouseMoveEvent(event);
        return;
    }
    event->accept();
    if ((event->buttons() & Qt::LeftButton) && m_dragFrom.isValid())
        selectRange(m_dragFrom, selectableAt(event->position().toPoint()), m_dragRows);
}

void GridView::mouseReleaseEvent(QMouseEvent *event) {
    m_dragFrom = QModelIndex();
    if (std::exchange(m_ownPress, false)) {
        event->accept();
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
    keepSelectionOnCurrent();
}

QModelIndex GridView::selectableAt(QPoint point) const {
    const QRect area = viewport()->rect();
    const int row = rowAt(qBound(area.top(), point.y(), area.bottom()));
    const int column = columnAt(qBound(area.left(), point.x(), area.right()));
    return model()->index(qMax(1, row < 0 ? rowCount() - 1 : row),
                          qMax(1, column < 0 ? columnCount() - 1 : column));
}

void GridView::selectRange(const QModelIndex &from, const QModelIndex &to, bool byRows) {
    if (!from.isValid() || !to.isValid())
        return;
    const int left = byRows ? 1 : qMax(1, qMin(from.column(), to.column()));
    const int right = byRows ? columnCount() - 1 : qMax(from.column(), to.column());
    const QItemSelection range(model()->index(qMin(from.row(), to.row()), left),
                               model()->index(qMax(from.row(), to.row()), right));
    selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex target = QTableWidget::moveCursor(action, modifiers);
    if (!target.isValid())
        return target;
    return model()->index(qMax(1, target.row()), qMax(1, target.column()));
}

// A refused move leaves the selection where the click or key put it; pull it back
// to the current cell so what is highlighted is what is current.
void GridView::keepSelectionOnCurrent() {
    const QModelIndex current = currentIndex();
    if (current.isValid() && !selectionModel()->isSelected(current))
        selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
}

} // namespace qx
