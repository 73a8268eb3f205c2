#pragma once

#include <QStyledItemDelegate>

namespace qx {

class GridView;

// The in-place editor of the frequency columns; the other columns get none, so their
// cells cannot be changed by typing, Delete, cut or paste.
class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CellDelegate(GridView *grid);
    QString displayText(const QVariant &value, const QLocale &locale) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    // The cell already holds every edit; closing the editor writes nothing back.
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    GridView *m_grid;
};

} // namespace qx
