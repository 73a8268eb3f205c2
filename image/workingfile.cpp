#include "workingfile.h"

#include "error.h"
#include "filelimits.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

namespace qx {

namespace {

Error notFound(const QString &path) {
    return Error(QStringLiteral("File not found: %1").arg(path));
}

Error ioFailure(const QString &what, const QFile &file) {
    return Error(QStringLiteral("%1 %2: %3").arg(what, file.fileName(), file.errorString()));
}

void openExisting(QFile &file, QIODevice::OpenMode mode) {
    // Opening a pipe blocks until someone writes to it; a device is no image.
    if (const QString special = notRegularFile(file.fileName()); !special.isEmpty())
        throw Error(QStringLiteral("%1 %2").arg(file.fileName(), special));
    // ExistingOnly: a working file deleted under us must be reported, not silently recreated.
    if (!file.open(mode | QIODevice::ExistingOnly)) {
        if (!QFileInfo::exists(file.fileName()))
            throw notFound(file.fileName());
        throw ioFailure(QStringLiteral("Cannot open"), file);
    }
}

QByteArray readWhole(const QString &path) {
    QFile file(path);
    openExisting(file, QIODevice::ReadOnly);
    const QByteArray all = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ioFailure(QStringLiteral("Cannot read"), file);
    return all;
}

} // namespace

WorkingFile::WorkingFile(QString path) : m_path(std::move(path)) {}

bool WorkingFile::exists() const {
    return QFileInfo(m_path).isFile();
}

void WorkingFile::ensureExists() {
    if (exists())
        return;
    if (const QString special = notRegularFile(m_path); !special.isEmpty())
        throw Error(QStringLiteral("%1 %2").arg(m_path, special));
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw ioFailure(QStringLiteral("Cannot create"), file);
}

void WorkingFile::checkWritable() const {
    QFile file(m_path);
    openExisting(file, QIODevice::ReadWrite);
}

int WorkingFile::recordCount() const {
    QFileInfo info(m_path);
    if (!info.exists())
        throw notFound(m_path);
    return static_cast<int>(info.size() / MemoryFrame::kSize);
}

void WorkingFile::seekAndRead(int index) {
    if (index < 0)
        throw Error(QStringLiteral("Invalid record number %1").arg(index));
    QFile file(m_path);
    openExisting(file, QIODevice::ReadOnly);
    if (!file.seek(qint64(index) * MemoryFrame::kSize))
        throw ioFailure(QStringLiteral("Cannot seek in"), file);
    const QByteArray raw = file.read(MemoryFrame::kSize);
    if (raw.size() != MemoryFrame::kSize)
        throw Error(QStringLiteral("Record %1 is missing from %2 (read beyond end of file)")
                        .arg(index)
                        .arg(m_path));
    m_buffer = MemoryFrame::fromBytes(raw);
}

void WorkingFile::StoreFrame(int index, const MemoryFrame &frame) {
    StoreFrames(index, {frame});
}

void WorkingFile::StoreFrames(int first, const QList<MemoryFrame> &frames) {
    const int last = first + int(frames.size()) - 1;
    if (first < 0 || last >= kRecordCount || frames.isEmpty())
        throw Error(QStringLiteral("Invalid record number %1").arg(first < 0 ? first : last));
    QFile file(m_path);
    openExisting(file, QIODevice::ReadWrite);
    const qint64 offset = qint64(first) * MemoryFrame::kSize;
    const qint64 size = file.size();
    if (size < offset) {
        // The gap reads back as channels and settings not set, never as zeros: a write
        // would send zero frames to address 0000. A trailing partial record is replaced.
        const int whole = int(size / MemoryFrame::kSize);
        QByteArray gap;
        for (int i = whole; i < first; ++i)
            gap += blankRecord(i).toByteArray();
        if (!file.seek(qint64(whole) * MemoryFrame::kSize) || file.write(gap) != gap.size())
            throw ioFailure(QStringLiteral("Cannot write"), file);
    }
    QByteArray bytes;
    for (const MemoryFrame &frame : frames)
        bytes += frame.toByteArray();
    if (!file.seek(offset) || file.write(bytes) != bytes.size() || !file.flush())
        throw ioFailure(QStringLiteral("Cannot write"), file);
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw ioFailure(QStringLiteral("Cannot write"), file);
    m_buffer = frames.last();
}

void placeRecords(QByteArray &image, int first, const QList<MemoryFrame> &frames) {
    const qint64 offset = qint64(first) * MemoryFrame::kSize;
    if (image.size() < offset) {
        const int whole = int(image.size() / MemoryFrame::kSize);
        image.truncate(whole * MemoryFrame::kSize);
        for (int i = whole; i < first; ++i)
            image += blankRecord(i).toByteArray();
    }
    QByteArray bytes;
    for (const MemoryFrame &frame : frames)
        bytes += frame.toByteArray();
    image.replace(offset, bytes.size(), bytes);
}

QByteArray WorkingFile::readAll() const {
    return readWhole(m_path);
}

std::optional<RecordReport> forEachRecord(const QString &path,
                                          const std::function<void(int, const QString &)> &visit) {
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return forEachRecord(readWhole(path), visit);
}

RecordReport forEachRecord(const QByteArray &all,
                           const std::function<void(int, const QString &)> &visit) {
    RecordReport report;
    report.bytes = all.size();
    report.records = int(all.size() / MemoryFrame::kSize);
    for (int i = 0; i < kRecordCount; ++i) {
        if (i >= report.records) {
            report.missing << i;
            continue;
        }
        const MemoryFrame frame = MemoryFrame::fromBytes(recordBytes(all, i));
        if (!hasOwnHeader(frame, i))
            report.foreign << i;
        try {
            visit(i, FrameText(frame));
        } catch (const Error &) {
            report.undecodable << i;
        }
    }
    return report;
}

QByteArray readImageFile(const QString &path) {
    // A radio image is 420 bytes; records after the 35th are ignored, and a few of them are
    // tolerated, but not a file of any size.
    return readInputFile(path, InputKind::Image);
}

std::uint16_t channelAddress(int channel, int half) {
    return recordAddress(2 * (channel - 1) + half);
}

} // namespace qx
