#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken invariant aborts: libFuzzer keeps the input, a corpus replay fails.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            qx::fuzz::fail(__FILE__, __LINE__, #cond, QString());                                  \
    } while (0)
#define FUZZ_CHECK_MSG(cond, message)                                                              \
    do {                                                                                           \
        if (!(cond))                                                                               \
            qx::fuzz::fail(__FILE__, __LINE__, #cond, (message));                                  \
    } while (0)

namespace qx::fuzz {

[[noreturn]] inline void fail(const char *file, int line, const char *what,
                              const QString &message) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n%s\n", file, line, what,
                 qPrintable(message));
    std::abort();
}

inline QByteArray bytesOf(const std::uint8_t *data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A file path in a folder of this process that lives until the process ends.
inline QString scratchPath(const QString &name) {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/qx-fuzz-XXXXXX"));
    if (!dir.isValid())
        fail(__FILE__, __LINE__, "scratch folder", dir.errorString());
    return dir.filePath(name);
}

} // namespace qx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
// Defined by a target that needs to set up once (an application object).
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);
