#pragma once

#include "memoryframe.h"
#include "sio.h"
#include "transfer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

#include <array>
#include <cstdint>
#include <functional>
#include <set>

namespace qx::test {

// A port with a scripted radio behind it and the time of every call, for tests that
// check the pacing without a pseudo-terminal. The radio answers each request the moment
// it is written (P, a W frame from its memory, or ACK), unless the script drops the
// answer, holds it back until the next request was written, or garbles it.
class ScriptedSio : public Sio {
public:
    struct Call {
        char op = 0;      // 'o'pen, 'i'octl, 'f'lowctrl, 'w'rite, 'r'ead, 'd'iscard, 'c'lose
        qint64 atNs = 0;  // since the port was made
        QByteArray bytes; // written, or handed out by a read
    };

    std::array<std::uint8_t, 1024> memory{};
    QList<Call> calls;
    // Requests are numbered from 1 in the order they are written.
    std::set<int> drop;          // never answered
    std::set<int> holdUntilNext; // answered only once the next request was written
    int bytesPerRead = 0;        // 0: a read hands out all that has come
    // Changes the answer to request n before it is sent (a short or wrong reply).
    std::function<QByteArray(int n, QByteArray answer)> garble;
    int openResult = 0; // what sio_open answers
    int goneFrom = 0;   // from this request on the device is gone; 0: never

    ScriptedSio() {
        memory.fill(0xFF);
        m_clock.start();
    }

    int sio_open(int) override { return log('o'), openResult; }
    int sio_ioctl(int, int, int) override { return log('i'), 0; }
    int sio_flowctrl(int, int) override { return log('f'), 0; }
    int sio_write(int, const char *buf, int len) override {
        const QByteArray request(buf, len);
        log('w', request);
        ++m_requests;
        if (goneFrom > 0 && m_requests >= goneFrom)
            return kDeviceGone;
        m_input += m_held;
        m_held.clear();
        QByteArray answer = answerTo(request);
        if (garble)
            answer = garble(m_requests, answer);
        if (drop.count(m_requests) == 0) {
            if (holdUntilNext.count(m_requests))
                m_held = answer;
            else
                m_input += answer;
        }
        return len;
    }
    int sio_read(int, char *buf, int len) override {
        int n = std::min<int>(len, int(m_input.size()));
        if (bytesPerRead > 0)
            n = std::min(n, bytesPerRead);
        const QByteArray out = m_input.left(n);
        m_input.remove(0, n);
        std::copy(out.begin(), out.end(), buf);
        log('r', out);
        return n;
    }
    int sio_close(int) override { return log('c'), 0; }
    void discardInput(int) override {
        m_input.clear();
        log('d');
    }
    QString lastOpenError() const override { return {}; }

    // The radio's memory as the 35 records of an image, and back.
    QByteArray image() const {
        QByteArray out;
        for (int r = 0; r < kRecordCount; ++r) {
            const std::uint16_t a = recordAddress(r);
            out += QByteArray("W") + char(a >> 8) + char(a & 0xFF) + char(0x08) +
                   QByteArray(reinterpret_cast<const char *>(memory.data() + a), 8);
        }
        return out;
    }
    void load(const QByteArray &image) {
        for (int r = 0; r < kRecordCount; ++r)
            for (int k = 0; k < 8; ++k)
                memory[recordAddress(r) + std::size_t(k)] =
                    std::uint8_t(image[r * MemoryFrame::kSize + 4 + k]);
    }

    QList<Call> callsOf(char op) const {
        QList<Call> out;
        for (const Call &c : calls)
            if (c.op == op)
                out << c;
        return out;
    }

private:
    void log(char op, const QByteArray &bytes = {}) {
        calls << Call{op, m_clock.nsecsElapsed(), bytes};
    }
    QByteArray answerTo(const QByteArray &request) {
        const auto at = [&](int i) { return std::uint8_t(request.at(i)); };
        if (request == QByteArray("\x02PROGRAM", 8))
            return QByteArray("P");
        if (request.size() < 4)
            return {};
        const int address = at(1) << 8 | at(2);
        if (address + 8 > int(memory.size()))
            return {};
        if (request.size() == 5 && at(0) == 'R')
            return request.left(4).replace(0, 1, "W") +
                   QByteArray(reinterpret_cast<const char *>(memory.data() + address), 8);
        if (request.size() == 13 && at(0) == 'W') {
            std::copy(request.begin() + 4, request.begin() + 12, memory.begin() + address);
            return QByteArray("\x06");
        }
        return {};
    }

    QElapsedTimer m_clock;
    QByteArray m_input; // arrived, not yet read
    QByteArray m_held;
    int m_requests = 0;
};

// The scripted radio answers at once: a transfer need not wait between steps, and a short
// time-out is enough to take silence for silence.
inline Pacing instantPacing() {
    Pacing pacing = Pacing::fast();
    pacing.stepGapMs = 0;
    pacing.pollMs = 0;
    pacing.timeoutMs = 20;
    return pacing;
}

} // namespace qx::test
