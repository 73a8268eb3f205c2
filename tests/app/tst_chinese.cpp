#include "channelcsv.h"
#include "channelrows.h"
#include "fakesio.h"
#include "mainwindow.h"
#include "portdiagnosis.h"
#include "scriptedprompter.h"
#include "serialdevices.h"
#include "startup.h"
#include "windowtexts.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace qx;
using namespace qx::test;

namespace {

bool hasChinese(const QString &text) {
    return text.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]")));
}

// The English words of three letters or more left in text once paths, port names and the
// names that both windows show alike (values, a CSV file's own columns) are taken out.
QStringList englishWords(QString text) {
    text.remove(QRegularExpression(QStringLiteral("/[^\\s：，；（）]*|COM\\d+")));
    static const QStringList kept =
        QStringList{"CTCSS", "OFF", "YES", "MHz", "kHz", "CSV"} + kCsvHeader;
    QStringList words;
    auto it = QRegularExpression(QStringLiteral("[A-Za-z]{3,}")).globalMatch(text);
    while (it.hasNext()) {
        const QString word = it.next().captured();
        if (!kept.contains(word))
            words << word;
    }
    return words;
}

bool chineseCatalogueInstalled() {
    return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                         QStringLiteral("/qtbase_zh_CN.qm"));
}

} // namespace

class TestChinese : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    FakeSio m_sio;

    std::unique_ptr<MainWindow> open(const QString &language) {
        return createMainWindow(language, m_prompter, m_sio, m_dir.path());
    }

private slots:
    void init() { m_prompter.clear(); }

    // Qt's own boxes and dialogs speak the window's language, and only while it lives.
    void qtDialogs_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("chinese");
        QTest::newRow("Chinese window") << "C" << true;
        QTest::newRow("English window after it") << "E" << false;
    }
    void qtDialogs() {
        QFETCH(QString, language);
        QFETCH(bool, chinese);
        if (chinese && !chineseCatalogueInstalled())
            QSKIP("qtbase_zh_CN.qm is not installed (Debian: qt6-translations-l10n)");
        auto window = open(language);
        QMessageBox box(QMessageBox::Question, QString(), QString(),
                        QMessageBox::Ok | QMessageBox::Cancel);
        const QString ok = box.button(QMessageBox::Ok)->text();
        const QString cancel = box.button(QMessageBox::Cancel)->text();
        if (chinese) {
            QCOMPARE(ok, QStringLiteral("确定"));
            QCOMPARE(cancel, QStringLiteral("取消"));
        } else {
            QVERIFY2(!hasChinese(ok) && !hasChinese(cancel), qPrintable(ok + cancel));
        }
        QFileDialog dialog(window.get());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        for (const char *name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
            const auto *label = dialog.findChild<QLabel *>(QLatin1String(name));
            QVERIFY2(label, name);
            QVERIFY2(hasChinese(label->text()) == chinese, qPrintable(label->text()));
        }
    }

    // The messages added beyond the original program, as the Chinese window shows them.
    void beyondOriginal_data() {
        QTest::addColumn<QString>("text");
        using V = PortDiagnosis::Verdict;
        const auto zh = [](const PortDiagnosis &d) { return d.text(Language::Chinese); };
        const QString usb = QStringLiteral("/dev/ttyUSB0");
        QTest::newRow("no device") << zh(PortDiagnosis::of(V::NoDevice, usb));
        QTest::newRow("went away") << zh(PortDiagnosis::of(V::WentAway, usb));
        QTest::newRow("no answer") << zh(PortDiagnosis::of(V::NoAnswer, usb));
        QTest::newRow("no answer, heard") << zh(PortDiagnosis::of(V::NoAnswer, usb, "41 42"));
        QTest::newRow("cannot open")
            << zh(PortDiagnosis::of(V::CannotOpen, "COM3", "no device configured", "没有配置设备"));
        QTest::newRow("in use") << zh(
            PortDiagnosis::of(V::InUse, usb, "x", LockHolder{42, {}}.text(Language::Chinese)));
        QTest::newRow("in use, unknown") << zh(PortDiagnosis::of(V::InUse, usb));
        QTest::newRow("answered") << zh(PortDiagnosis::of(V::Answered, usb));
        const WindowTexts t = chineseWindowTexts();
        QTest::newRow("pasted row of 3 columns")
            << parseChannelRows(QStringLiteral("1\t2\t3"), t).value(0).problem;
        QTest::newRow("pasted frequency")
            << parseChannelRows(QStringLiteral("4x0\tOFF\t\tOFF\t否\t否"), t).value(0).problem;
        QTest::newRow("pasted tone")
            << parseChannelRows(QStringLiteral("450\t66.6\t\tOFF\t否\t否"), t).value(0).problem;
        QTest::newRow("detect: nothing plugged in") << t.noSerialDevice;
        QTest::newRow("channel tool") << t.tools.fillBadStep + t.tools.insertDropsLast;
    }
    void beyondOriginal() {
        QFETCH(QString, text);
        QVERIFY(hasChinese(text));
        QVERIFY2(englishWords(text).isEmpty(), qPrintable(text));
    }

    // Driven through the window: a CSV the import cannot read, one it rejects, and one that
    // is not a file.
    void csvMessages_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no such file
        QTest::addColumn<bool>("folder");
        QTest::newRow("no such file") << QByteArray() << false;
        QTest::newRow("a folder") << QByteArray() << true;
        QTest::newRow("a bad row") << QByteArray("Channel,RxFrequency,RxTone,TxFrequency,"
                                                 "TxTone,BusyLockout,Scan\n1,4x0,OFF,,OFF,NO,NO\n")
                                   << false;
    }
    void csvMessages() {
        QFETCH(QByteArray, content);
        QFETCH(bool, folder);
        auto window = open(QStringLiteral("C"));
        QString path = m_dir.filePath(QStringLiteral("list.csv"));
        if (folder) {
            path = m_dir.filePath(QStringLiteral("folder.csv"));
            QDir().mkpath(path);
        } else if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        m_prompter.fileNames = {path};
        auto *import = window->findChild<QAction *>(QStringLiteral("ImportCsv"));
        QVERIFY(import);
        import->trigger();
        QStringList shown =
            m_prompter.texts(QStringLiteral("message")) + m_prompter.texts(QStringLiteral("list"));
        QCOMPARE(shown.size(), 1);
        QVERIFY(hasChinese(shown[0]));
        QVERIFY2(englishWords(shown[0]).isEmpty(), qPrintable(shown[0]));
        QFile::remove(path);
    }
};

QTEST_MAIN(TestChinese)
#include "tst_chinese.moc"
