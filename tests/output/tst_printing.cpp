#include "frequencylist.h"
#include "qprintersurface.h"
#include "recordingsurface.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace qx;

namespace {

constexpr int kColumns = 7;

ListTexts chinese() {
    return {QStringLiteral("楷体_GB2312"), QStringLiteral("频率清单"),
            QStringLiteral("打印者:"),     true,
            QStringLiteral("第"),          QStringLiteral("页")};
}

ListTexts english() {
    return {QStringLiteral("MS Sans Serif"), QStringLiteral("Frequency Listing"),
            QStringLiteral("Printer:"),      false,
            QStringLiteral("page:"),         QString()};
}

// A grid like the window's: header row, row labels with their leading line feed,
// some channels filled, some empty.
QList<QStringList> grid() {
    QList<QStringList> rows;
    rows << QStringList{"CH", "RX", "RX CTCSS", "TX", "TX CTCSS", "BCL", "SCAN"};
    for (int r = 1; r <= 16; ++r) {
        if (r <= 3)
            rows << QStringList{QStringLiteral("\n%1").arg(r),
                                QStringLiteral("45%1.01250").arg(r),
                                "67.0",
                                QStringLiteral("45%1.01250").arg(r),
                                "OFF",
                                "NO",
                                "YES"};
        else
            rows << QStringList{QStringLiteral("\n%1").arg(r), "", "", "", "", "", ""};
    }
    return rows;
}

QStringList between(const QStringList &calls, const QString &from, const QString &to) {
    const int a = calls.indexOf(from);
    const int b = calls.indexOf(to, a + 1);
    return calls.mid(a + 1, (b < 0 ? calls.size() : b) - a - 1);
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    void dateTexts_data();
    void dateTexts();
    void onePageA4();
    void englishFirstPageHasNoLabel();
    void pageBreaks_data();
    void pageBreaks();
    void breakAfterLastRowLeavesRulePage();
    void refusedDocumentDrawsNothing();
    void pdfCarriesTheList();
};

void TestPrinting::dateTexts_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("expected");
    QTest::newRow("chinese, no leading zeros")
        << QDate(2026, 3, 7) << int(DateStyle::Chinese) << QStringLiteral("2026年3月7日");
    QTest::newRow("english, no leading zeros")
        << QDate(2026, 3, 7) << int(DateStyle::Slashes) << QStringLiteral("2026/3/7");
    QTest::newRow("two-digit month and day")
        << QDate(2025, 12, 31) << int(DateStyle::Slashes) << QStringLiteral("2025/12/31");
}

void TestPrinting::dateTexts() {
    QFETCH(QDate, date);
    QFETCH(int, style);
    QFETCH(QString, expected);
    QCOMPARE(listDate(date, DateStyle(style)), expected);
}

// A4 at 600 dpi: Dx = Dy = 600, X0 = B = T = 200, M = 300,
// W = (4960 - 300) div 7 = 665, R = (665 + 20) x 7 = 4795.
void TestPrinting::onePageA4() {
    RecordingSurface s(600, 600, 4960, 7016);
    const QList<QStringList> rows = grid();
    QVERIFY(printFrequencyList(rows, kColumns, chinese(), QStringLiteral("2026年3月7日"), s));

    QStringList expected{
        "begin",
        "font 楷体_GB2312 20",
        "text 1653 200 频率清单",
        "pen 2",
        "font 楷体_GB2312 10",
        "line 200 600 4795 600",
        "text 665 475 2026年3月7日",
        "text 3325 475 打印者:",
    };
    for (int r = 0; r < 17; ++r) {
        const int top = 600 + 200 * r;
        for (int c = 0; c < kColumns; ++c) {
            const int x = 200 + 665 * c;
            expected << QStringLiteral("text %1 %2  %3").arg(x).arg(top + 66).arg(rows[r][c]);
            expected << QStringLiteral("line %1 %2 %1 %3").arg(x).arg(top).arg(top + 200);
        }
        expected << QStringLiteral("line 4795 %1 4795 %2").arg(top).arg(top + 200);
        expected << QStringLiteral("line 200 %1 4795 %1").arg(top + 200);
    }
    expected << "text 2180 6941 第1页"
             << "end";
    QCOMPARE(s.calls, expected);
}

void TestPrinting::englishFirstPageHasNoLabel() {
    RecordingSurface s(600, 600, 4960, 7016);
    QVERIFY(printFrequencyList(grid(), kColumns, english(), QStringLiteral("2026/3/7"), s));
    QCOMPARE(s.calls.filter(QStringLiteral("Printer:")), QStringList());
    QCOMPARE(s.calls.mid(1, 7),
             (QStringList{"font MS Sans Serif 20", "text 1653 200 Frequency Listing", "pen 2",
                          "font MS Sans Serif 10", "line 200 600 4795 600", "text 665 475 2026/3/7",
                          "text 200 666  CH"}));
    QCOMPARE(s.calls.at(s.calls.size() - 2), QStringLiteral("text 2180 6941 page:1"));
    QCOMPARE(s.calls.count(QStringLiteral("newPage")), 0);
}

// Page height 3000 at 600 dpi breaks when B + Y reaches 2400: ten rows on the
// first page, the header row again and the seven rows left on the second.
void TestPrinting::pageBreaks_data() {
    QTest::addColumn<bool>("isEnglish");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("firstPage");
    QTest::addColumn<QString>("secondPage");
    QTest::newRow("chinese") << false << QStringLiteral("打印者:") << QStringLiteral("第1页")
                             << QStringLiteral("第2页");
    QTest::newRow("english, label on later pages")
        << true << QStringLiteral("Printer:") << QStringLiteral("page:1")
        << QStringLiteral("page:2");
}

void TestPrinting::pageBreaks() {
    QFETCH(bool, isEnglish);
    QFETCH(QString, label);
    QFETCH(QString, firstPage);
    QFETCH(QString, secondPage);
    const ListTexts texts = isEnglish ? english() : chinese();
    RecordingSurface s(600, 600, 4960, 3000);
    const QList<QStringList> rows = grid();
    QVERIFY(printFrequencyList(rows, kColumns, texts, QStringLiteral("D"), s));

    QCOMPARE(s.calls.count(QStringLiteral("newPage")), 1);
    const QStringList page1 = between(s.calls, "begin", "newPage");
    const QStringList page2 = between(s.calls, "newPage", "end");

    // First page: rows 0 to 9, then the rule under row 9 and the page text; the rule
    // after the row goes to the top of the next page.
    QCOMPARE(page1.filter(QRegularExpression("^text \\d+ \\d+  \n?\\d+$")).size(), 9);
    QVERIFY(page1.contains(QStringLiteral("text 200 2466  \n9")));
    QVERIFY(!page1.join('|').contains(QStringLiteral("\n10")));
    QCOMPARE(
        page1.mid(page1.size() - 2),
        (QStringList{"line 200 2600 4795 2600", QStringLiteral("text 2180 2925 ") + firstPage}));
    QCOMPARE(page1.size() - page1.lastIndexOf(QStringLiteral("line 4795 2400 4795 2600")), 3);

    // Second page: the rule at the top of the table, then the continuation header.
    QStringList header{
        "line 200 600 4795 600",
        QStringLiteral("font %1 20").arg(texts.font),
        QStringLiteral("text 1653 200 ") + texts.title,
        "pen 2",
        QStringLiteral("font %1 10").arg(texts.font),
        "line 200 600 4795 600",
        "text 665 475 D",
        QStringLiteral("text 3325 475 ") + label,
    };
    for (int k = 0; k < kColumns; ++k) {
        header << QStringLiteral("text %1 666   %2").arg(200 + 665 * k).arg(rows[0][k]);
        header << QStringLiteral("line %1 600 %1 800").arg(200 + 665 * k);
    }
    header << "line 4855 600 4855 800"
           << "line 200 800 4795 800"
           << "text 200 866  \n10";
    QCOMPARE(page2.mid(0, header.size()), header);
    QCOMPARE(page2.last(), QStringLiteral("text 2180 2925 ") + secondPage);
    QVERIFY(page2.contains(QStringLiteral("text 200 2066  \n16")));
}

// Height 4400 at 600 dpi: the break comes right after row 16, so the last page
// holds only the top rule and its page text.
void TestPrinting::breakAfterLastRowLeavesRulePage() {
    RecordingSurface s(600, 600, 4960, 4400);
    QVERIFY(printFrequencyList(grid(), kColumns, english(), QStringLiteral("D"), s));
    QCOMPARE(s.calls.count(QStringLiteral("newPage")), 1);
    QCOMPARE(between(s.calls, "newPage", "end"),
             (QStringList{"line 200 600 4795 600", "text 2180 4325 page:2"}));
    QCOMPARE(s.calls.filter(QStringLiteral("Frequency Listing")).size(), 1);
}

void TestPrinting::refusedDocumentDrawsNothing() {
    RecordingSurface s(600, 600, 4960, 7016, false);
    QVERIFY(!printFrequencyList(grid(), kColumns, english(), QStringLiteral("D"), s));
    QCOMPARE(s.calls, QStringList{"begin"});
}

void TestPrinting::pdfCarriesTheList() {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QFAIL("pdftotext is missing: tools/deps.sh installs poppler-utils");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrinterSurface surface(printer);
    QVERIFY(printFrequencyList(grid(), kColumns, english(), QStringLiteral("2026/3/7"), surface));

    QProcess p;
    p.start(pdftotext, {pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(20000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("Frequency Listing")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("2026/3/7")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("452.01250")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("page:1")), qPrintable(text));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
