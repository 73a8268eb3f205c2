#include "dragpanel.h"

#include <QMouseEvent>

namespace qx {

DragPanel::DragPanel(const QString &title, QWidget *parent) : QGroupBox(title, parent) {}

void DragPanel::mousePressEvent(QMouseEvent *event) {
    // A press that a child let through (the label) is not on the panel's own surface.
    if (childAt(event->position().toPoint())) {
        event->ignore();
        return;
    }
    emit pressed();
    m_dragging = true;
    m_grab = event->globalPosition().toPoint() - pos();
    event->accept();
}

void DragPanel::mouseMoveEvent(QMouseEvent *event) {
    if (!m_dragging)
        return;
    QPoint target = event->globalPosition().toPoint() - m_grab;
    if (QWidget *p = parentWidget()) {
        // Keep the panel inside the window so it can always be grabbed again.
        target.setX(qBound(0, target.x(), qMax(0, p->width() - width())));
        target.setY(qBound(0, target.y(), qMax(0, p->height() - height())));
    }
    move(target);
}

void DragPanel::mouseReleaseEvent(QMouseEvent *) {
    m_dragging = false;
}

} // namespace qx
