#pragma once

#include <QComboBox>
#include <QRect>
#include <QStringList>

namespace qx {

// A pick-only list that also tells when its list closes, picked or not.
class DropDown : public QComboBox {
    Q_OBJECT
public:
    explicit DropDown(QWidget *parent = nullptr);
    void showPopup() override;
    void hidePopup() override;
    // While closedUp is told: the text the list closed on, its pick or else what it showed
    // as it closed, whatever happened to the box meanwhile. Otherwise the current text.
    QString closedText() const { return m_closing ? m_closedText : currentText(); }
    // The width the window was drawn with, or wider where the longest item would be cut.
    void setDrawnWidth(int width);

protected:
    void wheelEvent(QWheelEvent *event) override;

signals:
    void poppedUp();
    void closedUp();

private:
    bool m_closing = false;
    QString m_closedText;
};

// A list named for tests and handlers, filled and set to its first shown item.
DropDown *dropDown(const char *name, const QStringList &items, int initial, QWidget *parent,
                   QRect geometry = {});

} // namespace qx
