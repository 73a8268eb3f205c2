#pragma once

#include "frequencylist.h"
#include "imagewords.h"

#include <QString>

namespace qx {

// What printing draws and says, in the window's language.
struct PrintTexts {
    ListTexts list;
    DateStyle dateStyle = DateStyle::Chinese;
    QString jobTitle; // the print job's and the PDF's title
    QString menuPrintDialog, menuPrintPreview;
    QString question, caption; // "Do you print?" and its caption
    QString noPrinter;         // then: save as PDF instead?
    QString printerRefused;    // %1 the printer, %2 the reason; then: save as PDF instead?
    QString beginRefused;      // the reason when the printer refuses to begin the document
    QString pdfFilter;
    QString sentTo;  // status line: %1 the printer
    QString savedAs; // status line: %1 the PDF file
};

// jobOf: what the list is of, the window's title or an image file's name.
PrintTexts printTexts(Language language, const QString &jobOf);

} // namespace qx
