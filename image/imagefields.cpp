#include "imagefields.h"

#include "error.h"

#include <algorithm>

namespace qx {

namespace {

using State = FieldValue::State;

// Grid columns, as ChannelCells holds them.
enum Column { Rx = 1, RxTone, Tx, TxTone, Busy, Scan };

const QString kNone = QStringLiteral("-");

const QString &cellOf(const ChannelCells &c, int column) {
    switch (column) {
    case Rx:
        return c.rx;
    case RxTone:
        return c.rxTone;
    case Tx:
        return c.tx;
    case TxTone:
        return c.txTone;
    case Busy:
        return c.busy;
    default:
        return c.scan;
    }
}

// The list a setting's item is taken from; nullptr for a setting shown as a text.
const QStringList *itemsOf(Setting setting, const ImageWords &w) {
    switch (setting) {
    case Setting::Beep:
    case Setting::BatterySave:
    case Setting::ScanSelect:
        return &w.offOnItems;
    case Setting::Squelch:
        return &w.squelchItems;
    case Setting::MonitorKey:
        return &w.monitorKeyItems;
    case Setting::TimeOut:
        return &w.timeOutItems;
    case Setting::Voice:
        return &w.voiceItems;
    case Setting::ScanMode:
        return &w.scanModeItems;
    case Setting::ChannelMode:
        return &w.channelModeItems;
    case Setting::PriorityChannel:
        return &w.priorityItems;
    default:
        return nullptr;
    }
}

const QString &labelOf(Setting setting, const ImageWords &w) {
    switch (setting) {
    case Setting::Model:
        return w.modelLabel;
    case Setting::Band:
        return w.bandLabel;
    case Setting::Beep:
        return w.beep;
    case Setting::BatterySave:
        return w.batterySave;
    case Setting::Squelch:
        return w.squelch;
    case Setting::MonitorKey:
        return w.monitorKey;
    case Setting::TimeOut:
        return w.timeOut;
    case Setting::Voice:
        return w.voice;
    case Setting::ScanSelect:
        return w.scanSelect;
    case Setting::ScanMode:
        return w.scanMode;
    case Setting::ChannelMode:
        return w.channelMode;
    case Setting::PriorityChannel:
        return w.priorityChannel;
    case Setting::CarrierTime:
        return w.carrierTime;
    case Setting::DelayTime:
        return w.delayTime;
    case Setting::ReturnTime:
        return w.returnTime;
    default:
        return w.power;
    }
}

// A caption as a name inside a line: without the blanks that line the window's labels up
// and without a closing colon ("超    时" is 超时, "Model Type:" is Model Type).
QString nameOf(QString caption, Language language) {
    caption = caption.trimmed();
    if (caption.endsWith(QLatin1Char(':')) || caption.endsWith(QChar(0xFF1A)))
        caption.chop(1);
    if (language == Language::Chinese)
        caption.remove(QLatin1Char(' '));
    return caption;
}

QString item(const QStringList &items, int index) {
    return index >= 0 && index < items.size() ? items.at(index) : kNone;
}

} // namespace

QList<ImageField> allImageFields() {
    QList<ImageField> fields;
    for (int n = 1; n <= kChannelCount; ++n)
        for (int c = Rx; c <= Scan; ++c)
            fields << ImageField{n, c};
    for (int s = 0; s < kSettingCount; ++s)
        fields << ImageField{0, 0, Setting(s)};
    return fields;
}

int settingRecord(Setting setting) {
    if (setting <= Setting::Band)
        return kRecord03D0;
    if (setting <= Setting::TimeOut)
        return kRecord03C0;
    return kRecord03F0;
}

ImageFields decodeImageFields(const QByteArray &image) {
    const FlagWords words = englishFlagWords();
    ImageFields f;
    const int count = std::min(int(image.size() / MemoryFrame::kSize), kRecordCount);
    std::fill(f.records.begin() + count, f.records.end(), State::Missing);
    for (int i = 0; i < count; ++i) {
        const QString text = FrameText(MemoryFrame::fromBytes(recordBytes(image, i)));
        try {
            if (i < kRecord03C0) {
                ChannelCells &row = f.channels[std::size_t(i / 2)];
                if (i % 2 == 0) {
                    const FrequencyCells cells = get_data1(text);
                    row.rx = cells.rx;
                    row.tx = cells.tx;
                    continue;
                }
                const ToneFlagCells t = get_data2(text, row.rx, words);
                if (t.emptyRow)
                    row = ChannelCells{};
                else
                    row = {row.rx, t.rxTone, row.tx, t.txTone, t.busy, t.scan};
            } else if (i == kRecord03C0) {
                f.block03C0 = data03C0(text);
            } else if (i == kRecord03D0) {
                f.modelBand = data03D0(text);
            } else {
                f.block03F0 = data03F0(text);
            }
        } catch (const Error &e) {
            f.records[std::size_t(i)] = State::Damaged;
            f.damage[std::size_t(i)] = e.message();
        }
    }
    return f;
}

int ImageFields::firstDamaged(int end) const {
    for (int i = 0; i < end; ++i)
        if (records[std::size_t(i)] == State::Damaged)
            return i;
    return -1;
}

FieldValue ImageFields::value(const ImageField &field) const {
    FieldValue v;
    if (field.channel > 0) {
        // The tones and flags show only under a receive frequency that was read.
        const int first = 2 * (field.channel - 1);
        v.state = records[std::size_t(first)];
        if (v.state == State::Shown && field.column != Rx && field.column != Tx)
            v.state = records[std::size_t(first + 1)];
        if (v.state == State::Shown)
            v.text = cellOf(channels[std::size_t(field.channel - 1)], field.column);
        return v;
    }
    v.state = records[std::size_t(settingRecord(field.setting))];
    if (v.state != State::Shown)
        return v;
    const Block03C0Values &c0 = block03C0;
    const Block03F0Values &f0 = block03F0;
    switch (field.setting) {
    case Setting::Model:
        // The model list offers only the UHF model; the band is named from the decoded
        // model's own list, so a VHF image does not show a UHF band name.
        v.text = modelBand ? item(modelNames(), modelBand->model) : kNone;
        break;
    case Setting::Band:
        v.text = modelBand ? item(bandNames(modelBand->model), modelBand->band) : kNone;
        break;
    case Setting::Beep:
        v.item = c0.beep;
        break;
    case Setting::BatterySave:
        v.item = c0.batterySave;
        break;
    case Setting::Squelch:
        v.item = c0.squelch;
        break;
    case Setting::MonitorKey:
        v.item = c0.monitorKey;
        break;
    case Setting::TimeOut:
        v.item = c0.timeOut;
        break;
    case Setting::Voice:
        v.item = f0.voice;
        break;
    case Setting::ScanSelect:
        v.item = f0.scanOn ? 1 : 0;
        break;
    case Setting::ScanMode:
        v.item = f0.scanMode;
        break;
    case Setting::ChannelMode:
        v.item = f0.channelMode;
        break;
    case Setting::PriorityChannel:
        v.item = f0.priorityChannel;
        break;
    case Setting::CarrierTime:
        v.text = f0.carrierTime;
        break;
    case Setting::DelayTime:
        v.text = f0.delayTime;
        break;
    case Setting::ReturnTime:
        v.text = f0.returnTime;
        break;
    case Setting::Power:
        v.text = QString::number(f0.power);
        break;
    }
    return v;
}

QString fieldName(const ImageField &field, const ImageWords &words) {
    if (field.channel == 0)
        return nameOf(labelOf(field.setting, words), words.language);
    const auto title = [&](int column) {
        return nameOf(words.gridHeader[std::size_t(column)], words.language);
    };
    // Both tone columns are titled CTCSS: name the frequency each belongs to.
    const QString column = field.column == RxTone || field.column == TxTone
                               ? words.toneOf.arg(title(field.column), title(field.column - 1))
                               : title(field.column);
    return words.channelName.arg(field.channel) + QLatin1Char(' ') + column;
}

QString fieldText(const ImageField &field, const FieldValue &value, const ImageWords &words) {
    if (value.state == State::Missing)
        return words.missingValue;
    if (value.state == State::Damaged)
        return words.damagedValue;
    if (field.channel > 0) {
        if (value.text.isEmpty())
            return words.emptyValue;
        if (field.column == Busy || field.column == Scan)
            return value.text == englishFlagWords().yes ? words.flags.yes : words.flags.no;
        return value.text;
    }
    const QStringList *items = itemsOf(field.setting, words);
    return items ? item(*items, value.item) : value.text;
}

} // namespace qx
