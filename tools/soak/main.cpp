// qx7420-soak: many short transfers through the transfer job against the emulated radio
// on an instant line at the fast pacing, each with random faults: noise both ways, late,
// dropped and short answers, hang-ups, stops. Every outcome must be exact (the image a
// read stored is the radio's memory; after a write that reported success the radio holds
// the image) or a reported failure that stored nothing. Prints the counts; exit status 1
// when any image was accepted wrong.
#include "qtsio.h"
#include "radioemulator.h"
#include "transferjob.h"
#include "workingfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <random>

namespace {

using Result = qx::TransferJob::Result;

// Answers the retry question yes twice, as the command line does by default.
class SoakPrompter : public qx::Prompter {
public:
    void newRun() { m_retries = 0; }
    void message(const QString &) override {}
    bool ask(const QString &, const QString &, Buttons, Icon) override { return ++m_retries <= 2; }
    void error(const QString &text) override {
        std::fprintf(stderr, "qx7420-soak: %s\n", qPrintable(text));
    }
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &) override { return {}; }

private:
    int m_retries = 0;
};

struct Counts {
    int exact = 0;
    int failedCleanly = 0;
    int acceptedWrong = 0;
};

class Soak {
public:
    explicit Soak(std::uint64_t seed) : m_random(seed) {}

    bool run(int runs, bool verbose) {
        for (int i = 0; i < runs; ++i) {
            if (!m_emu || !m_emu->running()) { // hung up by the run before
                m_emu = std::make_unique<qx::RadioEmulator>();
                m_emu->setByteTimeMicros(0);
                QString error;
                if (!m_emu->start(&error)) {
                    std::fprintf(stderr, "qx7420-soak: %s\n", qPrintable(error));
                    return false;
                }
            }
            const QString kind = once(verbose);
            if (verbose)
                std::fprintf(stderr, "%4d %s\n", i + 1, qPrintable(kind));
        }
        return true;
    }
    const Counts &counts() const { return m_counts; }

private:
    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(m_random);
    }
    int between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }

    qx::RadioEmulator::Memory randomMemory() {
        qx::RadioEmulator::Memory memory;
        for (auto &b : memory)
            b = std::uint8_t(m_random());
        return memory;
    }

    // One transfer with its faults; returns what it was, for the log.
    QString once(bool verbose) {
        const bool write = between(0, 1) == 1;
        qx::EmulatorFaults faults;
        faults.seed = m_random();
        QString kind = write ? QStringLiteral("write") : QStringLiteral("read");
        if (between(0, 3) > 0) { // most runs on a noisy line
            faults.noiseOut = uniform(0, 0.01);
            if (write)
                faults.noiseIn = uniform(0, 0.01);
            kind += QStringLiteral(" noise %1/%2")
                        .arg(faults.noiseOut, 0, 'f', 4)
                        .arg(faults.noiseIn, 0, 'f', 4);
        }
        const int at = between(2, 70);
        bool stop = false;
        switch (between(0, 7)) {
        case 0:
            faults.dropReplies = {at};
            kind += QStringLiteral(" drop %1").arg(at);
            break;
        case 1:
            faults.lateReply = at;
            faults.lateMs = between(1, 300);
            kind += QStringLiteral(" late %1 by %2 ms").arg(at).arg(faults.lateMs);
            break;
        case 2:
            faults.shortReply = at;
            faults.shortBytes = between(1, 11);
            kind += QStringLiteral(" short %1").arg(at);
            break;
        case 3:
            faults.hangUpAt = at;
            kind += QStringLiteral(" hang-up %1").arg(at);
            break;
        case 4:
            faults.silentFrom = at;
            kind += QStringLiteral(" silent from %1").arg(at);
            break;
        case 5:
            stop = true;
            kind += QStringLiteral(" stop");
            break;
        default:
            break;
        }
        const qx::RadioEmulator::Memory before = randomMemory();
        m_emu->setMemory(before);
        m_emu->setFaults(faults);
        const QByteArray radioBefore = qx::RadioEmulator::datImage(before);
        // The image to write: the radio's memory with other channel data, so a write that
        // does not reach the radio cannot pass for one that did.
        QByteArray image = qx::RadioEmulator::datImage(randomMemory());

        QTemporaryDir dir;
        qx::WorkingFile home(dir.filePath(QStringLiteral("home.dat")));
        qx::QtSio sio([this](int) { return m_emu->slavePath(); });
        m_prompter.newRun();
        qx::Transfer transfer(sio, home, m_prompter, qx::englishTransferTexts());
        transfer.setPacing(qx::Pacing::fast());
        qx::TransferJob job(transfer, m_prompter);
        QByteArray stored;
        bool storedOnce = false;
        QEventLoop loop;
        QObject::connect(&job, &qx::TransferJob::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
        if (stop)
            QTimer::singleShot(between(1, 400), &job, [&job] { job.stop(); });
        bool started = false;
        if (write) {
            qx::TransferJob::WritePlan plan;
            plan.image = image;
            plan.verify = true;
            started = job.write(plan);
        } else {
            qx::TransferJob::ReadPlan plan;
            plan.store = [&](const QByteArray &bytes) {
                stored = bytes;
                storedOnce = true;
            };
            started = job.read(plan);
        }
        if (started && job.running())
            loop.exec();
        if (job.running()) {
            std::fprintf(stderr, "qx7420-soak: a transfer did not end: %s\n", qPrintable(kind));
            job.stop();
            ++m_counts.acceptedWrong;
            return kind + QStringLiteral(": hung");
        }
        const Result result = job.result();
        const QByteArray radioAfter = qx::RadioEmulator::datImage(m_emu->memory());
        bool exact = false;
        bool clean = false;
        if (write) {
            exact = result == Result::Completed && radioAfter == image;
            clean = result != Result::Completed;
        } else {
            exact = result == Result::Completed && storedOnce && stored == radioBefore;
            clean = result != Result::Completed && !storedOnce;
        }
        if (exact)
            ++m_counts.exact;
        else if (clean)
            ++m_counts.failedCleanly;
        else
            ++m_counts.acceptedWrong;
        if (!exact && !clean)
            std::fprintf(stderr, "qx7420-soak: accepted wrong: %s\n", qPrintable(kind));
        Q_UNUSED(verbose);
        return kind + (exact   ? QStringLiteral(": exact")
                       : clean ? QStringLiteral(": failed cleanly")
                               : QStringLiteral(": ACCEPTED WRONG"));
    }

    std::mt19937_64 m_random;
    std::unique_ptr<qx::RadioEmulator> m_emu;
    SoakPrompter m_prompter;
    Counts m_counts;
};

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Many short transfers with random faults; counts of the outcomes."));
    parser.addHelpOption();
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("transfers (default 200)"),
                                  QStringLiteral("N"), QStringLiteral("200"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("repeat a soak"),
                                  QStringLiteral("N"));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("one line per transfer on stderr"));
    parser.addOptions({runs, seed, verbose});
    parser.process(app);
    const std::uint64_t s =
        parser.isSet(seed) ? parser.value(seed).toULongLong() : std::random_device{}();
    std::printf("seed=%llu\n", static_cast<unsigned long long>(s));
    Soak soak(s);
    if (!soak.run(parser.value(runs).toInt(), parser.isSet(verbose)))
        return 2;
    const Counts &c = soak.counts();
    std::printf("exact=%d\nfailed_cleanly=%d\naccepted_wrong=%d\n", c.exact, c.failedCleanly,
                c.acceptedWrong);
    return c.acceptedWrong == 0 ? 0 : 1;
}
