#pragma once

#include "imagefields.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace qx {

struct FieldChange {
    ImageField field;
    FieldValue before;
    FieldValue after;
};

// What differs between two images, field by field, as the window would show each.
struct ImageDiff {
    QList<FieldChange> changes; // grid order, then the settings
    // Channels (by their first record) and settings records whose bytes differ while none
    // of their fields does: unused bytes, a record's header, two records damaged alike.
    QList<int> otherBytes;
    bool isEmpty() const { return changes.isEmpty() && otherBytes.isEmpty(); }
};
// Records 0 to 34 of each; what lies beyond them the window ignores too.
ImageDiff diffImages(const QByteArray &before, const QByteArray &after);

// One line per changed field, "channel 3 Receive F: 462.06250 -> 462.07500", "Beep Tone:
// ON -> OFF", then one line naming the channels and settings blocks that differ otherwise.
QStringList formatImageDiff(const ImageDiff &diff, const ImageWords &words);

} // namespace qx
