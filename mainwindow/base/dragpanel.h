#pragma once

#include <QGroupBox>
#include <QPoint>

namespace qx {

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
