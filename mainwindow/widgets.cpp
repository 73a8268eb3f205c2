#include "widgets.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace qx {

DropDown::DropDown(QWidget *parent) : QComboBox(parent) {
    setEditable(false);
    // A pick comes after the list is hidden, before its close is told.
    connect(this, &QComboBox::activated, this, [this] {
        if (m_closing)
            m_closedText = currentText();
    });
}

void DropDown::showPopup() {
    emit poppedUp();
    // A narrow list still shows its items in full when dropped.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 24);
    QComboBox::showPopup();
}

void DropDown::hidePopup() {
    const bool wasVisible = view() && view()->isVisible();
    QComboBox::hidePopup();
    // Qt hides the list before it selects the picked item: tell after the pick.
    if (!wasVisible)
        return;
    m_closedText = currentText();
    m_closing = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            emit closedUp();
            m_closing = false;
        },
        Qt::QueuedConnection);
}

DropDown *dropDown(const char *name, const QStringList &items, int initial, QWidget *parent,
                   QRect geometry) {
    auto *box = new DropDown(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    box->setCurrentIndex(initial);
    if (geometry.isValid())
        box->setGeometry(geometry);
    return box;
}

void PowerSpin::stepBy(int steps) {
    const int target = std::clamp(value() + steps * singleStep(), kLowest, kHighest);
    QSpinBox::stepBy((target - value()) / qMax(1, singleStep()));
}

QAbstractSpinBox::StepEnabled PowerSpin::stepEnabled() const {
    StepEnabled enabled = QSpinBox::stepEnabled();
    if (value() >= kHighest)
        enabled &= ~StepUpEnabled;
    if (value() <= kLowest)
        enabled &= ~StepDownEnabled;
    return enabled;
}

void DirectedLabel::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    // The text rectangle as QLabel lays out a framed label's plain text.
    QRect rect = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    int indent = this->indent();
    if (indent < 0 && frameWidth() > 0)
        indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    if (indent > 0) {
        if (align & Qt::AlignLeft)
            rect.setLeft(rect.left() + indent);
        if (align & Qt::AlignRight)
            rect.setRight(rect.right() - indent);
    }
    const int direction =
        layoutDirection() == Qt::RightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight;
    style()->drawItemText(&painter, rect, int(align) | direction, palette(), isEnabled(), text(),
                          foregroundRole());
}

SpinButton::SpinButton(QWidget *parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton *b : {m_up, m_down}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setAutoRaise(false);
        b->setIconSize(QSize(6, 6));
        layout->addWidget(b);
    }
    connect(m_up, &QToolButton::clicked, this, &SpinButton::upClicked);
    connect(m_down, &QToolButton::clicked, this, &SpinButton::downClicked);
}

DragPanel::DragPanel(const QString &title, QWidget *parent) : QGroupBox(title, parent) {}

void DragPanel::mousePressEvent(QMouseEvent *event) {
    // A press that a child let through (the label) is not on the panel's own surface.
    if (childAt(event->position().toPoint())) {
        event->ignore();
        return;
    }
    emit pressed();
    m_dragging = true;
    m_grab = event->globalPosition().toPoint() - pos();
    event->accept();
}

void DragPanel::mouseMoveEvent(QMouseEvent *event) {
    if (!m_dragging)
        return;
    QPoint target = event->globalPosition().toPoint() - m_grab;
    if (QWidget *p = parentWidget()) {
        // Keep the panel inside the window so it can always be grabbed again.
        target.setX(qBound(0, target.x(), qMax(0, p->width() - width())));
        target.setY(qBound(0, target.y(), qMax(0, p->height() - height())));
    }
    move(target);
}

void DragPanel::mouseReleaseEvent(QMouseEvent *) {
    m_dragging = false;
}

} // namespace qx
