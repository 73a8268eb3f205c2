#pragma once

#include <QSpinBox>

namespace qx {

// The power field. Its range is wider than 0..255 so that a typed 300 reaches the change
// handler, which turns it into 0; stepping (arrows, page keys, the wheel, its buttons)
// stops at 0 and 255 instead.
class PowerSpin : public QSpinBox {
    Q_OBJECT
public:
    static constexpr int kLowest = 0;
    static constexpr int kHighest = 255;
    using QSpinBox::QSpinBox;
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
};

} // namespace qx
