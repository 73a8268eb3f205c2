#include "radioemulator.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace qx {

namespace {

constexpr std::uint8_t kStx = 0x02;
constexpr std::uint8_t kRead = 0x52;  // 'R'
constexpr std::uint8_t kWrite = 0x57; // 'W'
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kProgramOk = 0x50; // 'P'
constexpr int kHandshakeSize = 8;
constexpr int kReadRequestSize = 5;
constexpr int kWriteFrameSize = 13;
constexpr int kBlockSize = 8;
// A frame that stays incomplete this long is dropped, so one lost byte does not
// shift every later frame.
constexpr std::int64_t kResyncMicros = 50'000;

std::int64_t nowMicros() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

QString systemError(const char *what) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

void setError(QString *error, const QString &text) {
    if (error)
        *error = text;
}

int frameSize(std::uint8_t first) {
    switch (first) {
    case kStx:
        return kHandshakeSize;
    case kRead:
        return kReadRequestSize;
    case kWrite:
        return kWriteFrameSize;
    default:
        return 0;
    }
}

} // namespace

RadioEmulator::RadioEmulator() {
    m_memory.fill(0xFF);
}

RadioEmulator::~RadioEmulator() {
    stop();
}

const std::array<std::uint16_t, 35> &RadioEmulator::readAddresses() {
    // Its own copy of the record map on purpose: an independent check of the program's.
    static const std::array<std::uint16_t, 35> addresses = [] {
        std::array<std::uint16_t, 35> a{};
        for (int i = 0; i < 32; ++i)
            a[i] = static_cast<std::uint16_t>(0x0010 + kBlockSize * i);
        a[32] = 0x03C0;
        a[33] = 0x03D0;
        a[34] = 0x03F0;
        return a;
    }();
    return addresses;
}

bool RadioEmulator::start(QString *error) {
    if (m_running.load() || m_thread.joinable()) {
        setError(error, QStringLiteral("emulator already started"));
        return false;
    }
    // Close-on-exec: a program started meanwhile (the CLI under test) must not inherit the
    // line's ends, or a hang-up would leave the line alive in that program.
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        setError(error, systemError("posix_openpt"));
        return false;
    }
    char name[128];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        setError(error, systemError("pty set-up"));
        ::close(m_master);
        m_master = -1;
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    termios tio{};
    if (m_slave < 0 || tcgetattr(m_slave, &tio) != 0) {
        setError(error, systemError("pty slave"));
        stop();
        return false;
    }
    cfmakeraw(&tio);
    tcsetattr(m_slave, TCSANOW, &tio);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    if (pipe2(m_wakePipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        setError(error, systemError("pipe"));
        stop();
        return false;
    }
    m_inbuf.clear();
    m_in.clear();
    m_inLineFreeAt = 0;
    m_out.clear();
    m_lineFreeAt = 0;
    m_stopRequested = false;
    m_running = true;
    m_thread = std::thread([this] { run(); });
    return true;
}

void RadioEmulator::stop() {
    m_stopRequested = true;
    if (m_wakePipe[1] >= 0) {
        const char c = 0;
        [[maybe_unused]] auto n = ::write(m_wakePipe[1], &c, 1);
    }
    if (m_thread.joinable())
        m_thread.join();
    m_running = false;
    for (int *fd : {&m_master, &m_slave, &m_wakePipe[0], &m_wakePipe[1]}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    if (!m_linkPath.isEmpty()) {
        ::unlink(QFile::encodeName(m_linkPath).constData());
        m_linkPath.clear();
    }
}

QString RadioEmulator::slavePath() const {
    return m_slavePath;
}

bool RadioEmulator::makeLink(const QString &linkPath, QString *error) {
    const QByteArray path = QFile::encodeName(linkPath);
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            setError(error, linkPath + QStringLiteral(": exists and is not a link"));
            return false;
        }
        ::unlink(path.constData());
    }
    if (::symlink(QFile::encodeName(m_slavePath).constData(), path.constData()) != 0) {
        setError(error,
                 linkPath + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_linkPath = linkPath;
    return true;
}

void RadioEmulator::setFaults(const EmulatorFaults &faults) {
    std::lock_guard lock(m_mutex);
    m_faults = faults;
    m_noise.seed(faults.seed ? *faults.seed : std::random_device{}());
}

void RadioEmulator::addNoise(std::uint8_t *from, std::uint8_t *end, double p) {
    if (p <= 0)
        return;
    std::bernoulli_distribution flips(std::min(p, 1.0));
    std::uniform_int_distribution<int> bit(0, 7);
    for (std::uint8_t *b = from; b != end; ++b)
        if (flips(m_noise))
            *b ^= std::uint8_t(1u << bit(m_noise));
}

void RadioEmulator::setByteTimeMicros(int micros) {
    std::lock_guard lock(m_mutex);
    m_byteTimeMicros = std::max(0, micros);
}

void RadioEmulator::setThinkMillis(int ms) {
    std::lock_guard lock(m_mutex);
    m_thinkMillis = std::max(0, ms);
}

RadioEmulator::Memory RadioEmulator::memory() const {
    std::lock_guard lock(m_mutex);
    return m_memory;
}

void RadioEmulator::setMemory(const Memory &memory) {
    std::lock_guard lock(m_mutex);
    m_memory = memory;
}

void RadioEmulator::fillMemory(std::uint8_t value) {
    std::lock_guard lock(m_mutex);
    m_memory.fill(value);
}

bool RadioEmulator::loadImage(const QString &path, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, path + QStringLiteral(": ") + file.errorString());
        return false;
    }
    const QByteArray raw = file.readAll();
    std::lock_guard lock(m_mutex);
    if (raw.size() == kMemorySize) {
        std::copy(raw.begin(), raw.end(), m_memory.begin());
        return true;
    }
    for (int at = 0; at + 12 <= raw.size(); at += 12) {
        const auto *frame = reinterpret_cast<const std::uint8_t *>(raw.constData() + at);
        const int address = frame[1] << 8 | frame[2];
        if (address + kBlockSize <= kMemorySize)
            std::copy(frame + 4, frame + 12, m_memory.begin() + address);
    }
    return true;
}

namespace {
bool writeFile(const QString &path, const QByteArray &bytes, QString *error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        setError(error, path + QStringLiteral(": ") + file.errorString());
        return false;
    }
    return true;
}
} // namespace

bool RadioEmulator::saveRaw(const QString &path, QString *error) const {
    const Memory mem = memory();
    return writeFile(path, QByteArray(reinterpret_cast<const char *>(mem.data()), kMemorySize),
                     error);
}

bool RadioEmulator::saveDat(const QString &path, QString *error) const {
    return writeFile(path, datImage(memory()), error);
}

QByteArray RadioEmulator::datImage(const Memory &memory) {
    QByteArray out;
    for (std::uint16_t address : readAddresses()) {
        out.append(char(kWrite));
        out.append(char(address >> 8));
        out.append(char(address & 0xFF));
        out.append(char(kBlockSize));
        out.append(reinterpret_cast<const char *>(memory.data() + address), kBlockSize);
    }
    return out;
}

std::vector<QByteArray> RadioEmulator::receivedFrames() const {
    std::lock_guard lock(m_mutex);
    return m_frames;
}

int RadioEmulator::requestCount() const {
    std::lock_guard lock(m_mutex);
    return int(m_frames.size());
}

void RadioEmulator::clearLog() {
    std::lock_guard lock(m_mutex);
    m_frames.clear();
}

void RadioEmulator::setFrameLogger(std::function<void(const QByteArray &)> logger) {
    std::lock_guard lock(m_mutex);
    m_logger = std::move(logger);
}

void RadioEmulator::run() {
    std::uint8_t buf[256];
    while (!m_stopRequested.load() && m_master >= 0) {
        std::int64_t now = nowMicros();
        if (!m_in.empty() && m_in.front().dueMicros <= now) {
            int n = 0;
            while (!m_in.empty() && m_in.front().dueMicros <= now && n < int(sizeof buf)) {
                buf[n++] = m_in.front().byte;
                m_in.pop_front();
            }
            handleInput(buf, n);
            if (m_master < 0)
                break; // hung up
            now = nowMicros();
        }
        if (!m_out.empty() && m_out.front().dueMicros <= now) {
            int n = 0;
            while (!m_out.empty() && m_out.front().dueMicros <= now && n < int(sizeof buf)) {
                buf[n++] = m_out.front().byte;
                m_out.pop_front();
            }
            // A full pty buffer means nobody reads; the bytes are lost as on a real line.
            [[maybe_unused]] auto written = ::write(m_master, buf, n);
        }
        if (!m_inbuf.isEmpty() && now - m_inbufSince > kResyncMicros)
            m_inbuf.clear();

        std::int64_t timeout = -1;
        for (const auto *line : {&m_in, &m_out}) {
            if (line->empty())
                continue;
            const std::int64_t due = std::max<std::int64_t>(0, line->front().dueMicros - now);
            timeout = timeout < 0 ? due : std::min(timeout, due);
        }
        if (!m_inbuf.isEmpty()) {
            const std::int64_t resync =
                std::max<std::int64_t>(0, m_inbufSince + kResyncMicros + 1 - now);
            timeout = timeout < 0 ? resync : std::min(timeout, resync);
        }
        timespec ts{};
        ts.tv_sec = timeout / 1'000'000;
        ts.tv_nsec = (timeout % 1'000'000) * 1000;
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        const int ready = ::ppoll(fds, 2, timeout < 0 ? nullptr : &ts, nullptr);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents)
            break;
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0)
                receive(buf, int(n));
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Only while no side holds the slave open; wait for a client without spinning.
            ::usleep(1000);
        }
    }
    m_running = false;
}

void RadioEmulator::receive(const std::uint8_t *data, int count) {
    int byteTime;
    {
        std::lock_guard lock(m_mutex);
        byteTime = m_byteTimeMicros;
    }
    // The pty delivers a whole write at once; a serial line takes a byte time per byte.
    std::int64_t due = std::max(nowMicros(), m_inLineFreeAt);
    for (int i = 0; i < count; ++i) {
        due += byteTime;
        m_in.push_back({due, data[i]});
    }
    m_inLineFreeAt = due;
}

void RadioEmulator::handleInput(const std::uint8_t *data, int count) {
    if (m_inbuf.isEmpty())
        m_inbufSince = nowMicros();
    m_inbuf.append(reinterpret_cast<const char *>(data), count);
    while (!m_inbuf.isEmpty() && m_master >= 0) {
        const int size = frameSize(std::uint8_t(m_inbuf.at(0)));
        if (size == 0) {
            m_inbuf.remove(0, 1);
            continue;
        }
        if (m_inbuf.size() < size)
            break;
        const QByteArray frame = m_inbuf.left(size);
        m_inbuf.remove(0, size);
        handleFrame(frame);
        m_inbufSince = nowMicros();
    }
}

void RadioEmulator::handleFrame(const QByteArray &frame) {
    const auto *b = reinterpret_cast<const std::uint8_t *>(frame.constData());
    std::function<void(const QByteArray &)> logger;
    EmulatorFaults faults;
    int request = 0;
    QByteArray reply;
    {
        std::lock_guard lock(m_mutex);
        m_frames.push_back(frame);
        request = int(m_frames.size());
        logger = m_logger;
        faults = m_faults;
        if (b[0] == kStx) {
            if (frame == QByteArray("\x02PROGRAM", kHandshakeSize))
                reply = QByteArray(1, char(kProgramOk));
        } else {
            const int address = b[1] << 8 | b[2];
            const bool inRange = address + kBlockSize <= kMemorySize && b[3] == kBlockSize;
            if (b[0] == kRead && inRange && b[4] == kAck) {
                reply = frame.left(4);
                reply[0] = char(kWrite);
                reply.append(reinterpret_cast<const char *>(m_memory.data() + address), kBlockSize);
                if (address == m_faults.unstableBlock)
                    reply[reply.size() - 1] = char(reply.back() ^ ((request & 0x7F) | 0x80));
            } else if (b[0] == kWrite && inRange && b[12] == kAck) {
                std::copy(b + 4, b + 12, m_memory.begin() + address);
                addNoise(m_memory.data() + address, m_memory.data() + address + kBlockSize,
                         m_faults.noiseIn);
                if (m_faults.corruptStore == request)
                    m_memory[std::size_t(address + kBlockSize - 1)] ^= 0xFF;
                reply = QByteArray(1, char(kAck));
            }
        }
    }
    if (logger)
        logger(frame);
    if (faults.hangUpAt == request) {
        hangUp();
        return;
    }
    const bool dropped = std::find(faults.dropReplies.begin(), faults.dropReplies.end(), request) !=
                             faults.dropReplies.end() ||
                         (faults.silentFrom > 0 && request >= faults.silentFrom);
    if (dropped || reply.isEmpty())
        return;
    if (faults.corruptReply == request)
        reply[0] = char(~std::uint8_t(reply[0]));
    if (faults.shortReply == request || (faults.shortFrom > 0 && request >= faults.shortFrom))
        reply.truncate(std::max(0, faults.shortBytes));
    {
        std::lock_guard lock(m_mutex);
        auto *bytes = reinterpret_cast<std::uint8_t *>(reply.data());
        addNoise(bytes, bytes + reply.size(), faults.noiseOut);
    }
    queueReply(faults.lateReply == request ? faults.lateMs : 0, reply);
}

void RadioEmulator::queueReply(int delayMs, QByteArray reply) {
    int byteTime, think;
    {
        std::lock_guard lock(m_mutex);
        byteTime = m_byteTimeMicros;
        think = m_thinkMillis;
    }
    const std::int64_t start =
        std::max(nowMicros() + std::int64_t(think + delayMs) * 1000, m_lineFreeAt);
    std::int64_t due = start;
    for (char c : reply) {
        due += byteTime;
        m_out.push_back({due, std::uint8_t(c)});
    }
    m_lineFreeAt = due;
}

void RadioEmulator::hangUp() {
    // Closing both ends is what a pulled cable looks like to the port: reads fail.
    ::close(m_master);
    m_master = -1;
    if (m_slave >= 0)
        ::close(m_slave);
    m_slave = -1;
    m_in.clear();
    m_out.clear();
    m_running = false;
}

} // namespace qx
