#pragma once

#include <QDialog>

class QFormLayout;

namespace qx {

struct ChannelToolTexts;

// The frame of a channel tool's dialog: a form over OK and Cancel. It is window-modal and
// shown with open(), so nothing waits in a nested event loop (a test fills and presses it
// like a user). OK or Enter asks for the values to be applied; the tool accepts the dialog
// once they are, or leaves it open after saying what is wrong. Closed, it deletes itself.
class ToolDialog : public QDialog {
    Q_OBJECT
public:
    ToolDialog(const ChannelToolTexts &texts, const QString &name, const QString &title,
               QWidget *parent);

signals:
    void applyRequested();

protected:
    QFormLayout *form() const { return m_form; }

private:
    QFormLayout *m_form;
};

} // namespace qx
