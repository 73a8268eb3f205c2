#include "mainwindow.h"

#include "channelgrid.h"
#include "edithistory.h"
#include "portdetector.h"
#include "prompter.h"
#include "settingspanel.h"
#include "transfer.h"
#include "transferjob.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolTip>

namespace qx {

MainWindow::MainWindow(WindowTexts texts, Prompter &prompter, Sio &sio, QString folder,
                       QWidget *parent)
    : QMainWindow(parent), m_texts(std::move(texts)), m_prompter(prompter), m_sio(sio),
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

    m_transfer =
        std::make_unique<Transfer>(m_loggingSio, m_file, m_prompter, m_texts.transfer, this);
    m_detector = new PortDetector(this);
    m_detector->setObjectName(QStringLiteral("PortDetector"));

    buildMenus();
    buildToolBar();
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    setCentralWidget(central);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    buildDisplayFrame(central);
    m_settings = new SettingsPanel(m_texts, m_prompter, *this, central);
    row->addWidget(show_Box);
    row->addWidget(m_settings, 1);
    buildPortPanel(central);
    buildStatusBar();
    wireTransfer();
    buildEditing();

    FormCreate();
}

MainWindow::~MainWindow() = default;

QString MainWindow::workingFilePath() const {
    return m_file.path();
}

PtIni MainWindow::settingsFile() const {
    return PtIni(QDir(m_folder).filePath(QStringLiteral("pt.ini")));
}

QString MainWindow::cell(int column, int row) const {
    return m_grid->cell(column, row);
}

void MainWindow::FormCreate() {
    guard(m_prompter, [this] {
        m_grid->setupGrid();
        const int port = settingsFile().comPort();
        statusPanel[kPortStatus]->setText(m_texts.portStatusPrefix + QString::number(port));
        // After the grid: a working file that cannot be (a pipe, a folder) is named in the
        // message, and the window still has its grid.
        m_file.ensureExists();
        ReadAndDeal_F();
    });
}

// Each store is an undo step of its own unless the handler groups several into one.
void MainWindow::commitChannel(int channel, const ChannelCells &cells) {
    {
        const FileEdits::Step step(*this);
        storeChannel(channel, cells);
    }
    showWorkingFile();
}

void MainWindow::storeChannel(int channel, const ChannelCells &cells) {
    const FileEdits::Step step(*this);
    EncodeChannel(m_file, channel, cells);
}

void MainWindow::storeRecord(int record, const MemoryFrame &frame) {
    const FileEdits::Step step(*this);
    m_file.StoreFrame(record, frame);
}

void MainWindow::resetChannels(const QString &frequency) {
    const FileEdits::Step step(*this);
    m_grid->brush_StringGrid(frequency);
}

void MainWindow::beginStep() {
    m_history->begin();
}

void MainWindow::endStep() noexcept {
    m_history->end();
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
        m_transfer->closeLink();
    });
}

} // namespace qx
