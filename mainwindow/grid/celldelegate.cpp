#include "celldelegate.h"

#include "gridview.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace qx {

namespace {

bool isFixed(const QModelIndex &index) {
    return index.row() == 0 || index.column() == 0;
}

} // namespace

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
    // Named by its column's title, as the cell it edits is heard.
    edit->setAccessibleName(index.model()->index(0, index.column()).data().toString().simplified());
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
    // The keyboard going elsewhere (a message box, another window or control, Tab, the
    // window manager passing focus around) does not end the typing: the editor stays open
    // with its text and has the keyboard again when the grid has it. Qt would close it and
    // leave the typed text in the cell, shown but neither checked nor stored.
    if (event->type() == QEvent::FocusOut)
        return false;
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace qx
