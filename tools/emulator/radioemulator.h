#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <vector>

namespace qx {

// Faults to inject. Requests are numbered from 1 in the order complete frames arrive
// (handshakes, read requests and write frames alike); reply N answers request N.
// 0 switches a fault off.
struct EmulatorFaults {
    std::vector<int> dropReplies; // these replies are never sent
    int silentFrom = 0;           // no reply from this request on
    int corruptReply = 0;         // first byte of this reply inverted
    int corruptStore = 0;         // this write frame is acknowledged, its last byte stored inverted
    int shortReply = 0;           // only the first shortBytes bytes of this reply are sent
    int shortFrom = 0;            // ... and of every reply from this request on
    int shortBytes = 0;
    int lateReply = 0; // this reply starts lateMs after its request
    int lateMs = 0;
    int hangUpAt = 0; // the line goes dead (master closed) when this request arrives
    // Line noise, as a worn cable or a plug not fully seated makes it: with these
    // probabilities one random bit of a byte flips. noiseOut acts on every byte sent,
    // noiseIn on each data byte of a write frame before it is stored (the frame is still
    // acknowledged). The same seed gives the same flips; without one, each setFaults draws
    // a new one.
    double noiseOut = 0;
    double noiseIn = 0;
    // A block whose every answer carries other data (a loose contact at one spot): the
    // read request's request number is mixed into its last data byte. -1: none.
    int unstableBlock = -1;
    std::optional<std::uint64_t> seed;
};

// Plays a QX-7420 on a pseudo-terminal: answers the handshake with 'P', read requests
// with 'W' frames from its 1 KiB memory and write frames with ACK, sending at the pace of
// a 9600-baud line. Runs its own thread; every public call is safe from any thread.
class RadioEmulator {
public:
    static constexpr int kMemorySize = 1024;
    using Memory = std::array<std::uint8_t, kMemorySize>;

    RadioEmulator();
    ~RadioEmulator();
    RadioEmulator(const RadioEmulator &) = delete;
    RadioEmulator &operator=(const RadioEmulator &) = delete;

    // Opens the pseudo-terminal and starts answering. False with a reason on failure.
    bool start(QString *error = nullptr);
    // Stops the thread, closes the terminal and removes the link, if any.
    void stop();
    // False once stopped or hung up.
    bool running() const { return m_running.load(); }

    // The device a serial port must open (the pty slave).
    QString slavePath() const;
    // Creates a symbolic link to the slave; it is removed by stop().
    bool makeLink(const QString &linkPath, QString *error = nullptr);

    void setFaults(const EmulatorFaults &faults);
    // Per-byte time on the line, both ways: a request is handled once its last byte could
    // have arrived, a reply goes out at the same pace. 0 makes the line instant.
    void setByteTimeMicros(int micros);
    // The radio's own time between a request it has received and its reply.
    void setThinkMillis(int ms);

    Memory memory() const;
    void setMemory(const Memory &memory);
    void fillMemory(std::uint8_t value);
    // A raw 1024-byte dump, or a working-file style image whose 12-byte frames are
    // placed at the address they carry.
    bool loadImage(const QString &path, QString *error = nullptr);
    bool saveRaw(const QString &path, QString *error = nullptr) const;
    // 35 records in the order a read fetches them, as the radio would send them.
    bool saveDat(const QString &path, QString *error = nullptr) const;
    static QByteArray datImage(const Memory &memory);

    // Every complete frame received, in order.
    std::vector<QByteArray> receivedFrames() const;
    int requestCount() const;
    void clearLog();
    // Called on the emulator's thread for each frame received.
    void setFrameLogger(std::function<void(const QByteArray &)> logger);

    // The addresses of the 35 blocks a read fetches, in step order.
    static const std::array<std::uint16_t, 35> &readAddresses();

private:
    struct LineByte {
        std::int64_t dueMicros;
        std::uint8_t byte;
    };
    void run();
    // Bytes as the pty hands them over: each is taken in once the line could carry it.
    void receive(const std::uint8_t *data, int count);
    void handleInput(const std::uint8_t *data, int count);
    void handleFrame(const QByteArray &frame);
    void queueReply(int delayMs, QByteArray reply);
    // Flips one random bit of each byte from..end with probability p; m_mutex held.
    void addNoise(std::uint8_t *from, std::uint8_t *end, double p);
    void hangUp();

    mutable std::mutex m_mutex;
    Memory m_memory;
    EmulatorFaults m_faults;
    std::mt19937_64 m_noise; // seeded by setFaults
    std::vector<QByteArray> m_frames;
    std::function<void(const QByteArray &)> m_logger;
    int m_byteTimeMicros = 1042;
    int m_thinkMillis = 0;

    int m_master = -1;
    int m_slave = -1; // held open so the master never sees a hang-up between clients
    int m_wakePipe[2] = {-1, -1};
    QString m_slavePath;
    QString m_linkPath;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stopRequested{false};

    // Touched by the emulator thread only.
    QByteArray m_inbuf;
    std::int64_t m_inbufSince = 0;
    std::deque<LineByte> m_in;
    std::int64_t m_inLineFreeAt = 0;
    std::deque<LineByte> m_out;
    std::int64_t m_lineFreeAt = 0;
};

} // namespace qx
