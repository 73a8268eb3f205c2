#pragma once

#include "accesstexts.h"
#include "channeltooltexts.h"
#include "imagewords.h"
#include "printtexts.h"
#include "transfertexts.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <array>

namespace qx {

// Everything in which the Chinese and the English window differ: the words of the image,
// the window's own captions, menus, hints and messages, and a few behaviour flags. The
// window code itself is shared.
struct WindowTexts : ImageWords {
    QString caption;
    QSize outerSize;
    int displayWidth;
    int settingsWidth;
    QString displayFrame;
    QString settingsArea;
    QString portPanel;
    QString portLabel;
    QString portOk;

    // Menus: N1 (File), N2 (Program), N4 (COM Setup), N15 (Language Mode), N3 (Help).
    QString menuFile, menuOpen, menuSave, menuPrint, menuExit;
    QString menuProgram, menuRead, menuWrite;
    QString menuCom, menuSelectCom;
    QString menuLanguage, menuSwitchLanguage;
    QString menuHelp;
    QString languageMenuName;   // N15 / LanguageSetup1
    QString switchLanguageName; // N17 / oChinese1
    QString switchLanguageTo;   // the LG value the switch writes

    // Tool buttons: caption (not displayed) and hint.
    QString tbOpen, tbOpenHint, tbSave, tbSaveHint, tbPrint, tbPrintHint;
    QString tbRead, tbReadHint, tbWrite, tbWriteHint, tbStopHint, tbCom, tbComHint;
    QString tbExit, tbExitHint;

    std::array<QString, 3> statusPanels;
    QString portStatusPrefix; // at start: "串口:COM" / "PORT:COM"
    QString portChosenPrefix; // after a choice: "串口:" / "PROT:"
    // Under the port list: the selected port's device, present or not (%1: the device), or
    // a radio on the network (%1: its URL).
    QString portDevicePresent, portDeviceAbsent, portDeviceNetwork;

    // Detect Port (N18). %1: the port found, "COM2". The lines of what was tried follow.
    // noSerialDevice: the line when there was nothing to try.
    QString menuDetectPort, detectFound, detectNone, noSerialDevice;

    QString scanGroup, paramGroup, seconds;
    int initialMonitorKey;
    QString powerVoltage; // "功率电压:" / "Powers Voltage:"

    QString outOfRange;    // frequency outside 400..512.99999
    QString modelQuestion; // followed by the model text and "?"
    QString copyFailed;
    // A load of a file that holds the image in part: a first line, then a line for each
    // kind of fault naming the channels and settings blocks (%1).
    QString loadIncomplete, loadMissing, loadDamaged, loadForeign;
    QString loadLength;         // %1 the file's bytes, %2 an image's
    QString settingsUnreadable; // at the start: %1 pt.ini and why it cannot be read

    // Added commands: the Edit menu, CSV, backups and verify after write.
    QString menuEdit, menuUndo, menuRedo, menuCut, menuCopy, menuPaste, menuClearChannel;
    QString menuImportCsv, menuExportCsv, menuOpenBackup, menuVerify, menuCheckReads;
    QString csvFilter;
    QString pasteRejected;    // followed by one line per row
    QString rowLabel;         // %1 the row of the pasted text, %2 the channel
    QString noSuchChannel;    // a pasted row beyond channel 16
    QString importRejected;   // followed by one line per problem
    QString importNotes;      // followed by one line per adjusted value
    QString backupFailed;     // %1 the reason
    QString backupStopsWrite; // after backupFailed: the write did not start
    QString logFailed;        // %1 transfer.log and the reason
    QString verifyMatch;
    QString verifyDiffers; // %1 the channels and settings blocks
    QString verifyNotRead;
    QString writeAgain;    // asked after the channels and settings blocks that differ
    QString readNotStored; // a read that did not complete
    QString changedOnDisk; // another program wrote the working file
    // A read the working file cannot take (%1 why): refused before it starts; or, at its
    // end, kept in a backup (%2) or nowhere.
    QString readCannotStore, readKeptIn, readKeptNowhere;
    // At start: another window (process %1) holds the working file; bring it forward?
    QString otherWindow, otherWindowUnreachable;
    QString readUnstable;    // %1 the channels and settings blocks that never came the same
    QString writeIncomplete; // %1 how many of the 35 records the radio took

    // Comparing with a file, CHIRP's CSV, and the preview of a CSV import.
    QString menuExportChirpCsv, menuCompare;
    QString csvNotRead, csvNotSaved, compareNotRead; // %1 the file and the reason
    QString compareIntro, compareSame;               // %1 the file's name
    QString importPreview;                           // over the changes
    QString importUnfit;   // over the lines this radio cannot hold, which the rest leaves out
    QString importChanges; // after them, over the changes
    QString importSame;    // a CSV that changes nothing
    QString noChanges;     // in the list, when nothing changes
    QString importButton, importRestButton;

    PrintTexts print; // the job titled with the caption
    TransferTexts transfer;
    ChannelToolTexts tools;
    AccessTexts access;
};

WindowTexts chineseWindowTexts();
WindowTexts englishWindowTexts();

} // namespace qx
