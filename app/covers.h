#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;

namespace qx {

// The splash window: a banner, a running "|<" line and the model name. It closes
// itself on its twentieth timer tick, 2.19 s after it appeared.
class Tcover : public QDialog {
    Q_OBJECT
public:
    explicit Tcover(QWidget *parent = nullptr);

    QLabel *label1() const { return m_label1; }
    int interval() const { return m_interval; }

signals:
    // Once, after the splash was first painted: start-up builds the main window then.
    void appeared();

public slots:
    void Timer1Timer();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void FormCreate();
    // Narrows the running row to the characters that fit whole.
    void fitRow();

    QLabel *m_image1;
    QLabel *m_label1;
    QLabel *m_label2;
    QTimer m_timer;
    QElapsedTimer m_clock; // since creation
    int m_interval = 100;
    qint64 m_due = 100; // when the next tick is due on m_clock
    bool m_painted = false;
};

} // namespace qx
