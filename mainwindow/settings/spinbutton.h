#pragma once

#include <QWidget>

class QToolButton;

namespace qx {

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

} // namespace qx
