#include "mainwindow.h"

#include "channelgrid.h"
#include "directedlabel.h"
#include "icons.h"
#include "workingimage.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace qx {

namespace {

// The platform's Quit, or Ctrl+Q where its table has none (the offscreen platform).
QKeySequence quitKey() {
    const QKeySequence key(QKeySequence::Quit);
    return key.isEmpty() ? QKeySequence(Qt::CTRL | Qt::Key_Q) : key;
}

} // namespace

void MainWindow::buildMenus() {
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    // As high as the drawn window's menu bar, so that the areas below keep their heights.
    bar->setFixedHeight(19);
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
    QAction *N5 = item(N1, "N5", m_texts.menuOpen);
    QAction *N6 = item(N1, "N6", m_texts.menuSave);
    separator(N1, "N7");
    QAction *N8 = item(N1, "N8", m_texts.menuPrint);
    QAction *PrintWithDialog = item(N1, "PrintWithDialog", m_texts.print.menuPrintDialog);
    QAction *PrintPreview = item(N1, "PrintPreview", m_texts.print.menuPrintPreview);
    separator(N1, "N14");
    // The recent-file slots stand in the menu only while they name a file: a screen
    // reader lists a menu's hidden items too.
    QAction *a1 = item(N1, "a1", QStringLiteral("a"));
    QAction *b1 = item(N1, "b1", QStringLiteral("b"));
    QAction *c1 = item(N1, "c1", QStringLiteral("c"));
    for (QAction *slot : {a1, b1, c1})
        slot->setVisible(false);
    separator(N1, "N9");
    QAction *N10 = item(N1, "N10", m_texts.menuExit);

    N2 = menu("N2", m_texts.menuProgram);
    QAction *N11 = item(N2, "N11", m_texts.menuRead);
    QAction *N12 = item(N2, "N12", m_texts.menuWrite);
    QMenu *n4 = menu("N4", m_texts.menuCom);
    QAction *N13 = item(n4, "N13", m_texts.menuSelectCom);
    QAction *N18 = item(n4, "N18", m_texts.menuDetectPort);
    QMenu *language = menu(m_texts.languageMenuName.toLatin1().constData(), m_texts.menuLanguage);
    QAction *N17 = item(language, m_texts.switchLanguageName.toLatin1().constData(),
                        m_texts.menuSwitchLanguage);
    // Help opens nothing and runs nothing: an item of the bar itself, not an empty list
    // that would pop up and swallow the next click.
    bar->addAction(m_texts.menuHelp)->setObjectName(QStringLiteral("N3"));

    N5->setShortcut(QKeySequence::Open);
    N6->setShortcut(QKeySequence::Save);
    N8->setShortcut(QKeySequence::Print);
    N10->setShortcut(quitKey());
    N11->setShortcut(kReadKey);
    N12->setShortcut(kWriteKey);

    connect(N5, &QAction::triggered, this, &MainWindow::N5Click);
    connect(N6, &QAction::triggered, this, &MainWindow::N6Click);
    connect(N8, &QAction::triggered, this, &MainWindow::N8Click);
    connect(PrintWithDialog, &QAction::triggered, this, &MainWindow::printWithDialog);
    connect(PrintPreview, &QAction::triggered, this, &MainWindow::printPreview);
    connect(N10, &QAction::triggered, this, &MainWindow::N10Click);
    connect(N11, &QAction::triggered, this, &MainWindow::n11Click);
    connect(N12, &QAction::triggered, this, &MainWindow::N12Click);
    connect(N13, &QAction::triggered, this, &MainWindow::N13Click);
    connect(N18, &QAction::triggered, this, &MainWindow::N18Click);
    connect(N17, &QAction::triggered, this, &MainWindow::N17Click);
}

void MainWindow::buildToolBar() {
    // Qt names a tool bar by its title, taken when the bar is made.
    ToolBar1 = addToolBar(m_texts.access.toolBar);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(47);
    ToolBar1->setIconSize(QSize(35, 35));
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    ToolBar1->toggleViewAction()->setEnabled(false);
    // Buttons and separators side by side from the left edge, as drawn. The main window
    // sizes the bar by its hint, which these margins bring to the 47 pixels drawn.
    ToolBar1->layout()->setContentsMargins(0, 0, 0, 0);
    ToolBar1->layout()->setSpacing(0);
    ToolBar1->setContentsMargins(0, 3, 0, 3);

    auto separator = [&](const char *name) {
        auto *sep = new QWidget(ToolBar1);
        sep->setObjectName(QLatin1String(name));
        sep->setFixedWidth(8);
        ToolBar1->addWidget(sep);
    };
    auto button = [&](const char *name, int icon, const QString &caption, const QString &hint,
                      void (MainWindow::*handler)(), const QKeySequence &key = {}) {
        auto *b = new QToolButton(ToolBar1);
        b->setObjectName(QLatin1String(name));
        b->setIcon(toolIcon(icon));
        b->setIconSize(QSize(35, 35));
        b->setFixedSize(42, 41);
        b->setText(caption);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setToolTip(key.isEmpty() ? hint
                                    : QStringLiteral("%1 (%2)").arg(
                                          hint, key.toString(QKeySequence::NativeText)));
        // Named after what it does: the Stop button has no caption of its own.
        if (caption.isEmpty())
            b->setAccessibleName(hint);
        b->setAutoRaise(true);
        ToolBar1->addWidget(b);
        connect(b, &QToolButton::clicked, this, handler);
        return b;
    };
    separator("ToolButton1");
    button("ToolButton3", 3, m_texts.tbOpen, m_texts.tbOpenHint, &MainWindow::N5Click,
           QKeySequence::Open);
    button("ToolButton2", 1, m_texts.tbSave, m_texts.tbSaveHint, &MainWindow::N6Click,
           QKeySequence::Save);
    separator("ToolButton12");
    button("ToolButton11", 5, m_texts.tbPrint, m_texts.tbPrintHint, &MainWindow::N8Click,
           QKeySequence::Print);
    separator("ToolButton4");
    ToolButton7 = button("ToolButton7", 2, m_texts.tbRead, m_texts.tbReadHint,
                         &MainWindow::n11Click, kReadKey);
    ToolButton8 = button("ToolButton8", 0, m_texts.tbWrite, m_texts.tbWriteHint,
                         &MainWindow::N12Click, kWriteKey);
    separator("ToolButton10");
    button("ToolButton13", 7, QString(), m_texts.tbStopHint, &MainWindow::ToolButton13Click);
    button("ToolButton9", 4, m_texts.tbCom, m_texts.tbComHint, &MainWindow::N13Click);
    separator("ToolButton6");
    button("ToolButton5", 6, m_texts.tbExit, m_texts.tbExitHint, &MainWindow::N10Click, quitKey());
}

void MainWindow::buildDisplayFrame(QWidget *parent) {
    show_Box = new QGroupBox(m_texts.displayFrame, parent);
    show_Box->setObjectName(QStringLiteral("show_Box"));
    // As high as the window lets it be: 432 in the window drawn at its outer size.
    show_Box->setFixedWidth(m_texts.displayWidth);

    m_grid = new ChannelGrid(m_texts, m_prompter, *m_working, show_Box);

    Gauge = new QProgressBar(show_Box);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setFixedHeight(27);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->setAccessibleName(m_texts.access.progress);

    // The grid starts below the 22-pixel caption bar, where the lists were drawn over its
    // first row; Qt's frame leaves 18 above the contents.
    auto *layout = new QVBoxLayout(show_Box);
    layout->setContentsMargins(0, 23 - 18, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_grid, 1);
    layout->addWidget(Gauge);
}

bool MainWindow::event(QEvent *event) {
    // The window manager has framed the window once it moves it into place.
    if (event->type() == QEvent::Move && !m_frameFitted)
        fitOuterFrame();
    return QMainWindow::event(event);
}

void MainWindow::fitOuterFrame() {
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull())
        return;
    // The outer size is the one drawn, whatever frame the window manager draws around the
    // client area; centred again, as the window manager placed it before.
    m_frameFitted = true;
    const QSize outer = m_texts.outerSize;
    resize(outer.shrunkBy(frame));
    if (const QScreen *shown = screen())
        move(shown->availableGeometry().center() - QPoint(outer.width() / 2, outer.height() / 2));
}

} // namespace qx
