#include "prompter.h"

#include "error.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <exception>

namespace qx {

bool Prompter::showList(const QString &text, const QStringList &lines, const QString &acceptText) {
    const QString all = (QStringList{text} + lines).join(QLatin1Char('\n'));
    if (acceptText.isEmpty()) {
        message(all);
        return true;
    }
    return ask(QString(), all, Buttons::OkCancel, Icon::Question);
}

QString withFilterExtension(const QString &path, const QString &filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    const QString extension = pattern.match(filter).captured(1);
    // A name picked from the folder is the file the user means, whatever its name.
    if (path.isEmpty() || extension.isEmpty() || !QFileInfo(path).suffix().isEmpty() ||
        QFileInfo::exists(path))
        return path;
    return path + (path.endsWith(QLatin1Char('.')) ? extension : QLatin1Char('.') + extension);
}

bool Prompter::choosePrinter(QPrinter &) {
    return false;
}

void Prompter::previewPages(QPrinter &, const std::function<void(QPrinter &)> &) {}

bool guard(Prompter &prompter, const std::function<void()> &handler,
           const std::function<void()> &onError) {
    QString text;
    try {
        handler();
        return true;
    } catch (const Error &e) {
        text = e.message();
    } catch (const std::exception &e) {
        text = QString::fromLocal8Bit(e.what());
    } catch (...) {
        text = QStringLiteral("An unexpected error occurred.");
    }
    if (onError)
        guard(prompter, onError);
    prompter.error(text);
    return false;
}

} // namespace qx
