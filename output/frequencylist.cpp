#include "frequencylist.h"

#include "printsurface.h"

namespace qx {

namespace {

constexpr int kTitlePoints = 20;
constexpr int kBodyPoints = 10;
constexpr int kPenDots = 2;

// The page geometry, fixed once at the start of the job. All in dots.
struct Layout {
    int x0;     // left edge of the table
    int b;      // row pitch, from the horizontal resolution also for vertical distances
    int t;      // top offset: where the running position starts on every page
    int m;      // margin unit
    int w;      // column width
    int r;      // right edge of the rules and of the right border
    int n;      // columns
    int width;  // page width
    int height; // page height
};

class ListPrinter {
public:
    ListPrinter(const QList<QStringList> &rows, int columns, const ListTexts &texts,
                const QString &dateText, PrintSurface &s)
        : m_rows(rows), m_texts(texts), m_date(dateText), m_s(s) {
        Layout &l = m_l;
        l.n = columns;
        l.x0 = s.dpiX() / 3;
        l.b = s.dpiX() / 3;
        l.t = s.dpiY() / 3;
        l.m = l.x0 * 3 / 2;
        l.width = s.pageWidth();
        l.height = s.pageHeight();
        l.w = (l.width - l.m) / l.n;
        l.r = (l.w + l.m / 15) * l.n;
        m_y = l.t;
    }

    bool run() {
        const Layout &l = m_l;
        if (!m_s.begin())
            return false;
        title();
        rule();
        m_s.text(l.w, l.b + m_y + l.m / 4, m_date);
        if (m_texts.printerLabelOnFirstPage)
            printerLabel();

        for (int row = 0; row < m_rows.size(); ++row) {
            for (int c = 0; c < l.n; ++c) {
                if (m_continued && m_y == l.t)
                    continuationHeader();
                m_s.text(l.x0 + l.w * c, 2 * l.b + m_y + l.b / 3,
                         QLatin1Char(' ') + cellText(row, c));
                cellBorder(l.x0 + l.w * c);
            }
            cellBorder(l.r);
            m_y += l.b;
            if (l.b + m_y >= l.height - 2 * l.m) {
                rule();
                m_y = l.t;
                m_continued = true;
                pageText();
                m_s.newPage();
            }
            rule();
        }
        pageText();
        m_s.end();
        return true;
    }

private:
    QString cellText(int row, int column) const {
        const QStringList &cells = m_rows.at(row);
        return column < cells.size() ? cells.at(column) : QString();
    }

    void title() {
        const Layout &l = m_l;
        m_s.setFont(m_texts.font, kTitlePoints);
        m_s.text(l.width / 3, l.b, m_texts.title);
        m_s.setPenWidth(kPenDots);
        m_s.setFont(m_texts.font, kBodyPoints);
    }

    void rule() { m_s.line(m_l.x0, 2 * m_l.b + m_y, m_l.r, 2 * m_l.b + m_y); }

    void cellBorder(int x) { m_s.line(x, 2 * m_l.b + m_y, x, 3 * m_l.b + m_y); }

    void printerLabel() {
        m_s.text((m_l.n - 2) * m_l.w, m_l.b + m_y + m_l.m / 4, m_texts.printerLabel);
    }

    void pageText() {
        m_s.text(m_l.width / 2 - m_l.m, m_l.height - m_l.m / 4,
                 m_texts.pagePrefix + QString::number(m_s.pageNumber()) + m_texts.pageSuffix);
    }

    // Pages after the first repeat the title, the date, the label and the header row.
    // The header row has one line more than columns: at X0 + W x N, left of R.
    void continuationHeader() {
        const Layout &l = m_l;
        title();
        rule();
        m_s.text(l.w, l.b + m_y + l.m / 4, m_date);
        printerLabel();
        for (int k = 0; k <= l.n; ++k) {
            if (k < l.n)
                m_s.text(l.x0 + l.w * k, 2 * l.b + m_y + l.b / 3,
                         QStringLiteral("  ") + (m_rows.isEmpty() ? QString() : cellText(0, k)));
            cellBorder(l.x0 + l.w * k);
        }
        m_y += l.b;
        rule();
    }

    const QList<QStringList> &m_rows;
    const ListTexts &m_texts;
    const QString &m_date;
    PrintSurface &m_s;
    Layout m_l{};
    int m_y = 0;
    bool m_continued = false;
};

} // namespace

QString listDate(const QDate &date, DateStyle style) {
    if (style == DateStyle::Chinese)
        return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
    return QStringLiteral("%1/%2/%3").arg(date.year()).arg(date.month()).arg(date.day());
}

bool printFrequencyList(const QList<QStringList> &rows, int columns, const ListTexts &texts,
                        const QString &dateText, PrintSurface &surface) {
    if (columns <= 0)
        return false;
    return ListPrinter(rows, columns, texts, dateText, surface).run();
}

} // namespace qx
