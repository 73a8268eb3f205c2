#pragma once

#include "channelcodec.h"
#include "tooldialog.h"

#include <array>

class QCheckBox;
class QComboBox;

namespace qx {

struct WindowTexts;

// Set for Selected: receive tone, transmit tone, busy lock-out and scan, each changed only
// when ticked, picked from the lists the grid's own drop-downs hold.
class SetSelectedDialog : public ToolDialog {
    Q_OBJECT
public:
    // heading: the channels changed.
    SetSelectedDialog(const WindowTexts &texts, const QString &heading, QWidget *parent);

    // The cells with the ticked fields set.
    ChannelCells appliedTo(ChannelCells cells) const;

private:
    struct Field {
        QCheckBox *on;
        QComboBox *value;
    };
    Field addField(const char *name, const QString &label, const QStringList &items);

    std::array<Field, 4> m_fields; // receive tone, transmit tone, busy, scan
};

} // namespace qx
