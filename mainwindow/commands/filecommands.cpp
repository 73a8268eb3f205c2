#include "filecommands.h"

#include "channelcsv.h"
#include "channelgrid.h"
#include "chirpcsv.h"
#include "commandhost.h"
#include "error.h"
#include "filecopy.h"
#include "fileedits.h"
#include "filelimits.h"
#include "imagediff.h"
#include "prompter.h"
#include "transferjob.h"
#include "windowtexts.h"
#include "workingfile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace qx {

namespace {

// As the command line reads a CSV file: a regular file of at most 1 MiB.
QString readText(const QString &path) {
    return QString::fromUtf8(readInputFile(path, InputKind::Csv));
}

} // namespace

FileCommands::FileCommands(CommandHost &host, QObject *parent)
    : QObject(parent), m_host(host), m_edits(host.edits()), m_file(host.workingFile()) {}

void FileCommands::addMenus(QMenu *file) {
    const WindowTexts &t = m_host.texts();
    QAction *printSeparator = nullptr;
    for (QAction *a : file->actions())
        if (a->objectName() == QLatin1String("N7"))
            printSeparator = a;
    const auto item = [&](const char *name, const QString &text, void (FileCommands::*slot)()) {
        auto *action = new QAction(text, file);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
        file->insertAction(printSeparator, action);
        return action;
    };
    item("CompareWithFile", t.menuCompare, &FileCommands::compareWithFile);
    QAction *separator = new QAction(file);
    separator->setSeparator(true);
    separator->setObjectName(QStringLiteral("CsvSeparator"));
    file->insertAction(printSeparator, separator);
    QAction *import = item("ImportCsv", t.menuImportCsv, &FileCommands::importCsv);
    // An import during a transfer would change the file under it, as a paste would.
    connect(&m_host.job(), &TransferJob::busyChanged, import,
            [import](bool busy) { import->setEnabled(!busy); });
    item("ExportCsv", t.menuExportCsv, &FileCommands::exportCsv);
    item("ExportChirpCsv", t.menuExportChirpCsv, &FileCommands::exportChirpCsv);
}

void FileCommands::compareWithFile() {
    Prompter &prompter = m_host.prompter();
    guard(prompter, [&] {
        const WindowTexts &t = m_host.texts();
        const QString path = prompter.openFileName(kDatFilter, QString());
        if (path.isEmpty() || !m_host.channelGrid().commitTypedText())
            return;
        QByteArray other;
        try {
            other = readImageFile(path);
        } catch (const Error &e) {
            prompter.message(t.compareNotRead.arg(e.message()));
            return;
        }
        const QString name = QFileInfo(path).fileName();
        const QStringList lines = formatImageDiff(diffImages(m_file.readAll(), other), t);
        if (lines.isEmpty())
            prompter.message(t.compareSame.arg(name));
        else
            prompter.showList(t.compareIntro.arg(name), lines);
    });
}

void FileCommands::importCsv() {
    Prompter &prompter = m_host.prompter();
    guard(prompter, [&] {
        const WindowTexts &t = m_host.texts();
        if (m_host.job().busy())
            return;
        const QString path = prompter.openFileName(t.csvFilter, QString());
        if (path.isEmpty())
            return;
        QString text;
        try {
            text = readText(path);
        } catch (const Error &e) {
            prompter.message(t.csvNotRead.arg(e.message()));
            return;
        }
        const CsvTexts say = csvTexts(t.language);
        const QByteArray current = m_file.readAll();
        CsvImport result = qx::importCsv(text, current, false, say);
        QString intro = t.importPreview;
        QString accept = t.importButton;
        QStringList lines;
        if (!result.errors.isEmpty() && isChirpCsv(text)) {
            // Rows this radio cannot hold can be left out; a file that cannot be read cannot.
            const CsvImport rest = qx::importCsv(text, current, true, say);
            if (rest.errors.isEmpty()) {
                result = rest;
                intro = t.importUnfit;
                accept = t.importRestButton;
                lines << result.skipped << QString() << t.importChanges;
            }
        }
        if (!result.errors.isEmpty()) {
            prompter.showList(t.importRejected, result.errors);
            return;
        }
        const QStringList changes = formatImageDiff(diffImages(current, result.image), t);
        if (changes.isEmpty() && result.skipped.isEmpty()) {
            prompter.message(t.importSame);
            return;
        }
        lines << (changes.isEmpty() ? QStringList{t.noChanges} : changes);
        if (!result.notes.isEmpty())
            lines << QString() << t.importNotes << result.notes;
        if (!prompter.showList(intro, lines, accept))
            return;
        {
            const FileEdits::Step step(m_edits);
            for (int record = 0; record < kRecord03C0; ++record)
                m_edits.storeRecord(record,
                                    MemoryFrame::fromBytes(recordBytes(result.image, record)));
        }
        m_host.reloadWorkingFile();
    });
}

void FileCommands::exportCsv() {
    exportAs(formatChannelCsv);
}

void FileCommands::exportChirpCsv() {
    exportAs(formatChirpCsv);
}

void FileCommands::exportAs(QString (*format)(const ChannelTable &)) {
    Prompter &prompter = m_host.prompter();
    guard(prompter, [&] {
        const WindowTexts &t = m_host.texts();
        const QString path = prompter.saveFileName(t.csvFilter, QString());
        if (path.isEmpty() || !m_host.channelGrid().commitTypedText())
            return;
        try {
            saveFileAtomically(path, format(channelsOfImage(m_file.readAll())).toUtf8());
        } catch (const Error &e) {
            prompter.message(t.csvNotSaved.arg(e.message()));
        }
    });
}

} // namespace qx
