#pragma once

#include "memoryframe.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace qx {

// r_and_w.dat: a headerless sequence of 12-byte records. Every store goes to disk
// before it returns; a trailing partial record is ignored on reading.
class WorkingFile {
public:
    explicit WorkingFile(QString path);

    const QString &path() const { return m_path; }
    bool exists() const;
    // Creates the file empty when it is absent. Throws qx::Error naming the failure.
    void ensureExists();
    // Opens the existing file for reading and writing and closes it again; throws
    // qx::Error naming the failure, so that a transfer can find out before it starts.
    void checkWritable() const;
    // Number of whole records; throws when the file cannot be read.
    int recordCount() const;

    // Reads record i into the record buffer; throws when it is missing or unreadable.
    void seekAndRead(int index);
    // Copies the record buffer out.
    MemoryFrame readRecord() const { return m_buffer; }
    // Writes the frame as record i (0 to 34) and keeps a copy in the record buffer. Records
    // between the end of the file and i become blank records of their own address.
    void StoreFrame(int index, const MemoryFrame &frame);
    // Consecutive records from first on, in one write.
    void StoreFrames(int first, const QList<MemoryFrame> &frames);

    QByteArray readAll() const;

private:
    QString m_path;
    MemoryFrame m_buffer;
};

// What a load found wrong with an image, by record 0 to 34.
struct RecordReport {
    qint64 bytes = 0;       // the file's size
    int records = 0;        // whole records in the file, 35 and beyond included
    QList<int> missing;     // beyond the end of a short file
    QList<int> foreign;     // a header other than 'W', its own address, 0x08; decoded all the same
    QList<int> undecodable; // its visit threw qx::Error
    bool complete() const {
        return missing.isEmpty() && foreign.isEmpty() && undecodable.isEmpty();
    }
};

// The record loop of the load: calls visit(i, FrameText) for records 0 to 34 in
// ascending order; records beyond 34 are ignored. A qx::Error from visit marks that record
// undecodable and the loop goes on, so one bad record hides none after it. Empty when the
// file does not exist (the caller shows "no file!").
std::optional<RecordReport> forEachRecord(const QString &path,
                                          const std::function<void(int, const QString &)> &visit);
// The same loop over an image in hand.
RecordReport forEachRecord(const QByteArray &image,
                           const std::function<void(int, const QString &)> &visit);

// The bytes StoreFrames leaves in a file that held image: the frames as records from first
// on, a gap before them filled with blank records of their own address.
void placeRecords(QByteArray &image, int first, const QList<MemoryFrame> &frames);

// The bytes of an image file other than the working file. A missing or unreadable file,
// or one far larger than any image (a mistyped name of a disk image), throws qx::Error
// "path: reason".
QByteArray readImageFile(const QString &path);

// Address of half h of channel n: 16n + 8h.
std::uint16_t channelAddress(int channel, int half);

} // namespace qx
