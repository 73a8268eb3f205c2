#pragma once

#include "imagewords.h"
#include "prompter.h"

#include <QList>
#include <QString>

namespace qx {

// The transfer's messages and the style of its retry prompt, in the window's language.
struct TransferTexts {
    Language language = Language::English; // of the port's diagnosis
    QString startRead;                     // empty: no start message
    QString startWrite;                    // empty: no start message
    QString over;
    QString retryCaption;
    QString retryText;
    Prompter::Buttons retryButtons = Prompter::Buttons::OkCancel;
    QString openError;     // sio_open failed
    QString setupError;    // sio_ioctl failed
    QString flowError;     // sio_flowctrl failed
    QString setupFailed;   // after either of the two above
    QString tooFewRecords; // a write of an image with fewer than 35 records
    // A write of an image with a record whose header is not its own: %1 the record's name,
    // %2 the bytes it starts with, %3 the bytes it should start with.
    QString foreignRecord;
    QString channelName;  // %1 the channel
    QString settingsName; // %1 the block's address
    QString alreadyRunning;
    QString deviceGone; // the device went away during a transfer; the device follows
    // The radio answered a read with a frame for another block: %1 its address, %2 the
    // address asked for, %3 the frame's bytes.
    QString foreignAnswer;
    // A record step finds the working file missing or empty; the same in both windows.
    QString noFile = QStringLiteral("No File!");
    QString overFile = QStringLiteral("Over File!");
};
// "channel 3" for records 4 and 5, "settings 03C0" for record 32.
QString recordName(const TransferTexts &texts, int record);
// The channels and settings blocks of these records, each once: "channel 3, settings 03C0".
QString recordNames(const TransferTexts &texts, const QList<int> &records);
TransferTexts chineseTransferTexts();
TransferTexts englishTransferTexts();

} // namespace qx
