// qx7420-bench: times reads and writes through Transfer and QtSio against in-process
// emulators on a 9600-baud line: at the standard and at the fast pacing, single-pass and
// checked reads, writes with and without the read-back, eight radios written at once, and
// how long the event loop was held up; then through Debian's ser2net on the loopback
// (rfc2217://), and 32 radios written at once at the fast pacing.
#include "qtsio.h"
#include "radioemulator.h"
#include "routingsio.h"
#include "ser2netserver.h"
#include "steps.h"
#include "transfer.h"
#include "transferjob.h"
#include "workingfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>
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

// Seconds from start to the end of a job: a read whose every block came twice, or a write
// read back and compared; negative when it did not complete.
double timeJob(qx::TransferJob &job, qx::WorkingFile &file, qx::Transfer::Mode mode) {
    QEventLoop loop;
    auto connection = QObject::connect(&job, &qx::TransferJob::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(30'000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    bool started = false;
    if (mode == qx::Transfer::Mode::Read) {
        started = job.read(qx::TransferJob::ReadPlan{});
    } else {
        qx::TransferJob::WritePlan plan;
        plan.image = file.readAll();
        plan.from = &file;
        plan.verify = true;
        started = job.write(plan);
    }
    if (!started)
        return -1;
    loop.exec();
    QObject::disconnect(connection);
    return !job.running() && job.result() == qx::TransferJob::Result::Completed
               ? double(clock.nsecsElapsed()) / 1e9
               : -1;
}

// The bytes of a whole transfer on the line, both ways, at 10 bits a byte and 9600 baud.
double wireSeconds(qx::TransferMode mode) {
    int bytes = 0;
    for (const qx::Step &step : qx::stepTable(mode)) {
        switch (step.kind) {
        case qx::Step::Kind::Handshake:
            bytes += int(qx::handshakeBytes().size()) + 1; // 'P'
            break;
        case qx::Step::Kind::ReadRequest:
            bytes += int(qx::readRequestBytes(step.address).size()) + 12;
            break;
        case qx::Step::Kind::Blank:
        case qx::Step::Kind::Record:
            bytes += int(qx::blankFrameBytes(step.address).size()) + 1; // ACK
            break;
        }
    }
    return bytes * 10 / 9600.0;
}

qx::RadioEmulator::Memory benchMemory() {
    qx::RadioEmulator::Memory memory;
    for (int i = 0; i < qx::RadioEmulator::kMemorySize; ++i)
        memory[i] = std::uint8_t(i * 7 + 3);
    return memory;
}

// Radios on ports of their own written at once on one event loop, as qx7420-cli does with
// several --port options: seconds until the last one completed, negative if one failed.
double timeParallelWrites(const QString &folder, const QByteArray &image, int count,
                          const qx::Pacing &pacing, int thinkMs) {
    std::vector<std::unique_ptr<qx::RadioEmulator>> radios;
    for (int i = 0; i < count; ++i) {
        radios.push_back(std::make_unique<qx::RadioEmulator>());
        radios.back()->setThinkMillis(thinkMs);
        if (!radios.back()->start())
            return -1;
    }
    qx::QtSio sio([&radios](int port) { return radios.at(std::size_t(port - 1))->slavePath(); });
    YesPrompter prompter;
    std::vector<std::unique_ptr<qx::WorkingFile>> files;
    std::vector<std::unique_ptr<qx::Transfer>> transfers;
    QEventLoop loop;
    int running = 0;
    bool allCompleted = true;
    for (int i = 0; i < count; ++i) {
        files.push_back(
            std::make_unique<qx::WorkingFile>(folder + QStringLiteral("/radio%1.dat").arg(i)));
        QFile file(files.back()->path());
        if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
            return -1;
        transfers.push_back(std::make_unique<qx::Transfer>(sio, *files.back(), prompter,
                                                           qx::englishTransferTexts()));
        transfers.back()->setPacing(pacing);
        QObject::connect(transfers.back().get(), &qx::Transfer::finished, &loop, [&](bool ok) {
            allCompleted = allCompleted && ok;
            if (--running == 0)
                loop.quit();
        });
    }
    QTimer::singleShot(30'000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        if (!transfers[std::size_t(i)]->start(qx::Transfer::Mode::Write, i + 1))
            return -1;
        ++running;
    }
    loop.exec();
    return allCompleted && running == 0 ? double(clock.nsecsElapsed()) / 1e9 : -1;
}

// A radio of its own behind ser2net's telnet(rfc2217) accepter on the loopback, reached
// as the window and the CLI reach one: nothing when ser2net is not installed.
struct NetworkRadio {
    qx::RadioEmulator emu;
    qx::test::Ser2NetServer server;
    QString url;
    qx::RoutingSio sio{[this](int) { return url; }};
    bool start() {
        emu.setMemory(benchMemory());
        QString error;
        if (qx::test::Ser2NetServer::program().isEmpty()) {
            std::fprintf(stderr, "qx7420-bench: ser2net is not installed: no net_ figures\n");
            return false;
        }
        if (!emu.start(&error) || !server.start({{true, emu.slavePath()}}, &error)) {
            std::fprintf(stderr, "qx7420-bench: %s\n", qPrintable(error));
            return false;
        }
        url = server.url(0);
        return true;
    }
};

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);

    qx::RadioEmulator emu;
    emu.setMemory(benchMemory());
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
    figures.emplace_back("read_s", timeTransfer(transfer, qx::Transfer::Mode::Read));
    const double maxGapMs = gaps.stopMs();
    NetworkRadio net;
    const bool withNet = net.start();
    qx::WorkingFile netFile(dir.filePath(QStringLiteral("net.dat")));
    qx::Transfer netTransfer(net.sio, netFile, prompter, qx::englishTransferTexts());
    if (withNet)
        figures.emplace_back("net_read_s", timeTransfer(netTransfer, qx::Transfer::Mode::Read));
    figures.emplace_back("write_s", timeTransfer(transfer, qx::Transfer::Mode::Write));
    qx::TransferJob job(transfer, prompter);
    figures.emplace_back("checked_read_s", timeJob(job, file, qx::Transfer::Mode::Read));
    figures.emplace_back("verified_write_s", timeJob(job, file, qx::Transfer::Mode::Write));
    const QByteArray image = qx::RadioEmulator::datImage(benchMemory());
    figures.emplace_back("parallel8_write_s",
                         timeParallelWrites(dir.path(), image, 8, qx::Pacing::standard(), 0));

    // The fast pacing against a radio that takes a millisecond to answer.
    emu.setThinkMillis(1);
    transfer.setPacing(qx::Pacing::fast());
    figures.emplace_back("fast_read_s", timeTransfer(transfer, qx::Transfer::Mode::Read));
    if (withNet) {
        net.emu.setThinkMillis(1);
        netTransfer.setPacing(qx::Pacing::fast());
        figures.emplace_back("net_fast_read_s",
                             timeTransfer(netTransfer, qx::Transfer::Mode::Read));
    }
    figures.emplace_back("fast_write_s", timeTransfer(transfer, qx::Transfer::Mode::Write));
    figures.emplace_back("fast_checked_read_s", timeJob(job, file, qx::Transfer::Mode::Read));
    figures.emplace_back("fast_verified_write_s", timeJob(job, file, qx::Transfer::Mode::Write));
    figures.emplace_back("parallel32_fast_write_s",
                         timeParallelWrites(dir.path(), image, 32, qx::Pacing::fast(), 1));
    emu.stop();
    figures.emplace_back("wire_read_s", wireSeconds(qx::TransferMode::Read));
    figures.emplace_back("wire_write_s", wireSeconds(qx::TransferMode::Write));
    figures.emplace_back("max_gap_ms", maxGapMs);

    bool completed = true;
    for (const auto &[name, value] : figures) {
        completed = completed && value >= 0;
        std::printf("%s=%.3f\n", name, value);
    }
    if (!completed) {
        std::fprintf(stderr, "qx7420-bench: a transfer did not complete\n");
        return 1;
    }
    return 0;
}
