#pragma once

#include <QItemSelectionModel>
#include <QTableWidget>
#include <functional>

namespace qx {

// The channel grid: row 0 and column 0 are fixed cells that never become current;
// every move of the current cell asks first whether the cell may be left; the
// window sees key presses before the grid does.
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
    bool editorOpen() const { return state() == QAbstractItemView::EditingState; }
    QWidget *openEditor() const;
    // Opens the in-place editor of the current cell; a key given is typed into it.
    void openCellEditor(QKeyEvent *key = nullptr);
    void closeCellEditor();
    // Tab leaves the grid for the next control of the window.
    void focusNextControl(bool next) { focusNextPrevChild(next); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyboardSearch(const QString &) override {}

private:
    friend class GridSelectionModel;
    void keepSelectionOnCurrent();

    bool m_quiet = false;
    bool m_pressOnCurrent = false; // the left button went down on the current cell
};

} // namespace qx
