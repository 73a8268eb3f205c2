#include "radiojobs.h"

#include "error.h"
#include "filecopy.h"
#include "imagedump.h"
#include "memoryframe.h"
#include "prompter.h"
#include "ptini.h"
#include "sio.h"
#include "transfer.h"
#include "workingfile.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

namespace qx::cli {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) {
    g_interrupted = 1;
    // A second Ctrl-C ends the program at once.
    std::signal(SIGINT, SIG_DFL);
}

constexpr int kBarWidth = 30;

QString hexBytes(const QByteArray &bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// A bar on a terminal; nothing per step otherwise, so logs stay readable.
class Progress {
public:
    Progress(Console &console, QString label) : m_console(console), m_label(std::move(label)) {}
    void setMaximum(int maximum) { m_maximum = maximum; }
    void setValue(int value) {
        if (!m_console.errIsTerminal || m_maximum <= 0)
            return;
        const int filled = kBarWidth * std::clamp(value, 0, m_maximum) / m_maximum;
        m_console.err << QStringLiteral("\r%1 [%2%3] %4/%5")
                             .arg(m_label, -8)
                             .arg(QString(filled, QLatin1Char('#')))
                             .arg(QString(kBarWidth - filled, QLatin1Char('.')))
                             .arg(value, 2)
                             .arg(m_maximum);
        m_console.err.flush();
        m_drawn = true;
    }
    // Ends the bar's line so a message starts on a line of its own.
    void breakLine() {
        if (!m_drawn)
            return;
        m_console.err << '\n';
        m_console.err.flush();
        m_drawn = false;
    }

private:
    Console &m_console;
    QString m_label;
    int m_maximum = 0;
    bool m_drawn = false;
};

// Stands in for the window's boxes: messages go to stderr, and the retry question is
// answered yes as often as --retries allows.
class CliPrompter : public Prompter {
public:
    CliPrompter(Console &console, Progress &progress, int retries)
        : m_console(console), m_progress(progress), m_retries(retries) {}

    bool failed() const { return m_failed; }

    void message(const QString &text) override {
        if (text.isEmpty())
            return;
        m_progress.breakLine();
        for (const QString &line : text.split(QLatin1Char('\n')))
            m_console.note(line);
    }
    bool ask(const QString &, const QString &, Buttons, Icon) override {
        m_progress.breakLine();
        if (m_used < m_retries) {
            ++m_used;
            m_console.note(QStringLiteral("no answer from the radio; starting again from the "
                                          "handshake (retry %1 of %2)")
                               .arg(m_used)
                               .arg(m_retries));
            return true;
        }
        m_console.note(m_retries > 0 ? QStringLiteral("no answer from the radio after %1 %2")
                                           .arg(m_retries)
                                           .arg(m_retries == 1 ? QStringLiteral("retry")
                                                               : QStringLiteral("retries"))
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
    Console &m_console;
    Progress &m_progress;
    int m_retries;
    int m_used = 0;
    bool m_failed = false;
};

// NoLink: the port could not be opened or set up, so nothing was sent.
enum class Outcome { Completed, NoLink, NoRadio, FileError, Interrupted };

int exitCodeOf(Outcome outcome) {
    switch (outcome) {
    case Outcome::Completed:
        return kExitOk;
    case Outcome::NoLink:
    case Outcome::NoRadio:
        return kExitNoRadio;
    case Outcome::FileError:
        return kExitUsage;
    case Outcome::Interrupted:
        return kExitInterrupted;
    }
    return kExitNoRadio;
}

// One transfer through the window's engine, with the event loop run until it ends.
Outcome runTransfer(Transfer::Mode mode, const PortChoice &port, WorkingFile &file, int retries,
                    Console &console, const QString &label) {
    QtSio sio([device = port.device](int) { return device; });
    Progress progress(console, label);
    CliPrompter prompter(console, progress, retries);
    TransferTexts texts = englishTransferTexts();
    texts.over.clear(); // the caller reports the result in its own words
    Transfer transfer(sio, file, prompter, texts);
    QObject::connect(&transfer, &Transfer::progressMaximum,
                     [&progress](int maximum) { progress.setMaximum(maximum); });
    QObject::connect(&transfer, &Transfer::progress,
                     [&progress](int value) { progress.setValue(value); });

    QEventLoop loop;
    bool ended = false;
    bool completed = false;
    QObject::connect(&transfer, &Transfer::finished, &loop, [&](bool ok) {
        ended = true;
        completed = ok;
        loop.quit();
    });
    bool interrupted = false;
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (g_interrupted && !interrupted) {
            interrupted = true;
            transfer.stop();
        }
    });

    bool started = false;
    try {
        started = transfer.start(mode, port.port);
    } catch (const Error &e) {
        prompter.error(e.message());
        return Outcome::FileError;
    }
    if (!started)
        return prompter.failed() ? Outcome::FileError : Outcome::NoLink;
    poll.start();
    if (!ended)
        loop.exec();
    progress.breakLine();
    if (completed)
        return Outcome::Completed;
    if (interrupted) {
        console.note(QStringLiteral("interrupted"));
        return Outcome::Interrupted;
    }
    return prompter.failed() ? Outcome::FileError : Outcome::NoRadio;
}

// A complete image read from the radio into a temporary working file.
Outcome readInto(QTemporaryDir &dir, const QString &name, const PortChoice &port, int retries,
                 Console &console, const QString &label, QByteArray &image) {
    WorkingFile file(dir.filePath(name));
    const Outcome outcome = runTransfer(Transfer::Mode::Read, port, file, retries, console, label);
    if (outcome != Outcome::Completed)
        return outcome;
    try {
        image = file.readAll();
    } catch (const Error &e) {
        console.note(e.message());
        return Outcome::FileError;
    }
    if (image.size() != kRecordCount * MemoryFrame::kSize) {
        console.note(QStringLiteral("the read ended with %1 bytes instead of %2")
                         .arg(image.size())
                         .arg(kRecordCount * MemoryFrame::kSize));
        return Outcome::FileError;
    }
    return Outcome::Completed;
}

bool folderExists(const QString &path, Console &console) {
    const QFileInfo info(path);
    if (info.absoluteDir().exists() && !info.isDir())
        return true;
    console.note(info.isDir() ? QStringLiteral("%1: is a folder").arg(path)
                              : QStringLiteral("%1: the folder does not exist").arg(path));
    return false;
}

bool makeTempDir(QTemporaryDir &dir, Console &console) {
    if (dir.isValid())
        return true;
    console.note(QStringLiteral("cannot create a temporary folder: %1").arg(dir.errorString()));
    return false;
}

} // namespace

void Console::note(const QString &text) {
    err << QStringLiteral("qx7420-cli: ") << text << '\n';
    err.flush();
}

PortChoice resolvePort(const QString &argument) {
    static const QRegularExpression number(QStringLiteral("^\\d{1,9}$"));
    if (number.match(argument).hasMatch()) {
        const int port = argument.toInt();
        return {port, PtIni::inDataFolder().deviceForPort(port)};
    }
    // The serial library takes a bare name as one under /dev; a link or device in the
    // current folder is what a bare name means here when /dev has no such entry.
    if (!argument.contains(QLatin1Char('/')) && QFileInfo::exists(argument) &&
        !QFileInfo::exists(QStringLiteral("/dev/") + argument))
        return {1, QFileInfo(argument).absoluteFilePath()};
    return {1, argument};
}

QString writeRefusal(const QByteArray &image, const QString &fileName) {
    const int records = int(image.size() / MemoryFrame::kSize);
    if (records < kRecordCount)
        return QStringLiteral("%1: holds %2 records; a write needs all %3")
            .arg(fileName)
            .arg(records)
            .arg(kRecordCount);
    for (int i = 0; i < kRecordCount; ++i) {
        const QByteArray header = image.mid(i * MemoryFrame::kSize, 4);
        const std::uint16_t address = recordAddress(i);
        const QByteArray expected{QByteArray(1, char(MemoryFrame::kMarker)) + char(address >> 8) +
                                  char(address & 0xFF) + char(0x08)};
        if (header != expected)
            return QStringLiteral("%1: record %2 (%3) starts %4 instead of %5; the radio would "
                                  "store it at the wrong place")
                .arg(fileName)
                .arg(i)
                .arg(recordRole(i), hexBytes(header), hexBytes(expected));
    }
    try {
        decodeImage(image, fileName);
    } catch (const Error &e) {
        return e.message();
    }
    return {};
}

QList<int> differingRecords(const QByteArray &expected, const QByteArray &actual) {
    QList<int> out;
    for (int i = 0; i < kRecordCount; ++i) {
        const QByteArray a = expected.mid(i * MemoryFrame::kSize, MemoryFrame::kSize);
        const QByteArray b = actual.mid(i * MemoryFrame::kSize, MemoryFrame::kSize);
        if (a.size() != MemoryFrame::kSize || a != b)
            out << i;
    }
    return out;
}

int readRadio(const ReadJob &job, Console &console) {
    if (!folderExists(job.output, console))
        return kExitUsage;
    QTemporaryDir dir;
    if (!makeTempDir(dir, console))
        return kExitUsage;
    QByteArray image;
    const Outcome outcome = readInto(dir, QStringLiteral("read.dat"), job.port, job.retries,
                                     console, QStringLiteral("read"), image);
    if (outcome != Outcome::Completed) {
        console.note(QStringLiteral("%1 not written").arg(job.output));
        return exitCodeOf(outcome);
    }
    try {
        saveFileAtomically(job.output, image);
    } catch (const Error &e) {
        console.note(e.message());
        return kExitUsage;
    }
    console.note(QStringLiteral("read %1 records from %2 into %3")
                     .arg(kRecordCount)
                     .arg(job.port.device, job.output));
    return kExitOk;
}

int writeRadio(const WriteJob &job, Console &console) {
    QByteArray image;
    try {
        image = readImageFile(job.input);
    } catch (const Error &e) {
        console.note(e.message());
        return kExitUsage;
    }
    const QString refusal = writeRefusal(image, job.input);
    if (!refusal.isEmpty()) {
        console.note(refusal);
        console.note(QStringLiteral("nothing was sent to the radio"));
        return kExitUsage;
    }
    if (!job.backup.isEmpty()) {
        const QFileInfo in(job.input), backup(job.backup);
        if (in.absoluteFilePath() == backup.absoluteFilePath() ||
            (backup.exists() && in.canonicalFilePath() == backup.canonicalFilePath())) {
            console.note(QStringLiteral("the backup must not overwrite the image to be written"));
            return kExitUsage;
        }
        if (!folderExists(job.backup, console))
            return kExitUsage;
    }
    QTemporaryDir dir;
    if (!makeTempDir(dir, console))
        return kExitUsage;

    if (!job.backup.isEmpty()) {
        QByteArray old;
        const Outcome outcome = readInto(dir, QStringLiteral("backup.dat"), job.port, job.retries,
                                         console, QStringLiteral("backup"), old);
        if (outcome != Outcome::Completed) {
            console.note(QStringLiteral("backup failed; nothing was sent to the radio"));
            return exitCodeOf(outcome);
        }
        try {
            saveFileAtomically(job.backup, old);
        } catch (const Error &e) {
            console.note(e.message());
            console.note(QStringLiteral("backup failed; nothing was sent to the radio"));
            return kExitUsage;
        }
        console.note(QStringLiteral("saved the radio's image to %1").arg(job.backup));
    }

    // The write sends a snapshot, so the image verified is the image sent even if the
    // file changes meanwhile.
    WorkingFile snapshot(dir.filePath(QStringLiteral("write.dat")));
    try {
        saveFileAtomically(snapshot.path(), image);
    } catch (const Error &e) {
        console.note(e.message());
        return kExitUsage;
    }
    const Outcome written = runTransfer(Transfer::Mode::Write, job.port, snapshot, job.retries,
                                        console, QStringLiteral("write"));
    if (written == Outcome::NoLink) {
        console.note(QStringLiteral("nothing was sent to the radio"));
        return exitCodeOf(written);
    }
    if (written != Outcome::Completed) {
        console.note(QStringLiteral("the write did not complete; the radio may hold part of %1")
                         .arg(job.input));
        return exitCodeOf(written);
    }
    console.note(QStringLiteral("wrote %1 records from %2 to %3")
                     .arg(kRecordCount)
                     .arg(job.input, job.port.device));
    if (!job.verify)
        return kExitOk;

    QByteArray back;
    const Outcome read = readInto(dir, QStringLiteral("verify.dat"), job.port, job.retries, console,
                                  QStringLiteral("verify"), back);
    if (read != Outcome::Completed) {
        console.note(QStringLiteral("the write completed but reading it back failed; the radio "
                                    "is not verified"));
        return exitCodeOf(read);
    }
    const QList<int> differ = differingRecords(image, back);
    if (differ.isEmpty()) {
        console.note(QStringLiteral("verified: the radio holds records 0 to %1 as written")
                         .arg(kRecordCount - 1));
        return kExitOk;
    }
    for (int i : differ)
        console.note(QStringLiteral("record %1 (%2) differs: written %3, radio holds %4")
                         .arg(i)
                         .arg(recordRole(i), hexBytes(image.mid(i * MemoryFrame::kSize + 4, 8)),
                              hexBytes(back.mid(i * MemoryFrame::kSize + 4, 8))));
    console.note(QStringLiteral("verify failed: %1 of %2 records differ")
                     .arg(differ.size())
                     .arg(kRecordCount));
    return kExitVerify;
}

void installInterruptHandler() {
    std::signal(SIGINT, onInterrupt);
}

} // namespace qx::cli
