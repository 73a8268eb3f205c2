#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;
class QWidget;

namespace qx {

class DragPanel;
class DropDown;
class PortDetector;
class Prompter;
class PtIni;
struct WindowTexts;

// The port panel (Select_com): the port list, the label under it that names the selected
// port's device and follows a cable plugged in or pulled, the choice kept in pt.ini, and
// Detect Port, whose find it adopts into pt.ini's [ports].
class PortPanel : public QObject {
    Q_OBJECT
public:
    // settings: pt.ini, read afresh at every use. status: the status panel that names the
    // port. busy: a transfer runs, whose port the probes would open.
    PortPanel(const WindowTexts &texts, Prompter &prompter, std::function<PtIni()> settings,
              QLabel *status, std::function<bool()> busy, QWidget *parent);
    ~PortPanel() override;

    DragPanel *panel() const { return Select_com; }

public slots:
    void N13Click(); // shows the panel at the port in pt.ini
    void N18Click(); // Detect Port
    void SpeedButton1Click();
    void SpeedButton2Click();

private:
    void detectFinished();
    void showPortDevice();
    void showChosen(const QString &item);

    const WindowTexts &m_texts;
    Prompter &m_prompter;
    std::function<PtIni()> m_settings;
    QLabel *m_status;
    std::function<bool()> m_busy;
    PortDetector *m_detector = nullptr;

    DragPanel *Select_com = nullptr;
    QLabel *Label21 = nullptr;
    DropDown *Com = nullptr;
    QLabel *PortDevice = nullptr;
    QPushButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr;
};

} // namespace qx
