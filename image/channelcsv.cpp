#include "channelcsv.h"

#include "chirpcsv.h"
#include "csvtexts.h"
#include "error.h"
#include "filelimits.h"
#include "frequency.h"
#include "imagefields.h"
#include "memoryframe.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <optional>

namespace qx {

namespace {

QString csvField(const QString &value) {
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool allEmpty(const QStringList &fields) {
    for (const QString &f : fields)
        if (!f.trimmed().isEmpty())
            return false;
    return true;
}

// "67", "67.00" and "67.0" name the same tone: spreadsheets drop trailing zeros.
std::optional<QString> toneText(const QString &field) {
    const QString t = field.trimmed();
    if (t.isEmpty() || t.compare(kToneOff, Qt::CaseInsensitive) == 0)
        return kToneOff;
    bool ok = false;
    const double hz = t.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const QString normal = QString::number(hz, 'f', 1);
    for (const Tone &tone : ToneTable())
        if (normal == QLatin1String(tone.text))
            return normal;
    return std::nullopt;
}

// YES or NO, or the window's own words (rows copied from the Chinese window).
std::optional<QString> flagText(const QString &field, const FlagWords &also) {
    const QString t = field.trimmed();
    const FlagWords words = englishFlagWords();
    if (t.isEmpty() || t.compare(words.no, Qt::CaseInsensitive) == 0 ||
        t.compare(also.no, Qt::CaseInsensitive) == 0)
        return words.no;
    if (t.compare(words.yes, Qt::CaseInsensitive) == 0 ||
        t.compare(also.yes, Qt::CaseInsensitive) == 0)
        return words.yes;
    return std::nullopt;
}

// What an empty channel may still carry in a spreadsheet: nothing, or the defaults.
bool isDefault(const QString &field, const FlagWords &also) {
    const QString t = field.trimmed();
    return t.isEmpty() || t.compare(kToneOff, Qt::CaseInsensitive) == 0 ||
           flagText(t, also) == englishFlagWords().no;
}

struct RowCheck {
    int channel = 0;
    ChannelCells cells;
    QStringList problems;
    QStringList notes;
};

QString frequencyField(const QString &name, const QString &field, ChannelCheck &row,
                       const CsvTexts &say) {
    // A plain decimal number only: a sign or an exponent from a spreadsheet is suspect.
    CheckedFrequency f;
    try {
        if (!field.trimmed().isEmpty() && !isPlainDecimal(field))
            throw invalidFloat(field);
        f = checkFrequencyText(field.trimmed());
    } catch (const Error &) {
        row.problems << say.notFrequency.arg(name, quotedPrefix(field));
        return {};
    }
    switch (f.verdict) {
    case CheckedFrequency::Verdict::Empty:
        return {};
    case CheckedFrequency::Verdict::OutOfRange:
        row.problems << say.outOfRange.arg(name, quotedPrefix(field));
        return {};
    case CheckedFrequency::Verdict::InRange:
        if (f.snapped)
            row.notes << say.snapped.arg(name, field.trimmed(), f.text);
        return f.text;
    }
    return {};
}

RowCheck checkRow(const QStringList &fields, const CsvTexts &say) {
    RowCheck row;
    bool ok = false;
    const QString channel = fields.at(0).trimmed();
    row.channel = channel.toInt(&ok);
    if (!ok || row.channel < 1 || row.channel > kChannelCount) {
        row.problems << say.notChannel.arg(quotedPrefix(channel));
        row.channel = 0;
    }
    const ChannelCheck values =
        checkChannelValues(cellsOf(fields.mid(1)), englishFlagWords(), kCsvHeader.mid(1), say);
    row.cells = values.cells;
    row.problems << values.problems;
    row.notes = values.notes;
    return row;
}

} // namespace

bool isPlainDecimal(const QString &text) {
    static const QRegularExpression plain(QStringLiteral("^\\s*(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    return plain.match(text).hasMatch();
}

ChannelCells cellsOf(const QStringList &values) {
    return {values.value(0), values.value(1), values.value(2),
            values.value(3), values.value(4), values.value(5)};
}

ChannelCheck checkChannelValues(const ChannelCells &given, const FlagWords &words,
                                const QStringList &names, const CsvTexts &say) {
    ChannelCheck row;
    // The six values as CSV columns 1 to 6.
    const std::array<const QString *, 6> values{&given.rx,     &given.rxTone, &given.tx,
                                                &given.txTone, &given.busy,   &given.scan};
    const auto field = [&values](int column) { return *values[std::size_t(column - 1)]; };
    const auto name = [&names](int column) { return names.value(column - 1); };
    if (field(1).trimmed().isEmpty()) {
        // The grid clears such a row; here a value that would vanish is refused instead.
        for (int k = 2; k <= int(values.size()); ++k)
            if (!isDefault(field(k), words))
                row.problems << say.givenWithoutRx.arg(name(k), quotedPrefix(field(k).trimmed()),
                                                       name(1));
        return row;
    }
    row.cells.rx = frequencyField(name(1), field(1), row, say);
    row.cells.tx = frequencyField(name(3), field(3), row, say);
    for (int k : {2, 4}) {
        const auto tone = toneText(field(k));
        if (!tone)
            row.problems << say.notTone.arg(name(k), quotedPrefix(field(k).trimmed()));
        (k == 2 ? row.cells.rxTone : row.cells.txTone) = tone.value_or(QString());
    }
    for (int k : {5, 6}) {
        const auto flag = flagText(field(k), words);
        if (!flag)
            row.problems << say.notFlag.arg(name(k), quotedPrefix(field(k).trimmed()));
        (k == 5 ? row.cells.busy : row.cells.scan) = flag.value_or(QString());
    }
    return row;
}

ChannelTable channelsOfImage(const QByteArray &image) {
    const ImageFields fields = decodeImageFields(image);
    const int damaged = fields.firstDamaged(kRecord03C0);
    if (damaged >= 0)
        throw Error(QStringLiteral("record %1 (channel %2): %3")
                        .arg(damaged)
                        .arg(damaged / 2 + 1)
                        .arg(fields.damage[std::size_t(damaged)]));
    return fields.channels;
}

QString formatChannelCsv(const ChannelTable &channels) {
    QString out = kCsvHeader.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (int n = 0; n < kChannelCount; ++n) {
        const ChannelCells &c = channels[std::size_t(n)];
        QStringList fields{QString::number(n + 1), c.rx, c.rxTone, c.tx, c.txTone, c.busy, c.scan};
        for (QString &f : fields)
            f = csvField(f);
        out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

QList<CsvRecord> parseCsv(const QString &input, const CsvTexts &say) {
    QString text = input;
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<CsvRecord> records;
    CsvRecord record;
    record.line = 1;
    QString field;
    bool inQuotes = false;
    bool afterQuote = false; // a quoted field has closed; only blanks may follow
    bool any = false;        // the record has content
    int line = 1;

    auto endField = [&] {
        record.fields << field;
        field.clear();
        afterQuote = false;
    };
    auto endRecord = [&] {
        endField();
        records << record;
        record = CsvRecord{};
        any = false;
    };

    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    inQuotes = false;
                    afterQuote = true;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            continue; // CRLF: the LF ends the record
        if (c == QLatin1Char('\n')) {
            endRecord();
            record.line = ++line;
            continue;
        }
        any = true;
        if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('"')) {
            if (field.trimmed().isEmpty() && !afterQuote) {
                inQuotes = true;
                field.clear();
            } else if (record.error.isEmpty()) {
                record.error = say.quoteInside;
            }
        } else if (afterQuote) {
            if (!c.isSpace() && record.error.isEmpty())
                record.error = say.textAfterQuote;
        } else {
            field += c;
        }
    }
    if (inQuotes && record.error.isEmpty())
        record.error = say.quoteNotClosed;
    if (any || inQuotes || !field.isEmpty() || !record.fields.isEmpty())
        endRecord();
    return records;
}

bool CsvRecord::blank() const {
    return error.isEmpty() && allEmpty(fields);
}

QString CsvMessage::toString(const CsvTexts &say) const {
    return line > 0 ? say.line.arg(line).arg(text) : text;
}

CsvChannels parseChannelCsv(const QString &text, const CsvTexts &say) {
    CsvChannels result;
    const QList<CsvRecord> records = parseCsv(text, say);
    int k = 0;
    while (k < records.size() && records[k].error.isEmpty() && allEmpty(records[k].fields))
        ++k;
    if (k == records.size()) {
        result.problems << CsvMessage{0, say.noHeader.arg(kCsvHeader.join(QLatin1Char(',')))};
        return result;
    }
    {
        const CsvRecord &header = records[k];
        QStringList names;
        for (const QString &f : header.fields)
            names << f.trimmed();
        bool same = header.error.isEmpty() && names.size() == kCsvHeader.size();
        for (int c = 0; same && c < names.size(); ++c)
            same = names[c].compare(kCsvHeader[c], Qt::CaseInsensitive) == 0;
        if (!same) {
            // Without the expected columns no row can be read safely.
            result.problems << CsvMessage{header.line,
                                          say.wrongHeader.arg(kCsvHeader.join(QLatin1Char(',')))};
            return result;
        }
    }

    std::array<int, kChannelCount> lineOf{};
    for (++k; k < records.size(); ++k) {
        const CsvRecord &rec = records[k];
        // A row rejected before its fields are checked still names its channel: do not
        // report that channel as missing too.
        const auto claimChannel = [&] {
            bool ok = false;
            const int n = rec.fields.isEmpty() ? 0 : rec.fields.at(0).trimmed().toInt(&ok);
            if (ok && n >= 1 && n <= kChannelCount && lineOf[std::size_t(n - 1)] == 0)
                lineOf[std::size_t(n - 1)] = rec.line;
        };
        if (!rec.error.isEmpty()) {
            claimChannel();
            result.problems << CsvMessage{rec.line, rec.error};
            continue;
        }
        if (allEmpty(rec.fields))
            continue;
        QStringList fields = rec.fields;
        // The channel number alone: an empty channel.
        if (fields.size() == 1)
            while (fields.size() < kCsvHeader.size())
                fields << QString();
        if (fields.size() != kCsvHeader.size()) {
            claimChannel();
            result.problems << CsvMessage{rec.line,
                                          say.fieldCount.arg(fields.size()).arg(kCsvHeader.size())};
            continue;
        }
        RowCheck row = checkRow(fields, say);
        if (row.channel > 0) {
            int &first = lineOf[std::size_t(row.channel - 1)];
            if (first > 0)
                row.problems << say.channelTwice.arg(row.channel).arg(first);
            else
                first = rec.line;
        }
        for (const QString &note : row.notes)
            result.notes << CsvMessage{rec.line, note};
        if (!row.problems.isEmpty()) {
            result.problems << CsvMessage{rec.line, row.problems.join(say.joiner)};
            continue;
        }
        result.channels[std::size_t(row.channel - 1)] = row.cells;
    }
    // A channel left out is refused rather than guessed: cleared, or kept from the image?
    for (int n = 1; n <= kChannelCount; ++n)
        if (lineOf[std::size_t(n - 1)] == 0)
            result.problems << CsvMessage{0, say.channelMissing.arg(n)};
    return result;
}

QByteArray applyChannelCsv(const CsvChannels &rows, const QByteArray &image) {
    if (!rows.ok())
        throw Error(
            QStringLiteral("The channel list has %1 rejected rows").arg(rows.problems.size()));
    QByteArray out;
    for (int n = 1; n <= kChannelCount; ++n)
        for (const MemoryFrame &f : encodeChannelFrames(n, *rows.channels[std::size_t(n - 1)]))
            out += f.toByteArray();
    return out + image.mid(out.size());
}

QString csvEncodingProblem(const QString &csvText, const CsvTexts &say) {
    // Read as UTF-8, UTF-16 keeps a NUL beside every letter of the header; CR-only text is
    // one long line. Either would be blamed on the header. A stray NUL in a field is not
    // UTF-16: that row is named as any other bad row.
    const QStringView head = QStringView(csvText).left(
        csvText.indexOf(u'\n') < 0 ? csvText.size() : csvText.indexOf(u'\n'));
    const qsizetype nuls = head.count(QChar(0));
    if (nuls > 0 && nuls * 3 >= head.size())
        return say.utf16;
    if (csvText.contains(u'\r') && !csvText.contains(u'\n'))
        return say.crOnly;
    return {};
}

CsvImport importCsv(const QString &csvText, const QByteArray &image, bool skipUnfit,
                    const CsvTexts &say) {
    const QString whole = csvEncodingProblem(csvText, say);
    if (!whole.isEmpty()) {
        CsvImport result;
        result.errors << whole;
        return result;
    }
    if (isChirpCsv(csvText))
        return importChirpCsv(csvText, image, skipUnfit, say);
    const CsvChannels rows = parseChannelCsv(csvText, say);
    CsvImport result;
    for (const CsvMessage &m : rows.notes)
        result.notes << m.toString(say);
    for (const CsvMessage &m : rows.problems)
        result.errors << m.toString(say);
    if (rows.ok())
        result.image = applyChannelCsv(rows, image);
    return result;
}

} // namespace qx
