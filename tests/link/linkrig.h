#pragma once

#include "qtsio.h"
#include "radioemulator.h"
#include "scriptedprompter.h"
#include "testbytes.h"
#include "transfer.h"
#include "workingfile.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>

namespace qx::test {

// Passes every call to a real port (or answers 0 without one), can force the set-up
// results, and records the calls: the link-level ones in one log shared with the
// prompter, the traffic in its own sequence.
class SpySio : public Sio {
public:
    explicit SpySio(QStringList &log, Sio *inner = nullptr) : m_log(log), m_inner(inner) {}

    std::optional<int> forceOpen, forceIoctl, forceFlow;
    std::set<int> openPorts;
    int opens = 0;
    QString traffic; // 'D' discard, 'W' write, 'R' read, in call order

    int sio_open(int port) override {
        m_log << QStringLiteral("open %1").arg(port);
        ++opens;
        const int r = forceOpen ? *forceOpen : m_inner ? m_inner->sio_open(port) : 0;
        if (r == 0)
            openPorts.insert(port);
        return r;
    }
    int sio_ioctl(int port, int baud, int mode) override {
        m_log << QStringLiteral("ioctl %1 %2 %3").arg(port).arg(baud).arg(mode);
        return forceIoctl ? *forceIoctl : m_inner ? m_inner->sio_ioctl(port, baud, mode) : 0;
    }
    int sio_flowctrl(int port, int mode) override {
        m_log << QStringLiteral("flowctrl %1 %2").arg(port).arg(mode);
        return forceFlow ? *forceFlow : m_inner ? m_inner->sio_flowctrl(port, mode) : 0;
    }
    int sio_write(int port, const char *buf, int len) override {
        traffic += QLatin1Char('W');
        return m_inner ? m_inner->sio_write(port, buf, len) : len;
    }
    int sio_read(int port, char *buf, int len) override {
        traffic += QLatin1Char('R');
        return m_inner ? m_inner->sio_read(port, buf, len) : 0;
    }
    int sio_close(int port) override {
        m_log << QStringLiteral("close %1").arg(port);
        openPorts.erase(port);
        return m_inner ? m_inner->sio_close(port) : 0;
    }
    void discardInput(int port) override {
        traffic += QLatin1Char('D');
        if (m_inner)
            m_inner->discardInput(port);
    }
    QString lastOpenError() const override {
        return m_inner ? m_inner->lastOpenError() : QString();
    }
    QString deviceName(int port) const override {
        return m_inner ? m_inner->deviceName(port) : Sio::deviceName(port);
    }

private:
    QStringList &m_log;
    Sio *m_inner;
};

// A memory whose every byte differs from its neighbours, so a shifted or misplaced
// block cannot pass for the right one.
inline RadioEmulator::Memory patternMemory(int multiplier, int offset) {
    RadioEmulator::Memory m;
    for (int i = 0; i < RadioEmulator::kMemorySize; ++i)
        m[i] = std::uint8_t(i * multiplier + offset);
    return m;
}

inline QByteArray readRequest(std::uint16_t address) {
    const char r[] = {'R', char(address >> 8), char(address & 0xFF), 0x08, 0x06};
    return QByteArray(r, 5);
}

inline QByteArray handshake() {
    return QByteArray("\x02PROGRAM", 8);
}

// A frame sent again at once because its answer came after the wait (a loaded machine
// can delay the emulator) is the protocol working, not a fault: counts made with these
// helpers do not depend on the machine's load.
inline std::vector<QByteArray> withoutRepeats(std::vector<QByteArray> frames) {
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

// How often the last frame was sent in a row.
inline int trailingRepeats(const std::vector<QByteArray> &frames) {
    int n = 0;
    for (auto it = frames.rbegin(); it != frames.rend() && *it == frames.back(); ++it)
        ++n;
    return n;
}

// The repeats that load may add on top of those a test forces.
constexpr int kSpuriousRepeats = 2;

// The emulator on a real pseudo-terminal, the real Qt port behind a spy, a working
// file in a temporary folder, and one transfer with its signals recorded.
struct LinkRig {
    QStringList log; // link calls and boxes, interleaved
    RadioEmulator emu;
    QTemporaryDir dir;
    WorkingFile file{dir.filePath(QStringLiteral("r_and_w.dat"))};
    QtSio qtSio{[this](int) { return emu.slavePath(); }};
    SpySio sio{log, &qtSio};
    ScriptedPrompter prompter;
    std::unique_ptr<Transfer> transfer;
    QList<int> positions;
    QList<bool> buttons;
    QList<int> recordsAtProgress; // the file's record count as each position was reached
    std::unique_ptr<QSignalSpy> finished;
    std::unique_ptr<QSignalSpy> readCompleted;

    explicit LinkRig(const TransferTexts &texts = englishTransferTexts()) {
        emu.setMemory(patternMemory(7, 3));
        QString error;
        if (!emu.start(&error))
            qFatal("emulator: %s", qPrintable(error));
        prompter.onShow = [this](const ScriptedPrompter::Shown &s) {
            log << s.kind + QLatin1Char(' ') + s.text;
        };
        transfer = std::make_unique<Transfer>(sio, file, prompter, texts);
        QObject::connect(transfer.get(), &Transfer::progress, [this](int n) {
            positions << n;
            recordsAtProgress << (file.exists() ? file.recordCount() : -1);
        });
        QObject::connect(transfer.get(), &Transfer::buttonsEnabled,
                         [this](bool enabled) { buttons << enabled; });
        finished = std::make_unique<QSignalSpy>(transfer.get(), &Transfer::finished);
        readCompleted = std::make_unique<QSignalSpy>(transfer.get(), &Transfer::readCompleted);
    }
    ~LinkRig() {
        transfer.reset();
        emu.stop();
    }

    void writeFile(const QByteArray &bytes) {
        QFile f(file.path());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    QByteArray fileBytes() const { return readFile(file.path()); }
    // Waits for the end of the transfer; the result tells whether it completed.
    bool waitFinished(int timeoutMs = 20000) {
        if (finished->isEmpty() && !finished->wait(timeoutMs))
            return false;
        return finished->count() == 1 && finished->first().first().toBool();
    }
    bool linkOpen() const { return !sio.openPorts.empty(); }
};

} // namespace qx::test
