#include "printersurface.h"

#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QPrinter>

namespace qx {

PrinterSurface::PrinterSurface(QPrinter &printer) : m_printer(printer) {}

int PrinterSurface::dpiX() const {
    return m_printer.logicalDpiX();
}
int PrinterSurface::dpiY() const {
    return m_printer.logicalDpiY();
}
int PrinterSurface::pageWidth() const {
    return m_printer.width();
}
int PrinterSurface::pageHeight() const {
    return m_printer.height();
}

bool PrinterSurface::begin() {
    // With no printer installed a default QPrinter has no output and begin fails.
    if (!m_painter.begin(&m_printer))
        return false;
    m_page = 1;
    return true;
}

void PrinterSurface::end() {
    m_painter.end();
}

void PrinterSurface::newPage() {
    m_printer.newPage();
    ++m_page;
}

void PrinterSurface::setFont(const QString &name, int pointSize) {
    // Point sizes are scaled to the printer's resolution by QPainter.
    m_painter.setFont(QFont(name, pointSize));
}

void PrinterSurface::setPenWidth(int dots) {
    QPen pen = m_painter.pen();
    pen.setWidth(dots);
    m_painter.setPen(pen);
}

void PrinterSurface::line(int x1, int y1, int x2, int y2) {
    m_painter.drawLine(x1, y1, x2, y2);
}

void PrinterSurface::text(int x, int y, const QString &s) {
    // QPainter places text by its baseline; the list places it by its top.
    m_painter.drawText(x, y + m_painter.fontMetrics().ascent(), s);
}

} // namespace qx
