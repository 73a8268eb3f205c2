// qx7420-bench: times one read and one write through Transfer and QtSio against the
// in-process emulator at 9600-baud pacing, and how long the event loop was held up.
#include "radioemulator.h"
#include "sio.h"
#include "transfer.h"
#include "workingfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

// Answers every box at once, as a user who always presses OK or Retry.
class YesPrompter : public qx::Prompter {
public:
    void message(const QString &) override {}
    bool ask(const QString &, const QString &, Buttons, Icon) override { return true; }
    void error(const QString &text) override {
        std::fprintf(stderr, "qx7420-bench: %s\n", qPrintable(text));
    }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &) override { return {}; }
};

// The longest stretch in which the event loop could not run a short periodic timer.
class GapMeter : public QObject {
public:
    static constexpr int kPeriodMs = 2;
    GapMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_maxGapNs = std::max(m_maxGapNs, now - m_last - qint64(kPeriodMs) * 1'000'000);
            m_last = now;
        });
    }
    void start() {
        m_maxGapNs = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start(kPeriodMs);
    }
    double stopMs() {
        m_timer.stop();
        return double(m_maxGapNs) / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_maxGapNs = 0;
};

// Seconds from start to the end of the transfer; negative when it did not complete.
double timeTransfer(qx::Transfer &transfer, qx::Transfer::Mode mode) {
    QEventLoop loop;
    bool completed = false;
    auto connection = QObject::connect(&transfer, &qx::Transfer::finished, &loop, [&](bool ok) {
        completed = ok;
        loop.quit();
    });
    QTimer::singleShot(30'000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    if (!transfer.start(mode, 1))
        return -1;
    loop.exec();
    QObject::disconnect(connection);
    return completed ? double(clock.nsecsElapsed()) / 1e9 : -1;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);

    qx::RadioEmulator emu;
    qx::RadioEmulator::Memory memory;
    for (int i = 0; i < qx::RadioEmulator::kMemorySize; ++i)
        memory[i] = std::uint8_t(i * 7 + 3);
    emu.setMemory(memory);
    QString error;
    if (!emu.start(&error)) {
        std::fprintf(stderr, "qx7420-bench: %s\n", qPrintable(error));
        return 1;
    }

    QTemporaryDir dir;
    qx::WorkingFile file(dir.filePath(QStringLiteral("r_and_w.dat")));
    qx::QtSio sio([&emu](int) { return emu.slavePath(); });
    YesPrompter prompter;
    qx::Transfer transfer(sio, file, prompter, qx::englishTransferTexts());

    std::vector<std::pair<const char *, double>> figures;
    GapMeter gaps;
    gaps.start();
    const double readSeconds = timeTransfer(transfer, qx::Transfer::Mode::Read);
    const double maxGapMs = gaps.stopMs();
    const double writeSeconds = timeTransfer(transfer, qx::Transfer::Mode::Write);
    figures.emplace_back("read_s", readSeconds);
    figures.emplace_back("write_s", writeSeconds);
    figures.emplace_back("max_gap_ms", maxGapMs);
    emu.stop();

    if (readSeconds < 0 || writeSeconds < 0) {
        std::fprintf(stderr, "qx7420-bench: a transfer did not complete\n");
        return 1;
    }
    for (const auto &[name, value] : figures)
        std::printf("%s=%.3f\n", name, value);
    return 0;
}
