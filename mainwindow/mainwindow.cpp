#include "mainwindow.h"

#include "channelgrid.h"
#include "channeltools.h"
#include "editcommands.h"
#include "edithistory.h"
#include "filecommands.h"
#include "filecopy.h"
#include "gridview.h"
#include "menukeys.h"
#include "opensave.h"
#include "portpanel.h"
#include "prompter.h"
#include "settingspanel.h"
#include "transferjob.h"
#include "transferswitches.h"
#include "windowstatusbar.h"
#include "workingimage.h"

#include "error.h"
#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>
#include <QToolTip>

namespace qx {

MainWindow::MainWindow(WindowTexts texts, Prompter &prompter, Sio &sio, QString folder,
                       QWidget *parent)
    : QMainWindow(parent), m_texts(std::move(texts)), m_prompter(prompter),
      m_folder(std::move(folder)), m_file(QDir(m_folder).filePath(QStringLiteral("r_and_w.dat"))) {
    setObjectName(m_texts.language == Language::English ? QStringLiteral("E_Form")
                                                        : QStringLiteral("Form1"));
    setWindowTitle(m_texts.caption);
    // The original's 8-point dialog font, for which the layout was drawn: its letters are
    // as narrow as these; the default sans is a fifth wider and cut the lists' texts off.
    QFont base(QStringLiteral("Liberation Sans Narrow"));
    base.setPixelSize(11);
    setFont(base);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(m_texts.outerSize);

    // Hints on a yellow background, shown quickly (ApplicationEvents1ShowHint).
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0x00));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);

    m_working = new WorkingImage(m_file, m_texts, m_prompter, this);
    m_transfers = new TransferPresenter(m_texts, m_prompter, sio, m_file, *this, this);

    buildMenus();
    buildToolBar();
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    setCentralWidget(central);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    buildDisplayFrame(central);
    m_settings = new SettingsPanel(m_texts, m_prompter, *m_working, central);
    m_working->attach(m_grid, m_settings);
    m_openSave = new OpenSave(m_texts, m_prompter, m_file, *m_working, *m_grid, N1, this);
    row->addWidget(show_Box);
    row->addWidget(m_settings, 1);
    m_status = new WindowStatusBar(m_texts, this);
    setStatusBar(m_status);
    m_portPanel = new PortPanel(
        m_texts, m_prompter, [this] { return settingsFile(); }, m_status->portPanel(),
        [this] { return m_transfers->job().busy(); }, central);
    buildEditing();
    m_transfers->attach(Gauge, {ToolButton7, ToolButton8},
                        new TransferSwitches(N2, m_texts, m_prompter, settingsFile().path()),
                        [this](const QString &line) { m_status->showLine(line); });

    FormCreate();
}

MainWindow::~MainWindow() = default;

TransferJob &MainWindow::job() {
    return m_transfers->job();
}

PtIni MainWindow::settingsFile() const {
    return PtIni::inFolder(m_folder);
}

void MainWindow::FormCreate() {
    guard(m_prompter, [this] {
        m_grid->setupGrid();
        // The keyboard starts in the grid, not on the first tool button.
        m_grid->view()->setFocus(Qt::OtherFocusReason);
        const int port = settingsFile().comPort();
        m_status->portPanel()->setText(m_texts.portStatusPrefix + QString::number(port));
        // After the grid: a working file that cannot be (a pipe, a folder) is named in the
        // message, and the window still has its grid.
        m_file.ensureExists();
        ReadAndDeal_F();
    });
}

void MainWindow::buildEditing() {
    auto *editCommands = new EditCommands(*this, m_working->history(), this);
    editCommands->addMenus(menuBar(), N1, N2);
    (new FileCommands(*this, this))->addMenus(N1);
    auto *tools = new ChannelTools(*this, this);
    tools->addMenu(menuBar()->findChild<QMenu *>(QStringLiteral("EditMenu")));
    addMenuMnemonics(menuBar());
}

FileEdits &MainWindow::edits() {
    return *m_working;
}

void MainWindow::reloadWorkingFile() {
    m_working->showInHand();
}

void MainWindow::ReadAndDeal_F() {
    m_working->ReadAndDeal_F();
}

void MainWindow::storeImage(const QByteArray &image) {
    // At once and as one undo step; edits made while the radio was read are replaced.
    m_working->replace([&] { saveFileAtomically(m_file.path(), image); });
}

bool MainWindow::commitTypedText() {
    return m_grid->commitTypedText();
}

void MainWindow::n11Click() {
    m_transfers->read();
}

void MainWindow::N12Click() {
    m_transfers->write();
}

void MainWindow::ToolButton13Click() {
    m_transfers->stop();
}

void MainWindow::N13Click() {
    m_portPanel->N13Click();
}

void MainWindow::SpeedButton1Click() {
    m_portPanel->SpeedButton1Click();
}

void MainWindow::SpeedButton2Click() {
    m_portPanel->SpeedButton2Click();
}

void MainWindow::N18Click() {
    m_portPanel->N18Click();
}

void MainWindow::N17Click() {
    guard(m_prompter, [this] {
        if (!m_prompter.ask(QStringLiteral("Confirm"),
                            QStringLiteral("Do You Wish To Change english?"),
                            Prompter::Buttons::YesNo))
            return;
        settingsFile().writeString(QStringLiteral("LG"), QStringLiteral("LG"),
                                   m_texts.switchLanguageTo);
        m_prompter.message(QStringLiteral("Succeed,Plase restart!"));
        close();
    });
}

void MainWindow::N10Click() {
    guard(m_prompter, [this] {
        QCoreApplication::quit();
        m_transfers->closeLink();
    });
}

} // namespace qx
