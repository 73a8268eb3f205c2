#pragma once

#include <QStatusBar>
#include <array>

class QLabel;

namespace qx {

struct WindowTexts;

// The window's yellow status bar (StatusBar1) with its three panels: the welcome text read
// right to left, then what a command did; and the port.
class WindowStatusBar : public QStatusBar {
    Q_OBJECT
public:
    WindowStatusBar(const WindowTexts &texts, QWidget *parent);

    // The panel that names the port.
    QLabel *portPanel() const { return m_panels[kPort]; }
    // A line of what a command did, in the middle panel.
    void showLine(const QString &line);

private:
    static constexpr int kMessage = 1; // the welcome panel, then what a command did
    static constexpr int kPort = 2;
    std::array<QLabel *, 3> m_panels{};
};

} // namespace qx
