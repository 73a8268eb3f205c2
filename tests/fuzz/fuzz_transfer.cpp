// The read and write transfers with any bytes arriving from the port: a scripted port
// hands out the input in chunks, one per read, and the retry prompt is answered from
// the input. Both pacings, without waits: the standard one (one read a fixed time after
// each send) and the polled one (the fast mode; with no time-out each send is read once,
// and an answer to a step sent more than once is followed by one read that drops what
// is left on the line).
// - Every transfer ends, and finished() comes once: completed exactly when the last
//   step got its answer, and the link is closed.
// - A step is answered only by 'P' (handshake), a whole 12-byte frame starting with
//   'W' that echoes the request's own address and length (read request) or 0x06 (a frame of a
//   write). After an answer the next step is sent, otherwise the same step again; the retry prompt
//   comes after no fewer than 8 and no more than 9 unanswered reads of a step, and Yes starts again
//   from the handshake.
// - A read stores each accepted reply's first 12 bytes as the step's record and touches
//   nothing else; a write sends every record as it is in the file, followed by 0x06,
//   and leaves the file as it was.
#include "fuzzcheck.h"
#include "memoryframe.h"
#include "scriptedprompter.h"
#include "sio.h"
#include "steps.h"
#include "testbytes.h"
#include "transfer.h"
#include "transfertexts.h"
#include "workingfile.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>

using namespace qx;
using qx::test::readFile;

namespace {

// Chunk header: 0xFF = the right answer to the step just sent (a read's data from the
// next 8 input bytes), otherwise header % 32 raw bytes.
constexpr std::uint8_t kAnswer = 0xFF;

class FuzzedPort : public Sio {
public:
    FuzzedPort(TransferMode mode, bool polled, QByteArray input, const QByteArray &image)
        : expectedFile(image), m_mode(mode), m_polled(polled), m_input(std::move(input)),
          m_image(image) {}

    int opens = 0;
    int closesAfterOpen = 0;
    bool completed = false;
    bool ended = false; // the last step was answered or the prompt answered No
    QByteArray expectedFile;

    int sio_open(int) override {
        ++opens;
        closesAfterOpen = 0;
        return 0;
    }
    int sio_ioctl(int, int, int) override { return 0; }
    int sio_flowctrl(int, int) override { return 0; }
    int sio_close(int) override {
        ++closesAfterOpen;
        return 0;
    }
    void discardInput(int) override {}
    QString lastOpenError() const override { return {}; }

    int sio_write(int, const char *buf, int len) override {
        FUZZ_CHECK(!ended);
        const QByteArray sent(buf, len);
        const Step &step = current();
        FUZZ_CHECK_MSG(sent == expectedBytes(step),
                       QStringLiteral("step %1 sent %2").arg(m_step + 1).arg(sent.toHex(' ')));
        FUZZ_CHECK(!m_settleRead);
        m_sentSinceRead = true;
        ++m_sends;
        return len;
    }

    int sio_read(int, char *buf, int len) override {
        FUZZ_CHECK(!ended && (m_sentSinceRead || m_settleRead));
        const QByteArray reply = nextChunk().left(len);
        std::copy(reply.begin(), reply.end(), buf);
        if (m_settleRead) {
            m_settleRead = false;
            return int(reply.size());
        }
        m_sentSinceRead = false;
        const Step &step = current();
        if (isRightAnswer(step, reply)) {
            if (m_mode == TransferMode::Read && step.kind == Step::Kind::ReadRequest)
                expectedFile.replace(step.record * MemoryFrame::kSize, MemoryFrame::kSize,
                                     reply.left(MemoryFrame::kSize));
            ++m_step;
            m_unanswered = 0;
            if (m_step == int(stepTable(m_mode).size()))
                completed = ended = true;
            else
                m_settleRead = m_polled && m_sends > 1;
            m_sends = 0;
        } else {
            ++m_unanswered;
            FUZZ_CHECK_MSG(m_unanswered <= 9, QStringLiteral("step %1").arg(m_step + 1));
        }
        return int(reply.size());
    }

    // The retry prompt.
    bool prompted(bool again) {
        FUZZ_CHECK_MSG(!ended && m_unanswered >= 8,
                       QStringLiteral("prompt after %1 unanswered reads").arg(m_unanswered));
        m_unanswered = 0;
        m_sends = 0;
        if (again)
            m_step = 0;
        else
            ended = true;
        return again;
    }

private:
    const Step &current() const { return stepTable(m_mode).at(std::size_t(m_step)); }

    QByteArray expectedBytes(const Step &step) const {
        switch (step.kind) {
        case Step::Kind::Handshake:
            return QByteArray("\x02PROGRAM", 8);
        case Step::Kind::ReadRequest:
            return readRequestBytes(recordAddress(step.record));
        case Step::Kind::Blank:
            return blankFrameBytes(step.address);
        case Step::Kind::Record:
            return m_image.mid(step.record * MemoryFrame::kSize, MemoryFrame::kSize) + '\x06';
        }
        return {};
    }

    bool isRightAnswer(const Step &step, const QByteArray &reply) const {
        if (reply.isEmpty())
            return false;
        if (step.kind == Step::Kind::Handshake)
            return reply.at(0) == 'P';
        if (m_mode == TransferMode::Read) {
            if (reply.at(0) != 'W' || reply.size() < 12)
                return false;
            const std::uint16_t address = recordAddress(step.record);
            return std::uint8_t(reply.at(1)) == address >> 8 &&
                   std::uint8_t(reply.at(2)) == (address & 0xFF) && reply.at(3) == '\x08';
        }
        return reply.at(0) == '\x06';
    }

    QByteArray take(int n) {
        const QByteArray out = m_input.mid(m_pos, n);
        m_pos += int(out.size());
        return out;
    }

    QByteArray nextChunk() {
        if (m_pos >= m_input.size())
            return {};
        const auto header = std::uint8_t(m_input.at(m_pos++));
        if (header != kAnswer)
            return take(header % 32);
        const Step &step = current();
        if (step.kind == Step::Kind::Handshake)
            return QByteArrayLiteral("P");
        if (m_mode == TransferMode::Write)
            return QByteArrayLiteral("\x06");
        QByteArray data = take(8);
        data.append(QByteArray(8 - data.size(), '\0'));
        const std::uint16_t address = recordAddress(step.record);
        return QByteArray("W", 1) + char(address >> 8) + char(address & 0xFF) + '\x08' + data;
    }

    TransferMode m_mode;
    bool m_polled;
    QByteArray m_input;
    int m_pos = 0;
    QByteArray m_image;
    int m_step = 0;
    int m_unanswered = 0;
    bool m_sentSinceRead = false;
    int m_sends = 0;           // of the current step
    bool m_settleRead = false; // the next read drops what is left on the line
};

// Every record with its own header, as a write sends nothing else.
QByteArray patternImage() {
    QByteArray image;
    for (int r = 0; r < kRecordCount; ++r) {
        image += recordHeader(r);
        for (int k = 0; k < 8; ++k)
            image += char(r * 7 + k * 3);
    }
    return image;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2)
        return 0;
    const TransferMode mode = data[0] & 1 ? TransferMode::Write : TransferMode::Read;
    const bool polled = data[0] & 2;
    const std::uint8_t answers = data[1]; // bit k answers the k-th retry prompt; then No
    const QByteArray image = patternImage();
    const QString path = fuzz::scratchPath(QStringLiteral("transfer.dat"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(image) != image.size())
            fuzz::fail(__FILE__, __LINE__, "write scratch file", f.errorString());
    }

    FuzzedPort sio(mode, polled, fuzz::bytesOf(data + 2, size - 2), image);
    test::ScriptedPrompter prompter;
    int prompts = 0;
    prompter.onShow = [&](const test::ScriptedPrompter::Shown &shown) {
        FUZZ_CHECK_MSG(shown.kind != QLatin1String("error"), shown.text);
        if (shown.kind == QLatin1String("ask")) {
            const bool again = prompts < 8 && (answers >> prompts) & 1;
            ++prompts;
            prompter.answers = {sio.prompted(again)};
        }
    };
    WorkingFile file(path);
    Transfer transfer(sio, file, prompter, englishTransferTexts());
    Pacing pacing{0, 0, 0};
    if (polled) {
        // No time-out: each send is read once and judged at once.
        pacing.untilAnswered = true;
        pacing.pollMs = 0;
        pacing.timeoutMs = 0;
    }
    transfer.setPacing(pacing);
    int finished = 0;
    bool completed = false;
    QObject::connect(&transfer, &Transfer::finished, [&](bool c) {
        ++finished;
        completed = c;
    });
    QObject::connect(&transfer, &Transfer::progress, [&](int position) {
        FUZZ_CHECK(position >= 0 && position <= int(stepTable(mode).size()));
    });

    FUZZ_CHECK(transfer.start(mode, 1));
    // Each step reads at most 9 times before the prompt, and there are at most 9 runs
    // of at most 41 steps: far fewer turns of the loop than this.
    for (int turn = 0; transfer.running() && turn < 100000; ++turn)
        QCoreApplication::processEvents();
    FUZZ_CHECK(!transfer.running());
    FUZZ_CHECK(finished == 1);
    FUZZ_CHECK(completed == sio.completed);
    FUZZ_CHECK(sio.opens == 1 && sio.closesAfterOpen >= 1);
    FUZZ_CHECK(readFile(path) == sio.expectedFile);
    return 0;
}
