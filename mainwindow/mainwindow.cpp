#include "mainwindow.h"

#include "channelgrid.h"
#include "channeltools.h"
#include "editcommands.h"
#include "edithistory.h"
#include "filecommands.h"
#include "filecopy.h"
#include "gridview.h"
#include "portpanel.h"
#include "prompter.h"
#include "settingspanel.h"
#include "transferjob.h"
#include "transferphase.h"
#include "transferswitches.h"

#include "error.h"
#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScopeGuard>
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
    m_settings = new SettingsPanel(m_texts, m_prompter, *this, central);
    row->addWidget(show_Box);
    row->addWidget(m_settings, 1);
    buildStatusBar();
    m_portPanel = new PortPanel(
        m_texts, m_prompter, [this] { return settingsFile(); }, statusPanel[kPortStatus],
        [this] { return m_transfers->job().busy(); }, central);
    buildEditing();
    m_transfers->attach(Gauge, {ToolButton7, ToolButton8},
                        new TransferSwitches(N2, m_texts, m_prompter, settingsFile().path()));
    new TransferPhase(
        m_texts.access, job(), transfer(), Gauge,
        [this](const QString &line) { showStatusLine(line); }, this);

    FormCreate();
}

MainWindow::~MainWindow() = default;

QString MainWindow::workingFilePath() const {
    return m_file.path();
}

Transfer &MainWindow::transfer() {
    return m_transfers->transfer();
}

TransferJob &MainWindow::job() {
    return m_transfers->job();
}

PtIni MainWindow::settingsFile() const {
    return PtIni::inFolder(m_folder);
}

QString MainWindow::cell(int column, int row) const {
    return m_grid->cell(column, row);
}

void MainWindow::FormCreate() {
    guard(m_prompter, [this] {
        m_grid->setupGrid();
        // The keyboard starts in the grid, not on the first tool button.
        m_grid->view()->setFocus(Qt::OtherFocusReason);
        const int port = settingsFile().comPort();
        statusPanel[kPortStatus]->setText(m_texts.portStatusPrefix + QString::number(port));
        // After the grid: a working file that cannot be (a pipe, a folder) is named in the
        // message, and the window still has its grid.
        m_file.ensureExists();
        ReadAndDeal_F();
    });
}

void MainWindow::buildEditing() {
    // The history keeps the bytes in hand; it never reads the file itself, and it writes
    // only over bytes the window wrote.
    m_history = new EditHistory(EditHistory::Access{[this] { return m_image; },
                                                    [this](const QByteArray &bytes) {
                                                        ensureUnchanged();
                                                        saveFileAtomically(m_file.path(), bytes);
                                                        m_image = bytes;
                                                    },
                                                    [this] { showImage(m_image); }},
                                this);
    m_history->setObjectName(QStringLiteral("EditHistory"));
    auto *editCommands = new EditCommands(*this, *m_history, this);
    editCommands->addMenus(menuBar(), N1, N2);
    (new FileCommands(*this, this))->addMenus(N1);
    auto *tools = new ChannelTools(*this, this);
    tools->addMenu(menuBar()->findChild<QMenu *>(QStringLiteral("EditMenu")));
    addMnemonics();
}

// Each store is an undo step of its own unless the handler groups several into one.
void MainWindow::commitChannel(int channel, const ChannelCells &cells) {
    {
        const FileEdits::Step step(*this);
        storeChannel(channel, cells);
    }
    showImage(m_image);
}

void MainWindow::storeChannel(int channel, const ChannelCells &cells) {
    const auto frames = encodeChannelFrames(channel, cells);
    storeRecords(2 * (channel - 1), {frames[0], frames[1]});
}

void MainWindow::storeRecord(int record, const MemoryFrame &frame) {
    storeRecords(record, {frame});
}

void MainWindow::storeRecords(int first, const QList<MemoryFrame> &frames) {
    const FileEdits::Step step(*this);
    m_file.StoreFrames(first, frames);
    placeRecords(m_image, first, frames);
}

void MainWindow::resetChannels(const QString &frequency) {
    const FileEdits::Step step(*this);
    m_grid->brush_StringGrid(frequency);
}

void MainWindow::beginStep() {
    if (m_stepDepth == 0)
        ensureUnchanged();
    ++m_stepDepth;
    m_history->begin();
}

void MainWindow::endStep() noexcept {
    m_history->end();
    --m_stepDepth;
}

void MainWindow::ensureUnchanged() {
    // The one read of a user action: another program may have written the file since the
    // window last did. Its bytes are shown and kept, never overwritten or undone.
    const QByteArray now = m_file.readAll();
    if (now == m_image)
        return;
    m_image = now;
    m_history->clear();
    showImage(m_image);
    throw Error(m_texts.changedOnDisk);
}

void MainWindow::replaceWorkingFile(const std::function<void()> &write) {
    // Whatever the file held, changed elsewhere or not, is what the undo step puts back:
    // a file replaced whole needs no check that it is as the window left it.
    try {
        m_image = m_file.readAll();
    } catch (const Error &) {
    }
    ++m_stepDepth;
    const auto unwind = qScopeGuard([this] { --m_stepDepth; });
    const FileEdits::Step step(*this);
    write();
    m_image = m_file.readAll();
}

void MainWindow::storeImage(const QByteArray &image) {
    // At once and as one undo step; edits made while the radio was read are replaced.
    replaceWorkingFile([&] { saveFileAtomically(m_file.path(), image); });
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
