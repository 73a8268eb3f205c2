#pragma once

#include "tooldialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qx {

// Fill Frequencies: a start frequency, a step in kHz (a usual one or typed) and whether the
// transmit frequencies follow, for the channels named at its top. The texts are checked by
// the tool that applies them.
class FillDialog : public ToolDialog {
    Q_OBJECT
public:
    FillDialog(const ChannelToolTexts &texts, int first, int last, const QString &start,
               QWidget *parent);

    QString start() const;
    QString step() const;
    bool transmitToo() const;

private:
    QLineEdit *m_start;
    QComboBox *m_step;
    QCheckBox *m_transmit;
};

} // namespace qx
