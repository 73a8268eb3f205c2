#include "dropdown.h"

#include <QAbstractItemView>
#include <QStyle>
#include <QStyleOptionComboBox>
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
