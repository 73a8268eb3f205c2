#pragma once

#include "prompter.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace qx::test {

// Answers every box from a script and records what was shown. An unscripted
// question is answered No, so a forgotten answer fails a test instead of hanging it.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString kind;    // "message", "ask", "error", "open", "save", "list"
        QString caption; // for "open" and "save": the folder the dialog starts in; for
                         // "list": the accept button's text (empty: only OK)
        QString text;
        Buttons buttons = Buttons::Ok;
    };

    QList<bool> answers;
    QStringList fileNames;
    QList<Shown> shown;
    std::function<void(const Shown &)> onShow; // runs while the "box" is open

    void message(const QString &text) override { record({"message", {}, text}); }
    bool ask(const QString &caption, const QString &text, Buttons buttons, Icon) override {
        record({"ask", caption, text, buttons});
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    // The text and the lines, one a line. A list with an accept button takes an answer.
    bool showList(const QString &text, const QStringList &lines,
                  const QString &acceptText) override {
        record({"list", acceptText, (QStringList{text} + lines).join(QLatin1Char('\n'))});
        if (acceptText.isEmpty())
            return true;
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void error(const QString &text) override { record({"error", {}, text}); }
    QString openFileName(const QString &filter, const QString &dir) override {
        record({"open", dir, filter});
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    // The name as typed into the dialog; it returns it as the program's dialog does.
    QString saveFileName(const QString &filter, const QString &dir) override {
        record({"save", dir, filter});
        return fileNames.isEmpty() ? QString() : withFilterExtension(fileNames.takeFirst(), filter);
    }

    QStringList texts() const {
        QStringList out;
        for (const Shown &s : shown)
            out << s.text;
        return out;
    }
    QStringList texts(const QString &kind) const {
        QStringList out;
        for (const Shown &s : shown)
            if (s.kind == kind)
                out << s.text;
        return out;
    }
    void clear() { shown.clear(); }

private:
    void record(const Shown &s) {
        shown << s;
        if (onShow)
            onShow(s);
    }
};

} // namespace qx::test
