#pragma once

#include <QItemSelectionModel>
#include <QTableWidget>
#include <functional>

namespace qx {

// The channel grid: row 0 and column 0 are fixed cells that never become current;
// every move of the current cell asks first whether the cell may be left; the
// window sees key presses before the grid does. A drag or a Shift+click selects a range
// without moving the current cell; a click on a row's number selects the row.
class GridView : public QTableWidget {
    Q_OBJECT
public:
    GridView(int rows, int columns, QWidget *parent = nullptr);

    // Asked before the current cell moves; false keeps it where it is.
    std::function<bool()> mayLeaveCell;
    // Sees every key press on the grid and on its in-place editor first; true when handled.
    std::function<bool(QKeyEvent *, bool inEditor)> keyHook;
    // Every change the user makes in the in-place editor, at once.
    std::function<void(int row, int column, const QString &text)> editedHook;
    // Only these columns get an in-place text editor.
    std::function<bool(int column)> isTextColumn;

    // Moves the current cell without asking (the window's own corrections).
    void moveCurrentQuietly(int row, int column);
    bool editorOpen() const { return openEditor() != nullptr; }
    QWidget *openEditor() const;
    // Opens the in-place editor of the current cell; a key given is typed into it.
    void openCellEditor(QKeyEvent *key = nullptr);
    void closeCellEditor();
    // Tab leaves the grid for the next control of the window.
    void focusNextControl(bool next) { focusNextPrevChild(next); }
    // The rows whose every cell but the fixed one is selected, in order.
    QList<int> wholeSelectedRows() const;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyboardSearch(const QString &) override {}

private:
    friend class GridSelectionModel;
    void keepSelectionOnCurrent();
    // The cell under a point, moved into the cells that can be selected.
    QModelIndex selectableAt(QPoint point) const;
    // Selects the rectangle between two cells; whole rows when byRows.
    void selectRange(const QModelIndex &from, const QModelIndex &to, bool byRows);

    bool m_quiet = false;
    QPersistentModelIndex m_dragFrom; // where the left button went down, while it is down
    bool m_dragRows = false;          // that was on a row's number
    bool m_ownPress = false;          // the press was handled here, not by Qt
};

} // namespace qx
