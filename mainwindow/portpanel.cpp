#include "portpanel.h"

#include "dragpanel.h"
#include "dropdown.h"
#include "error.h"
#include "networkport.h"
#include "portdetector.h"
#include "prompter.h"
#include "ptini.h"
#include "serialdevices.h"
#include "windowtexts.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace qx {

namespace {

// How often the open panel looks whether the selected port's device is there.
constexpr int kPortWatchMs = 500;

} // namespace

PortPanel::PortPanel(const WindowTexts &texts, Prompter &prompter, std::function<PtIni()> settings,
                     QLabel *status, std::function<bool()> busy, QWidget *parent)
    : QObject(parent), m_texts(texts), m_prompter(prompter), m_settings(std::move(settings)),
      m_status(status), m_busy(std::move(busy)) {
    m_detector = new PortDetector(this);
    m_detector->setObjectName(QStringLiteral("PortDetector"));
    connect(m_detector, &PortDetector::finished, this, &PortPanel::detectFinished);

    Select_com = new DragPanel(m_texts.portPanel, parent);
    Select_com->setObjectName(QStringLiteral("Select_com"));
    Select_com->setGeometry(168, 120 - 47, 225, 81);
    Select_com->setAutoFillBackground(true);
    Label21 = new QLabel(m_texts.portLabel, Select_com);
    Label21->setObjectName(QStringLiteral("Label21"));
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(16);
    Label21->setFont(f);
    Label21->setGeometry(14, 36, 60, 22);
    QStringList ports;
    for (int i = 1; i <= PortDetector::kPorts; ++i)
        ports << QStringLiteral("COM%1").arg(i);
    Com = dropDown("Com", ports, 0, Select_com, QRect(78, 36, 57, 22));
    SpeedButton2 = new QPushButton(m_texts.portOk, Select_com);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(146, 36, 57, 22);
    SpeedButton1 = new QPushButton(QStringLiteral("X"), Select_com);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(225 - 23, 2, 19, 18);
    SpeedButton1->setAccessibleName(m_texts.access.closePanel);
    Label21->setBuddy(Com);
    Com->setAccessibleName(m_texts.portLabel);
    // Under the row of the list, within the panel's own size.
    PortDevice = new QLabel(Select_com);
    PortDevice->setObjectName(QStringLiteral("PortDevice"));
    PortDevice->setGeometry(14, 60, 225 - 2 * 14, 17);
    Select_com->hide();
    Select_com->raise();
    connect(SpeedButton1, &QPushButton::clicked, this, &PortPanel::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &PortPanel::SpeedButton2Click);
    connect(Com, &QComboBox::currentIndexChanged, this, [this] { showPortDevice(); });
    // The label follows a cable plugged in or pulled while the panel is open.
    auto *watch = new QTimer(Select_com);
    watch->setObjectName(QStringLiteral("PortDeviceWatch"));
    connect(watch, &QTimer::timeout, this, [this] {
        if (Select_com->isVisible())
            showPortDevice();
    });
    watch->start(kPortWatchMs);
}

PortPanel::~PortPanel() = default;

void PortPanel::N13Click() {
    guard(m_prompter, [this] {
        Select_com->show();
        Select_com->raise();
        const int port = m_settings().comPort();
        Com->setCurrentIndex(port >= 1 && port <= Com->count() ? port - 1 : -1);
        showPortDevice();
    });
}

void PortPanel::showPortDevice() {
    const int index = Com->currentIndex();
    if (index < 0) {
        PortDevice->clear();
        PortDevice->setToolTip(QString());
        return;
    }
    const QString device = m_settings().deviceForPort(index + 1);
    const QString &format = NetworkPort::named(device)  ? m_texts.portDeviceNetwork
                            : QFileInfo::exists(device) ? m_texts.portDevicePresent
                                                        : m_texts.portDeviceAbsent;
    const QString text = format.arg(device);
    // A by-id name is long: its middle goes, the state stays; the tooltip has it whole.
    const QFontMetrics metrics = PortDevice->fontMetrics();
    const int room = PortDevice->width() - metrics.horizontalAdvance(format.arg(QString()));
    PortDevice->setText(format.arg(metrics.elidedText(device, Qt::ElideMiddle, room)));
    PortDevice->setToolTip(text);
}

void PortPanel::showChosen(const QString &item) {
    m_status->setText(m_texts.portChosenPrefix + item);
}

void PortPanel::SpeedButton1Click() {
    Select_com->hide();
}

void PortPanel::SpeedButton2Click() {
    guard(m_prompter, [this] {
        const int index = Com->currentIndex();
        if (index < 0)
            throw Error(QStringLiteral("List index out of bounds (%1)").arg(index));
        m_settings().writeInt(QStringLiteral("pt"), QStringLiteral("COM"), index + 1);
        showChosen(Com->currentText());
        Select_com->hide();
    });
}

void PortPanel::N18Click() {
    guard(m_prompter, [this] {
        if (m_busy()) {
            m_prompter.message(m_texts.transfer.alreadyRunning);
            return;
        }
        m_detector->start(m_settings());
    });
}

void PortPanel::detectFinished() {
    guard(m_prompter, [this] {
        QStringList lines;
        for (const PortDetector::Tried &tried : m_detector->tried())
            lines << tried.line(m_texts.language);
        if (lines.isEmpty())
            lines << m_texts.noSerialDevice;
        const PortDetector::Tried *found = m_detector->found();
        if (!found) {
            m_prompter.message(m_texts.detectNone + QLatin1Char('\n') +
                               lines.join(QLatin1Char('\n')));
            return;
        }
        PtIni ini = m_settings();
        int port = found->port;
        if (port == 0) {
            // A cable outside the default names: under its by-id name it keeps the number
            // in any USB socket.
            port = PortDetector::freePort(ini);
            const QString byId = stableName(found->device);
            const QString name = byId.isEmpty() ? found->device : byId;
            ini.writeString(QStringLiteral("ports"), QStringLiteral("COM%1").arg(port), name);
            lines << QStringLiteral("[ports] COM%1=%2").arg(port).arg(name);
        }
        ini.writeInt(QStringLiteral("pt"), QStringLiteral("COM"), port);
        const QString item = QStringLiteral("COM%1").arg(port);
        showChosen(item);
        Select_com->show();
        Select_com->raise();
        Com->setCurrentIndex(port - 1);
        showPortDevice();
        m_prompter.message(m_texts.detectFound.arg(item) + QLatin1Char('\n') +
                           lines.join(QLatin1Char('\n')));
    });
}

} // namespace qx
