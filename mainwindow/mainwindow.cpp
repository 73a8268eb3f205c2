#include "mainwindow.h"

#include "gridview.h"
#include "icons.h"
#include "prompter.h"
#include "ptini.h"
#include "transfer.h"
#include "widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace qx {

namespace {

constexpr int kColumns = 7;
constexpr int kRows = 17;
constexpr std::array<int, kColumns> kColumnWidths{32, 94, 68, 99, 68, 68, 68};
const QColor kCream(0xFF, 0xFB, 0xF0);

DropDown *dropDown(const char *name, const QStringList &items, int initial, QWidget *parent,
                   QRect geometry = {}) {
    auto *box = new DropDown(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    box->setCurrentIndex(initial);
    if (geometry.isValid())
        box->setGeometry(geometry);
    return box;
}

} // namespace

MainWindow::MainWindow(WindowTexts texts, Prompter &prompter, Sio &sio, QString folder,
                       QWidget *parent)
    : QMainWindow(parent), m_texts(std::move(texts)), m_prompter(prompter), m_sio(sio),
      m_folder(std::move(folder)), m_file(QDir(m_folder).filePath(QStringLiteral("r_and_w.dat"))) {
    setObjectName(m_texts.language == Language::English ? QStringLiteral("E_Form")
                                                        : QStringLiteral("Form1"));
    setWindowTitle(m_texts.caption);
    QFont base = font();
    base.setPixelSize(11); // the original's 8-point dialog font
    setFont(base);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    resize(m_texts.outerSize);

    // Hints on a yellow background, shown quickly (ApplicationEvents1ShowHint).
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0x00));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);

    m_transfer = std::make_unique<Transfer>(m_sio, m_file, m_prompter, m_texts.transfer, this);

    buildMenus();
    buildToolBar();
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    setCentralWidget(central);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    buildDisplayFrame(central);
    buildSettingsArea(central);
    row->addWidget(show_Box);
    row->addWidget(spSkinGroupBox1, 1);
    buildPortPanel(central);
    buildStatusBar();
    wireEditors();
    wireTransfer();

    FormCreate();
}

MainWindow::~MainWindow() = default;

QString MainWindow::workingFilePath() const {
    return m_file.path();
}

PtIni MainWindow::settingsFile() const {
    return PtIni(QDir(m_folder).filePath(QStringLiteral("pt.ini")));
}

void MainWindow::guarded(const std::function<void()> &handler) {
    guard(m_prompter, handler);
}

void MainWindow::buildMenus() {
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto menu = [&](const char *name, const QString &title) {
        QMenu *m = bar->addMenu(title);
        m->setObjectName(QLatin1String(name));
        m->menuAction()->setObjectName(QLatin1String(name));
        return m;
    };
    auto item = [&](QMenu *m, const char *name, const QString &text) {
        QAction *a = m->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    auto separator = [&](QMenu *m, const char *name) {
        m->addSeparator()->setObjectName(QLatin1String(name));
    };

    N1 = menu("N1", m_texts.menuFile);
    N5 = item(N1, "N5", m_texts.menuOpen);
    N6 = item(N1, "N6", m_texts.menuSave);
    separator(N1, "N7");
    N8 = item(N1, "N8", m_texts.menuPrint);
    separator(N1, "N14");
    a1 = item(N1, "a1", QStringLiteral("a"));
    b1 = item(N1, "b1", QStringLiteral("b"));
    c1 = item(N1, "c1", QStringLiteral("c"));
    for (QAction *slot : {a1, b1, c1})
        slot->setVisible(false);
    separator(N1, "N9");
    N10 = item(N1, "N10", m_texts.menuExit);

    QMenu *n2 = menu("N2", m_texts.menuProgram);
    N11 = item(n2, "N11", m_texts.menuRead);
    N12 = item(n2, "N12", m_texts.menuWrite);
    QMenu *n4 = menu("N4", m_texts.menuCom);
    N13 = item(n4, "N13", m_texts.menuSelectCom);
    QMenu *language = menu(m_texts.languageMenuName.toLatin1().constData(), m_texts.menuLanguage);
    N17 = item(language, m_texts.switchLanguageName.toLatin1().constData(),
               m_texts.menuSwitchLanguage);
    menu("N3", m_texts.menuHelp);

    connect(N5, &QAction::triggered, this, &MainWindow::N5Click);
    connect(N6, &QAction::triggered, this, &MainWindow::N6Click);
    connect(N8, &QAction::triggered, this, &MainWindow::N8Click);
    connect(N10, &QAction::triggered, this, &MainWindow::N10Click);
    connect(N11, &QAction::triggered, this, &MainWindow::n11Click);
    connect(N12, &QAction::triggered, this, &MainWindow::N12Click);
    connect(N13, &QAction::triggered, this, &MainWindow::N13Click);
    connect(N17, &QAction::triggered, this, &MainWindow::N17Click);
}

void MainWindow::buildToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(47);
    ToolBar1->setIconSize(QSize(35, 35));
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    ToolBar1->toggleViewAction()->setEnabled(false);

    auto separator = [&](const char *name) {
        auto *sep = new QWidget(ToolBar1);
        sep->setObjectName(QLatin1String(name));
        sep->setFixedWidth(8);
        ToolBar1->addWidget(sep);
    };
    auto button = [&](const char *name, int icon, const QString &caption, const QString &hint,
                      void (MainWindow::*handler)()) {
        auto *b = new QToolButton(ToolBar1);
        b->setObjectName(QLatin1String(name));
        b->setIcon(toolIcon(icon));
        b->setIconSize(QSize(35, 35));
        b->setFixedSize(42, 41);
        b->setText(caption);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        ToolBar1->addWidget(b);
        connect(b, &QToolButton::clicked, this, handler);
        return b;
    };
    separator("ToolButton1");
    ToolButton3 =
        button("ToolButton3", 3, m_texts.tbOpen, m_texts.tbOpenHint, &MainWindow::N5Click);
    ToolButton2 =
        button("ToolButton2", 1, m_texts.tbSave, m_texts.tbSaveHint, &MainWindow::N6Click);
    separator("ToolButton12");
    ToolButton11 =
        button("ToolButton11", 5, m_texts.tbPrint, m_texts.tbPrintHint, &MainWindow::N8Click);
    separator("ToolButton4");
    ToolButton7 =
        button("ToolButton7", 2, m_texts.tbRead, m_texts.tbReadHint, &MainWindow::n11Click);
    ToolButton8 =
        button("ToolButton8", 0, m_texts.tbWrite, m_texts.tbWriteHint, &MainWindow::N12Click);
    separator("ToolButton10");
    ToolButton13 =
        button("ToolButton13", 7, QString(), m_texts.tbStopHint, &MainWindow::ToolButton13Click);
    ToolButton9 = button("ToolButton9", 4, m_texts.tbCom, m_texts.tbComHint, &MainWindow::N13Click);
    separator("ToolButton6");
    ToolButton5 =
        button("ToolButton5", 6, m_texts.tbExit, m_texts.tbExitHint, &MainWindow::N10Click);
}

void MainWindow::buildDisplayFrame(QWidget *parent) {
    show_Box = new QGroupBox(m_texts.displayFrame, parent);
    show_Box->setObjectName(QStringLiteral("show_Box"));
    show_Box->setFixedWidth(m_texts.displayWidth);
    show_Box->setMinimumHeight(432);

    StringGrid = new GridView(kRows, kColumns, show_Box);
    StringGrid->setObjectName(QStringLiteral("StringGrid"));
    StringGrid->horizontalHeader()->hide();
    StringGrid->verticalHeader()->hide();
    StringGrid->verticalHeader()->setDefaultSectionSize(20);
    StringGrid->verticalHeader()->setMinimumSectionSize(20);
    for (int c = 0; c < kColumns; ++c)
        StringGrid->setColumnWidth(c, kColumnWidths[c]);
    QFont gridFont(QStringLiteral("MS Sans Serif"));
    gridFont.setPixelSize(13);
    StringGrid->setFont(gridFont);
    QPalette pal = StringGrid->palette();
    pal.setColor(QPalette::Base, kCream);
    pal.setColor(QPalette::Text, Qt::black);
    StringGrid->setPalette(pal);
    StringGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid->setGridStyle(Qt::SolidLine);
    // One line a cell, clipped: "信道" is wider than its 32-pixel column.
    StringGrid->setWordWrap(false);
    StringGrid->setTextElideMode(Qt::ElideNone);
    StringGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    Gauge = new QProgressBar(show_Box);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setFixedHeight(27);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);

    auto *layout = new QVBoxLayout(show_Box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(StringGrid, 1);
    layout->addWidget(Gauge);

    QFont boxFont(QStringLiteral("MS Sans Serif"));
    boxFont.setPixelSize(11);
    auto editor = [&](const char *name, const QStringList &items, int x, int w) {
        DropDown *box = dropDown(name, items, 0, show_Box, QRect(x, 45, w, 20));
        box->setFont(boxFont);
        QPalette p = box->palette();
        p.setColor(QPalette::ButtonText, QColor(0, 0, 0x80));
        p.setColor(QPalette::Text, QColor(0, 0, 0x80));
        box->setPalette(p);
        box->hide();
        return box;
    };
    RX_BOX = editor("RX_BOX", toneTexts(), 130, 70);
    RX_BOX->setMaxVisibleItems(10);
    TX_BOX = editor("TX_BOX", toneTexts(), 300, 69);
    TX_BOX->setMaxVisibleItems(10);
    box1 = editor("box1", {m_texts.flags.no, m_texts.flags.yes}, 369, 69);
    box2 = editor("box2", {m_texts.flags.no, m_texts.flags.yes}, 438, 69);
}

void MainWindow::buildSettingsArea(QWidget *parent) {
    spSkinGroupBox1 = new QGroupBox(m_texts.settingsArea, parent);
    spSkinGroupBox1->setObjectName(QStringLiteral("spSkinGroupBox1"));
    spSkinGroupBox1->setMinimumWidth(m_texts.settingsWidth);
    auto *column = new QVBoxLayout(spSkinGroupBox1);
    column->setContentsMargins(6, 8, 6, 6);
    column->setSpacing(6);

    auto *top = new QGridLayout;
    top->setContentsMargins(20, 0, 20, 0);
    top->addWidget(new QLabel(m_texts.modelLabel), 0, 0);
    CB_JQLX = dropDown("CB_JQLX", modelNames(), 0, spSkinGroupBox1);
    top->addWidget(CB_JQLX, 0, 1);
    top->addWidget(new QLabel(m_texts.bandLabel), 1, 0);
    f_box = dropDown("f_box", bandNames(0), 0, spSkinGroupBox1);
    f_box->setMinimumWidth(113);
    top->addWidget(f_box, 1, 1);
    top->setColumnStretch(2, 1);
    column->addLayout(top);

    spSkinGroupBox2 = new QGroupBox(m_texts.scanGroup, spSkinGroupBox1);
    spSkinGroupBox2->setObjectName(QStringLiteral("spSkinGroupBox2"));
    auto *scan = new QGridLayout(spSkinGroupBox2);
    scan->setContentsMargins(4, 4, 4, 6);
    scan->setVerticalSpacing(3);
    scan->setHorizontalSpacing(2);
    CheckBox2 = new QCheckBox(m_texts.scanSelect, spSkinGroupBox2);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setLayoutDirection(Qt::RightToLeft); // the label stands left of the box
    scan->addWidget(CheckBox2, 0, 0, 1, 5, Qt::AlignHCenter);

    CB_SM = dropDown("CB_SM", m_texts.scanModeItems, 0, spSkinGroupBox2);
    CB_YX = dropDown("CB_YX", m_texts.channelModeItems, 1, spSkinGroupBox2);
    CB_CH = dropDown("CB_CH", m_texts.priorityItems, 15, spSkinGroupBox2);
    const std::array<std::pair<QString, DropDown *>, 3> lists{{{m_texts.scanMode, CB_SM},
                                                               {m_texts.channelMode, CB_YX},
                                                               {m_texts.priorityChannel, CB_CH}}};
    for (int i = 0; i < 3; ++i) {
        scan->addWidget(new QLabel(lists[i].first), i + 1, 0);
        lists[i].second->setMinimumWidth(54);
        lists[i].second->setMaximumWidth(84);
        lists[i].second->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        lists[i].second->setEnabled(false);
        scan->addWidget(lists[i].second, i + 1, 1);
    }

    auto timeField = [&](const char *name, const char *spinName, const QString &caption,
                         const QString &text, int row, SpinButton *&spin) {
        scan->addWidget(new QLabel(caption), row, 2, Qt::AlignRight);
        auto *edit = new QLineEdit(text, spSkinGroupBox2);
        edit->setObjectName(QLatin1String(name));
        edit->setFixedSize(48, 20);
        edit->setTextMargins(0, 0, 17, 0);
        spin = new SpinButton(edit);
        spin->setObjectName(QLatin1String(spinName));
        spin->setGeometry(48 - 17, 0, 17, 20);
        scan->addWidget(edit, row, 3);
        scan->addWidget(new QLabel(m_texts.seconds), row, 4);
        edit->installEventFilter(this);
        return edit;
    };
    Edit1 = timeField("Edit1", "SpinButton1", m_texts.carrierTime, QStringLiteral("10"), 1,
                      SpinButton1);
    Edit2 =
        timeField("Edit2", "SpinButton2", m_texts.delayTime, QStringLiteral("10"), 2, SpinButton2);
    Edit3 =
        timeField("Edit3", "SpinButton3", m_texts.returnTime, QStringLiteral("5"), 3, SpinButton3);
    Edit2->setEnabled(false);
    // The step buttons of the delay time follow its field; the others always work.
    SpinButton2->setEnabled(false);
    scan->setColumnStretch(1, 1);
    column->addWidget(spSkinGroupBox2);

    spSkinGroupBox3 = new QGroupBox(m_texts.paramGroup, spSkinGroupBox1);
    spSkinGroupBox3->setObjectName(QStringLiteral("spSkinGroupBox3"));
    auto *param = new QGridLayout(spSkinGroupBox3);
    param->setContentsMargins(6, 4, 6, 6);
    CB_BY = dropDown("CB_BY", m_texts.offOnItems, 0, spSkinGroupBox3);
    CB_SD = dropDown("CB_SD", m_texts.offOnItems, 0, spSkinGroupBox3);
    CB_DP = dropDown("CB_DP", m_texts.squelchItems, 0, spSkinGroupBox3);
    CB_YY = dropDown("CB_YY", m_texts.voiceItems, 0, spSkinGroupBox3);
    CB_JT = dropDown("CB_JT", m_texts.monitorKeyItems, m_texts.initialMonitorKey, spSkinGroupBox3);
    CB_CS = dropDown("CB_CS", m_texts.timeOutItems, 0, spSkinGroupBox3);
    SpinEdit1 = new QSpinBox(spSkinGroupBox3);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    // Wider than 0..255 so a typed 300 reaches the handler, which turns it into 0.
    SpinEdit1->setRange(-99999, 99999);
    SpinEdit1->setValue(96);
    SpinEdit1->setFixedWidth(65);
    Label19 = new QLabel(QStringLiteral("NewPower"), spSkinGroupBox3);
    Label19->setObjectName(QStringLiteral("Label19"));
    Label19->setMinimumWidth(121);
    const std::array<std::pair<QString, QWidget *>, 4> left{{{m_texts.beep, CB_BY},
                                                             {m_texts.batterySave, CB_SD},
                                                             {m_texts.squelch, CB_DP},
                                                             {m_texts.voice, CB_YY}}};
    const std::array<std::pair<QString, QWidget *>, 3> right{
        {{m_texts.monitorKey, CB_JT}, {m_texts.timeOut, CB_CS}, {m_texts.power, SpinEdit1}}};
    for (int i = 0; i < 4; ++i) {
        param->addWidget(new QLabel(left[i].first), i, 0);
        left[i].second->setMinimumWidth(56);
        left[i].second->setMaximumWidth(79);
        param->addWidget(left[i].second, i, 1);
    }
    for (int i = 0; i < 3; ++i) {
        param->addWidget(new QLabel(right[i].first), i, 2);
        param->addWidget(right[i].second, i, 3, Qt::AlignLeft);
    }
    CB_CS->setMinimumWidth(56);
    CB_CS->setMaximumWidth(65);
    CB_JT->setMinimumWidth(56);
    CB_JT->setMaximumWidth(82);
    param->addWidget(Label19, 3, 2, 1, 2);
    param->setHorizontalSpacing(4);
    param->setColumnStretch(1, 1);
    param->setColumnStretch(3, 1);
    column->addWidget(spSkinGroupBox3);
    column->addStretch(1);
}

void MainWindow::buildPortPanel(QWidget *parent) {
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
    for (int i = 1; i <= 8; ++i)
        ports << QStringLiteral("COM%1").arg(i);
    Com = dropDown("Com", ports, 0, Select_com, QRect(78, 36, 57, 22));
    SpeedButton2 = new QPushButton(m_texts.portOk, Select_com);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(146, 36, 57, 22);
    SpeedButton1 = new QPushButton(QStringLiteral("X"), Select_com);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(225 - 23, 2, 19, 18);
    Select_com->hide();
    Select_com->raise();
    connect(SpeedButton1, &QPushButton::clicked, this, &MainWindow::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &MainWindow::SpeedButton2Click);
}

void MainWindow::buildStatusBar() {
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(27);
    bar->setSizeGripEnabled(false);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0x00));
    bar->setPalette(pal);
    const std::array<int, 3> widths{200, 300, 50};
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(m_texts.statusPanels[i], bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setMinimumWidth(widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(panel, i == 2 ? 1 : 0);
        statusPanel[i] = panel;
    }
    // Panel 0 reads right to left with its alignment unchanged.
    statusPanel[0]->setLayoutDirection(Qt::RightToLeft);
    statusPanel[0]->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
}

void MainWindow::setupGrid() {
    StringGrid->setColumnCount(kColumns);
    StringGrid->setRowCount(kRows);
    const QColor fixed = palette().color(QPalette::Button);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            QTableWidgetItem *it = StringGrid->item(r, c);
            if (!it) {
                it = new QTableWidgetItem;
                StringGrid->setItem(r, c, it);
            }
            if (r == 0 || c == 0) {
                it->setFlags(Qt::ItemIsEnabled);
                it->setBackground(fixed);
            }
        }
    }
    for (int n = 1; n <= 16; ++n)
        setCell(0, n, QStringLiteral("\n\n%1").arg(n));
    for (int c = 0; c < kColumns; ++c)
        setCell(c, 0, m_texts.gridHeader[c]);
    StringGrid->setCurrentCell(1, 1);
}

QString MainWindow::cell(int column, int row) const {
    const QTableWidgetItem *it = StringGrid->item(row, column);
    return it ? it->text() : QString();
}

void MainWindow::setCell(int column, int row, const QString &text) {
    QTableWidgetItem *it = StringGrid->item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        StringGrid->setItem(row, column, it);
    }
    it->setText(text);
}

void MainWindow::FormCreate() {
    guarded([this] {
        m_file.ensureExists();
        setupGrid();
        const int port = settingsFile().comPort();
        statusPanel[2]->setText(m_texts.portStatusPrefix + QString::number(port));
        ReadAndDeal_F(QStringLiteral("R_AND_W.DAT"));
    });
}

void MainWindow::ReadAndDeal_F(const QString &name) {
    // Every caller means the working file, whatever the letter case of the name.
    Q_UNUSED(name);
    m_loading = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_loading};
    const bool found = forEachRecord(m_file.path(), [this](int index, const QString &text) {
        if (index < kRecord03C0)
            applyChannelRecord(index, text);
        else if (index == kRecord03C0)
            apply03C0(data03C0(text));
        else if (index == kRecord03D0) {
            if (const auto mb = data03D0(text))
                apply03D0(*mb);
        } else if (index == kRecord03F0)
            apply03F0(data03F0(text));
    });
    if (!found)
        m_prompter.message(QStringLiteral("no file!"));
}

void MainWindow::applyChannelRecord(int index, const QString &frameText) {
    const int row = index / 2 + 1;
    if (index % 2 == 0) {
        const FrequencyCells f = get_data1(frameText);
        setCell(1, row, f.rx);
        setCell(3, row, f.tx);
        return;
    }
    const ToneFlagCells t = get_data2(frameText, cell(1, row), m_texts.flags);
    if (t.emptyRow) {
        for (int c = 2; c <= 6; ++c)
            setCell(c, row, QString());
        return;
    }
    setCell(2, row, t.rxTone);
    setCell(4, row, t.txTone);
    setCell(5, row, t.busy);
    setCell(6, row, t.scan);
}

void MainWindow::apply03C0(const Block03C0Values &v) {
    CB_SD->setCurrentIndex(v.batterySave);
    CB_BY->setCurrentIndex(v.beep);
    CB_DP->setCurrentIndex(v.squelch);
    CB_JT->setCurrentIndex(v.monitorKey);
    CB_CS->setCurrentIndex(v.timeOut);
}

void MainWindow::apply03D0(const ModelBand &v) {
    CB_JQLX->setCurrentIndex(v.model < CB_JQLX->count() ? v.model : -1);
    f_box->setCurrentIndex(v.band < f_box->count() ? v.band : -1);
}

void MainWindow::apply03F0(const Block03F0Values &v) {
    CB_YY->setCurrentIndex(v.voice);
    Edit1->setText(v.carrierTime);
    SpinEdit1->setValue(v.power);
    Edit2->setText(v.delayTime);
    Edit3->setText(v.returnTime);
    CheckBox2->setChecked(v.scanOn);
    CB_SM->setCurrentIndex(v.scanMode);
    if (v.scanMode == 1) {
        // A loaded time-operated mode enables its controls as choosing it does.
        Edit2->setEnabled(true);
        SpinButton2->setEnabled(true);
    }
    CB_YX->setCurrentIndex(v.channelMode);
    CB_CH->setCurrentIndex(v.priorityChannel);
}

Block03C0Values MainWindow::panel03C0() const {
    Block03C0Values v;
    v.beep = CB_BY->currentIndex();
    v.batterySave = CB_SD->currentIndex();
    v.squelch = CB_DP->currentIndex();
    v.monitorKey = CB_JT->currentIndex();
    v.timeOut = CB_CS->currentIndex();
    return v;
}

Block03F0Values MainWindow::panel03F0() const {
    Block03F0Values v;
    v.voice = CB_YY->currentIndex();
    v.carrierTime = Edit1->text();
    v.power = SpinEdit1->value();
    v.delayTime = Edit2->text();
    v.returnTime = Edit3->text();
    v.scanOn = CheckBox2->isChecked();
    v.scanMode = CB_SM->currentIndex();
    v.channelMode = CB_YX->currentIndex();
    v.priorityChannel = CB_CH->currentIndex();
    return v;
}

void MainWindow::N17Click() {
    guarded([this] {
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
    guarded([this] {
        QCoreApplication::quit();
        m_transfer->closeLink();
    });
}

} // namespace qx
