#include "channelgrid.h"
#include "emulatedradio.h"
#include "filefaults.h"
#include "mainwindow.h"
#include "portdetector.h"
#include "portprobe.h"
#include "ptini.h"
#include "qtsio.h"
#include "routingsio.h"
#include "scriptedprompter.h"
#include "ser2netserver.h"
#include "testbytes.h"
#include "transfer.h"
#include "transferjob.h"
#include "windowtexts.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace qx;
using namespace qx::test;

class TestWindowLink : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    RadioEmulator m_emu;
    test::ScriptedPrompter m_prompter;
    std::unique_ptr<QtSio> m_sio;

    QString dat() const { return m_dir.filePath(QStringLiteral("r_and_w.dat")); }
    QByteArray fileBytes() const { return readFile(dat()); }
    std::unique_ptr<MainWindow> window(Language language) {
        if (language == Language::English)
            return std::make_unique<TE_Form>(m_prompter, *m_sio, m_dir.path());
        return std::make_unique<TForm1>(m_prompter, *m_sio, m_dir.path());
    }
    template <typename T> static T *child(MainWindow &w, const char *name) {
        T *c = w.findChild<T *>(QLatin1String(name));
        if (!c)
            qFatal("no %s", name);
        return c;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_emu.start());
        m_sio = std::make_unique<QtSio>([this](int) { return m_emu.slavePath(); });
    }
    void cleanupTestCase() { m_emu.stop(); }
    void init() {
        if (!m_emu.running()) { // hung up by the test before
            m_emu.stop();
            QVERIFY(m_emu.start());
        }
        QFile::remove(dat());
        QFile::remove(m_dir.filePath(QStringLiteral("pt.ini")));
        m_prompter.shown.clear();
        m_prompter.answers.clear();
        m_emu.setFaults({});
        m_emu.setMemory(demoMemory());
        m_emu.clearLog();
    }

    void portPanel_data() {
        QTest::addColumn<Language>("language");
        QTest::addColumn<QString>("label");
        QTest::newRow("Chinese") << Language::Chinese << "串口:COM3";
        QTest::newRow("English") << Language::English << "PROT:COM3";
    }
    void portPanel() {
        QFETCH(Language, language);
        auto w = window(language);
        w->show();
        auto *panel = child<QGroupBox>(*w, "Select_com");
        auto *com = child<QComboBox>(*w, "Com");
        w->N13Click();
        QVERIFY(panel->isVisible());
        QCOMPARE(com->currentText(), QStringLiteral("COM1"));
        com->setCurrentIndex(2);
        QTest::mouseClick(child<QPushButton>(*w, "SpeedButton2"), Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QTEST(child<QLabel>(*w, "StatusPanel2")->text(), "label");
        QCOMPARE(PtIni(m_dir.filePath("pt.ini")).comPort(), 3);

        // Closing with "X" forgets the choice.
        w->N13Click();
        QCOMPARE(com->currentIndex(), 2);
        com->setCurrentIndex(5);
        QTest::mouseClick(child<QPushButton>(*w, "SpeedButton1"), Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QCOMPARE(PtIni(m_dir.filePath("pt.ini")).comPort(), 3);
        w->N13Click();
        QCOMPARE(com->currentIndex(), 2);
    }

    void portOutOfRange() {
        PtIni(m_dir.filePath("pt.ini")).writeInt("pt", "COM", 9);
        auto w = window(Language::English);
        w->show();
        w->N13Click();
        QCOMPARE(child<QComboBox>(*w, "Com")->currentIndex(), -1);
        QTest::mouseClick(child<QPushButton>(*w, "SpeedButton2"), Qt::LeftButton);
        QCOMPARE(m_prompter.texts("error"), QStringList{"List index out of bounds (-1)"});
        QVERIFY(child<QGroupBox>(*w, "Select_com")->isVisible());
        QCOMPARE(PtIni(m_dir.filePath("pt.ini")).comPort(), 9);
        QCOMPARE(child<QLabel>(*w, "StatusPanel2")->text(), QStringLiteral("PORT:COM9"));
    }

    void panelIsDragged() {
        auto w = window(Language::Chinese);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->N13Click();
        auto *panel = child<QGroupBox>(*w, "Select_com");
        const QPoint before = panel->pos();
        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(60, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(100, 50), panel->mapToGlobal(QPointF(100, 50)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &move);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(100, 50));
        QCOMPARE(panel->pos(), before + QPoint(40, 40));
    }

    void readThenWriteBack_data() {
        QTest::addColumn<Language>("language");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("Chinese") << Language::Chinese
                                 << QStringList{"开始从对讲机里读取数据", "完成!"};
        QTest::newRow("English") << Language::English << QStringList{"Over!"};
        // A write is read back by default: its completion, then the verify's result.
    }
    void readThenWriteBack() {
        QFETCH(Language, language);
        QFETCH(QStringList, messages);
        auto w = window(language);
        // The languages differ only in their words: Chinese at the fast pacing, English at
        // the window's own.
        if (language == Language::Chinese)
            w->findChild<Transfer *>(QStringLiteral("Transfer"))->setPacing(Pacing::fast());
        w->show();
        auto *read = child<QToolButton>(*w, "ToolButton7");
        auto *write = child<QToolButton>(*w, "ToolButton8");
        auto *gauge = child<QProgressBar>(*w, "Gauge");
        bool disabledDuringRead = false;
        m_prompter.onShow = [&](const test::ScriptedPrompter::Shown &s) {
            if (s.text == QStringLiteral("完成!") || s.text == QLatin1String("Over!"))
                disabledDuringRead = !read->isEnabled() && !write->isEnabled();
        };
        QTest::mouseClick(read, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(read->isEnabled() && m_prompter.texts().size() == messages.size(),
                                 15000);
        m_prompter.onShow = nullptr;
        QVERIFY(disabledDuringRead);
        QCOMPARE(m_prompter.texts(), messages);
        QCOMPARE(gauge->value(), 36 + 35); // every block twice
        QCOMPARE(fileBytes(), RadioEmulator::datImage(demoMemory()));
        // Decoded into the window after the read.
        QCOMPARE(w->channelGrid().cell(1, 1), QStringLiteral("462.01250"));
        QCOMPARE(w->channelGrid().cell(2, 1), QStringLiteral("67.0"));

        // Write back unchanged: the radio's memory stays as it was, blanks aside.
        m_prompter.shown.clear();
        m_emu.fillMemory(0x00);
        QTest::mouseClick(write, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->findChild<TransferJob *>()->running(), 15000);
        QCOMPARE(m_prompter.texts().mid(m_prompter.texts().size() - 2),
                 (QStringList{messages.last(), language == Language::English
                                                   ? englishWindowTexts().verifyMatch
                                                   : chineseWindowTexts().verifyMatch}));
        QCOMPARE(gauge->value(), gauge->maximum());
        const RadioEmulator::Memory after = m_emu.memory();
        QCOMPARE(RadioEmulator::datImage(after), RadioEmulator::datImage(demoMemory()));
        for (int a : {0x0000, 0x0008, 0x03C8, 0x03D8, 0x03F8})
            for (int k = 0; k < 8; ++k)
                QCOMPARE(int(after[a + k]), 0xFF);
        for (int a = 0x03E0; a < 0x03F0; ++a)
            QCOMPARE(int(after[a]), 0x00);
    }

    void retryPromptStyle_data() {
        QTest::addColumn<Language>("language");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("buttons");
        QTest::newRow("Chinese") << Language::Chinese << "T-5829"
                                 << "连接错误，你要重试么?" << int(Prompter::Buttons::OkCancel);
        QTest::newRow("English") << Language::English << "Confirm"
                                 << "Connect is error,Do you try?"
                                 << int(Prompter::Buttons::RetryIgnore);
    }
    void retryPromptStyle() {
        QFETCH(Language, language);
        EmulatorFaults silent;
        silent.silentFrom = 1;
        m_emu.setFaults(silent);
        auto w = window(language);
        w->show();
        w->n11Click();
        QTRY_VERIFY_WITH_TIMEOUT(child<QToolButton>(*w, "ToolButton7")->isEnabled(), 10000);
        const auto asks = std::count_if(m_prompter.shown.begin(), m_prompter.shown.end(),
                                        [](const auto &s) { return s.kind == "ask"; });
        QCOMPARE(asks, 1);
        const auto &ask = *std::find_if(m_prompter.shown.begin(), m_prompter.shown.end(),
                                        [](const auto &s) { return s.kind == "ask"; });
        QTEST(ask.caption, "caption");
        QTEST(ask.text, "text");
        QTEST(int(ask.buttons), "buttons");
        QCOMPARE(child<QProgressBar>(*w, "Gauge")->value(), 0);
        QCOMPARE(fileBytes(), QByteArray());
    }

    void stopMidTransfer() {
        auto w = window(Language::English);
        w->show();
        w->n11Click();
        auto *gauge = child<QProgressBar>(*w, "Gauge");
        QTRY_VERIFY_WITH_TIMEOUT(gauge->value() >= 10, 10000);
        QTest::mouseClick(child<QToolButton>(*w, "ToolButton13"), Qt::LeftButton);
        QCOMPARE(gauge->value(), 0);
        // Once the job has ended, a moment after the transfer.
        QTRY_VERIFY(child<QToolButton>(*w, "ToolButton7")->isEnabled());
        const int requests = m_emu.requestCount();
        QTest::qWait(300);
        QCOMPARE(m_emu.requestCount(), requests); // nothing more is sent
        // A read that does not complete changes nothing, and says so.
        QCOMPARE(fileBytes(), QByteArray());
        QCOMPARE(m_prompter.texts(), QStringList{englishWindowTexts().readNotStored});
        QVERIFY(w->channelGrid().cell(1, 1).isEmpty());
    }

    void readRefusedWhileRunning() {
        auto w = window(Language::English);
        w->show();
        w->n11Click();
        QTRY_VERIFY_WITH_TIMEOUT(child<QProgressBar>(*w, "Gauge")->value() >= 3, 10000);
        w->N12Click(); // the menu item stays enabled
        QCOMPARE(m_prompter.shown.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(child<QToolButton>(*w, "ToolButton7")->isEnabled(), 15000);
        QCOMPARE(m_prompter.shown.last().text, QStringLiteral("Over!"));
        QCOMPARE(fileBytes(), RadioEmulator::datImage(demoMemory()));
    }

    void detectPort_data() {
        QTest::addColumn<Language>("language");
        QTest::addColumn<bool>("mapped"); // the answering radio has a port number already
        QTest::addColumn<bool>("answers");
        QTest::newRow("mapped radio, English") << Language::English << true << true;
        QTest::newRow("unmapped radio, Chinese") << Language::Chinese << false << true;
        QTest::newRow("nothing answers") << Language::English << false << false;
    }
    // COM1 is a radio that does not answer; the answering one is COM2, or a device no
    // port maps to. The others map to devices that are not there, so no real serial
    // device of the test machine is touched.
    void detectPort() {
        QFETCH(Language, language);
        QFETCH(bool, mapped);
        QFETCH(bool, answers);
        RadioEmulator silent;
        EmulatorFaults quiet;
        quiet.silentFrom = 1;
        silent.setFaults(quiet);
        QVERIFY(silent.start());
        const QString silentLink = m_dir.filePath("silent-radio");
        const QString radioLink = m_dir.filePath("radio");
        QVERIFY(silent.makeLink(silentLink));
        QVERIFY(m_emu.makeLink(radioLink));
        PtIni ini(m_dir.filePath("pt.ini"));
        ini.writeString("ports", "COM1", silentLink);
        for (int port = 2; port <= 8; ++port)
            ini.writeString("ports", QStringLiteral("COM%1").arg(port),
                            mapped && port == 2
                                ? radioLink
                                : m_dir.filePath(QStringLiteral("gone%1").arg(port)));
        auto w = window(language);
        w->show();
        w->findChild<PortDetector *>()->setOtherDevices(
            [&] { return answers && !mapped ? QStringList{radioLink} : QStringList{}; });

        QTest::mouseClick(child<QToolButton>(*w, "ToolButton9"), Qt::LeftButton); // panel up
        child<QAction>(*w, "N18")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(m_prompter.shown.size(), 1, 10000);
        const QStringList lines = m_prompter.shown.first().text.split('\n');
        const WindowTexts texts =
            language == Language::English ? englishWindowTexts() : chineseWindowTexts();
        // The diagnoses in the window's language.
        const bool english = language == Language::English;
        const QString noAnswer = "COM1, " + silentLink + ": " +
                                 (english ? QStringLiteral("no answer from the radio;")
                                          : QStringLiteral("对讲机没有应答"));
        QVERIFY2(lines.size() >= 2 && lines[1].startsWith(noAnswer), qPrintable(lines.join('|')));
        QCOMPARE(silent.requestCount(), PortProbe::kTries);
        // Every mapped port is named, also one whose device is not there.
        for (int port = mapped ? 3 : 2; port <= 8; ++port)
            QVERIFY2(lines.value(port).startsWith(
                         QStringLiteral("COM%1, %2: %3")
                             .arg(port)
                             .arg(m_dir.filePath(QStringLiteral("gone%1").arg(port)),
                                  english ? QStringLiteral("no such device")
                                          : QStringLiteral("没有此设备"))),
                     qPrintable(lines.join('|')));
        if (!answers) {
            QCOMPARE(lines.size(), 9);
            QCOMPARE(lines[0], texts.detectNone);
            QCOMPARE(ini.comPort(), 1);
            QCOMPARE(ini.readString("ports", "COM2", "-"), m_dir.filePath("gone2"));
            return;
        }
        const QString answered =
            english ? QStringLiteral(": the radio answered; it is ready to read or write")
                    : QStringLiteral(": 对讲机已应答，可以读写");
        QCOMPARE(lines[0], texts.detectFound.arg("COM2"));
        QCOMPARE(lines.value(mapped ? 2 : 9), (mapped ? "COM2, " : "") + radioLink + answered);
        // A device outside the mapping takes the first number whose device is not there,
        // under its own name.
        if (!mapped)
            QCOMPARE(lines.value(10), "[ports] COM2=" + radioLink);
        QCOMPARE(ini.readString("ports", "COM2", "-"), radioLink);
        QCOMPARE(ini.comPort(), 2);
        QCOMPARE(child<QComboBox>(*w, "Com")->currentIndex(), 1);
        QCOMPARE(child<QLabel>(*w, "StatusPanel2")->text(), texts.portChosenPrefix + "COM2");
        QVERIFY(child<QGroupBox>(*w, "Select_com")->isVisible());
        // The next read goes where Detect Port pointed.
        QCOMPARE(PtIni(m_dir.filePath("pt.ini")).deviceForPort(2), radioLink);
    }

    void portPanelDevice_data() {
        QTest::addColumn<Language>("language");
        QTest::addColumn<QString>("present");
        QTest::addColumn<QString>("absent");
        QTest::newRow("English") << Language::English << "%1 (plugged in)"
                                 << "%1 (not plugged in)";
        QTest::newRow("Chinese") << Language::Chinese << "%1（已连接）"
                                 << "%1（未连接）";
    }
    // The label under the list follows the selection and fits the panel, which keeps
    // its size; a long by-id name loses its middle, the tooltip keeps it whole.
    void portPanelDevice() {
        QFETCH(Language, language);
        QFETCH(QString, present);
        QFETCH(QString, absent);
        const QString there = m_dir.filePath("ttyThere");
        const QString longName =
            m_dir.filePath("usb-FTDI_FT232R_USB_UART_A50285BI_and_a_long_tail-if00-port0");
        for (const QString &file : {there, longName}) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        PtIni ini(m_dir.filePath("pt.ini"));
        ini.writeString("ports", "COM1", there);
        ini.writeString("ports", "COM2", m_dir.filePath("ttyGone"));
        ini.writeString("ports", "COM3", longName);
        auto w = window(language);
        w->show();
        w->N13Click();
        auto *panel = child<QGroupBox>(*w, "Select_com");
        auto *label = child<QLabel>(*w, "PortDevice");
        auto *com = child<QComboBox>(*w, "Com");
        // The whole text in the tooltip; the label keeps the state and both ends of the
        // device's name.
        auto shows = [label](const QString &format, const QString &device) {
            return label->toolTip() == format.arg(device) &&
                   label->text().endsWith(device.right(3) + format.arg("")) &&
                   label->text().startsWith(device.left(4)) &&
                   label->fontMetrics().horizontalAdvance(label->text()) <= label->width();
        };
        QVERIFY2(shows(present, there), qPrintable(label->text()));
        com->setCurrentIndex(1);
        QVERIFY2(shows(absent, m_dir.filePath("ttyGone")), qPrintable(label->text()));
        com->setCurrentIndex(2);
        QVERIFY2(shows(present, longName), qPrintable(label->text()));
        QVERIFY(label->text().contains(QChar(0x2026)));
        // A cable plugged in or pulled while the panel is open.
        com->setCurrentIndex(1);
        QFile gone(m_dir.filePath("ttyGone"));
        QVERIFY(gone.open(QIODevice::WriteOnly));
        QTRY_VERIFY2(shows(present, gone.fileName()), qPrintable(label->text()));
        QVERIFY(gone.remove());
        QTRY_VERIFY2(shows(absent, gone.fileName()), qPrintable(label->text()));
        QCOMPARE(panel->size(), QSize(225, 81));
        QVERIFY(panel->rect().contains(label->geometry()));
        for (const char *name : {"Label21", "Com", "SpeedButton2"})
            QVERIFY(!label->geometry().intersects(child<QWidget>(*w, name)->geometry()));
    }

    // A radio on the network as pt.ini maps it, with the program's own routing: Detect
    // Port names the mapped port whose device is absent and finds the radio behind
    // ser2net, the panel says it is on the network, and a read through it fills the
    // working file.
    void radioOnTheNetwork() {
        if (test::Ser2NetServer::program().isEmpty())
            QSKIP("ser2net is not installed (tools/deps.sh installs it)");
        test::Ser2NetServer server;
        QString error;
        QVERIFY2(server.start({{true, m_emu.slavePath()}}, &error), qPrintable(error));
        PtIni ini(m_dir.filePath("pt.ini"));
        const QString gone = m_dir.filePath("gone1");
        ini.writeString("ports", "COM1", gone);
        ini.writeString("ports", "COM3", server.url(0));
        RoutingSio sio([&ini](int port) { return ini.deviceForPort(port); });
        TE_Form w(m_prompter, sio, m_dir.path());
        w.show();
        w.findChild<PortDetector *>()->setOtherDevices([] { return QStringList{}; });
        child<QAction>(w, "N18")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(m_prompter.shown.size(), 1, 10000);
        const QStringList lines = m_prompter.shown.first().text.split('\n');
        QCOMPARE(lines.value(0), englishWindowTexts().detectFound.arg("COM3"));
        QVERIFY2(lines.value(1).startsWith("COM1, " + gone + ": no such device"),
                 qPrintable(lines.join('|')));
        QCOMPARE(lines.value(2),
                 "COM3, " + server.url(0) + ": the radio answered; it is ready to read or write");
        QCOMPARE(child<QLabel>(w, "PortDevice")->toolTip(), server.url(0) + " (network)");

        m_prompter.shown.clear();
        w.n11Click();
        QTRY_VERIFY_WITH_TIMEOUT(!m_prompter.shown.isEmpty(), 15000);
        QCOMPARE(m_prompter.texts(), QStringList{"Over!"});
        QCOMPARE(fileBytes(), RadioEmulator::datImage(demoMemory()));
    }

    // The radio goes away during a write and comes back: a read while it is away fails to
    // open, and transfer.log holds that attempt alone; the read after it comes back works
    // at once.
    void radioComesBack() {
        QVERIFY(writeFile(dat(), RadioEmulator::datImage(demoMemory())));
        EmulatorFaults hangUp;
        hangUp.hangUpAt = 12;
        m_emu.setFaults(hangUp);
        auto w = window(Language::English);
        w->show();
        auto *read = child<QToolButton>(*w, "ToolButton7");
        w->N12Click();
        QTRY_VERIFY_WITH_TIMEOUT(read->isEnabled() && !m_prompter.shown.isEmpty(), 10000);
        QVERIFY2(m_prompter.texts().first().startsWith("The serial device went away!"),
                 qPrintable(m_prompter.texts().join('|')));
        m_emu.stop();
        const auto log = [this] {
            return QString::fromUtf8(readFile(m_dir.filePath("transfer.log")));
        };

        m_prompter.shown.clear();
        w->n11Click();
        QTRY_VERIFY_WITH_TIMEOUT(read->isEnabled() && !m_prompter.shown.isEmpty(), 10000);
        QVERIFY2(log().contains("open failed") && !log().contains("write on COM1") &&
                     !log().contains(" sent "),
                 qPrintable(log()));

        QVERIFY(m_emu.start());
        m_prompter.shown.clear();
        w->n11Click();
        QTRY_VERIFY_WITH_TIMEOUT(read->isEnabled() && !m_prompter.shown.isEmpty(), 15000);
        QCOMPARE(m_prompter.texts(), QStringList{"Over!"});
        QVERIFY2(!log().contains("open failed"), qPrintable(log()));
    }

    // A pulled cable ends the read at once with the device named, and transfer.log beside
    // the working file shows every byte; the next transfer starts the log afresh.
    void pulledCableAndTransferLog() {
        EmulatorFaults hangUp;
        hangUp.hangUpAt = 10;
        m_emu.setFaults(hangUp);
        const QString device = m_emu.slavePath();
        auto w = window(Language::English);
        w->show();
        auto *read = child<QToolButton>(*w, "ToolButton7");
        w->n11Click();
        QTRY_VERIFY_WITH_TIMEOUT(read->isEnabled() && !m_prompter.shown.isEmpty(), 10000);
        QTRY_COMPARE(m_prompter.texts().size(), 2);
        QCOMPARE(m_prompter.texts(), (QStringList{"The serial device went away!\n" + device +
                                                      ": the device went away (was the cable "
                                                      "unplugged?)",
                                                  englishWindowTexts().readNotStored}));
        QCOMPARE(child<QProgressBar>(*w, "Gauge")->value(), 0);
        const QString logPath = m_dir.filePath("transfer.log");
        QFile log(logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString first = QString::fromUtf8(log.readAll());
        log.close();
        QVERIFY2(first.contains(" ms  read on COM1\n") &&
                     first.contains(device + "  step 1 handshake  sent 02\n") &&
                     first.contains(device + "  step 9 read 0048  sent 52 R\n") &&
                     first.contains(device + "  read: the device went away\n"),
                 qPrintable(first));

        m_emu.stop();
        QVERIFY(m_emu.start());
        m_prompter.shown.clear();
        w->n11Click();
        QTRY_VERIFY_WITH_TIMEOUT(read->isEnabled() && !m_prompter.shown.isEmpty(), 15000);
        QCOMPARE(m_prompter.texts(), QStringList{"Over!"});
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList second = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(second.filter("serial log begun").size(), 1);
        QVERIFY(second.filter("went away").isEmpty());
        QVERIFY2(second.last().endsWith(m_emu.slavePath() + "  close"), qPrintable(second.last()));
    }

    // The radio's image is about to be overwritten and its backup cannot be kept (backups/
    // on a full disk): the write stops before the first frame and says so.
    void beforeWriteBackupOnFullDisk() {
        QVERIFY(writeFile(dat(), RadioEmulator::datImage(demoMemory())));
        FileFault disk(QStringLiteral("full disk"), m_dir.filePath(QStringLiteral("backups")),
                       QStringLiteral("x.dat"), QByteArray());
        if (!disk.skipReason().isEmpty())
            QSKIP(qPrintable(disk.skipReason()));
        m_emu.fillMemory(0x11);
        auto w = window(Language::English);
        w->show();
        m_prompter.shown.clear();
        w->N12Click();
        QTRY_VERIFY_WITH_TIMEOUT(!w->findChild<TransferJob *>()->running(), 15000);
        const QStringList texts = m_prompter.texts();
        QCOMPARE(texts.size(), 1);
        const WindowTexts t = englishWindowTexts();
        QVERIFY2(texts.first().startsWith(t.backupFailed.arg(m_dir.filePath("backups/"))) &&
                     texts.first().endsWith(": cannot write: No space left on device\n" +
                                            t.backupStopsWrite),
                 qPrintable(texts.first()));
        for (const QByteArray &frame : m_emu.receivedFrames())
            QVERIFY(!frame.startsWith('W'));
        for (const std::uint8_t byte : m_emu.memory())
            QCOMPARE(int(byte), 0x11);
        QCOMPARE(fileBytes(), RadioEmulator::datImage(demoMemory()));
    }

    // transfer.log that cannot be written (a FIFO in its place): the read goes on, and the
    // window says the log is incomplete instead of blocking on it.
    void transferLogThatCannotBeWritten() {
        const QString log = m_dir.filePath(QStringLiteral("transfer.log"));
        QFile::remove(log);
        QCOMPARE(::mkfifo(QFile::encodeName(log).constData(), 0600), 0);
        auto w = window(Language::English);
        w->show();
        w->n11Click();
        QTRY_VERIFY_WITH_TIMEOUT(m_prompter.texts().size() == 2, 15000);
        QCOMPARE(m_prompter.texts(),
                 (QStringList{"Over!", englishWindowTexts().logFailed.arg(
                                           log + ": is a pipe (FIFO), not a regular file")}));
        QCOMPARE(fileBytes(), RadioEmulator::datImage(demoMemory()));
        QFile::remove(log);
    }
};

QTEST_MAIN(TestWindowLink)
#include "tst_windowlink.moc"
