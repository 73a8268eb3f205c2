#include "filecopy.h"

#include "error.h"
#include "filelimits.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <io.h>
#endif

namespace qx {

namespace {

constexpr qint64 kChunk = 64 * 1024;

Error fileError(const QString &path, const QString &reason) {
    return Error(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason));
}

// A new file written beside the target and renamed over it only when every byte is known
// to be on the disk.
//
// QSaveFile alone does not promise that on Qt 6.4: write() only fills QFileDevice's
// buffer and returns the length asked for, so the disk's ENOSPC comes from the flush in
// the close() inside commit(). commit() looks only at the errors write() met, renames
// the short temporary file over the old one and returns true. Hence the flush, the sync
// and the size are checked here, and commit() runs only after all of them passed.
class Replacement {
public:
    explicit Replacement(const QString &path) : m_path(path), m_file(path) {
        checkOutputFile(path);
        if (!m_file.open(QIODevice::WriteOnly))
            throw fileError(m_path, fileWords().cannotWrite.arg(m_file.errorString()));
    }

    void write(const QByteArray &bytes) {
        if (m_file.write(bytes) != bytes.size())
            fail(m_file.errorString());
        m_written += bytes.size();
    }

    void commit() {
        if (!m_file.flush())
            fail(m_file.errorString());
#ifdef Q_OS_UNIX
        if (::fsync(m_file.handle()) != 0)
            fail(qt_error_string(errno));
        struct stat st {};
        if (::fstat(m_file.handle(), &st) != 0)
            fail(qt_error_string(errno));
        const qint64 onDisk = st.st_size;
#else
#ifdef Q_OS_WIN
        if (::_commit(m_file.handle()) != 0)
            fail(qt_error_string(errno));
#endif
        const qint64 onDisk = m_file.size();
#endif
        if (onDisk != m_written)
            fail(fileWords().partlyWritten.arg(onDisk).arg(m_written));
        if (!m_file.commit() || m_file.error() != QFileDevice::NoError)
            throw fileError(m_path, fileWords().cannotWrite.arg(m_file.errorString()));
    }

private:
    // The temporary file goes with the QSaveFile; the old file stays as it was.
    [[noreturn]] void fail(const QString &reason) {
        m_file.cancelWriting();
        throw fileError(m_path, fileWords().cannotWrite.arg(reason));
    }

    QString m_path;
    QSaveFile m_file;
    qint64 m_written = 0;
};

} // namespace

void copyFileOver(const QString &source, const QString &target) {
    if (const QString special = notRegularFile(source); !special.isEmpty())
        throw fileError(source, special);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw fileError(source, in.errorString());

    // The copy goes to a temporary file beside the target, so copying a file onto
    // itself still works; in chunks, so a large file does not have to fit in memory.
    Replacement out(target);
    for (;;) {
        const QByteArray chunk = in.read(kChunk);
        if (in.error() != QFileDevice::NoError)
            throw fileError(source, in.errorString());
        if (chunk.isEmpty())
            break;
        out.write(chunk);
    }
    out.commit();
}

void saveFileAtomically(const QString &path, const QByteArray &bytes) {
    Replacement file(path);
    file.write(bytes);
    file.commit();
}

} // namespace qx
