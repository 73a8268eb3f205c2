#include "qprintersurface.h"

#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QPrinter>

namespace qx {

QPrinterSurface::QPrinterSurface(QPrinter &printer) : m_printer(printer) {}

int QPrinterSurface::dpiX() const {
    return m_printer.logicalDpiX();
}
int QPrinterSurface::dpiY() const {
    return m_printer.logicalDpiY();
}
int QPrinterSurface::pageWidth() const {
    return m_printer.width();
}
int QPrinterSurface::pageHeight() const {
    return m_printer.height();
}

bool QPrinterSurface::begin() {
    // With no printer installed a default QPrinter has no output and begin fails.
    if (!m_painter.begin(&m_printer))
        return false;
    m_page = 1;
    return true;
}

void QPrinterSurface::end() {
    m_painter.end();
}

void QPrinterSurface::newPage() {
    m_printer.newPage();
    ++m_page;
}

void QPrinterSurface::setFont(const QString &name, int pointSize) {
    // Point sizes are scaled to the printer's resolution by QPainter.
    m_painter.setFont(QFont(name, pointSize));
}

void QPrinterSurface::setPenWidth(int dots) {
    QPen pen = m_painter.pen();
    pen.setWidth(dots);
    m_painter.setPen(pen);
}

void QPrinterSurface::line(int x1, int y1, int x2, int y2) {
    m_painter.drawLine(x1, y1, x2, y2);
}

void QPrinterSurface::text(int x, int y, const QString &s) {
    // QPainter places text by its baseline; the list places it by its top.
    m_painter.drawText(x, y + m_painter.fontMetrics().ascent(), s);
}

} // namespace qx
