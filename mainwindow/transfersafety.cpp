#include "transfersafety.h"

#include "edithistory.h"
#include "error.h"
#include "imagebackups.h"
#include "memoryframe.h"
#include "prompter.h"
#include "workingfile.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>

namespace qx {

TransferSafety::TransferSafety(Transfer &transfer, WorkingFile &file, EditHistory &history,
                               Prompter &prompter, const WindowTexts &texts, QObject *parent)
    : QObject(parent), m_transfer(transfer), m_file(file), m_history(history), m_prompter(prompter),
      m_texts(texts) {
    connect(&m_transfer, &Transfer::finished, this,
            [this](bool completed) { guard(m_prompter, [&] { ended(completed); }); });
}

TransferSafety::~TransferSafety() = default;

void TransferSafety::start(Transfer::Mode mode, int port) {
    if (m_transfer.running()) {
        m_transfer.start(mode, port); // refuses with its message; the running one goes on
        return;
    }
    const std::optional<QByteArray> before = m_history.snapshot();
    m_phase = mode == Transfer::Mode::Read ? Phase::Read : Phase::Write;
    bool started = false;
    try {
        started = m_transfer.start(mode, port);
    } catch (...) {
        m_phase = Phase::None;
        throw;
    }
    if (!started) {
        m_phase = Phase::None;
        return;
    }
    m_before = before;
    // Nothing is sent before the first step's timer, so the backup is on disk first.
    if (mode == Transfer::Mode::Write && before)
        backup(false, *before);
}

void TransferSafety::ended(bool completed) {
    const Phase phase = std::exchange(m_phase, Phase::None);
    switch (phase) {
    case Phase::None:
        return;
    case Phase::Read: {
        // Also a read that stopped half-way: it changed the file, and undo takes it back.
        const std::optional<QByteArray> after = m_history.snapshot();
        if (m_before && after)
            m_history.record(*m_before, *after);
        if (completed && after)
            backup(true, *after);
        return;
    }
    case Phase::Write:
        if (completed && m_verify && m_before)
            // Started from a fresh call chain: the write's own is still unwinding.
            QMetaObject::invokeMethod(
                this, [this] { guard(m_prompter, [this] { startVerify(); }); },
                Qt::QueuedConnection);
        return;
    case Phase::Verify:
        if (completed)
            compare();
        else
            m_prompter.message(m_texts.verifyNotRead);
        return;
    }
}

void TransferSafety::backup(bool read, const QByteArray &image) {
    try {
        ImageBackups::besideFile(m_file.path())
            .save(read ? ImageBackups::Kind::Read : ImageBackups::Kind::BeforeWrite, image,
                  QDateTime::currentDateTime());
    } catch (const Error &e) {
        m_prompter.message(m_texts.backupFailed.arg(e.message()));
    }
}

void TransferSafety::startVerify() {
    if (!m_scratch.isValid())
        throw Error(
            QStringLiteral("Cannot create a temporary folder: %1").arg(m_scratch.errorString()));
    const QString path = m_scratch.filePath(QStringLiteral("read-back.dat"));
    QFile::remove(path);
    m_readBack = std::make_unique<WorkingFile>(path);
    m_phase = Phase::Verify;
    bool started = false;
    try {
        started = m_transfer.start(Transfer::Mode::Read, m_transfer.currentPort(),
                                   {m_readBack.get(), true});
    } catch (...) {
        m_phase = Phase::None;
        throw;
    }
    if (!started) {
        m_phase = Phase::None;
        m_prompter.message(m_texts.verifyNotRead);
    }
}

void TransferSafety::compare() {
    const QString differ = differences(*m_before, m_readBack->readAll());
    m_prompter.message(differ.isEmpty() ? m_texts.verifyMatch : m_texts.verifyDiffers.arg(differ));
}

QString TransferSafety::differences(const QByteArray &written, const QByteArray &back) const {
    QStringList names;
    for (int record : differingRecords(written, back)) {
        const QString name =
            record < kRecord03C0
                ? m_texts.verifyChannel.arg(record / 2 + 1)
                : m_texts.verifySettings.arg(
                      QString::number(recordAddress(record), 16).toUpper().rightJustified(4, '0'));
        if (!names.contains(name))
            names << name;
    }
    return names.join(QStringLiteral(", "));
}

} // namespace qx
