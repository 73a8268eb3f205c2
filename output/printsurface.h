#pragma once

#include <QString>
#include <QStringList>

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

} // namespace qx
