#include "gridview.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

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
    setSelectionModel(new GridSelectionModel(model(), this));
    setTabKeyNavigation(false);
    // No SelectedClicked: Qt delays that editor by the double-click interval and drops
    // every key typed meanwhile. A click on the current cell opens it at once instead.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::DoubleClicked);
}

void GridView::moveCurrentQuietly(int row, int column) {
    m_quiet = true;
    setCurrentCell(row, column);
    m_quiet = false;
}

QWidget *GridView::openEditor() const {
    if (!editorOpen())
        return nullptr;
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
    if (!index.isValid() || isFixed(index)) {
        // Fixed cells and the empty area never take the current cell.
        event->accept();
        return;
    }
    m_pressOnCurrent = event->button() == Qt::LeftButton && index == currentIndex();
    QTableWidget::mousePressEvent(event);
    keepSelectionOnCurrent();
}

void GridView::mouseMoveEvent(QMouseEvent *event) {
    // Dragging would walk the current cell over every cell it crosses, committing each
    // one (and showing any error box) mid-drag; a drag moves nothing.
    if (event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTableWidget::mouseMoveEvent(event);
}

void GridView::mouseReleaseEvent(QMouseEvent *event) {
    const bool onCurrent = m_pressOnCurrent && event->button() == Qt::LeftButton &&
                           indexAt(event->position().toPoint()) == currentIndex();
    m_pressOnCurrent = false;
    QTableWidget::mouseReleaseEvent(event);
    keepSelectionOnCurrent();
    if (onCurrent)
        openCellEditor();
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
