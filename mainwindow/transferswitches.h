#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace qx {

class Prompter;
struct WindowTexts;

// The two checkable items of the Program menu that guard the transfers, each kept in pt.ini
// ([pt] CheckReads and [pt] Verify) and on unless the user turned it off: a read takes a
// block only when it came the same twice, and a write is read back and compared.
class TransferSwitches : public QObject {
    Q_OBJECT
public:
    // iniPath: pt.ini, read afresh at every change.
    TransferSwitches(QMenu *program, const WindowTexts &texts, Prompter &prompter, QString iniPath);

    bool checkReads() const;
    bool verifyAfterWrite() const;

private:
    QAction *add(const char *name, const QString &text, const QString &key);

    Prompter &m_prompter;
    QString m_iniPath;
    QAction *m_checkReads = nullptr;
    QAction *m_verify = nullptr;
};

} // namespace qx
