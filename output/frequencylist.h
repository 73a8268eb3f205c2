#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace qx {

class PrintSurface;

// What the two windows print differently.
struct ListTexts {
    QString font;
    QString title;
    QString printerLabel;
    bool printerLabelOnFirstPage = true;
    QString pagePrefix; // "第" / "page:"
    QString pageSuffix; // "页" / ""
};

enum class DateStyle { Chinese, Slashes };

// "2026年3月7日" or "2026/3/7": no leading zeros.
QString listDate(const QDate &date, DateStyle style);

// Prints the grid as a ruled table: rows[r][c] is the text of cell (c, r), row 0 the
// header row. Every coordinate follows from the surface's resolution and page size.
// Returns false, having drawn nothing, when the surface refuses the document (or
// there are no columns).
bool printFrequencyList(const QList<QStringList> &rows, int columns, const ListTexts &texts,
                        const QString &dateText, PrintSurface &surface);

} // namespace qx
