#pragma once

#include "channelcodec.h"
#include "imagewords.h"
#include "settingscodec.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace qx {

// The settings as the panel shows them.
enum class Setting {
    Model,
    Band,
    Beep,
    BatterySave,
    Squelch,
    MonitorKey,
    TimeOut,
    Voice,
    ScanSelect,
    ScanMode,
    ChannelMode,
    PriorityChannel,
    CarrierTime,
    DelayTime,
    ReturnTime,
    Power,
};
constexpr int kSettingCount = int(Setting::Power) + 1;

// One field of an image: a channel's grid cell, or a setting.
struct ImageField {
    int channel = 0; // 1 to 16 for a cell, 0 for a setting
    int column = 0;  // the cell's grid column, 1 (receive frequency) to 6 (scan)
    Setting setting = Setting::Model;
};
// The 96 cells in grid order, then the settings in the order above.
QList<ImageField> allImageFields();

// What a field holds, in neither language.
struct FieldValue {
    enum class State { Shown, Missing, Damaged }; // Missing: beyond the end of the file
    State state = State::Shown;
    // A cell (English flag words), a time, the power, or the model's or band's name
    // ("-": none).
    QString text;
    int item = -1; // the item of the other settings lists; -1: none selected
    bool operator==(const FieldValue &o) const {
        return state == o.state && text == o.text && item == o.item;
    }
    bool operator!=(const FieldValue &o) const { return !(*this == o); }
};

// An image as the window's load shows it: every record that decodes is shown, one that
// does not hides none after it; records beyond 34 and a partial record at the end are
// ignored.
struct ImageFields {
    ChannelTable channels; // the English window's cells
    std::array<FieldValue::State, kRecordCount> records{};
    std::array<QString, kRecordCount> damage; // why a damaged record does not decode
    Block03C0Values block03C0;
    std::optional<ModelBand> modelBand; // empty: the block names no model
    Block03F0Values block03F0;

    FieldValue value(const ImageField &field) const;
    // The first damaged record before end; -1 when there is none.
    int firstDamaged(int end = kRecordCount) const;
};
ImageFields decodeImageFields(const QByteArray &image);

// The record that holds a setting: kRecord03C0, kRecord03D0 or kRecord03F0.
int settingRecord(Setting setting);

// A field's name and value in the words of the grid and the settings panel: "channel 3
// Receive F", "channel 3 CTCSS (Receive F)", "Beep Tone"; "462.06250", "ON", "(empty)",
// "(missing)", "-" for a list without a selection.
QString fieldName(const ImageField &field, const ImageWords &words);
QString fieldText(const ImageField &field, const FieldValue &value, const ImageWords &words);

} // namespace qx
