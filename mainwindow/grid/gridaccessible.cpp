#include "gridaccessible.h"

#include "gridview.h"

#include <QHeaderView>

namespace qx {

namespace {

// The text a cell shows, as one line: the numbers are stored below two line feeds.
QString shownText(const GridView *view, int row, int column) {
    const QTableWidgetItem *item = view->item(row, column);
    return item ? item->text().simplified() : QString();
}

class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCellAccessible(GridView *view, int row, int column)
        : m_view(view), m_row(row), m_column(column) {}

    bool isValid() const override {
        return m_view && m_row < m_view->rowCount() && m_column < m_view->columnCount();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override {
        return QAccessible::queryAccessibleInterface(m_view.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name)
            return QString();
        return shownText(m_view, m_row, m_column);
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect r = m_view->visualRect(m_view->model()->index(m_row, m_column));
        return QRect(m_view->viewport()->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::Role role() const override {
        if (m_row == 0)
            return QAccessible::ColumnHeader;
        return m_column == 0 ? QAccessible::RowHeader : QAccessible::Cell;
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const QRect shown = m_view->viewport()->rect();
        const QRect r = m_view->visualRect(m_view->model()->index(m_row, m_column));
        if (!m_view->isVisible())
            s.invisible = true;
        else if (!shown.intersects(r))
            s.offscreen = true;
        if (role() == QAccessible::Cell) {
            s.focusable = true;
            s.selectable = true;
            s.multiSelectable = true;
            s.selected = isSelected();
            s.focused = m_view->hasFocus() && m_view->currentRow() == m_row &&
                        m_view->currentColumn() == m_column;
            s.editable = true;
        }
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface *>(this)
                   : nullptr;
    }

    // QAccessibleTableCellInterface. Titles and numbers answer too, as the channel or the
    // column they name: a bridge asks every child for its row.
    bool isSelected() const override {
        return isValid() &&
               m_view->selectionModel()->isSelected(m_view->model()->index(m_row, m_column));
    }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    int columnIndex() const override { return qMax(0, m_column - 1); }
    int rowIndex() const override { return qMax(0, m_row - 1); }
    QList<QAccessibleInterface *> columnHeaderCells() const override {
        return headerCell(0, m_column);
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return headerCell(m_row, 0); }
    QAccessibleInterface *table() const override { return parent(); }

private:
    QList<QAccessibleInterface *> headerCell(int row, int column) const {
        if (role() != QAccessible::Cell)
            return {};
        auto *grid = static_cast<GridAccessible *>(parent());
        return {grid->gridCell(row, column)};
    }

    QPointer<GridView> m_view;
    int m_row, m_column;
};

QAccessibleInterface *gridFactory(const QString &key, QObject *object) {
    if (key == QLatin1String("qx::GridView"))
        if (auto *view = qobject_cast<GridView *>(object))
            return new GridAccessible(view);
    return nullptr;
}

} // namespace

GridAccessible::GridAccessible(GridView *view) : QAccessibleWidget(view, QAccessible::Table) {}

GridAccessible::~GridAccessible() {
    for (QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

void GridAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

GridView *GridAccessible::view() const {
    return static_cast<GridView *>(widget());
}

QAccessibleInterface *GridAccessible::gridCell(int row, int column) const {
    const GridView *v = view();
    if (row < 0 || column < 0 || row >= v->rowCount() || column >= v->columnCount())
        return nullptr;
    const int key = row * v->columnCount() + column;
    const auto found = m_cells.constFind(key);
    if (found != m_cells.cend())
        return QAccessible::accessibleInterface(*found);
    auto *cell = new GridCellAccessible(view(), row, column);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int GridAccessible::childCount() const {
    return view()->rowCount() * view()->columnCount();
}

QAccessibleInterface *GridAccessible::child(int index) const {
    const int columns = view()->columnCount();
    if (index < 0 || columns == 0)
        return nullptr;
    return gridCell(index / columns, index % columns);
}

int GridAccessible::indexOfChild(const QAccessibleInterface *child) const {
    auto *cell = const_cast<QAccessibleInterface *>(child)->tableCellInterface();
    if (!cell || child->parent() != this)
        return -1;
    const int columns = view()->columnCount();
    for (auto it = m_cells.cbegin(); it != m_cells.cend(); ++it)
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key() < columns * view()->rowCount() ? it.key() : -1;
    return -1;
}

QAccessibleInterface *GridAccessible::childAt(int x, int y) const {
    const QPoint at = view()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = view()->indexAt(at);
    return index.isValid() ? gridCell(index.row(), index.column()) : nullptr;
}

QAccessibleInterface *GridAccessible::focusChild() const {
    if (QWidget *editor = view()->openEditor(); editor && editor->hasFocus())
        return QAccessible::queryAccessibleInterface(editor);
    const QModelIndex current = view()->currentIndex();
    if (!view()->hasFocus() || !current.isValid())
        return nullptr;
    return gridCell(current.row(), current.column());
}

void *GridAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface *GridAccessible::cellAt(int row, int column) const {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return nullptr;
    return gridCell(row + 1, column + 1);
}

QString GridAccessible::columnDescription(int column) const {
    return shownText(view(), 0, column + 1);
}

QString GridAccessible::rowDescription(int row) const {
    return shownText(view(), row + 1, 0);
}

int GridAccessible::columnCount() const {
    return qMax(0, view()->columnCount() - 1);
}

int GridAccessible::rowCount() const {
    return qMax(0, view()->rowCount() - 1);
}

int GridAccessible::selectedCellCount() const {
    return int(selectedCells().size());
}

QList<QAccessibleInterface *> GridAccessible::selectedCells() const {
    QList<QAccessibleInterface *> cells;
    for (const QModelIndex &index : view()->selectionModel()->selectedIndexes())
        if (index.row() > 0 && index.column() > 0)
            cells << gridCell(index.row(), index.column());
    return cells;
}

QList<int> GridAccessible::selectedColumns() const {
    QList<int> columns;
    for (int c = 0; c < columnCount(); ++c)
        if (isColumnSelected(c))
            columns << c;
    return columns;
}

QList<int> GridAccessible::selectedRows() const {
    QList<int> rows;
    for (int r = 0; r < rowCount(); ++r)
        if (isRowSelected(r))
            rows << r;
    return rows;
}

bool GridAccessible::isColumnSelected(int column) const {
    for (int r = 1; r < view()->rowCount(); ++r)
        if (!view()->selectionModel()->isSelected(view()->model()->index(r, column + 1)))
            return false;
    return rowCount() > 0;
}

bool GridAccessible::isRowSelected(int row) const {
    return view()->wholeSelectedRows().contains(row + 1);
}

} // namespace qx
