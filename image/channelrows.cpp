#include "channelrows.h"

#include "channelcsv.h"

namespace qx {

namespace {

constexpr int kValueColumns = 6;

// The receive column's title in either window or in the CSV.
bool isTitleRow(const QStringList &fields) {
    const QString rx = fields.value(fields.size() - kValueColumns).trimmed();
    return rx == QLatin1String("Receive F") || rx == QStringLiteral("接收频率") ||
           rx == kCsvHeader.at(1);
}

// The six values named as the Chinese window's titles name them; the English window names
// them as the CSV does.
QStringList valueNames(const ImageWords &words) {
    if (words.language == Language::English)
        return kCsvHeader.mid(1);
    QStringList names;
    for (std::size_t i = 1; i < words.gridHeader.size(); ++i)
        names << words.gridHeader[i].trimmed();
    return names;
}

QString windowFlag(const QString &english, const FlagWords &words) {
    if (english.isEmpty())
        return english;
    return english == englishFlagWords().yes ? words.yes : words.no;
}

} // namespace

QString formatChannelRows(const QList<QStringList> &rows) {
    QString out;
    for (const QStringList &row : rows)
        out += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return out;
}

PastedRow checkPastedFields(const QStringList &fields, const ImageWords &words) {
    PastedRow row;
    const CsvTexts say = csvTexts(words.language);
    if (fields.size() != kValueColumns && fields.size() != kValueColumns + 1) {
        row.problem = say.pasteColumns.arg(fields.size());
        return row;
    }
    const ChannelCheck check = checkChannelValues(
        cellsOf(fields.mid(fields.size() - kValueColumns)), words.flags, valueNames(words), say);
    if (!check.problems.isEmpty()) {
        row.problem = check.problems.join(say.joiner);
        return row;
    }
    ChannelCells cells = check.cells;
    cells.busy = windowFlag(cells.busy, words.flags);
    cells.scan = windowFlag(cells.scan, words.flags);
    row.cells = cells;
    return row;
}

std::optional<QString> loneValue(const QString &text) {
    // One line, perhaps ended as a cell copied from elsewhere ends.
    QString line = text;
    if (line.endsWith(QLatin1String("\r\n")))
        line.chop(2);
    else if (line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    if (line.contains(QLatin1Char('\t')) || line.contains(QLatin1Char('\n')) ||
        line.contains(QLatin1Char('\r')) || line.trimmed().isEmpty())
        return std::nullopt;
    return line.trimmed();
}

QList<PastedRow> parseChannelRows(const QString &text, const ImageWords &words) {
    QList<PastedRow> rows;
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QStringList lines = normal.split(QLatin1Char('\n'));
    bool first = true;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty() && !lines[i].contains(QLatin1Char('\t')))
            continue;
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        const bool wasFirst = std::exchange(first, false);
        if (wasFirst && fields.size() >= kValueColumns && isTitleRow(fields))
            continue;
        PastedRow row = checkPastedFields(fields, words);
        row.line = i + 1;
        rows << row;
    }
    return rows;
}

} // namespace qx
