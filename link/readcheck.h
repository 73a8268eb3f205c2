#pragma once

#include <QByteArray>
#include <QList>
#include <map>

namespace qx {

// Whether the blocks of a read can be trusted: the protocol carries no checksum, so a bit
// flipped on the line would otherwise be stored as the radio's. A block counts once it has
// come the same twice in a row. After the first pass every block is asked again; a block
// whose answers differ is asked again until two in a row agree, at most four more times.
// On a line that has shown noise (two answers of one block differed), two like answers may
// both be wrong the same way: every block then needs three like answers in a row.
//
// Against an expected image (the read-back after a write) a block also settles when its
// answer is what was written; only blocks that differ from it are asked again.
class ReadCheck {
public:
    static constexpr int kMoreAsks = 4;

    ReadCheck() = default;
    explicit ReadCheck(QByteArray expected) : m_expected(std::move(expected)) {}

    // A read begins, or begins again from the handshake: every answer so far is forgotten.
    void restart();
    // The data of block record's answer.
    void answered(int record, const QByteArray &data);
    // Once the blocks asked for so far have answered: the blocks to ask for next, in order;
    // empty when none is left to ask (then either all settled or some gave up).
    QList<int> next();
    // The blocks that did not settle within their asks, after next() came back empty.
    QList<int> unstable() const;
    bool noiseSeen() const { return m_noise; }
    // A plain read asks every block a second time; a read-back only those that differ.
    bool asksEveryBlockTwice() const { return m_expected.isEmpty(); }

private:
    struct Block {
        QList<QByteArray> answers;
    };
    bool settled(int record, const Block &block) const;
    bool expected(int record, const QByteArray &data) const;
    int needed() const { return m_noise ? 3 : 2; }

    QByteArray m_expected; // empty: none
    std::map<int, Block> m_blocks;
    bool m_noise = false;
};

} // namespace qx
