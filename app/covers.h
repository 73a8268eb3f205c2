#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

namespace qx {

// The splash window: a banner, a running "|<" line and the model name. It closes
// itself on its twentieth timer tick, about 2.2 s after it appeared.
class Tcover : public QDialog {
    Q_OBJECT
public:
    explicit Tcover(QWidget *parent = nullptr);

    QLabel *label1() const { return m_label1; }
    int interval() const { return m_timer.interval(); }

public slots:
    void Timer1Timer();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();

    QLabel *m_image1;
    QLabel *m_label1;
    QLabel *m_label2;
    QTimer m_timer;
};

} // namespace qx
