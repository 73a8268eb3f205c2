#include "covers.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainterPath>
#include <QPixmap>
#include <QRegion>
#include <QScreen>

#include <algorithm>

namespace qx {

Tcover::Tcover(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), m_image1(new QLabel(this)),
      m_label1(new QLabel(this)), m_label2(new QLabel(this)) {
    setObjectName(QStringLiteral("cover"));
    setWindowTitle(QStringLiteral("cover"));
    setFixedSize(393, 148);
    // In the middle of the screen it appears on, whatever its size and scale.
    if (const QScreen *where = screen())
        move(where->availableGeometry().center() - rect().center());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xB9, 0xD1, 0xEA)); // active caption gradient
    setPalette(pal);

    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(0, 0, 393, 53);
    m_image1->setScaledContents(true);
    m_image1->setPixmap(QPixmap(QStringLiteral(":/banner.jpg")));

    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(0, 61, 393, 27);
    QFont f1(QStringLiteral("宋体"));
    f1.setPixelSize(24);
    m_label1->setFont(f1);
    m_label1->setStyleSheet(QStringLiteral("color: yellow; background: transparent;"));
    m_label1->setText(QString(35, QLatin1Char('|')) + QString(66, QLatin1Char('<')));
    fitRow();

    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setGeometry(155, 100, 233, 33);
    m_label2->setAlignment(Qt::AlignCenter);
    QFont f2(QStringLiteral("MS Sans Serif"));
    f2.setPixelSize(24);
    f2.setBold(true);
    m_label2->setFont(f2);
    m_label2->setStyleSheet(QStringLiteral("color: navy; background: transparent;"));
    m_label2->setText(QStringLiteral("QX-7420"));

    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Tcover::Timer1Timer);
    m_clock.start();
    m_timer.start(int(m_due));
    FormCreate();
}

void Tcover::FormCreate() {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width(), height()), 10, 10);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void Tcover::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormCreate();
}

void Tcover::paintEvent(QPaintEvent *event) {
    QDialog::paintEvent(event);
    if (m_painted)
        return;
    m_painted = true;
    // Queued: the frame reaches the screen before the receiver's work starts.
    QMetaObject::invokeMethod(this, &Tcover::appeared, Qt::QueuedConnection);
}

void Tcover::Timer1Timer() {
    // The interval grows by 1 ms a tick. Each tick is due at the sum of the intervals
    // since creation, so a tick held up by the window being built meanwhile does not
    // push back the ticks after it nor the close.
    ++m_interval;
    if (m_interval >= 120) {
        m_timer.stop();
        accept();
        return;
    }
    m_due += m_interval;
    m_timer.start(int(std::max<qint64>(0, m_due - m_clock.elapsed())));
    const QString caption = m_label1->text();
    if (caption.size() >= 2)
        m_label1->setText(caption.mid(2) + caption.left(1));
    fitRow();
}

void Tcover::fitRow() {
    // The row is wider than the splash: it ends after the last character that fits whole,
    // not in the middle of one.
    const QFontMetrics metrics(m_label1->font());
    const QString text = m_label1->text();
    int shown = 0;
    for (int n = 1; n <= text.size(); ++n) {
        const int advance = metrics.horizontalAdvance(text.left(n));
        if (advance > width())
            break;
        shown = advance;
    }
    m_label1->resize(shown, m_label1->height());
}

} // namespace qx
