#pragma once

#include "printsurface.h"

#include <QStringList>

namespace qx {

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

    bool begin() override {
        calls << QStringLiteral("begin");
        if (!m_accepts)
            return false;
        m_page = 1;
        return true;
    }
    void end() override { calls << QStringLiteral("end"); }
    void newPage() override {
        calls << QStringLiteral("newPage");
        ++m_page;
    }
    void setFont(const QString &name, int pointSize) override {
        calls << QStringLiteral("font %1 %2").arg(name).arg(pointSize);
    }
    void setPenWidth(int dots) override { calls << QStringLiteral("pen %1").arg(dots); }
    void line(int x1, int y1, int x2, int y2) override {
        calls << QStringLiteral("line %1 %2 %3 %4").arg(x1).arg(y1).arg(x2).arg(y2);
    }
    void text(int x, int y, const QString &s) override {
        calls << QStringLiteral("text %1 %2 %3").arg(x).arg(y).arg(s);
    }

private:
    int m_dpiX, m_dpiY, m_width, m_height;
    bool m_accepts;
    int m_page = 0;
};

} // namespace qx
