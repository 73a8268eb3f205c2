#include "radiojobs.h"

#include "error.h"
#include "filecopy.h"
#include "filelimits.h"
#include "fleetrun.h"
#include "imagedump.h"
#include "loggingsio.h"
#include "memoryframe.h"
#include "networkport.h"
#include "ptini.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <csignal>

namespace qx::cli {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) {
    g_interrupted = 1;
    // A second Ctrl-C ends the program at once.
    std::signal(SIGINT, SIG_DFL);
}

QString hexBytes(const QByteArray &bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// Refuses at once, before the radio hears anything, an output that cannot take a file:
// a missing folder, a folder, a pipe, a device, a file or folder that may not be written.
bool canTake(const QString &path, Console &console) {
    try {
        checkOutputFile(path);
        return true;
    } catch (const Error &e) {
        console.note(e.message());
        return false;
    }
}

// With several ports, -o and --backup name the folder that receives a file per radio.
bool isFolder(const QString &path, const char *option, Console &console) {
    if (QFileInfo(path).isDir())
        return true;
    console.note(QStringLiteral("%1 %2: with several ports this must be an existing folder")
                     .arg(QLatin1String(option), path));
    return false;
}

QString samePlace(const QString &path) {
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

// Two radios on one device would fight over it; two images in one file would overwrite
// each other.
bool distinct(const QList<FleetRadio> &radios, Console &console) {
    QList<QString> devices, files, owners;
    for (const FleetRadio &radio : radios) {
        const int same = int(devices.indexOf(samePlace(radio.port.device)));
        if (same >= 0) {
            console.note(QStringLiteral("ports %1 and %2 are the same device %3")
                             .arg(radios[same].port.given, radio.port.given, radio.port.device));
            return false;
        }
        devices << samePlace(radio.port.device);
        for (const QString &file : {radio.task.output, radio.task.backup}) {
            if (file.isEmpty())
                continue;
            const int taken = int(files.indexOf(samePlace(file)));
            if (taken >= 0) {
                console.note(QStringLiteral("ports %1 and %2 would both save to %3")
                                 .arg(owners[taken], radio.port.given, file));
                return false;
            }
            files << samePlace(file);
            owners << radio.port.given;
        }
    }
    return true;
}

int exitCodeOf(RadioResult result) {
    switch (result) {
    case RadioResult::Completed:
        return kExitOk;
    case RadioResult::Refused:
    case RadioResult::NoAnswer:
    case RadioResult::WentAway:
    case RadioResult::Unstable:
        return kExitNoRadio;
    case RadioResult::FileError:
        return kExitUsage;
    case RadioResult::VerifyDiffers:
        return kExitVerify;
    case RadioResult::Stopped:
        return kExitInterrupted;
    }
    return kExitNoRadio;
}

// Runs every radio at once. One radio keeps the exit status of its result; several print
// a line each on stdout and share the fleet's status.
int runRadios(const QList<FleetRadio> &radios, const QString &report, const QString &logPath,
              Console &console) {
    TransferLog log;
    if (!beginLog(log, logPath, console))
        return kExitUsage;
    const QList<RadioReport> reports = FleetRun(console).run(radios, log);
    int code = exitCodeOf(reports.first().result);
    if (!log.failure().isEmpty()) {
        console.note(QStringLiteral("the log is incomplete: %1").arg(log.failure()));
        if (code == kExitOk)
            code = kExitUsage;
    }
    if (radios.size() > 1) {
        console.out << reportLines(reports);
        console.out.flush();
        code = fleetExitCode(reports);
    }
    if (!report.isEmpty()) {
        try {
            saveFileAtomically(report, reportCsv(reports).toUtf8());
        } catch (const Error &e) {
            console.note(e.message());
            if (code == kExitOk)
                code = kExitUsage;
        }
    }
    return code;
}

} // namespace

QString writeRefusal(const QByteArray &image, const QString &fileName) {
    const int records = int(image.size() / MemoryFrame::kSize);
    if (records < kRecordCount)
        return QStringLiteral("%1: holds %2 records; a write needs all %3")
            .arg(fileName)
            .arg(records)
            .arg(kRecordCount);
    // Bytes after the image are no part of it: a file with more is not the one the user
    // meant to send (two images joined, an image with something else after it).
    if (image.size() != kImageBytes)
        return QStringLiteral("%1: %2 bytes, not the %3 of an image; a write sends an image "
                              "of exactly %3 bytes")
            .arg(fileName)
            .arg(image.size())
            .arg(kImageBytes);
    if (const int i = firstForeignRecord(image); i >= 0)
        return QStringLiteral("%1: record %2 (%3) starts %4 instead of %5; the radio would "
                              "store it at the wrong place")
            .arg(fileName)
            .arg(i)
            .arg(recordRole(i), hexBytes(recordBytes(image, i).left(4)), hexBytes(recordHeader(i)));
    try {
        decodeImage(image, fileName);
    } catch (const Error &e) {
        return e.message();
    }
    return {};
}

int readRadio(const ReadJob &job, Console &console) {
    const bool several = job.ports.size() > 1;
    if (!(several ? isFolder(job.output, "-o", console) : canTake(job.output, console)) ||
        (!job.report.isEmpty() && !canTake(job.report, console)))
        return kExitUsage;
    QList<FleetRadio> radios;
    for (const PortChoice &port : job.ports) {
        RadioTask task;
        task.output = several
                          ? QDir(job.output).filePath(portFileName(port) + QStringLiteral(".dat"))
                          : job.output;
        task.checked = job.checked;
        task.retries = job.retries;
        task.pacing = job.pacing;
        if (several && !canTake(task.output, console))
            return kExitUsage;
        radios << FleetRadio{port, task};
    }
    if (!distinct(radios, console))
        return kExitUsage;
    return runRadios(radios, job.report, job.log, console);
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
    const bool several = job.ports.size() > 1;
    if (!job.backup.isEmpty() &&
        !(several ? isFolder(job.backup, "--backup", console) : canTake(job.backup, console)))
        return kExitUsage;
    if (!job.report.isEmpty() && !canTake(job.report, console))
        return kExitUsage;

    QList<FleetRadio> radios;
    for (const PortChoice &port : job.ports) {
        RadioTask task;
        task.kind = RadioTask::Kind::Write;
        task.image = image;
        task.input = job.input;
        task.backup = several && !job.backup.isEmpty()
                          ? QDir(job.backup).filePath(portFileName(port) + QStringLiteral(".dat"))
                          : job.backup;
        task.verify = job.verify;
        task.retries = job.retries;
        task.pacing = job.pacing;
        if (!task.backup.isEmpty()) {
            const QFileInfo in(job.input), backup(task.backup);
            if (in.absoluteFilePath() == backup.absoluteFilePath() ||
                (backup.exists() && in.canonicalFilePath() == backup.canonicalFilePath())) {
                console.note(
                    QStringLiteral("the backup must not overwrite the image to be written"));
                return kExitUsage;
            }
            if (several && !canTake(task.backup, console))
                return kExitUsage;
        }
        radios << FleetRadio{port, task};
    }
    if (!distinct(radios, console))
        return kExitUsage;
    return runRadios(radios, job.report, job.log, console);
}

void installInterruptHandler() {
    std::signal(SIGINT, onInterrupt);
}

bool interruptRequested() {
    return g_interrupted != 0;
}

} // namespace qx::cli
