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
                   WorkingImage &image, ChannelGrid &grid, QMenu *menu, QAction *recent,
                   QObject *parent)
    : QObject(parent), m_texts(texts), m_prompter(prompter), m_file(file), m_image(image),
      m_grid(grid), m_menu(menu), m_recent(recent) {}

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
    const QList<QAction *> entries = m_menu->actions();
    const int top = entries.indexOf(m_recent);
    for (int i = entries.size() - 3; i > top; --i) {
        entries[i]->setText(entries[i - 1]->text());
        entries[i]->setVisible(entries[i - 1]->isVisible());
    }
    m_recent->setText(QStringLiteral("&1") + QDir::toNativeSeparators(chosen));
    m_recent->setVisible(true);

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
