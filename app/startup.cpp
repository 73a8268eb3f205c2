#include "startup.h"

#include "covers.h"
#include "mainwindow.h"
#include "prompter.h"
#include "windowclaim.h"

namespace qx {

std::unique_ptr<MainWindow> createMainWindow(const QString &language, Prompter &prompter, Sio &sio,
                                             const QString &folder) {
    if (language == QLatin1String("E"))
        return std::make_unique<TE_Form>(prompter, sio, folder);
    return std::make_unique<TForm1>(prompter, sio, folder);
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
