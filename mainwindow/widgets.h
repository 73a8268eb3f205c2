#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPoint>
#include <QRect>
#include <QSpinBox>
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
    // While closedUp is told: the text the list closed on, its pick or else what it showed
    // as it closed, whatever happened to the box meanwhile. Otherwise the current text.
    QString closedText() const { return m_closing ? m_closedText : currentText(); }

signals:
    void poppedUp();
    void closedUp();

private:
    bool m_closing = false;
    QString m_closedText;
};

// A list named for tests and handlers, filled and set to its first shown item.
DropDown *dropDown(const char *name, const QStringList &items, int initial, QWidget *parent,
                   QRect geometry = {});

// The power field. Its range is wider than 0..255 so that a typed 300 reaches the change
// handler, which turns it into 0; stepping (arrows, page keys, the wheel, its buttons)
// stops at 0 and 255 instead.
class PowerSpin : public QSpinBox {
    Q_OBJECT
public:
    static constexpr int kLowest = 0;
    static constexpr int kHighest = 255;
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
};

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

// A label whose plain text is laid out in the label's layout direction: right to left, a
// leading mark such as "※" is drawn after the text. QLabel takes the direction from the
// text itself, so its layout direction alone changes nothing visible.
class DirectedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
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
