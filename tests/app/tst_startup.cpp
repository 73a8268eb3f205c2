#include "channelgrid.h"
#include "covers.h"
#include "fakesio.h"
#include "mainwindow.h"
#include "memoryframe.h"
#include "ptini.h"
#include "scriptedprompter.h"
#include "startup.h"
#include "windowclaim.h"
#include "windowtexts.h"

#include "testbytes.h"
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include <QtTest>
#include <unistd.h>

using namespace qx;
using namespace qx::test;

namespace {

// A complete image: channel 1 with tones and both flags on, channel 2 empty, channel 3
// with busy off; settings from the worked examples.
QByteArray sampleImage() {
    QByteArray image;
    image += hexBytes("570010085012004550120045"); // ch1 450.01250 / 450.01250
    image += hexBytes("5700180870067006F8FFFFFF"); // ch1 67.0 / 67.0, busy yes, scan yes
    image += hexBytes("57002008FFFFFFFF50120045"); // ch2 no receive frequency
    image += hexBytes("5700280870067006F8FFFFFF");
    image += hexBytes("570030080000004600000046"); // ch3 460.00000
    image += hexBytes("57003808FFFF1813F9FFFFFF"); // ch3 OFF / 131.8, busy no, scan yes
    for (int r = 6; r < 32; ++r)
        image += blankRecord(r).toByteArray();
    image += hexBytes("5703C008FD050304FFFFFFFF"); // beep on, squelch 5, monitor on, 120 s
    image += hexBytes("5703D0080000F73730313350");
    image += hexBytes("5703F0085E0F2B14600A0A52");
    return image;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    test::ScriptedPrompter m_prompter;
    test::FakeSio m_sio;

    QString dat() const { return m_dir.filePath(QStringLiteral("r_and_w.dat")); }

    std::unique_ptr<MainWindow> open(const QString &language) {
        return createMainWindow(language, m_prompter, m_sio, m_dir.path());
    }

private slots:
    void init() {
        QFile::remove(dat());
        QFile::remove(m_dir.filePath(QStringLiteral("pt.ini")));
        m_prompter.shown.clear();
        m_prompter.answers.clear();
    }

    void languageChoice_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("E") << "E"
                           << "TALVIK(QX-7420)";
        QTest::newRow("C") << "C"
                           << "TALVIK中文写频(QX-7420)";
        // Mended: the original opened no window at all for these.
        QTest::newRow("lower-case e") << "e"
                                      << "TALVIK中文写频(QX-7420)";
        QTest::newRow("empty") << ""
                               << "TALVIK中文写频(QX-7420)";
        QTest::newRow("garbage") << "English"
                                 << "TALVIK中文写频(QX-7420)";
    }
    void languageChoice() {
        QFETCH(QString, language);
        auto w = open(language);
        QTEST(w->windowTitle(), "title");
    }

    void firstStartCreatesEmptyWorkingFile() {
        auto w = open("C");
        QVERIFY(QFile::exists(dat()));
        QCOMPARE(QFileInfo(dat()).size(), 0);
        QVERIFY(m_prompter.shown.isEmpty());
        auto *grid = w->findChild<QTableWidget *>("StringGrid");
        QCOMPARE(grid->rowCount(), 17);
        QCOMPARE(grid->columnCount(), 7);
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("    接收频率"));
        QCOMPARE(grid->item(5, 0)->text(), QStringLiteral("\n\n5"));
        for (int r = 1; r <= 16; ++r)
            for (int c = 1; c <= 6; ++c)
                QVERIFY(w->channelGrid().cell(c, r).isEmpty());
        QCOMPARE(w->findChild<QLabel *>("StatusPanel2")->text(), QStringLiteral("串口:COM1"));
        // An empty file leaves the panel at its form defaults.
        QCOMPARE(w->findChild<QComboBox *>("CB_JT")->currentIndex(), 0);
        QCOMPARE(w->findChild<QSpinBox *>("SpinEdit1")->value(), 96);
    }

    void englishDefaultsAndPort() {
        QVERIFY(writeFile(m_dir.filePath("pt.ini"), "[pt]\nCOM=4\n"));
        auto w = open("E");
        QCOMPARE(w->findChild<QComboBox *>("CB_JT")->currentText(),
                 QStringLiteral("SQ Off Momentary"));
        QCOMPARE(w->findChild<QLabel *>("StatusPanel2")->text(), QStringLiteral("PORT:COM4"));
    }

    void decodesImage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("yes");
        QTest::addColumn<QString>("no");
        QTest::newRow("Chinese") << "C"
                                 << "是"
                                 << "否";
        QTest::newRow("English") << "E"
                                 << "YES"
                                 << "NO";
    }
    void decodesImage() {
        QFETCH(QString, language);
        QFETCH(QString, yes);
        QFETCH(QString, no);
        QVERIFY(writeFile(dat(), sampleImage()));
        auto w = open(language);
        QVERIFY2(m_prompter.shown.isEmpty(), qPrintable(m_prompter.texts().join('|')));
        const QStringList ch1{"450.01250", "67.0", "450.01250", "67.0", yes, yes};
        const QStringList ch3{"460.00000", "OFF", "460.00000", "131.8", no, yes};
        for (int c = 1; c <= 6; ++c) {
            QCOMPARE(w->channelGrid().cell(c, 1), ch1[c - 1]);
            QVERIFY(w->channelGrid().cell(c, 2).isEmpty());
            QCOMPARE(w->channelGrid().cell(c, 3), ch3[c - 1]);
            QVERIFY(w->channelGrid().cell(c, 4).isEmpty());
        }
        auto index = [&](const char *name) {
            return w->findChild<QComboBox *>(name)->currentIndex();
        };
        QCOMPARE(index("CB_BY"), 1);
        QCOMPARE(index("CB_SD"), 0);
        QCOMPARE(index("CB_DP"), 5);
        QCOMPARE(index("CB_JT"), 1);
        QCOMPARE(index("CB_CS"), 4);
        QCOMPARE(index("CB_JQLX"), 0);
        QCOMPARE(index("f_box"), 3);
        QCOMPARE(index("CB_YY"), 2);
        QCOMPARE(index("CB_SM"), 1);
        QCOMPARE(index("CB_YX"), 0);
        QCOMPARE(index("CB_CH"), 2);
        QCOMPARE(w->findChild<QLineEdit *>("Edit1")->text(), QStringLiteral("10"));
        QCOMPARE(w->findChild<QLineEdit *>("Edit2")->text(), QStringLiteral("5"));
        QCOMPARE(w->findChild<QLineEdit *>("Edit3")->text(), QStringLiteral("5"));
        QCOMPARE(w->findChild<QSpinBox *>("SpinEdit1")->value(), 96);
        QVERIFY(w->findChild<QCheckBox *>("CheckBox2")->isChecked());
        // A loaded time mode enables the delay time; the check box its lists.
        QVERIFY(w->findChild<QLineEdit *>("Edit2")->isEnabled());
        QVERIFY(w->findChild<QComboBox *>("CB_SM")->isEnabled());
        // 96 is also the form's value: no change, so the label keeps its caption.
        QCOMPARE(w->findChild<QLabel *>("Label19")->text(), QStringLiteral("NewPower"));
        // The load stored nothing.
        QCOMPARE(readFile(dat()), sampleImage());
    }

    // What the file does not hold or cannot be decoded shows as in a new window, and one
    // message names it; the load goes on past a damaged record and stores nothing.
    void shortAndDamagedFiles_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("channelsShown"); // channels 1 to n show a receive frequency
        QTest::addColumn<QString>("message");
        QByteArray image;
        for (int r = 0; r < 32; ++r)
            image += recordHeader(r) +
                     (r % 2 ? hexBytes("70067006F8FFFFFF") : hexBytes("5012004550120045"));
        image += sampleImage().mid(32 * 12);
        // Records past 34 are ignored, even when they would not decode.
        for (int r = 35; r < 40; ++r)
            image += hexBytes("57AAAAAAAAAAAAAAAAAAAAAA");
        QTest::newRow("10 records")
            << "E" << image.left(120) << 5
            << "The file does not hold a whole image for the radio; what is missing or damaged "
               "shows as in a new window.\nMissing: channel 6, channel 7, channel 8, channel 9, "
               "channel 10, channel 11, channel 12, channel 13, channel 14, channel 15, channel "
               "16, settings 03C0, settings 03D0, settings 03F0";
        QTest::newRow("35 records") << "E" << image.left(420) << 16 << "";
        // Bytes after the image are ignored, and named.
        const QString length =
            QStringLiteral("The file does not hold a whole image for the radio; what is missing "
                           "or damaged shows as in a new window.\nThe file holds %1 bytes; an "
                           "image of the radio is 420.");
        QTest::newRow("425 bytes") << "E" << image.left(425) << 16 << length.arg(425);
        QTest::newRow("40 records") << "E" << image << 16 << length.arg(480);
        QByteArray digit = sampleImage();
        digit.replace(4 * 12 + 4, 4, hexBytes("000A0046")); // ch3 receive frequency 46000A00
        QTest::newRow("a digit that does not decode")
            << "C" << digit << 1
            << "此文件不是完整的对讲机数据，缺少或损坏的部分按新窗口显示。\n损坏：信道3";
    }
    void shortAndDamagedFiles() {
        QFETCH(QString, language);
        QFETCH(QByteArray, image);
        QFETCH(int, channelsShown);
        QFETCH(QString, message);
        QVERIFY(writeFile(dat(), image));
        auto w = open(language);
        QCOMPARE(m_prompter.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        for (int r = 1; r <= 16; ++r)
            QCOMPARE(w->channelGrid().cell(1, r).isEmpty(), r > channelsShown);
        QCOMPARE(w->findChild<QComboBox *>("CB_BY")->currentIndex(), image.size() > 32 * 12);
        QCOMPARE(readFile(dat()), image);
    }

    void readOnlyFolderStillOpensTheWindow() {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        auto w = createMainWindow("C", m_prompter, m_sio, dir.path());
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(m_prompter.texts("error").size(), 1);
        QVERIFY(m_prompter.texts("error").first().contains("r_and_w.dat"));
    }

    void workingFileIsADirectory() {
        // Works as root too: the working file cannot be created when a folder has its name.
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("r_and_w.dat");
        auto w = createMainWindow("E", m_prompter, m_sio, dir.path());
        QCOMPARE(m_prompter.texts("error").size(), 1);
        QVERIFY(m_prompter.texts("error").first().contains("r_and_w.dat"));
        QVERIFY(w->findChild<QTableWidget *>("StringGrid"));
    }

    void menusAndToolBar_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QStringList>("fileItems");
        QTest::addColumn<QStringList>("hints");
        // Each menu opens with Alt and its letter; the unused recent-file slots are left out
        // of the File menu; the tool tips name the keys.
        QTest::newRow("Chinese") << "C"
                                 << QStringList{"文件(&F)", "操作(&P)", "串口设置(&C)",
                                                "&Language Mode", "帮助(&H)"}
                                 << QStringList{"打开文件", "保存文件", "",        "打印文件",
                                                "",         "",         "退出程序"}
                                 << QStringList{"打开文件 (Ctrl+O)",
                                                "保存文件 (Ctrl+S)",
                                                "打印文件 (Ctrl+P)",
                                                "读取数据从对讲机里面 (F5)",
                                                "写入数据到对讲机里 (F6)",
                                                "关闭读写",
                                                "串口选择",
                                                "退出系统 (Ctrl+Q)"};
        QTest::newRow("English") << "E"
                                 << QStringList{"&File", "&Program", "&COM Setup", "&Language Mode",
                                                "&Help"}
                                 << QStringList{"Open", "Save", "", "Print", "", "", "Exit"}
                                 << QStringList{"Open (Ctrl+O)",       "Sava (Ctrl+S)",
                                                "Print (Ctrl+P)",      "Read From Radio (F5)",
                                                "Write To Radio (F6)", "OFF Read/Write",
                                                "Select COM",          "Exit (Ctrl+Q)"};
    }
    void menusAndToolBar() {
        QFETCH(QString, language);
        QFETCH(QStringList, menus);
        QFETCH(QStringList, fileItems);
        QFETCH(QStringList, hints);
        auto w = open(language);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        // The commands added beside the original ones are checked in tst_editing.
        const auto original = [](const QList<QAction *> &actions) {
            static const QStringList added{"EditMenu",       "OpenBackup",      "CompareWithFile",
                                           "CsvSeparator",   "ImportCsv",       "ExportCsv",
                                           "ExportChirpCsv", "PrintWithDialog", "PrintPreview"};
            QList<QAction *> kept;
            for (QAction *a : actions)
                if (!added.contains(a->objectName()))
                    kept << a;
            return kept;
        };
        QStringList titles;
        for (QAction *a : original(w->menuBar()->actions()))
            titles << a->text();
        QCOMPARE(titles, menus);
        QStringList items;
        const QList<QAction *> file = original(w->menuBar()->actions().first()->menu()->actions());
        for (QAction *a : file)
            items << (a->isSeparator() ? QString() : a->text());
        QCOMPARE(items, fileItems);
        // Help has no items: not even an empty list drops from it.
        QCOMPARE(w->menuBar()->actions().last()->menu(), nullptr);
        const char *buttons[] = {"ToolButton3", "ToolButton2",  "ToolButton11", "ToolButton7",
                                 "ToolButton8", "ToolButton13", "ToolButton9",  "ToolButton5"};
        QStringList tips;
        int lastX = -1;
        for (const char *name : buttons) {
            auto *b = w->findChild<QToolButton *>(name);
            QVERIFY2(b, name);
            QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonIconOnly);
            QVERIFY(b->x() > lastX);
            lastX = b->x();
            tips << b->toolTip();
        }
        QCOMPARE(tips, hints);
        QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(Qt::yellow));
        QVERIFY(w->findChild<QWidget *>("Select_com")->isHidden());
        QCOMPARE(w->findChild<QComboBox *>("Com")->count(), 8);
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(w->findChild<QComboBox *>("RX_BOX")->count(), 39);
        QVERIFY(w->findChild<QComboBox *>("RX_BOX")->isHidden());
    }

    void languageSwitch_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("written");
        QTest::newRow("Chinese, yes") << "C" << true << "E";
        QTest::newRow("English, yes") << "E" << true << "C";
        QTest::newRow("Chinese, no") << "C" << false << "";
    }
    void languageSwitch() {
        QFETCH(QString, language);
        QFETCH(bool, answer);
        QFETCH(QString, written);
        auto w = open(language);
        w->show();
        m_prompter.answers = {answer};
        w->N17Click();
        QCOMPARE(m_prompter.shown.first().text, QStringLiteral("Do You Wish To Change english?"));
        QCOMPARE(PtIni(m_dir.filePath("pt.ini")).readString("LG", "LG", ""), written);
        QCOMPARE(w->isVisible(), !answer);
        if (answer)
            QCOMPARE(m_prompter.texts("message"), QStringList{"Succeed,Plase restart!"});
    }

    void splashAnimation() {
        Tcover cover;
        // The active caption's gradient colour, not the caption colour #99B4D1.
        QCOMPARE(cover.palette().color(QPalette::Window), QColor(0xB9, 0xD1, 0xEA));
        QCOMPARE(cover.findChild<QLabel *>("Image1")->pixmap().size(), QSize(393, 53));
        auto *label = cover.findChild<QLabel *>("Label1");
        QCOMPARE(label->text().size(), 101);
        QVERIFY(label->text().startsWith(QString(35, '|')));
        for (int i = 0; i < 19; ++i)
            cover.Timer1Timer();
        QCOMPARE(label->text().size(), 82);
        QCOMPARE(cover.interval(), 119);
        QCOMPARE(cover.result(), 0);
        cover.show();
        cover.Timer1Timer();
        QCOMPARE(cover.result(), int(QDialog::Accepted));
        QVERIFY(!cover.isVisible());
        QCOMPARE(label->text().size(), 82);
    }

    void splashRegionFollowsSize() {
        Tcover cover;
        cover.show();
        QCOMPARE(cover.mask().boundingRect(), QRect(0, 0, 393, 148));
        cover.setFixedSize(500, 200);
        QTRY_COMPARE(cover.size(), QSize(500, 200));
        QCOMPARE(cover.mask().boundingRect(), QRect(0, 0, 500, 200));
        QVERIFY(!cover.mask().contains(QPoint(0, 0))); // rounded corner
    }

    // In the middle of the screen, whatever its size and scale.
    void splashCentred() {
        Tcover cover;
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        const QPoint offset =
            cover.frameGeometry().center() - cover.screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        // The running row ends after a whole character, inside the splash.
        auto *row = cover.findChild<QLabel *>("Label1");
        const QFontMetrics metrics(row->font());
        QVERIFY(row->geometry().right() < cover.width());
        for (int tick = 0; tick < 3; ++tick, cover.Timer1Timer()) {
            int n = 0;
            while (n < row->text().size() &&
                   metrics.horizontalAdvance(row->text().left(n + 1)) <= row->width())
                ++n;
            QCOMPARE(metrics.horizontalAdvance(row->text().left(n)), row->width());
        }
    }

    void splashClosesByItself() {
        Tcover cover;
        QCOMPARE(cover.exec(), int(QDialog::Accepted));
        QCOMPARE(cover.interval(), 120);
    }

    void windowIsBuiltWhileTheSplashShows() {
        QPointer<Tcover> cover;
        bool showing = false;
        auto w = showSplashWhileCreating([&] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *splash = qobject_cast<Tcover *>(top))
                    cover = splash;
            showing = cover && cover->isVisible() && cover->result() == 0;
            return open("E");
        });
        QVERIFY(showing);
        QVERIFY(w != nullptr);
        // Destroyed after the window was created, before the window is shown.
        QVERIFY(cover.isNull());
        QVERIFY(!w->isVisible());
    }

    // A second program on the working file another window holds says so, naming that
    // process, and brings it forward; a lock left by a crash is taken over.
    void oneWindowPerWorkingFile_data() {
        QTest::addColumn<bool>("running");
        QTest::newRow("held by a running window") << true;
        QTest::newRow("left by a program that crashed") << false;
    }

    void oneWindowPerWorkingFile() {
        QFETCH(bool, running);
        QTemporaryDir folder;
        const QString working = folder.filePath(QStringLiteral("r_and_w.dat"));
        QProcess first;
        if (running) {
            const QString program = folder.filePath(QStringLiteral("qx7420"));
            QVERIFY(QFile::copy(QStringLiteral(QX_PROGRAM), program));
            first.start(program, {});
            QVERIFY(first.waitForStarted());
        } else {
            // A pid that no process has: the lock's holder is gone.
            QVERIFY(writeFile(working + QStringLiteral(".lock"), "2147483646\nqx7420\n\n"));
        }
        WindowClaim claim(working);
        if (running) { // once the first program holds the file and its window listens
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(working + QStringLiteral(".lock")), 20000);
            QTRY_VERIFY_WITH_TIMEOUT(claim.askHolderToShow(), 20000);
        }
        m_prompter.answers << true;
        QCOMPARE(claimWorkingFile(claim, QStringLiteral("E"), m_prompter), !running);
        if (running) {
            QCOMPARE(m_prompter.texts("ask"),
                     QStringList{englishWindowTexts().otherWindow.arg(first.processId())});
            QCOMPARE(m_prompter.texts("message"), QStringList{});
            QCOMPARE(first.state(), QProcess::Running);
            first.kill();
            first.waitForFinished();
        } else {
            QCOMPARE(m_prompter.shown.size(), 0);
        }
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
