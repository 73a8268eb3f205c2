#pragma once

#include "memoryframe.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qx {

// Index -1 means a list without a selection (after decoding an out-of-range digit).
struct Block03C0Values {
    int beep = 0;        // CB_BY
    int batterySave = 0; // CB_SD
    int squelch = 0;     // CB_DP
    int monitorKey = 0;  // CB_JT
    int timeOut = 0;     // CB_CS, 0..10; 11..15 decode to -1
    bool operator==(const Block03C0Values &o) const {
        return beep == o.beep && batterySave == o.batterySave && squelch == o.squelch &&
               monitorKey == o.monitorKey && timeOut == o.timeOut;
    }
};
Block03C0Values data03C0(const QString &frameText);
MemoryFrame save03C0(const Block03C0Values &values);

struct ModelBand {
    int model = 0;
    int band = 0;
};
// Empty when the signature digits sum to none of 5, 6, 10, 11 (nothing changes).
// A band code that names no band of the model decodes to band -1.
std::optional<ModelBand> data03D0(const QString &frameText);
// bandCount is the number of entries of the band list: two entries take the VHF codes.
MemoryFrame save03D0(int model, int band, int bandCount);

struct Block03F0Values {
    int voice = 0; // CB_YY
    QString carrierTime = QStringLiteral("10");
    int power = 96;
    QString delayTime = QStringLiteral("10");
    QString returnTime = QStringLiteral("5");
    bool scanOn = false;      // CheckBox2
    int scanMode = 0;         // CB_SM
    int channelMode = 1;      // CB_YX
    int priorityChannel = 15; // CB_CH
    bool operator==(const Block03F0Values &o) const {
        return voice == o.voice && carrierTime == o.carrierTime && power == o.power &&
               delayTime == o.delayTime && returnTime == o.returnTime && scanOn == o.scanOn &&
               scanMode == o.scanMode && channelMode == o.channelMode &&
               priorityChannel == o.priorityChannel;
    }
};
Block03F0Values data03F0(const QString &frameText);
// Throws invalidFloat / invalidInteger for a time text that TimeByte cannot take.
MemoryFrame save03F0(const Block03F0Values &values);

// Seconds times two, modulo 256. "7.5" gives 0x0F.
std::uint8_t TimeByte(const QString &time);
QString TimeStepUp(const QString &time);
QString TimeStepDown(const QString &time);
// A number in its shortest decimal form: "10", "7.5", "1.3" (15 significant digits).
QString shortestText(double value);

struct Band {
    int model;
    int index;
    const char *name;
    const char *defaultFrequency;
    std::uint8_t code;
};
const std::vector<Band> &BandTable();
QStringList bandNames(int model); // the band list for a model (1: VHF, any other: UHF)
// The default frequency of a band text, compared without regard to case; "150.00000"
// for a text that matches no band.
QString bandDefaultFrequency(const QString &bandText);
QString modelDefaultFrequency(int model);
QStringList modelNames(); // "QX-7420"

} // namespace qx
