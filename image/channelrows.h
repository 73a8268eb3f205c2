#pragma once

#include "channelcodec.h"
#include "imagewords.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace qx {

// Channel rows as the clipboard carries them between the grid and a spreadsheet: one line
// a channel, fields separated by tabs, the grid's columns and cell texts with the channel
// number first, no header.
QString formatChannelRows(const QList<QStringList> &rows);

struct PastedRow {
    int line = 0;                      // in the text, from 1
    std::optional<ChannelCells> cells; // empty when rejected; flags in the window's words
    QString problem;                   // why it was rejected, in the window's language
};
// Every row of pasted text, checked as the grid checks typed and picked values. A row has
// the grid's seven columns (the channel number, whatever it says, is not used) or the six
// value columns alone; a first line of column titles and blank lines are skipped.
QList<PastedRow> parseChannelRows(const QString &text, const ImageWords &words);
// One row's fields, checked as parseChannelRows checks each row (line left 0).
PastedRow checkPastedFields(const QStringList &fields, const ImageWords &words);

// The one value of text that holds a single field (one line, no tab), trimmed; nothing
// when the text holds rows or only blanks.
std::optional<QString> loneValue(const QString &text);

} // namespace qx
