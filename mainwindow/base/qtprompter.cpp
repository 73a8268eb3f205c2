#include "qtprompter.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx {

namespace {

QString applicationTitle() {
    return QApplication::applicationDisplayName();
}

} // namespace

void QtPrompter::message(const QString &text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtPrompter::ask(const QString &caption, const QString &text, Buttons buttons, Icon icon) {
    QMessageBox box(icon == Icon::Question ? QMessageBox::Question : QMessageBox::NoIcon, caption,
                    text, QMessageBox::NoButton, m_parent);
    QAbstractButton *yes = nullptr;
    switch (buttons) {
    case Buttons::Ok:
        yes = box.addButton(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        yes = box.addButton(QMessageBox::Ok);
        box.setEscapeButton(box.addButton(QMessageBox::Cancel));
        break;
    case Buttons::YesNo:
        yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
        box.setEscapeButton(box.addButton(QStringLiteral("&No"), QMessageBox::NoRole));
        break;
    case Buttons::RetryIgnore:
        yes = box.addButton(QStringLiteral("&Retry"), QMessageBox::AcceptRole);
        box.setEscapeButton(box.addButton(QStringLiteral("&Ignore"), QMessageBox::RejectRole));
        break;
    }
    box.setDefaultButton(qobject_cast<QPushButton *>(yes));
    box.exec();
    return box.clickedButton() == yes;
}

void QtPrompter::error(const QString &text) {
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtPrompter::showList(const QString &text, const QStringList &lines,
                          const QString &acceptText) {
    // A message box grows with its text past the screen's edge; the list scrolls instead.
    QDialog box(m_parent);
    box.setObjectName(QStringLiteral("ListBox"));
    box.setWindowTitle(applicationTitle());
    auto *layout = new QVBoxLayout(&box);
    auto *label = new QLabel(text, &box);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto *list = new QPlainTextEdit(lines.join(QLatin1Char('\n')), &box);
    list->setObjectName(QStringLiteral("ListLines"));
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(&box);
    QPushButton *accept = acceptText.isEmpty()
                              ? buttons->addButton(QDialogButtonBox::Ok)
                              : buttons->addButton(acceptText, QDialogButtonBox::AcceptRole);
    if (!acceptText.isEmpty())
        buttons->addButton(QDialogButtonBox::Cancel);
    accept->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    layout->addWidget(buttons);
    box.resize(560, 380);
    return box.exec() == QDialog::Accepted || acceptText.isEmpty();
}

QString QtPrompter::openFileName(const QString &filter, const QString &dir) {
    return QFileDialog::getOpenFileName(m_parent, QString(), dir, filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

QString QtPrompter::saveFileName(const QString &filter, const QString &dir) {
    return withFilterExtension(QFileDialog::getSaveFileName(m_parent, QString(), dir, filter,
                                                            nullptr,
                                                            QFileDialog::DontUseNativeDialog |
                                                                QFileDialog::DontConfirmOverwrite),
                               filter);
}

bool QtPrompter::choosePrinter(QPrinter &printer) {
    QPrintDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompter::previewPages(QPrinter &printer, const std::function<void(QPrinter &)> &paint) {
    QPrintPreviewDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("PrintPreviewDialog"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter *p) { paint(*p); });
    dialog.exec();
}

} // namespace qx
