#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qx {

namespace {

void arrow(QPainter &p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = (to - from) / 3.0;
    const QPointF n(-d.y(), d.x());
    QPolygonF head;
    head << to << to - d + n * 0.6 << to - d - n * 0.6;
    p.drawPolygon(head);
}

} // namespace

QIcon toolIcon(int index) {
    QPixmap pm(35, 35);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(30, 40, 90), 2.5);
    p.setPen(pen);
    switch (index) {
    case 0: // write: arrow into the radio
    case 2: // read: arrow out of the radio
        p.setBrush(QColor(90, 90, 90));
        p.drawRoundedRect(QRectF(19, 6, 11, 24), 2, 2);
        p.drawLine(QPointF(27, 6), QPointF(27, 1));
        p.setBrush(index == 0 ? QColor(200, 40, 40) : QColor(30, 140, 60));
        p.setPen(QPen(p.brush().color(), 3));
        if (index == 0)
            arrow(p, QPointF(2, 18), QPointF(16, 18));
        else
            arrow(p, QPointF(16, 18), QPointF(2, 18));
        break;
    case 1: // save: a floppy disk
        p.setBrush(QColor(50, 80, 160));
        p.drawRoundedRect(QRectF(5, 5, 25, 25), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(10, 5, 15, 9));
        p.drawRect(QRectF(9, 19, 17, 11));
        break;
    case 3: { // open: a folder
        p.setBrush(QColor(230, 190, 70));
        QPainterPath path;
        path.moveTo(3, 9);
        path.lineTo(13, 9);
        path.lineTo(16, 12);
        path.lineTo(31, 12);
        path.lineTo(31, 29);
        path.lineTo(3, 29);
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case 4: // port: a serial plug
        p.setBrush(QColor(120, 160, 200));
        p.drawRoundedRect(QRectF(5, 11, 25, 13), 5, 5);
        p.setBrush(QColor(30, 40, 90));
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(10.5 + i * 4.7, 17.5), 1.3, 1.3);
        break;
    case 5: // print: a printer
        p.setBrush(Qt::white);
        p.drawRect(QRectF(10, 3, 15, 10));
        p.setBrush(QColor(150, 150, 150));
        p.drawRoundedRect(QRectF(3, 13, 29, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(10, 21, 15, 11));
        break;
    case 6: // exit: an open door
        p.setBrush(QColor(160, 110, 60));
        p.drawRect(QRectF(8, 4, 17, 27));
        p.setBrush(QColor(220, 60, 60));
        p.setPen(QPen(QColor(220, 60, 60), 3));
        arrow(p, QPointF(18, 18), QPointF(33, 18));
        break;
    case 7: // stop a transfer
        p.setBrush(QColor(210, 40, 40));
        p.drawEllipse(QRectF(4, 4, 27, 27));
        p.setPen(QPen(Qt::white, 4));
        p.drawLine(QPointF(11, 17.5), QPointF(24, 17.5));
        break;
    default:
        p.setBrush(QColor(200, 200, 200));
        p.drawEllipse(QRectF(8, 8, 19, 19));
        break;
    }
    return QIcon(pm);
}

} // namespace qx
