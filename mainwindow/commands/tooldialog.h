#pragma once

#include <QDialog>

class QFormLayout;

namespace qx {

struct ChannelToolTexts;

// The frame of a channel tool's dialog: a heading naming the channels, a form, OK and
// Cancel. It is window-modal and shown with open(), so nothing waits in a nested event loop
// (a test fills and presses it like a user). OK or Enter asks for the values to be applied;
// the tool accepts the dialog once they are, or leaves it open after saying what is wrong.
// Closed, it deletes itself.
class ToolDialog : public QDialog {
    Q_OBJECT
public:
    ToolDialog(const QString &name, const QString &title, const QString &heading, QWidget *parent);

signals:
    void applyRequested();

protected:
    QFormLayout *form() const { return m_form; }
    // OK and Cancel under the form, after its fields in the tab order: called once the
    // form is filled.
    void addButtons(const ChannelToolTexts &texts);

private:
    QFormLayout *m_form;
};

} // namespace qx
