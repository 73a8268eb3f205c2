#pragma once

#include "tooldialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qx {

// Fill Frequencies: a start frequency, a step in kHz (a usual one or typed) and whether the
// transmit frequencies follow. The texts are checked by the tool that applies them.
class FillDialog : public ToolDialog {
    Q_OBJECT
public:
    // heading: the channels filled.
    FillDialog(const ChannelToolTexts &texts, const QString &heading, const QString &start,
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
