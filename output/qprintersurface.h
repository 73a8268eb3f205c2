#pragma once

#include "printsurface.h"

#include <QPainter>

class QPrinter;

namespace qx {

// Draws on a QPrinter (a real printer or a PDF file) through QPainter.
class QPrinterSurface : public PrintSurface {
public:
    explicit QPrinterSurface(QPrinter &printer);

    int dpiX() const override;
    int dpiY() const override;
    int pageWidth() const override;
    int pageHeight() const override;
    int pageNumber() const override { return m_page; }

    bool begin() override;
    void end() override;
    void newPage() override;
    void setFont(const QString &name, int pointSize) override;
    void setPenWidth(int dots) override;
    void line(int x1, int y1, int x2, int y2) override;
    void text(int x, int y, const QString &s) override;

private:
    QPrinter &m_printer;
    QPainter m_painter;
    int m_page = 0;
};

} // namespace qx
