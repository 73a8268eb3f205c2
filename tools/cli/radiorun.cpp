#include "radiorun.h"

#include "error.h"
#include "filecopy.h"
#include "imagedump.h"
#include "memoryframe.h"
#include "prompter.h"
#include "sio.h"

namespace qx::cli {

// Stands in for the window's boxes: messages become notes, and the retry question is
// answered yes as often as the retries allow, afresh in every phase.
class CliPrompter : public Prompter {
public:
    CliPrompter(RadioRun::Note note, int retries) : m_note(std::move(note)), m_retries(retries) {}

    void newPhase() { m_used = 0; }

    void message(const QString &text) override {
        if (text.isEmpty())
            return;
        for (const QString &line : text.split(QLatin1Char('\n')))
            m_note(line);
    }
    bool ask(const QString &, const QString &text, Buttons, Icon) override {
        // The question's second line, when there is one, says what came instead of an answer.
        QString why = text.section(QLatin1Char('\n'), 1);
        if (why.isEmpty())
            why = QStringLiteral("no answer from the radio");
        else
            why[0] = why[0].toLower();
        if (m_used < m_retries) {
            ++m_used;
            m_note(QStringLiteral("%1; starting again from the handshake (retry %2 of %3)")
                       .arg(why)
                       .arg(m_used)
                       .arg(m_retries));
            return true;
        }
        // A reason ends in the bytes it quotes: the count must not read as one of them.
        const bool quoted = text.contains(QLatin1Char('\n'));
        m_note(m_retries > 0
                   ? QStringLiteral("%1%2 after %3 %4")
                         .arg(why, quoted ? QStringLiteral("; gave up") : QString())
                         .arg(m_retries)
                         .arg(m_retries == 1 ? QStringLiteral("retry") : QStringLiteral("retries"))
                   : why);
        return false;
    }
    void error(const QString &text) override { message(text); }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &) override { return {}; }

private:
    RadioRun::Note m_note;
    int m_retries;
    int m_used = 0;
};

namespace {

QString hexBytes(const QByteArray &bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace

QString resultText(RadioResult result) {
    switch (result) {
    case RadioResult::Completed:
        return QStringLiteral("ok");
    case RadioResult::Refused:
        return QStringLiteral("port unusable");
    case RadioResult::NoAnswer:
        return QStringLiteral("no answer");
    case RadioResult::WentAway:
        return QStringLiteral("went away");
    case RadioResult::VerifyDiffers:
        return QStringLiteral("verify differences");
    case RadioResult::FileError:
        return QStringLiteral("file error");
    case RadioResult::Stopped:
        return QStringLiteral("interrupted");
    case RadioResult::Unstable:
        return QStringLiteral("unstable");
    }
    return {};
}

RadioRun::RadioRun(Sio &sio, int port, QString device, RadioTask task, Note note, QObject *parent)
    : QObject(parent), m_port(port), m_device(std::move(device)), m_task(std::move(task)),
      m_note(std::move(note)) {
    m_prompter = std::make_unique<CliPrompter>(m_note, m_task.retries);
    TransferTexts texts = englishTransferTexts();
    texts.over.clear();       // the notes report the result in their own words
    texts.deviceGone.clear(); // the line naming the device says it all
    m_transfer = std::make_unique<Transfer>(sio, m_unused, *m_prompter, texts);
    m_transfer->setPacing(m_task.pacing);
    m_job = std::make_unique<TransferJob>(*m_transfer, *m_prompter);
    connect(m_transfer.get(), &Transfer::progressMaximum, this,
            [this](int maximum) { m_maximum = maximum; });
    connect(m_transfer.get(), &Transfer::progress, this,
            [this](int value) { emit progress(m_phaseName, value, m_maximum); });
    connect(m_job.get(), &TransferJob::phaseStarted, this, &RadioRun::phaseStarted);
    connect(m_job.get(), &TransferJob::finished, this, &RadioRun::ended);
}

RadioRun::~RadioRun() = default;

void RadioRun::start() {
    m_clock.start();
    if (m_task.kind == RadioTask::Kind::Read) {
        TransferJob::ReadPlan plan;
        plan.port = m_port;
        plan.checked = m_task.checked;
        plan.store = [this](const QByteArray &image) {
            saveFileAtomically(m_task.output, image);
            m_note(QStringLiteral("read %1 records from %2 into %3")
                       .arg(kRecordCount)
                       .arg(m_device, m_task.output));
        };
        m_job->read(plan);
        return;
    }
    TransferJob::WritePlan plan;
    plan.port = m_port;
    plan.image = m_task.image;
    plan.checked = m_task.checked;
    plan.verify = m_task.verify;
    if (!m_task.backup.isEmpty()) {
        plan.backupRadio = true;
        plan.backup = [this](const QByteArray &image) {
            saveFileAtomically(m_task.backup, image);
            m_note(QStringLiteral("saved the radio's image to %1").arg(m_task.backup));
        };
    }
    m_job->write(plan);
}

void RadioRun::interrupt() {
    if (m_job->running())
        m_job->stop();
}

void RadioRun::phaseStarted(TransferJob::Phase phase) {
    static const char *const names[] = {"backup", "read", "write", "verify"};
    m_phaseName = QLatin1String(names[int(phase)]);
    m_prompter->newPhase();
    if (phase == TransferJob::Phase::Verify)
        m_note(QStringLiteral("wrote %1 records from %2 to %3")
                   .arg(kRecordCount)
                   .arg(m_task.input, m_device));
}

void RadioRun::ended(RadioResult result) {
    using Ending = TransferJob::Ending;
    const Ending ending = m_job->ending();
    if (result == RadioResult::Stopped)
        m_note(QStringLiteral("interrupted"));
    if (result == RadioResult::Unstable) {
        noteUnsettled(ending);
    } else {
        switch (ending) {
        case Ending::Stored:
            break;
        case Ending::NotStarted:
        case Ending::NothingSent:
            m_note(m_task.kind == RadioTask::Kind::Read
                       ? QStringLiteral("%1 not written").arg(m_task.output)
                       : QStringLiteral("nothing was sent to the radio"));
            break;
        case Ending::NotStored:
            m_note(QStringLiteral("%1 not written").arg(m_task.output));
            break;
        case Ending::BackupFailed:
            m_note(QStringLiteral("backup failed; nothing was sent to the radio"));
            break;
        case Ending::PartlyWritten:
            m_note(QStringLiteral("the write did not complete; the radio may hold part of %1 and "
                                  "part of its old image (%2 of %3 records sent)")
                       .arg(m_task.input)
                       .arg(m_job->recordsSent())
                       .arg(kRecordCount));
            break;
        case Ending::Written:
            m_note(QStringLiteral("wrote %1 records from %2 to %3")
                       .arg(kRecordCount)
                       .arg(m_task.input, m_device));
            break;
        case Ending::Verified:
            m_note(QStringLiteral("verified: the radio holds records 0 to %1 as written")
                       .arg(kRecordCount - 1));
            break;
        case Ending::Differs:
            noteDifferences();
            break;
        case Ending::NotVerified:
            m_note(QStringLiteral("the write completed but was not read back in full; the radio "
                                  "is not verified"));
            break;
        }
    }
    m_done = true;
    m_seconds = double(m_clock.nsecsElapsed()) / 1e9;
    emit finished();
}

void RadioRun::noteUnsettled(TransferJob::Ending ending) {
    QStringList blocks;
    for (int record : m_job->unstable())
        blocks << QStringLiteral("%1 (%2)").arg(record).arg(recordRole(record));
    const QString outcome = ending == TransferJob::Ending::NotStored
                                ? QStringLiteral("%1 not written").arg(m_task.output)
                            : ending == TransferJob::Ending::BackupFailed
                                ? QStringLiteral("nothing was sent to the radio")
                                : QStringLiteral("the write completed but is not verified");
    m_note(QStringLiteral("records %1 came back different every time they were read; %2: "
                          "push the plug fully into the radio's jack, or try another cable")
               .arg(blocks.join(QStringLiteral(", ")), outcome));
}

void RadioRun::noteDifferences() {
    const QList<int> &differing = m_job->differing();
    for (int i : differing)
        m_note(QStringLiteral("record %1 (%2) differs: written %3, radio holds %4")
                   .arg(i)
                   .arg(recordRole(i), hexBytes(recordBytes(m_task.image, i).mid(4)),
                        hexBytes(recordBytes(m_job->readBack(), i).mid(4))));
    m_note(QStringLiteral("verify failed: %1 of %2 records differ")
               .arg(differing.size())
               .arg(kRecordCount));
}

} // namespace qx::cli
