#include "menukeys.h"

#include "accesstexts.h"

#include <QAction>
#include <QMenuBar>
#include <QShortcut>
#include <array>
#include <utility>

namespace qx {

void addMenuMnemonics(QMenuBar *bar) {
    static const std::array<std::pair<const char *, char>, 7> letters{{{"N1", 'F'},
                                                                       {"EditMenu", 'E'},
                                                                       {"N2", 'P'},
                                                                       {"N4", 'C'},
                                                                       {"N15", 'L'},
                                                                       {"LanguageSetup1", 'L'},
                                                                       {"N3", 'H'}}};
    for (QAction *a : bar->actions())
        for (const auto &[name, letter] : letters)
            if (a->objectName() == QLatin1String(name))
                a->setText(withMnemonic(a->text(), QLatin1Char(letter)));
    // F10 opens the first menu, as on the desktops; Qt leaves it to the application.
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar->window());
    QObject::connect(f10, &QShortcut::activated, bar,
                     [bar] { bar->setActiveAction(bar->actions().constFirst()); });
}

} // namespace qx
