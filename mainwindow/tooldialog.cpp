#include "tooldialog.h"

#include "channeltooltexts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx {

ToolDialog::ToolDialog(const ChannelToolTexts &texts, const QString &name, const QString &title,
                       QWidget *parent)
    : QDialog(parent), m_form(new QFormLayout) {
    setObjectName(name);
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("ToolDialogButtons"));
    buttons->button(QDialogButtonBox::Ok)->setText(texts.ok);
    buttons->button(QDialogButtonBox::Cancel)->setText(texts.cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &ToolDialog::applyRequested);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addWidget(buttons);
}

} // namespace qx
