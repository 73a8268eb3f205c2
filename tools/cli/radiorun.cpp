#include "radiorun.h"

#include "error.h"
#include "filecopy.h"
#include "imagedump.h"
#include "memoryframe.h"
#include "prompter.h"
#include "radiojobs.h"
#include "sio.h"
#include "workingfile.h"

namespace qx::cli {

// Stands in for the window's boxes: messages become notes, and the retry question is
// answered yes as often as the retries allow.
class CliPrompter : public Prompter {
public:
    CliPrompter(RadioRun::Note note, int retries) : m_note(std::move(note)), m_retries(retries) {}

    bool failed() const { return m_failed; }

    void message(const QString &text) override {
        if (text.isEmpty())
            return;
        for (const QString &line : text.split(QLatin1Char('\n')))
            m_note(line);
    }
    bool ask(const QString &, const QString &, Buttons, Icon) override {
        if (m_used < m_retries) {
            ++m_used;
            m_note(QStringLiteral("no answer from the radio; starting again from the handshake "
                                  "(retry %1 of %2)")
                       .arg(m_used)
                       .arg(m_retries));
            return true;
        }
        m_note(m_retries > 0
                   ? QStringLiteral("no answer from the radio after %1 %2")
                         .arg(m_retries)
                         .arg(m_retries == 1 ? QStringLiteral("retry") : QStringLiteral("retries"))
                   : QStringLiteral("no answer from the radio"));
        return false;
    }
    void error(const QString &text) override {
        m_failed = true;
        message(text);
    }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &) override { return {}; }

private:
    RadioRun::Note m_note;
    int m_retries;
    int m_used = 0;
    bool m_failed = false;
};

namespace {

QString hexBytes(const QByteArray &bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// The one place a transfer's end becomes a radio's result.
RadioResult resultOf(Transfer::Outcome outcome) {
    switch (outcome) {
    case Transfer::Outcome::Completed:
        return RadioResult::Ok;
    case Transfer::Outcome::Failed:
        return RadioResult::NoAnswer;
    case Transfer::Outcome::Stopped:
    case Transfer::Outcome::Closed:
        return RadioResult::Interrupted;
    case Transfer::Outcome::Gone:
        return RadioResult::WentAway;
    case Transfer::Outcome::NoLink:
        return RadioResult::NoLink;
    }
    return RadioResult::NoAnswer;
}

} // namespace

QString resultText(RadioResult result) {
    switch (result) {
    case RadioResult::Ok:
        return QStringLiteral("ok");
    case RadioResult::NoLink:
        return QStringLiteral("port unusable");
    case RadioResult::NoAnswer:
        return QStringLiteral("no answer");
    case RadioResult::WentAway:
        return QStringLiteral("went away");
    case RadioResult::VerifyDiffers:
        return QStringLiteral("verify differences");
    case RadioResult::FileError:
        return QStringLiteral("file error");
    case RadioResult::Interrupted:
        return QStringLiteral("interrupted");
    }
    return {};
}

RadioRun::RadioRun(Sio &sio, int port, QString device, RadioTask task, Note note, QObject *parent)
    : QObject(parent), m_sio(sio), m_port(port), m_device(std::move(device)),
      m_task(std::move(task)), m_note(std::move(note)) {}

RadioRun::~RadioRun() = default;

void RadioRun::start() {
    m_clock.start();
    if (!m_dir.isValid()) {
        m_note(QStringLiteral("cannot create a temporary folder: %1").arg(m_dir.errorString()));
        end(RadioResult::FileError);
        return;
    }
    if (m_task.kind == RadioTask::Kind::Read)
        begin(Phase::Read);
    else
        begin(m_task.backup.isEmpty() ? Phase::Write : Phase::Backup);
}

void RadioRun::interrupt() {
    m_interrupted = true;
    if (m_transfer && m_transfer->running())
        m_transfer->stop();
}

void RadioRun::begin(Phase phase) {
    if (m_interrupted) {
        m_note(QStringLiteral("interrupted"));
        end(RadioResult::Interrupted);
        return;
    }
    m_phase = phase;
    static const char *const names[] = {"read", "backup", "write", "verify"};
    const QString name = QLatin1String(names[int(phase)]);
    // A transfer ends inside its own call chain; it is replaced only from a fresh one.
    m_transfer.reset();
    m_file = std::make_unique<WorkingFile>(m_dir.filePath(name + QStringLiteral(".dat")));
    if (phase == Phase::Write) {
        // The write sends a snapshot, so the image verified is the image sent even if the
        // file changes meanwhile.
        try {
            saveFileAtomically(m_file->path(), m_task.image);
        } catch (const Error &e) {
            m_note(e.message());
            end(RadioResult::FileError);
            return;
        }
    }
    m_prompter = std::make_unique<CliPrompter>(m_note, m_task.retries);
    TransferTexts texts = englishTransferTexts();
    texts.over.clear();       // the notes below report the result in their own words
    texts.deviceGone.clear(); // the line naming the device says it all
    m_transfer = std::make_unique<Transfer>(m_sio, *m_file, *m_prompter, texts);
    m_transfer->setPacing(m_task.pacing);
    connect(m_transfer.get(), &Transfer::progressMaximum, this,
            [this](int maximum) { m_maximum = maximum; });
    connect(m_transfer.get(), &Transfer::progress, this,
            [this, name](int value) { emit progress(name, value, m_maximum); });
    connect(m_transfer.get(), &Transfer::finished, this, &RadioRun::transferEnded,
            Qt::QueuedConnection);

    bool started = false;
    try {
        started = m_transfer->start(
            phase == Phase::Write ? Transfer::Mode::Write : Transfer::Mode::Read, m_port);
    } catch (const Error &e) {
        m_prompter->error(e.message());
    }
    if (!started)
        phaseFailed(m_prompter->failed() ? RadioResult::FileError : RadioResult::NoLink);
}

void RadioRun::transferEnded() {
    if (m_done || !m_transfer || m_transfer->running())
        return;
    RadioResult result = resultOf(m_transfer->outcome());
    if (result == RadioResult::Ok) {
        phaseCompleted();
        return;
    }
    if (m_interrupted)
        result = RadioResult::Interrupted;
    else if (m_prompter->failed())
        result = RadioResult::FileError;
    if (result == RadioResult::Interrupted)
        m_note(QStringLiteral("interrupted"));
    phaseFailed(result);
}

void RadioRun::phaseFailed(RadioResult result) {
    switch (m_phase) {
    case Phase::Read:
        m_note(QStringLiteral("%1 not written").arg(m_task.output));
        break;
    case Phase::Backup:
        m_note(QStringLiteral("backup failed; nothing was sent to the radio"));
        break;
    case Phase::Write:
        m_note(result == RadioResult::NoLink
                   ? QStringLiteral("nothing was sent to the radio")
                   : QStringLiteral("the write did not complete; the radio may hold part of %1")
                         .arg(m_task.input));
        break;
    case Phase::Verify:
        m_note(QStringLiteral("the write completed but reading it back failed; the radio is "
                              "not verified"));
        break;
    }
    end(result);
}

QByteArray RadioRun::imageRead() {
    QByteArray image;
    try {
        image = m_file->readAll();
    } catch (const Error &e) {
        m_note(e.message());
        return {};
    }
    if (image.size() == kRecordCount * MemoryFrame::kSize)
        return image;
    m_note(QStringLiteral("the read ended with %1 bytes instead of %2")
               .arg(image.size())
               .arg(kRecordCount * MemoryFrame::kSize));
    return {};
}

void RadioRun::phaseCompleted() {
    if (m_phase == Phase::Write) {
        m_note(QStringLiteral("wrote %1 records from %2 to %3")
                   .arg(kRecordCount)
                   .arg(m_task.input, m_device));
        if (m_task.verify)
            begin(Phase::Verify);
        else
            end(RadioResult::Ok);
        return;
    }
    const QByteArray image = imageRead();
    if (image.isEmpty()) {
        phaseFailed(RadioResult::FileError);
        return;
    }
    if (m_phase == Phase::Verify) {
        compare(image);
        return;
    }
    const QString &target = m_phase == Phase::Read ? m_task.output : m_task.backup;
    try {
        saveFileAtomically(target, image);
    } catch (const Error &e) {
        m_note(e.message());
        if (m_phase == Phase::Backup)
            m_note(QStringLiteral("backup failed; nothing was sent to the radio"));
        end(RadioResult::FileError);
        return;
    }
    if (m_phase == Phase::Read) {
        m_note(QStringLiteral("read %1 records from %2 into %3")
                   .arg(kRecordCount)
                   .arg(m_device, m_task.output));
        end(RadioResult::Ok);
        return;
    }
    m_note(QStringLiteral("saved the radio's image to %1").arg(m_task.backup));
    begin(Phase::Write);
}

void RadioRun::compare(const QByteArray &back) {
    m_differing = differingRecords(m_task.image, back);
    if (m_differing.isEmpty()) {
        m_note(QStringLiteral("verified: the radio holds records 0 to %1 as written")
                   .arg(kRecordCount - 1));
        end(RadioResult::Ok);
        return;
    }
    for (int i : m_differing)
        m_note(QStringLiteral("record %1 (%2) differs: written %3, radio holds %4")
                   .arg(i)
                   .arg(recordRole(i), hexBytes(m_task.image.mid(i * MemoryFrame::kSize + 4, 8)),
                        hexBytes(back.mid(i * MemoryFrame::kSize + 4, 8))));
    m_note(QStringLiteral("verify failed: %1 of %2 records differ")
               .arg(m_differing.size())
               .arg(kRecordCount));
    end(RadioResult::VerifyDiffers);
}

void RadioRun::end(RadioResult result) {
    if (m_done)
        return;
    m_done = true;
    m_result = result;
    m_seconds = double(m_clock.nsecsElapsed()) / 1e9;
    emit finished();
}

} // namespace qx::cli
