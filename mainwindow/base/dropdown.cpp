#include "dropdown.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWheelEvent>
#include <algorithm>

namespace qx {

namespace {

// Qt names a list on Linux by the item it shows, so a screen reader heard "OFF" for Beep
// Tone. This one is named as any other control: its accessible name, else its label; what
// it shows is its value.
class DropDownAccessible : public QAccessibleWidget {
public:
    explicit DropDownAccessible(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) {}
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }
    void doAction(const QString &name) override {
        if (name == showMenuAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface *dropDownFactory(const QString &key, QObject *object) {
    if (key == QLatin1String("qx::DropDown"))
        if (auto *box = qobject_cast<DropDown *>(object))
            return new DropDownAccessible(box);
    return nullptr;
}

} // namespace

DropDown::DropDown(QWidget *parent) : QComboBox(parent) {
    static const bool named = [] {
        QAccessible::installFactory(dropDownFactory);
        return true;
    }();
    Q_UNUSED(named);
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus); // not the wheel: see wheelEvent
    // A pick comes after the list is hidden, before its close is told.
    connect(this, &QComboBox::activated, this, [this] {
        if (m_closing)
            m_closedText = currentText();
    });
}

void DropDown::wheelEvent(QWheelEvent *event) {
    // A notch that passes over a list on its way elsewhere must not change it: the band
    // list would rewrite every channel.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
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

void DropDown::setDrawnWidth(int width) {
    int longest = 0;
    for (int i = 0; i < count(); ++i)
        longest = std::max(longest, fontMetrics().horizontalAdvance(itemText(i)));
    // The frame and the arrow take the same room at any width; the text keeps a pixel on
    // each side.
    setFixedWidth(width);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const int field =
        style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
            .width();
    setFixedWidth(std::max(width, longest + 2 + width - field));
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

} // namespace qx
