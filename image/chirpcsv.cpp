#include "chirpcsv.h"

#include "error.h"
#include "filelimits.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace qx {

namespace {

// What the format writes in a tone or code column that the row does not use.
const QString kUnusedTone = QStringLiteral("88.5");
const QString kUnusedCode = QStringLiteral("023");
const QString kUnusedPolarity = QStringLiteral("NN");
const QString kToneToTone = QStringLiteral("Tone->Tone");

// The columns the mapping reads; a file without one of them cannot be read safely.
enum Column { Location, Frequency, Duplex, Offset, Tone, RTone, CTone, CrossMode, Skip };
constexpr std::array<const char *, 9> kReadColumns{"Location",  "Frequency", "Duplex",
                                                   "Offset",    "Tone",      "rToneFreq",
                                                   "cToneFreq", "CrossMode", "Skip"};

bool same(const QString &a, const char *b) {
    return a.trimmed().compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

int firstNonBlank(const QList<CsvRecord> &records) {
    int k = 0;
    while (k < records.size() && records[k].blank())
        ++k;
    return k;
}

bool isChirpHeader(const CsvRecord &record) {
    return std::any_of(record.fields.begin(), record.fields.end(),
                       [](const QString &f) { return same(f, "Location"); });
}

// Which column gives each direction's tone; empty: none.
struct ToneSources {
    QString rx;
    QString tx;
};

// Tone and CrossMode as this radio can hold them: a CTCSS tone or none per direction.
std::optional<ToneSources> toneSources(const QString &mode, const QString &cross,
                                       QStringList &unfit, const CsvTexts &say) {
    const QString r = kReadColumns[RTone];
    const QString c = kReadColumns[CTone];
    if (mode.trimmed().isEmpty())
        return ToneSources{};
    if (same(mode, "Tone"))
        return ToneSources{{}, r};
    if (same(mode, "TSQL"))
        return ToneSources{c, c};
    if (mode.contains(QLatin1String("DTCS"), Qt::CaseInsensitive)) {
        unfit << say.dtcsTone.arg(quotedPrefix(mode.trimmed()));
        return std::nullopt;
    }
    if (!same(mode, "Cross")) {
        unfit << say.unknownTone.arg(quotedPrefix(mode.trimmed()));
        return std::nullopt;
    }
    if (same(cross, "Tone->Tone"))
        return ToneSources{c, r};
    if (same(cross, "Tone->"))
        return ToneSources{{}, r};
    if (same(cross, "->Tone"))
        return ToneSources{c, {}};
    unfit << (cross.contains(QLatin1String("DTCS"), Qt::CaseInsensitive) ? say.dtcsCrossMode
                                                                         : say.unknownCrossMode)
                 .arg(quotedPrefix(cross.trimmed()));
    return std::nullopt;
}

// The transmit frequency as a text for the grid's checks, and the name it goes by there.
struct Transmit {
    QString text;
    QString name;
};
std::optional<Transmit> transmitOf(const QString &duplex, const QString &rx, const QString &offset,
                                   QStringList &unfit, const CsvTexts &say) {
    const QString d = duplex.trimmed();
    if (d.isEmpty())
        return Transmit{rx, kReadColumns[Frequency]};
    if (same(d, "off"))
        return Transmit{};
    if (same(d, "split"))
        return Transmit{offset, kReadColumns[Offset]};
    if (d != QLatin1String("+") && d != QLatin1String("-")) {
        unfit << say.unknownDuplex.arg(quotedPrefix(d));
        return std::nullopt;
    }
    if (!isPlainDecimal(offset)) {
        unfit << say.offsetNotNumber.arg(quotedPrefix(offset.trimmed()));
        return std::nullopt;
    }
    const QString name = QStringLiteral("Frequency %1 Offset").arg(d);
    if (!isPlainDecimal(rx))
        return Transmit{{}, name}; // the receive frequency's check names the fault
    // 15 significant digits give back the decimal sum of texts with fewer digits.
    const double mhz = rx.toDouble() + (d == QLatin1String("+") ? 1 : -1) * offset.toDouble();
    return Transmit{QString::number(mhz, 'g', 15), name};
}

struct Header {
    std::array<int, kReadColumns.size()> index{};
    int size = 0;
};

ChirpRow mapRow(const CsvRecord &record, const Header &header, const ChannelTable &old,
                QStringList &notes, const CsvTexts &say) {
    ChirpRow row;
    row.line = record.line;
    const auto field = [&](Column c) { return record.fields.value(header.index[c]); };
    const QString location = field(Location).trimmed();
    bool ok = false;
    const int n = location.toInt(&ok);
    if (ok && n >= 1 && n <= kChannelCount)
        row.channel = n;
    QStringList unfit;
    if (!record.error.isEmpty())
        unfit << record.error;
    else if (record.fields.size() != header.size)
        unfit << say.chirpFieldCount.arg(record.fields.size()).arg(header.size);
    if (!unfit.isEmpty()) {
        row.unfit = unfit.join(say.joiner);
        return row;
    }
    if (ok && n > kChannelCount)
        unfit << say.locationBeyond.arg(n);
    else if (row.channel == 0)
        unfit << say.locationNotChannel.arg(quotedPrefix(location));

    const QString rx = field(Frequency);
    const auto tones = toneSources(field(Tone), field(CrossMode), unfit, say);
    const auto tx = transmitOf(field(Duplex), rx, field(Offset), unfit, say);
    if (rx.trimmed().isEmpty())
        unfit << say.frequencyEmpty;
    if (tones && tx && !rx.trimmed().isEmpty()) {
        const auto toneOf = [&](const QString &source) {
            return source.isEmpty() ? kToneOff
                                    : field(source == kReadColumns[RTone] ? RTone : CTone);
        };
        const ChannelCells &was = row.channel ? old[std::size_t(row.channel - 1)] : ChannelCells{};
        const QString scan = same(field(Skip), "S") ? QStringLiteral("NO") : QStringLiteral("YES");
        const ChannelCheck check = checkChannelValues(
            ChannelCells{rx, toneOf(tones->rx), tx->text, toneOf(tones->tx), was.busy, scan},
            englishFlagWords(),
            {kReadColumns[Frequency], tones->rx, tx->name, tones->tx, QStringLiteral("busy"),
             kReadColumns[Skip]},
            say);
        unfit << check.problems;
        for (const auto &[source, tone] :
             {std::pair{tones->rx, check.cells.rxTone}, std::pair{tones->tx, check.cells.txTone}})
            if (!source.isEmpty() && tone == kToneOff)
                unfit << say.toneMissing.arg(quotedPrefix(field(Tone).trimmed()), source);
        row.cells = check.cells;
        notes << check.notes;
    }
    unfit.removeDuplicates();
    row.unfit = unfit.join(say.joiner);
    if (!row.unfit.isEmpty())
        row.cells = ChannelCells{};
    return row;
}

// Whole 10 Hz steps of a 9-character frequency text as a text of MHz with six decimals,
// as the format writes them.
qint64 units(const QString &frequency) {
    return QString(frequency).remove(QLatin1Char('.')).toLongLong();
}
QString megahertz(qint64 units) {
    return QStringLiteral("%1.%2")
        .arg(units / 100000)
        .arg(units % 100000 * 10, 6, 10, QLatin1Char('0'));
}

} // namespace

bool isChirpCsv(const QString &text) {
    const QList<CsvRecord> records = parseCsv(text);
    const int k = firstNonBlank(records);
    return k < records.size() && isChirpHeader(records[k]);
}

ChirpChannels parseChirpCsv(const QString &text, const QByteArray &image, const CsvTexts &say) {
    ChirpChannels result;
    const QList<CsvRecord> records = parseCsv(text, say);
    int k = firstNonBlank(records);
    if (k == records.size() || !isChirpHeader(records[k])) {
        result.problems << CsvMessage{0, say.chirpNoHeader};
        return result;
    }
    Header header;
    {
        const CsvRecord &line = records[k];
        header.size = int(line.fields.size());
        QStringList missing;
        for (std::size_t c = 0; c < kReadColumns.size(); ++c) {
            const auto at =
                std::find_if(line.fields.begin(), line.fields.end(),
                             [&](const QString &f) { return same(f, kReadColumns[c]); });
            header.index[c] = int(at - line.fields.begin());
            if (at == line.fields.end())
                missing << QLatin1String(kReadColumns[c]);
        }
        if (!line.error.isEmpty())
            result.problems << CsvMessage{line.line, line.error};
        if (!missing.isEmpty())
            result.problems << CsvMessage{line.line,
                                          (missing.size() == 1 ? say.lacksColumn : say.lacksColumns)
                                              .arg(missing.join(QStringLiteral(", ")))};
        if (!result.problems.isEmpty())
            return result;
    }
    ChannelTable old;
    try {
        old = channelsOfImage(image);
    } catch (const Error &e) {
        result.problems << CsvMessage{0, say.busyNotKept.arg(e.message())};
        return result;
    }

    std::array<int, kChannelCount> lineOf{}; // the first row of each Location
    for (++k; k < records.size(); ++k) {
        if (records[k].blank())
            continue;
        QStringList notes;
        ChirpRow row = mapRow(records[k], header, old, notes, say);
        if (row.channel > 0) {
            int &first = lineOf[std::size_t(row.channel - 1)];
            if (first == 0) {
                first = row.line;
            } else {
                row.unfit += (row.unfit.isEmpty() ? QString() : say.joiner) +
                             say.locationTwice.arg(row.channel).arg(first);
                row.cells = ChannelCells{};
            }
        }
        if (row.unfit.isEmpty()) {
            notes.removeDuplicates();
            for (const QString &note : notes)
                result.notes << CsvMessage{row.line, note};
        }
        result.rows << row;
    }
    return result;
}

QByteArray applyChirpCsv(const ChirpChannels &rows, const QByteArray &image) {
    CsvChannels channels;
    channels.problems = rows.problems;
    for (auto &c : channels.channels)
        c = ChannelCells{};
    std::array<bool, kChannelCount> filled{}, skipped{};
    for (const ChirpRow &row : rows.rows) {
        if (row.channel <= 0)
            continue;
        const auto n = std::size_t(row.channel - 1);
        if (row.unfit.isEmpty()) {
            channels.channels[n] = row.cells;
            filled[n] = true;
        } else {
            skipped[n] = true;
        }
    }
    QByteArray result = applyChannelCsv(channels, image);
    // A row left out was meant for its channel: that channel keeps what it holds, byte for
    // byte, rather than becoming empty as a channel without any row does.
    // (A record a short image lacks stays empty.)
    for (int n = 0; n < kChannelCount; ++n) {
        if (!skipped[std::size_t(n)] || filled[std::size_t(n)])
            continue;
        for (int record = 2 * n; record < 2 * n + 2; ++record)
            if (const QByteArray old = recordBytes(image, record); old.size() == MemoryFrame::kSize)
                result.replace(record * MemoryFrame::kSize, MemoryFrame::kSize, old);
    }
    return result;
}

CsvImport importChirpCsv(const QString &text, const QByteArray &image, bool skipUnfit,
                         const CsvTexts &say) {
    const ChirpChannels rows = parseChirpCsv(text, image, say);
    CsvImport result;
    for (const CsvMessage &m : rows.notes)
        result.notes << m.toString(say);
    for (const CsvMessage &m : rows.problems)
        result.errors << m.toString(say);
    for (const ChirpRow &row : rows.rows)
        if (!row.unfit.isEmpty())
            (skipUnfit ? result.skipped : result.errors)
                << CsvMessage{row.line, row.unfit}.toString(say);
    if (result.errors.isEmpty())
        result.image = applyChirpCsv(rows, image);
    return result;
}

QString formatChirpCsv(const ChannelTable &channels) {
    QString out = kChirpHeader.join(QLatin1Char(',')) + QLatin1Char('\n');
    const QString &off = kToneOff;
    for (int n = 0; n < kChannelCount; ++n) {
        const ChannelCells &c = channels[std::size_t(n)];
        if (c.rx.isEmpty())
            continue;
        const qint64 rx = units(c.rx);
        const qint64 tx = c.tx.isEmpty() ? rx : units(c.tx);
        const QString duplex = c.tx.isEmpty() ? QStringLiteral("off")
                               : tx == rx     ? QString()
                               : tx > rx      ? QStringLiteral("+")
                                              : QStringLiteral("-");
        // Tone mode, rToneFreq (transmit), cToneFreq (receive), CrossMode.
        QStringList tone{QString(), kUnusedTone, kUnusedTone, kToneToTone};
        if (c.rxTone == off && c.txTone != off)
            tone = QStringList{QStringLiteral("Tone"), c.txTone, kUnusedTone, kToneToTone};
        else if (c.rxTone != off && c.txTone == c.rxTone)
            tone = QStringList{QStringLiteral("TSQL"), kUnusedTone, c.rxTone, kToneToTone};
        else if (c.rxTone != off && c.txTone == off)
            tone = QStringList{QStringLiteral("Cross"), kUnusedTone, c.rxTone,
                               QStringLiteral("->Tone")};
        else if (c.rxTone != off)
            tone = QStringList{QStringLiteral("Cross"), c.txTone, c.rxTone, kToneToTone};
        QStringList fields{QString::number(n + 1), QString(), megahertz(rx), duplex,
                           megahertz(std::abs(tx - rx))};
        fields << tone.mid(0, 3) << kUnusedCode << kUnusedPolarity << kUnusedCode << tone[3]
               << QStringLiteral("FM") << QStringLiteral("5.00")
               << (c.scan == englishFlagWords().yes ? QString() : QStringLiteral("S"));
        while (fields.size() < kChirpHeader.size()) // Power, Comment and the D-STAR columns
            fields << QString();
        out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

} // namespace qx
