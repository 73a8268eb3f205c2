#include "setselecteddialog.h"

#include "windowtexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

namespace qx {

SetSelectedDialog::SetSelectedDialog(const WindowTexts &texts, const QString &heading,
                                     QWidget *parent)
    : ToolDialog(QStringLiteral("SetDialog"),
                 QString(texts.tools.setSelected).remove(QStringLiteral("...")), heading, parent) {
    auto *note = new QLabel(texts.tools.setNote, this);
    note->setObjectName(QStringLiteral("SetNote"));
    form()->addRow(note);
    const QStringList flags{texts.flags.no, texts.flags.yes};
    m_fields = {addField("SetRxTone", texts.tools.setRxTone, toneTexts()),
                addField("SetTxTone", texts.tools.setTxTone, toneTexts()),
                addField("SetBusy", texts.tools.setBusy, flags),
                addField("SetScan", texts.tools.setScan, flags)};
    addButtons(texts.tools);
}

SetSelectedDialog::Field SetSelectedDialog::addField(const char *name, const QString &label,
                                                     const QStringList &items) {
    const Field field{new QCheckBox(label, this), new QComboBox(this)};
    field.on->setObjectName(QLatin1String(name) + QLatin1String("On"));
    field.value->setObjectName(QLatin1String(name));
    field.value->addItems(items);
    field.value->setEnabled(false);
    connect(field.on, &QCheckBox::toggled, field.value, &QWidget::setEnabled);
    form()->addRow(field.on, field.value);
    return field;
}

ChannelCells SetSelectedDialog::appliedTo(ChannelCells cells) const {
    QString *targets[] = {&cells.rxTone, &cells.txTone, &cells.busy, &cells.scan};
    for (std::size_t k = 0; k < m_fields.size(); ++k)
        if (m_fields[k].on->isChecked())
            *targets[k] = m_fields[k].value->currentText();
    return cells;
}

} // namespace qx
