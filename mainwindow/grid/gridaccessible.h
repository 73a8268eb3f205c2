#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace qx {

class GridView;

// The channel grid as a screen reader should hear it: a table of the 16 channels whose
// column headers are the titles of row 0 and whose row headers are the channel numbers of
// column 0, both drawn as cells. Children are numbered as the view numbers its cells in
// its focus events: row * columns + column over the whole grid, titles and numbers
// included.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(GridView *view);
    ~GridAccessible() override;

    // Registers the factory that gives every GridView this interface; once.
    static void install();

    // QAccessibleInterface
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface, over the channels: row 0 is channel 1.
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int columnCount() const override;
    int rowCount() const override;
    int selectedCellCount() const override;
    int selectedColumnCount() const override { return int(selectedColumns().size()); }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    QList<QAccessibleInterface *> selectedCells() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

    // A cell of the whole grid, by the view's row and column.
    QAccessibleInterface *gridCell(int row, int column) const;
    GridView *view() const;

private:
    mutable QHash<int, QAccessible::Id> m_cells;
};

} // namespace qx
