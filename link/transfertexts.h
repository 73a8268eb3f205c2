#pragma once

#include "prompter.h"

#include <QString>

namespace qx {

// The transfer's messages and the style of its retry prompt, in the window's language.
struct TransferTexts {
    QString startRead;  // empty: no start message
    QString startWrite; // empty: no start message
    QString over;
    QString retryCaption;
    QString retryText;
    Prompter::Buttons retryButtons = Prompter::Buttons::OkCancel;
    QString openError;     // sio_open failed
    QString setupError;    // sio_ioctl failed
    QString flowError;     // sio_flowctrl failed
    QString setupFailed;   // after either of the two above
    QString tooFewRecords; // a write of an image with fewer than 35 records
    QString alreadyRunning;
    QString deviceGone; // the device went away during a transfer; the device follows
    // A record step finds the working file missing or empty; the same in both windows.
    QString noFile = QStringLiteral("No File!");
    QString overFile = QStringLiteral("Over File!");
};
TransferTexts chineseTransferTexts();
TransferTexts englishTransferTexts();

} // namespace qx
