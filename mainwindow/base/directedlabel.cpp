#include "directedlabel.h"

#include <QPainter>
#include <QStyle>

namespace qx {

void DirectedLabel::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    // The text rectangle as QLabel lays out a framed label's plain text.
    QRect rect = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int indent = this->indent();
    if (indent < 0 && frameWidth() > 0)
        indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    if (indent > 0) {
        if (align & Qt::AlignLeft)
            rect.setLeft(rect.left() + indent);
        if (align & Qt::AlignRight)
            rect.setRight(rect.right() - indent);
    }
    const int direction =
        layoutDirection() == Qt::RightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight;
    style()->drawItemText(&painter, rect, int(align) | direction, palette(), isEnabled(), text(),
                          foregroundRole());
}

} // namespace qx
