#include "opensave.h"

#include "channelgrid.h"
#include "error.h"
#include "filecopy.h"
#include "prompter.h"
#include "windowtexts.h"
#include "workingfile.h"
#include "workingimage.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace qx {

OpenSave::OpenSave(const WindowTexts &texts, Prompter &prompter, WorkingFile &file,
                   WorkingImage &image, ChannelGrid &grid, QMenu *menu, QObject *parent)
    : QObject(parent), m_texts(texts), m_prompter(prompter), m_file(file), m_image(image),
      m_grid(grid), m_menu(menu) {
    for (std::size_t i = 0; i < m_recent.size(); ++i)
        m_recent[i] =
            menu->findChild<QAction *>(QString(QChar(char16_t(u'a' + i))) + QLatin1Char('1'));
    m_recentEnd = menu->findChild<QAction *>(QStringLiteral("N9"));
    showRecentSlots();
}

void OpenSave::showRecentSlots() {
    for (QAction *slot : m_recent) {
        m_menu->removeAction(slot);
        if (slot->isVisible())
            m_menu->insertAction(m_recentEnd, slot);
    }
}

void OpenSave::openFrom(const QString &dir) {
    guard(m_prompter, [this, dir] {
        const QString chosen = m_prompter.openFileName(kDatFilter, dir);
        if (!chosen.isEmpty())
            openChosen(chosen);
    });
}

void OpenSave::openFile(const QString &path) {
    guard(m_prompter, [this, path] { openChosen(path); });
}

void OpenSave::openChosen(const QString &chosen) {
    // The original failed silently and had already listed the file; a file that
    // could not be opened is not listed and nothing changes. Read as the command line
    // reads an image: a regular file of at most 1 MiB.
    try {
        const QByteArray bytes = readImageFile(chosen);
        m_image.replace([&] { saveFileAtomically(m_file.path(), bytes); });
    } catch (const Error &e) {
        m_prompter.message(m_texts.copyFailed.arg(e.message()));
        return;
    }

    // Recent files: every slot from c1 up to b1 takes the caption and visibility
    // of the one above it; a1 gets the new file.
    for (std::size_t i = m_recent.size() - 1; i > 0; --i) {
        m_recent[i]->setText(m_recent[i - 1]->text());
        m_recent[i]->setVisible(m_recent[i - 1]->isVisible());
    }
    m_recent[0]->setText(QStringLiteral("&1") + QDir::toNativeSeparators(chosen));
    m_recent[0]->setVisible(true);
    showRecentSlots();

    m_image.ReadAndDeal_F();
}

void OpenSave::save() {
    guard(m_prompter, [this] {
        // A name typed without an extension gets .dat from the dialog, so that Open's filter
        // lists it; an existing file is replaced without a question.
        const QString chosen = m_prompter.saveFileName(kDatFilter, m_saveFolder);
        if (chosen.isEmpty() || !m_grid.commitTypedText())
            return;
        try {
            copyFileOver(m_file.path(), chosen);
        } catch (const Error &e) {
            m_prompter.message(m_texts.copyFailed.arg(e.message()));
            return;
        }
        m_saveFolder = QFileInfo(chosen).absolutePath();
    });
}

} // namespace qx
