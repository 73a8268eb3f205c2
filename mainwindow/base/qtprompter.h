#pragma once

#include "prompter.h"

class QWidget;

namespace qx {

// The prompter of the running program: Qt message boxes and file dialogs.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void message(const QString &text) override;
    bool ask(const QString &caption, const QString &text, Buttons buttons, Icon icon) override;
    void error(const QString &text) override;
    bool showList(const QString &text, const QStringList &lines,
                  const QString &acceptText) override;
    QString openFileName(const QString &filter, const QString &dir) override;
    QString saveFileName(const QString &filter, const QString &dir) override;
    bool choosePrinter(QPrinter &printer) override;
    void previewPages(QPrinter &printer, const std::function<void(QPrinter &)> &paint) override;

private:
    QWidget *m_parent;
};

} // namespace qx
