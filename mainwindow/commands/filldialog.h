#pragma once

#include "tooldialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace qx {

// Fill Frequencies: a start frequency, a step in kHz (a usual one or typed) and whether the
// transmit frequencies follow. The texts are checked by the tool that applies them.
class FillDialog : public ToolDialog {
    Q_OBJECT
public:
    // heading: the channels filled; count: how many.
    FillDialog(const ChannelToolTexts &texts, const QString &heading, const QString &start,
               int count, QWidget *parent);

    QString start() const;
    QString step() const;
    bool transmitToo() const;

private:
    // Says what the first frequencies become when the step leaves the raster.
    void showSnapping();

    const QString m_snaps;
    int m_count;
    QLineEdit *m_start;
    QComboBox *m_step;
    QCheckBox *m_transmit;
    QLabel *m_preview;
};

} // namespace qx
