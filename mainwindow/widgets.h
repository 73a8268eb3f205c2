#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QPoint>
#include <QRect>
#include <QWidget>

class QToolButton;

namespace qx {

// A pick-only list that also tells when its list closes, picked or not.
class DropDown : public QComboBox {
    Q_OBJECT
public:
    explicit DropDown(QWidget *parent = nullptr);
    void showPopup() override;
    void hidePopup() override;

signals:
    void poppedUp();
    void closedUp();
};

// A list named for tests and handlers, filled and set to its first shown item.
DropDown *dropDown(const char *name, const QStringList &items, int initial, QWidget *parent,
                   QRect geometry = {});

// Up and down step buttons drawn over the right end of a time field.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget *parent = nullptr);
    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

signals:
    void upClicked();
    void downClicked();

private:
    QToolButton *m_up;
    QToolButton *m_down;
};

// A captioned panel the user can drag around inside its parent by its own surface.
class DragPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit DragPanel(const QString &title, QWidget *parent = nullptr);

signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_dragging = false;
    QPoint m_grab;
};

} // namespace qx
