#pragma once

#include <QByteArray>
#include <QHash>
#include <QVector>
#include <optional>

// Puts split replies (FE FF FF FF ...) back together. Two layouts are in use:
//   Half-Life: id (4), one byte with the fragment number in the high nibble and
//              the count in the low nibble, then the piece (header 9 bytes);
//   Source:    id (4), count (1), number (1), maximum piece size (2), then the
//              piece (header 12 bytes).
// A fragment alone does not say which layout it uses; the first fragment does,
// because its piece starts with FF FF FF FF. So fragments are kept as they came,
// per sender and id, until the first one has arrived and every number is there.
class SplitReassembler
{
public:
    static constexpr qint64 MaxAgeMs = 5000;  // an incomplete set is dropped after this
    static constexpr int MaxSets = 64;         // sets under way at once
    static constexpr int MaxFragments = 256;   // per set
    static constexpr int MaxSetBytes = 1 << 20;

    // Takes one split datagram from `sender`/`port`; returns the whole reply
    // (starting FF FF FF FF) when this datagram completes its set.
    std::optional<QByteArray> add(quint32 sender, quint16 port, const QByteArray &datagram, qint64 nowMs);

    int pendingSets() const { return int(sets.size()); }

private:
    struct Key
    {
        quint32 sender;
        quint16 port;
        quint32 id;
        bool operator==(const Key &o) const { return sender == o.sender && port == o.port && id == o.id; }
    };
    friend size_t qHash(const Key &k, size_t seed) { return qHashMulti(seed, k.sender, k.port, k.id); }

    struct Set
    {
        qint64 started = 0;
        int bytes = 0;
        QVector<QByteArray> fragments;
    };

    static std::optional<QByteArray> assemble(const Set &set);
    void expire(qint64 nowMs);

    QHash<Key, Set> sets;
};
