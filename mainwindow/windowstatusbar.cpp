#include "windowstatusbar.h"

#include "directedlabel.h"
#include "windowtexts.h"

#include <QLabel>

namespace qx {

WindowStatusBar::WindowStatusBar(const WindowTexts &texts, QWidget *parent) : QStatusBar(parent) {
    QStatusBar *bar = this;
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setAccessibleName(texts.access.statusBar);
    bar->setFixedHeight(27);
    bar->setSizeGripEnabled(false);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0x00));
    bar->setPalette(pal);
    const std::array<int, 3> widths{200, 300, 50};
    for (int i = 0; i < 3; ++i) {
        QLabel *panel = i == 0 ? new DirectedLabel(texts.statusPanels[i], bar)
                               : new QLabel(texts.statusPanels[i], bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setMinimumWidth(widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panel, i == kPort ? 1 : 0);
        m_panels[i] = panel;
    }
    m_panels[kMessage]->setTextFormat(Qt::PlainText);
    // Panel 0 reads right to left with its alignment unchanged.
    m_panels[0]->setLayoutDirection(Qt::RightToLeft);
    m_panels[0]->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
}

void WindowStatusBar::showLine(const QString &line) {
    // Elided to the panel as drawn, so that a long file name does not push the port panel.
    QLabel *panel = m_panels[kMessage];
    panel->setText(
        panel->fontMetrics().elidedText(line, Qt::ElideMiddle, panel->contentsRect().width()));
    panel->setToolTip(line);
}

} // namespace qx
