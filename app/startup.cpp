#include "startup.h"

#include "covers.h"
#include "filelimits.h"
#include "mainwindow.h"
#include "prompter.h"
#include "windowclaim.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace qx {

namespace {

// The file refusals, shared with the command line, in Chinese while the window lives.
class ChineseFileWords : public QObject {
public:
    explicit ChineseFileWords(QObject *window) : QObject(window) { setChineseFileWords(true); }
    ~ChineseFileWords() override { setChineseFileWords(false); }
};

// Qt's own words (standard buttons, the file and print dialogs, the serial port's errors)
// and the file refusals in Chinese, for as long as the window lives: owned by it, a
// translator leaves the application when it is destroyed. A catalogue that is not
// installed leaves Qt's words English.
void speakChinese(QObject &window) {
    new ChineseFileWords(&window);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char *catalogue : {"qtbase", "qtserialport"}) {
        auto *translator = new QTranslator(&window);
        if (translator->load(QString::fromLatin1(catalogue) + QStringLiteral("_zh_CN"), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace

std::unique_ptr<MainWindow> createMainWindow(const QString &language, Prompter &prompter, Sio &sio,
                                             const QString &folder) {
    if (language == QLatin1String("E"))
        return std::make_unique<TE_Form>(prompter, sio, folder);
    auto window = std::make_unique<TForm1>(prompter, sio, folder);
    speakChinese(*window);
    return window;
}

bool claimWorkingFile(WindowClaim &claim, const QString &language, Prompter &prompter) {
    if (claim.take())
        return true;
    const WindowTexts texts =
        language == QLatin1String("E") ? englishWindowTexts() : chineseWindowTexts();
    const qint64 pid = claim.holderPid();
    const QString holder = pid > 0 ? QString::number(pid) : QStringLiteral("?");
    if (prompter.ask(texts.caption, texts.otherWindow.arg(holder), Prompter::Buttons::YesNo,
                     Prompter::Icon::Question) &&
        !claim.askHolderToShow())
        prompter.message(texts.otherWindowUnreachable.arg(holder));
    return false;
}

std::unique_ptr<MainWindow>
showSplashWhileCreating(const std::function<std::unique_ptr<MainWindow>()> &create) {
    std::unique_ptr<MainWindow> window;
    Tcover cover;
    QObject::connect(&cover, &Tcover::appeared, &cover, [&] {
        if (!window)
            window = create();
    });
    cover.exec();
    // A splash that closed before it was ever painted.
    if (!window)
        window = create();
    return window;
}

} // namespace qx
