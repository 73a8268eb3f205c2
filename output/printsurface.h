#pragma once

#include <QPainter>
#include <QString>
#include <QStringList>

class QPrinter;

namespace qx {

// What the frequency list needs of a printer: device coordinates, page numbers,
// one font and one pen. Text is placed by its top-left corner.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    // The printable area in dots; the origin is its top-left corner.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    // 1 after begin, one more with every new page.
    virtual int pageNumber() const = 0;

    // False when the printer refuses the document; nothing may be drawn then.
    virtual bool begin() = 0;
    virtual void end() = 0;
    virtual void newPage() = 0;
    virtual void setFont(const QString &name, int pointSize) = 0;
    virtual void setPenWidth(int dots) = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    virtual void text(int x, int y, const QString &s) = 0;
};

// Draws on a QPrinter (a real printer or a PDF file) through QPainter.
class PrinterSurface : public PrintSurface {
public:
    explicit PrinterSurface(QPrinter &printer);

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

// Keeps every drawing call as one line of text, for tests:
// "begin", "end", "newPage", "font <name> <size>", "pen <width>",
// "line <x1> <y1> <x2> <y2>", "text <x> <y> <string>".
class RecordingSurface : public PrintSurface {
public:
    RecordingSurface(int dpiX, int dpiY, int pageWidth, int pageHeight, bool accepts = true)
        : m_dpiX(dpiX), m_dpiY(dpiY), m_width(pageWidth), m_height(pageHeight), m_accepts(accepts) {
    }

    QStringList calls;

    int dpiX() const override { return m_dpiX; }
    int dpiY() const override { return m_dpiY; }
    int pageWidth() const override { return m_width; }
    int pageHeight() const override { return m_height; }
    int pageNumber() const override { return m_page; }

    bool begin() override;
    void end() override { calls << QStringLiteral("end"); }
    void newPage() override;
    void setFont(const QString &name, int pointSize) override;
    void setPenWidth(int dots) override;
    void line(int x1, int y1, int x2, int y2) override;
    void text(int x, int y, const QString &s) override;

private:
    int m_dpiX, m_dpiY, m_width, m_height;
    bool m_accepts;
    int m_page = 0;
};

} // namespace qx
