#pragma once

#include <QLabel>

namespace qx {

// A label whose plain text is laid out in the label's layout direction: right to left, a
// leading mark such as "※" is drawn after the text. QLabel takes the direction from the
// text itself, so its layout direction alone changes nothing visible.
class DirectedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace qx
