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
//
// Anyone on the LAN can send fragments that never complete. Each sender
// (address and port) may keep only a few sets under way, and when all senders
// together hold too many sets or bytes, the oldest set of the sender holding
// the most goes first: a flooder pushes out its own sets, not a server's.
class SplitReassembler
{
public:
    static constexpr qint64 MaxAgeMs = 5000;      // an incomplete set is dropped after this
    static constexpr int MaxSetsPerSender = 4;     // a server has its players and rules under way
    static constexpr int MaxSets = 256;            // sets under way at once, all senders
    static constexpr int MaxFragments = 256;       // per set
    static constexpr int MaxSetBytes = 1 << 20;
    static constexpr int MaxBytes = 8 << 20;       // kept at once, all senders

    // Takes one split datagram from `sender`/`port`; returns the whole reply
    // (starting FF FF FF FF) when this datagram completes its set.
    std::optional<QByteArray> add(quint32 sender, quint16 port, const QByteArray &datagram, qint64 nowMs);

    int pendingSets() const { return int(m_sets.size()); }
    int pendingBytes() const { return m_totalBytes; }

private:
    struct Key
    {
        quint32 sender;
        quint16 port;
        quint32 id;
        bool operator==(const Key &o) const { return sender == o.sender && port == o.port && id == o.id; }
    };
    friend size_t qHash(const Key &k, size_t seed) { return qHashMulti(seed, k.sender, k.port, k.id); }
    static quint64 senderOf(const Key &k) { return (quint64(k.sender) << 16) | k.port; }

    struct Set
    {
        qint64 started = 0;
        quint64 serial = 0; // creation order, oldest lowest
        int bytes = 0;
        QVector<QByteArray> fragments;
    };

    struct Load
    {
        int sets = 0;
        int bytes = 0;
    };

    using Iterator = QHash<Key, Set>::iterator;

    static std::optional<QByteArray> assemble(const Set &set);
    void expire(qint64 nowMs);
    Iterator drop(Iterator it); // returns the set after it
    Iterator oldestSetOf(quint64 sender);
    // The oldest set among the senders that hold the most sets.
    Iterator evictionVictim();

    QHash<Key, Set> m_sets;
    QHash<quint64, Load> m_loads; // per sender
    int m_totalBytes = 0;
    quint64 m_nextSerial = 0;
};
