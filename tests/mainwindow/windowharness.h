#pragma once

#include "channelcodec.h"
#include "channelgrid.h"
#include "error.h"
#include "fakesio.h"
#include "gridview.h"
#include "mainwindow.h"
#include "sampleimage.h"
#include "scriptedprompter.h"
#include "settingscodec.h"
#include "transfer.h"
#include "windowtexts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace qx::test {

// Channels 1..12 hold 4xx.00000 MHz (450 + n) on both sides, tones off, flags off;
// channels 13..16 are empty; the settings blocks hold the window's initial values.
inline QByteArray baseImage() {
    QByteArray image;
    for (int ch = 1; ch <= kChannelCount; ++ch) {
        const QString f = ch <= 12 ? QStringLiteral("%1.00000").arg(450 + ch) : QString();
        const auto frames =
            encodeChannelFrames(ch, {f, QStringLiteral("OFF"), f, QStringLiteral("OFF"),
                                     QStringLiteral("NO"), QStringLiteral("NO")});
        image += frames[0].toByteArray() + frames[1].toByteArray();
    }
    image += save03C0(Block03C0Values{}).toByteArray();
    image += save03D0(0, 0, 5).toByteArray();
    image += save03F0(Block03F0Values{}).toByteArray();
    return image;
}

inline FlagWords flagWords(Language language) {
    return language == Language::English ? englishFlagWords() : chineseFlagWords();
}

// The window's transfer engine, found as tests find the controls.
inline Transfer &transferOf(MainWindow &w) {
    return *w.findChild<Transfer *>(QStringLiteral("Transfer"));
}

// Every channel cell of the window against a decode of its working file, one line per
// difference. Only the cell of an open editor, holding text typed but not yet committed,
// may differ.
inline QStringList cellsDifferingFromFile(MainWindow &w, const QString &workingFile) {
    QList<QStringList> expected(kChannelCount + 1, QStringList(ChannelGrid::kColumns, QString()));
    QStringList differences;
    try {
        forEachRecord(workingFile, [&](int index, const QString &text) {
            if (index >= kRecord03C0)
                return;
            QStringList &cells = expected[index / 2 + 1];
            if (index % 2 == 0) {
                const FrequencyCells f = get_data1(text);
                cells[ChannelGrid::RxFrequency] = f.rx;
                cells[ChannelGrid::TxFrequency] = f.tx;
                return;
            }
            const ToneFlagCells t =
                get_data2(text, cells[ChannelGrid::RxFrequency], w.texts().flags);
            if (t.emptyRow)
                return;
            cells[ChannelGrid::RxTone] = t.rxTone;
            cells[ChannelGrid::TxTone] = t.txTone;
            cells[ChannelGrid::Busy] = t.busy;
            cells[ChannelGrid::Scan] = t.scan;
        });
    } catch (const Error &e) {
        return {QStringLiteral("the working file does not decode: ") + e.message()};
    }
    const GridView *view = w.channelGrid().view();
    for (int row = 1; row <= kChannelCount; ++row)
        for (int column = ChannelGrid::RxFrequency; column < ChannelGrid::kColumns; ++column) {
            const QString shown = w.channelGrid().cell(column, row);
            const bool typing = view->editorOpen() && row == view->currentRow() &&
                                column == view->currentColumn() &&
                                w.channelGrid().holdsTypedText(column, row);
            if (shown != expected[row][column] && !typing)
                differences << QStringLiteral("cell (%1,%2) shows '%3', the file holds '%4'")
                                   .arg(column)
                                   .arg(row)
                                   .arg(shown, expected[row][column]);
        }
    return differences;
}

// One window of either language on its own temporary folder, shown and active so
// that real key and mouse events reach the focused widget. A window that does not
// become active fails the test.
class Harness {
public:
    explicit Harness(Language language, const QByteArray &image = baseImage()) {
        if (!image.isNull()) {
            QFile f(dat());
            if (!f.open(QIODevice::WriteOnly) || f.write(image) != image.size())
                qFatal("cannot write the working file");
        }
        if (language == Language::English)
            window = std::make_unique<TE_Form>(prompter, sio, dir.path());
        else
            window = std::make_unique<TForm1>(prompter, sio, dir.path());
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY2(QTest::qWaitForWindowActive(window.get()), "the window did not become active");
    }

    QString dat() const { return dir.filePath(QStringLiteral("r_and_w.dat")); }
    QByteArray fileBytes() const { return readFile(dat()); }

    template <typename T> T *child(const char *name) const {
        T *c = window->findChild<T *>(QLatin1String(name));
        if (!c)
            qFatal("no child %s", name);
        return c;
    }
    QTableWidget *grid() const { return child<QTableWidget>("StringGrid"); }
    ChannelGrid &channels() const { return window->channelGrid(); }
    QComboBox *box(const char *name) const { return child<QComboBox>(name); }

    QPoint cellCentre(int row, int column) const {
        return grid()->visualRect(grid()->model()->index(row, column)).center();
    }
    void clickCell(int row, int column) const {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(row, column));
    }
    QPoint current() const { return {grid()->currentColumn(), grid()->currentRow()}; }

    // Keys go where the keyboard is: the grid, its in-place editor or a drop-down.
    static QWidget *focus() {
        QWidget *w = QApplication::focusWidget();
        if (!w)
            qFatal("nothing has the keyboard focus");
        return w;
    }
    static void type(const QString &text) {
        for (QChar c : text)
            QTest::keyClick(focus(), c.toLatin1());
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(focus(), k, m); }

    // Opens the list with a click and picks an item with the arrow keys and Enter. A list
    // that is not shown as the active popup fails the test.
    static void pick(QComboBox *box, int index) {
        QTest::mouseClick(box, Qt::LeftButton);
        QAbstractItemView *view = box->view();
        QVERIFY2(QTest::qWaitForWindowExposed(view->window()) &&
                     QApplication::activePopupWidget() == view->window(),
                 "the list did not pop up");
        int row = view->currentIndex().row();
        for (; row < index; ++row)
            QTest::keyClick(view, Qt::Key_Down);
        for (; row > index; --row)
            QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
    }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    FakeSio sio;
    std::unique_ptr<MainWindow> window;
};

} // namespace qx::test
