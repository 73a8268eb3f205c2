#include "channelgrid.h"

#include "dropdown.h"
#include "fileedits.h"
#include "gridrows.h"
#include "gridview.h"
#include "prompter.h"

#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>

namespace qx {

namespace {

constexpr std::array<int, ChannelGrid::kColumns> kColumnWidths{32, 94, 68, 99, 68, 68, 68};
constexpr int kRowHeight = 20;
// The original drew a grid line between cells; Qt draws it inside each cell.
constexpr int kGridLine = 1;
const QColor kCream(0xFF, 0xFB, 0xF0);

} // namespace

ChannelGrid::ChannelGrid(WindowTexts texts, Prompter &prompter, FileEdits &edits, QWidget *parent)
    : QWidget(parent), m_texts(std::move(texts)), m_prompter(prompter), m_edits(edits) {
    setObjectName(QStringLiteral("ChannelGrid"));
    buildGrid();
    buildBoxes();
    wireEditors();
}

void ChannelGrid::buildGrid() {
    StringGrid = new GridView(kRows, kColumns, this);
    StringGrid->setObjectName(QStringLiteral("StringGrid"));
    StringGrid->setAccessibleName(m_texts.access.grid);
    StringGrid->horizontalHeader()->hide();
    StringGrid->verticalHeader()->hide();
    StringGrid->verticalHeader()->setDefaultSectionSize(kRowHeight + kGridLine);
    StringGrid->verticalHeader()->setMinimumSectionSize(kRowHeight + kGridLine);
    for (int c = 0; c < kColumns; ++c)
        StringGrid->setColumnWidth(c, kColumnWidths[c] + kGridLine);
    QFont gridFont(QStringLiteral("MS Sans Serif"));
    gridFont.setPixelSize(13);
    StringGrid->setFont(gridFont);
    QPalette pal = StringGrid->palette();
    pal.setColor(QPalette::Base, kCream);
    pal.setColor(QPalette::Text, Qt::black);
    StringGrid->setPalette(pal);
    StringGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid->setGridStyle(Qt::SolidLine);
    // One line a cell, clipped: "信道" is wider than its 32-pixel column.
    StringGrid->setWordWrap(false);
    StringGrid->setTextElideMode(Qt::ElideNone);
    StringGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(StringGrid);
}

void ChannelGrid::buildBoxes() {
    QFont boxFont(QStringLiteral("MS Sans Serif"));
    boxFont.setPixelSize(11);
    auto editor = [&](const char *name, const QStringList &items, int x, int w) {
        DropDown *box = dropDown(name, items, 0, this, QRect(x, 45, w, kRowHeight));
        box->setFont(boxFont);
        QPalette p = box->palette();
        p.setColor(QPalette::ButtonText, QColor(0, 0, 0x80));
        p.setColor(QPalette::Text, QColor(0, 0, 0x80));
        box->setPalette(p);
        box->hide();
        return box;
    };
    RX_BOX = editor("RX_BOX", toneTexts(), 130, 70);
    RX_BOX->setMaxVisibleItems(10);
    TX_BOX = editor("TX_BOX", toneTexts(), 300, 69);
    TX_BOX->setMaxVisibleItems(10);
    box1 = editor("box1", {m_texts.flags.no, m_texts.flags.yes}, 369, 69);
    box2 = editor("box2", {m_texts.flags.no, m_texts.flags.yes}, 438, 69);
    // Each named after the column it edits.
    for (auto [box, column] :
         {std::pair{RX_BOX, RxTone}, {TX_BOX, TxTone}, {box1, Busy}, {box2, Scan}})
        box->setAccessibleName(m_texts.gridHeader[column].simplified());
}

void ChannelGrid::setupGrid() {
    StringGrid->setColumnCount(kColumns);
    StringGrid->setRowCount(kRows);
    const QColor fixed = palette().color(QPalette::Button);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            QTableWidgetItem *it = StringGrid->item(r, c);
            if (!it) {
                it = new QTableWidgetItem;
                StringGrid->setItem(r, c, it);
            }
            if (r == 0 || c == ChannelNumber) {
                it->setFlags(Qt::ItemIsEnabled);
                it->setBackground(fixed);
            }
        }
    }
    for (int n = 1; n <= kChannelCount; ++n)
        setCell(ChannelNumber, n, gridRowLabel(n));
    for (int c = 0; c < kColumns; ++c)
        setCell(c, 0, m_texts.gridHeader[c]);
    StringGrid->setCurrentCell(1, RxFrequency);
}

QString ChannelGrid::cell(int column, int row) const {
    const QTableWidgetItem *it = StringGrid->item(row, column);
    return it ? it->text() : QString();
}

void ChannelGrid::setCell(int column, int row, const QString &text) {
    QTableWidgetItem *it = StringGrid->item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        StringGrid->setItem(row, column, it);
    }
    it->setText(text);
}

ChannelCells ChannelGrid::channelAt(int row) const {
    return {cell(RxFrequency, row), cell(RxTone, row), cell(TxFrequency, row),
            cell(TxTone, row),      cell(Busy, row),   cell(Scan, row)};
}

void ChannelGrid::showChannel(int row, const ChannelCells &cells) {
    setCell(RxFrequency, row, cells.rx);
    setCell(RxTone, row, cells.rxTone);
    setCell(TxFrequency, row, cells.tx);
    setCell(TxTone, row, cells.txTone);
    setCell(Busy, row, cells.busy);
    setCell(Scan, row, cells.scan);
}

bool ChannelGrid::holdsTypedText(int column, int row) const {
    const auto typed = m_typed.constFind(typedKey(row, column));
    return typed != m_typed.cend() && *typed == cell(column, row);
}

QList<QStringList> ChannelGrid::table() const {
    QList<QStringList> rows;
    for (int r = 0; r < StringGrid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < StringGrid->columnCount(); ++c)
            cells << cell(c, r);
        rows << cells;
    }
    return rows;
}

int ChannelGrid::currentChannel() const {
    const int row = StringGrid->currentRow();
    return row >= 1 && row <= kChannelCount ? row : 0;
}

QList<int> ChannelGrid::selectedChannels() const {
    QList<int> rows;
    const QModelIndexList cells = StringGrid->selectionModel()->selectedIndexes();
    if (cells.size() > 1)
        for (const QModelIndex &cell : cells)
            if (cell.row() >= 1 && !rows.contains(cell.row()))
                rows << cell.row();
    if (rows.isEmpty() && currentChannel() > 0)
        rows << currentChannel();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ChannelGrid::clearChannelRows() {
    m_typed.clear();
    for (int row = 1; row <= kChannelCount; ++row)
        showChannel(row, ChannelCells{});
}

void ChannelGrid::applyChannelRecord(int index, const QString &frameText) {
    const int row = index / 2 + 1;
    if (index % 2 == 0) {
        const FrequencyCells f = get_data1(frameText);
        setCell(RxFrequency, row, f.rx);
        setCell(TxFrequency, row, f.tx);
        // What was typed there is replaced by what is stored, in an open editor too.
        m_typed.remove(typedKey(row, RxFrequency));
        m_typed.remove(typedKey(row, TxFrequency));
        return;
    }
    const ToneFlagCells t = get_data2(frameText, cell(RxFrequency, row), m_texts.flags);
    if (t.emptyRow) {
        showChannel(row, ChannelCells{});
        return;
    }
    setCell(RxTone, row, t.rxTone);
    setCell(TxTone, row, t.txTone);
    setCell(Busy, row, t.busy);
    setCell(Scan, row, t.scan);
}

void ChannelGrid::brush_StringGrid(const QString &frequency) {
    // Tones off and flags off, as a channel typed without them.
    const ChannelCells cells =
        completedChannel({frequency, {}, frequency, {}, {}, {}}, m_texts.flags);
    m_typed.clear();
    for (int row = 1; row <= kChannelCount; ++row) {
        showChannel(row, cells);
        m_edits.storeChannel(row, cells);
    }
}

} // namespace qx
