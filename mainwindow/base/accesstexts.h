#pragma once

#include <QString>

namespace qx {

// What the window says to a screen reader and about a running transfer, in the window's
// language: names of controls that show no words of their own and the transfer's phases.
struct AccessTexts {
    QString toolBar, statusBar, grid, progress;
    QString closePanel;       // the port panel's "X"
    QString spinUp, spinDown; // %1: the field's label
    // The status line while a transfer runs: %1 the block, %2 of how many.
    QString reading, checking, writing, verifying, backingUp;
    // The progress bar's name while a phase runs.
    QString readingName, checkingName, writingName, verifyingName, backingUpName;
};

AccessTexts chineseAccessTexts();
AccessTexts englishAccessTexts();

// A menu title with its mnemonic: the letter marked where the title has it ("&File"),
// else appended as "文件(&F)".
QString withMnemonic(const QString &title, QChar letter);

} // namespace qx
