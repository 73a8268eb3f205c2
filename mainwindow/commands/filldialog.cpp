#include "filldialog.h"

#include "channeltooltexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace qx {

FillDialog::FillDialog(const ChannelToolTexts &texts, const QString &heading, const QString &start,
                       QWidget *parent)
    : ToolDialog(QStringLiteral("FillDialog"), QString(texts.fill).remove(QStringLiteral("...")),
                 heading, parent),
      m_start(new QLineEdit(start, this)), m_step(new QComboBox(this)),
      m_transmit(new QCheckBox(texts.fillTransmit, this)) {
    m_start->setObjectName(QStringLiteral("FillStart"));
    m_step->setObjectName(QStringLiteral("FillStep"));
    m_step->setEditable(true);
    m_step->setInsertPolicy(QComboBox::NoInsert);
    m_step->addItems({QStringLiteral("5"), QStringLiteral("6.25"), QStringLiteral("10"),
                      QStringLiteral("12.5"), QStringLiteral("25")});
    m_step->setCurrentIndex(3);
    m_transmit->setObjectName(QStringLiteral("FillTransmit"));
    m_transmit->setChecked(true);
    form()->addRow(texts.fillStart, m_start);
    form()->addRow(texts.fillStep, m_step);
    form()->addRow(m_transmit);
    addButtons(texts);
    m_start->selectAll();
}

QString FillDialog::start() const {
    return m_start->text();
}

QString FillDialog::step() const {
    return m_step->currentText();
}

bool FillDialog::transmitToo() const {
    return m_transmit->isChecked();
}

} // namespace qx
