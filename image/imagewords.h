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
};

ImageWords chineseImageWords();
ImageWords englishImageWords();
ImageWords imageWords(Language language);

} // namespace qx
