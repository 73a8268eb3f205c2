#pragma once

#include "channelcodec.h"

#include <QString>
#include <QStringList>
#include <array>

namespace qx {

enum class Language { Chinese, English };

// The words in which an image's fields and values are shown, in the window and on the
// command line alike: the grid's column titles, the names of the settings as the panel
// labels them, the items of the settings lists and the flag words. Tones show as the
// ToneTable's texts in both languages.
struct ImageWords {
    Language language = Language::Chinese;
    std::array<QString, 7> gridHeader;
    FlagWords flags;

    QString modelLabel, bandLabel;
    QString scanSelect, scanMode, channelMode, priorityChannel;
    QString carrierTime, delayTime, returnTime;
    QStringList scanModeItems, channelModeItems;
    QString beep, batterySave, squelch, voice, monitorKey, timeOut, power;
    QStringList offOnItems, voiceItems, monitorKeyItems, timeOutItems;
    QStringList squelchItems;  // 0 .. 9
    QStringList priorityItems; // CH1 .. CH16

    // A channel by its number (%1) and a settings block by its address (%1, "03C0").
    QString channelName, settingsName;
    // Comparing two images: a field's change (%1 the field, %2 before, %3 after); a tone
    // column named with its frequency's (%1 "CTCSS", %2 "Receive F"); what a field shows
    // when it is empty, or its record missing or damaged; the channels and settings blocks
    // (%1) that differ in bytes no field shows.
    QString changeLine, toneOf, emptyValue, missingValue, damagedValue, otherBytes;
};

ImageWords chineseImageWords();
ImageWords englishImageWords();
ImageWords imageWords(Language language);

// "channel 3" for records 4 and 5, "settings 03C0" for record 32, in the given formats.
QString recordName(const QString &channelName, const QString &settingsName, int record);
inline QString recordName(const ImageWords &words, int record) {
    return recordName(words.channelName, words.settingsName, record);
}
// A record as the command line names it, with the half of a channel it holds: "channel 3,
// tones and flags", "model and band 03D0".
QString recordRole(int record);

} // namespace qx
