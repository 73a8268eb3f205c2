#pragma once

#include "windowtexts.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QWidget>

class QKeyEvent;

namespace qx {

class DropDown;
class FileEdits;
class GridView;
class Prompter;

// The channel table with its four drop-downs: typing and checking frequencies, picking
// tones and flags, and committing a row. It changes the working file only through
// FileEdits; a load fills it through applyChannelRecord and stores nothing.
class ChannelGrid : public QWidget {
    Q_OBJECT
public:
    // A plain enum: the values are the table's column numbers and are counted over.
    enum Column : int {
        ChannelNumber,
        RxFrequency,
        RxTone,
        TxFrequency,
        TxTone,
        Busy,
        Scan,
    };
    static constexpr int kColumns = Scan + 1;
    static constexpr int kRows = 17; // the header and the 16 channels

    ChannelGrid(WindowTexts texts, Prompter &prompter, FileEdits &edits, QWidget *parent = nullptr);

    // Header texts, channel numbers and the first current cell.
    void setupGrid();
    // Cells by (column, row), as the decoders and the printout address them.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
    // Channel row n's six cells as one value, and set from one.
    ChannelCells channelAt(int row) const;
    void showChannel(int row, const ChannelCells &cells);
    // The cell holds text typed into it that is not checked and stored yet: the one cell
    // that may show what the working file does not hold.
    bool holdsTypedText(int column, int row) const;
    // Checks and stores text typed into the current cell, as leaving the cell does, so
    // that what is sent or saved is what the grid shows. False when the check failed
    // (its error was shown and the text stays).
    bool commitTypedText();
    // Every row, the header and the number column included, as the printout lays them out.
    QList<QStringList> table() const;

    // The current row's channel, 0 when none.
    int currentChannel() const;
    // The channels of the selected rows, or the current row's when one cell is selected.
    QList<int> selectedChannels() const;
    // The table, for commands that work only while it has the keyboard.
    GridView *view() const { return StringGrid; }
    // Every channel row blank, as an image without channel records leaves it.
    void clearChannelRows();

    // Shows record 0..31 of a load in its channel's row; stores nothing.
    void applyChannelRecord(int index, const QString &frameText);
    // Every channel to this frequency on both sides, tones off, flags off; each row is
    // stored as it is shown, nothing is reloaded.
    void brush_StringGrid(const QString &frequency);

public slots:
    void StringGridClick();
    void CompleteGridRow();
    void EncodeGridRow(int row);
    void RX_BOXCloseUp();
    void TX_BOXCloseUp();
    void box1CloseUp();
    void box2CloseUp();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildGrid();
    void buildBoxes();
    void wireEditors();

    // These throw; their callers guard.
    DropDown *boxForColumn(int column) const;
    QString CheckFrequency(const QString &text);
    void checkCell(int row, int column);
    void completeGridRow();
    void encodeGridRow(int row);
    void placeBoxes();
    void commitBox(DropDown *box, int column);
    bool StringGridSelectCell(); // false keeps the current cell
    bool StringGridKeyDown(QKeyEvent *event, bool inEditor);
    bool StringGridKeyPress(QKeyEvent *event); // true drops the character

    static int typedKey(int row, int column) { return row * 8 + column; }

    const WindowTexts m_texts;
    Prompter &m_prompter;
    FileEdits &m_edits;
    QHash<int, QString> m_typed; // row * 8 + column: text typed but not yet checked
    int m_listRow = -1;          // the row a drop-down list was opened over

    GridView *StringGrid = nullptr;
    DropDown *RX_BOX = nullptr, *TX_BOX = nullptr, *box1 = nullptr, *box2 = nullptr;
};

} // namespace qx
