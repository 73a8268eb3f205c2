#include "gridview.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>

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

CellDelegate::CellDelegate(GridView *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

QString CellDelegate::displayText(const QVariant &value, const QLocale &locale) const {
    // Row labels hold two line feeds before the number; a cell shows one line.
    QString text = QStyledItemDelegate::displayText(value, locale);
    text.remove(QLatin1Char('\n'));
    text.remove(QChar::LineSeparator);
    return text;
}

QWidget *CellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const {
    if (!m_grid->isTextColumn || !m_grid->isTextColumn(index.column()) || isFixed(index))
        return nullptr;
    auto *edit =
        qobject_cast<QLineEdit *>(QStyledItemDelegate::createEditor(parent, option, index));
    if (!edit)
        return nullptr;
    const QPersistentModelIndex cell(index);
    GridView *grid = m_grid;
    connect(edit, &QLineEdit::textEdited, edit, [grid, cell](const QString &text) {
        if (cell.isValid() && grid->editedHook)
            grid->editedHook(cell.row(), cell.column(), text);
    });
    return edit;
}

void CellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    // Only a change from outside (a reload) reaches the editor; the user's own typing
    // is already in the cell and must not move the caret.
    auto *edit = qobject_cast<QLineEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (edit && edit->text() != text)
        edit->setText(text);
}

bool CellDelegate::eventFilter(QObject *object, QEvent *event) {
    if (event->type() == QEvent::KeyPress && m_grid->keyHook &&
        m_grid->keyHook(static_cast<QKeyEvent *>(event), true))
        return true;
    if (event->type() == QEvent::FocusOut) {
        // The window losing activation (a message box, another window, the window manager
        // passing focus around) does not end the typing: the editor stays open with its
        // text and has the keyboard again when the window is active again. Qt would close
        // it and strand the typed text in the cell, unchecked and unstored.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace qx
