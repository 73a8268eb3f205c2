#include "powerspin.h"

#include <algorithm>

namespace qx {

void PowerSpin::stepBy(int steps) {
    const int target = std::clamp(value() + steps * singleStep(), kLowest, kHighest);
    QSpinBox::stepBy((target - value()) / qMax(1, singleStep()));
}

QAbstractSpinBox::StepEnabled PowerSpin::stepEnabled() const {
    StepEnabled enabled = QSpinBox::stepEnabled();
    if (value() >= kHighest)
        enabled &= ~StepUpEnabled;
    if (value() <= kLowest)
        enabled &= ~StepDownEnabled;
    return enabled;
}

} // namespace qx
