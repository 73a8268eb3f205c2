#include "tooldialog.h"

#include "channeltooltexts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx {

ToolDialog::ToolDialog(const QString &name, const QString &title, const QString &heading,
                       QWidget *parent)
    : QDialog(parent), m_form(new QFormLayout) {
    setObjectName(name);
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *channels = new QLabel(heading, this);
    channels->setObjectName(QStringLiteral("ToolChannels"));
    m_form->addRow(channels);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
}

void ToolDialog::addButtons(const ChannelToolTexts &texts) {
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("ToolDialogButtons"));
    buttons->button(QDialogButtonBox::Ok)->setText(texts.ok);
    buttons->button(QDialogButtonBox::Cancel)->setText(texts.cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &ToolDialog::applyRequested);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout()->addWidget(buttons);
}

} // namespace qx
