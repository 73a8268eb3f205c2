#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QPrinter;

namespace qx {

// Every modal box of the program goes through this interface: the window uses Qt
// dialogs, tests script the answers and read the texts.
class Prompter {
public:
    enum class Buttons { Ok, OkCancel, YesNo, RetryIgnore };
    enum class Icon { None, Question, Error };

    virtual ~Prompter() = default;

    // Plain message with one OK button, captioned with the application title.
    virtual void message(const QString &text) = 0;
    // A box with its own caption and buttons. True for OK, Yes or Retry.
    virtual bool ask(const QString &caption, const QString &text, Buttons buttons,
                     Icon icon = Icon::Question) = 0;
    // A runtime error reported by the guard.
    virtual void error(const QString &text) = 0;
    // A message over a list of lines that may be long: the lines scroll, none is cut off.
    // With acceptText, a question whose accept button says what it does, Cancel beside it;
    // true when accepted. Without, only OK, and true. By default a message or an OK/Cancel
    // box holding the text and the lines.
    virtual bool showList(const QString &text, const QStringList &lines,
                          const QString &acceptText = QString());
    // File dialogs; an empty result means the user cancelled. A name chosen in the save
    // dialog without an extension comes back with the filter's (withFilterExtension).
    virtual QString openFileName(const QString &filter, const QString &dir) = 0;
    virtual QString saveFileName(const QString &filter, const QString &dir) = 0;
    // The platform's print dialog over the printer: printer, copies, paper. False when
    // cancelled; by default nothing can be chosen.
    virtual bool choosePrinter(QPrinter &printer);
    // The pages that paint draws on the printer, shown until the user closes them. By
    // default nothing is shown.
    virtual void previewPages(QPrinter &printer, const std::function<void(QPrinter &)> &paint);
};

// What every save dialog returns for a name typed without an extension: the name with the
// extension of the filter's pattern, "mysave" -> "mysave.dat" for "hex(*.dat)", so the
// open dialog's filter lists the file. A name with an extension, the name of something
// that exists, or a filter without an extension, is left as it is.
QString withFilterExtension(const QString &path, const QString &filter);

// Runs one event handler or timer tick: the one guard of the program. A qx::Error or any
// other exception is shown through the prompter; nothing escapes to end the program.
// onError, when given, runs first, so the handler's object is left sound before the box
// opens (a transfer ends and closes its link). True when the handler ran to its end.
bool guard(Prompter &prompter, const std::function<void()> &handler,
           const std::function<void()> &onError = {});

} // namespace qx
