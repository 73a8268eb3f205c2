#include "transferswitches.h"

#include "prompter.h"
#include "ptini.h"
#include "windowtexts.h"

#include <QAction>
#include <QMenu>

namespace qx {

TransferSwitches::TransferSwitches(QMenu *program, const WindowTexts &texts, Prompter &prompter,
                                   QString iniPath)
    : QObject(program), m_prompter(prompter), m_iniPath(std::move(iniPath)) {
    m_checkReads = add("CheckReads", texts.menuCheckReads, QStringLiteral("CheckReads"));
    m_verify = add("VerifyAfterWrite", texts.menuVerify, QStringLiteral("Verify"));
    for (QAction *action : {m_checkReads, m_verify})
        program->addAction(action);
}

QAction *TransferSwitches::add(const char *name, const QString &text, const QString &key) {
    auto *action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(true);
    // Absent means on: only a user who turned a check off goes without it.
    action->setChecked(PtIni(m_iniPath).readInt(QStringLiteral("pt"), key, 1) != 0);
    connect(action, &QAction::toggled, this, [this, key](bool on) {
        guard(m_prompter,
              [&] { PtIni(m_iniPath).writeInt(QStringLiteral("pt"), key, on ? 1 : 0); });
    });
    return action;
}

bool TransferSwitches::checkReads() const {
    return m_checkReads->isChecked();
}

bool TransferSwitches::verifyAfterWrite() const {
    return m_verify->isChecked();
}

} // namespace qx
