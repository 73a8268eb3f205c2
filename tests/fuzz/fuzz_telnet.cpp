// The bytes a network server sends to an rfc2217:// port, through the telnet codec.
// The first input byte chooses the chunk size the bytes arrive in; the rest is the server's.
// - The payload and the answers do not depend on how the bytes were split.
// - The payload is never longer than what came.
// - Answers are whole IAC WILL/WONT/DO/DONT sequences; the codec agrees to binary, COM-PORT
//   (on its own side only) and no go-ahead, never to echo or anything else.
// - Data escaped by the codec decodes to itself in a fresh codec.
#include "fuzzcheck.h"
#include "telnetcodec.h"

using namespace qx;

namespace {

struct Decoded {
    QByteArray payload, reply;
    bool ready = false, refused = false;
};

Decoded decodeIn(const QByteArray &bytes, int chunk) {
    TelnetCodec codec;
    codec.start();
    Decoded d;
    for (int at = 0; at < bytes.size(); at += chunk)
        d.payload += codec.decode(bytes.mid(at, chunk), d.reply);
    d.ready = codec.ready();
    d.refused = codec.refused();
    return d;
}

bool agreeable(std::uint8_t option) {
    return option == TelnetCodec::kBinary || option == TelnetCodec::kComPort ||
           option == TelnetCodec::kSuppressGoAhead;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    const int chunk = 1 + data[0] % 16;
    const QByteArray bytes = fuzz::bytesOf(data + 1, size - 1);

    const Decoded whole = decodeIn(bytes, int(bytes.size()) + 1);
    const Decoded split = decodeIn(bytes, chunk);
    FUZZ_CHECK(whole.payload == split.payload);
    FUZZ_CHECK(whole.reply == split.reply);
    FUZZ_CHECK(whole.ready == split.ready && whole.refused == split.refused);
    FUZZ_CHECK(whole.payload.size() <= bytes.size());

    FUZZ_CHECK(whole.reply.size() % 3 == 0);
    for (int i = 0; i < whole.reply.size(); i += 3) {
        const auto iac = std::uint8_t(whole.reply[i]), verb = std::uint8_t(whole.reply[i + 1]),
                   option = std::uint8_t(whole.reply[i + 2]);
        FUZZ_CHECK(iac == TelnetCodec::kIac && verb >= 251 && verb <= 254);
        const bool agrees = verb == 251 || verb == 253; // WILL, DO
        FUZZ_CHECK(!agrees || agreeable(option));
        FUZZ_CHECK(!(agrees && option == TelnetCodec::kComPort && verb == 253));
    }

    TelnetCodec fresh;
    QByteArray reply;
    FUZZ_CHECK(fresh.decode(TelnetCodec::escape(bytes), reply) == bytes);
    FUZZ_CHECK(reply.isEmpty());
    return 0;
}
