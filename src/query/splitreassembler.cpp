#include "query/splitreassembler.h"

#include <QtEndian>

namespace {

constexpr int GoldSrcHeader = 9;
constexpr int SourceHeader = 12;
constexpr quint32 CompressedFlag = 0x80000000u;

enum class Layout { Unknown, GoldSrc, Source };

bool startsWithReplyHeader(const QByteArray &d, int at)
{
    return d.size() >= at + 4 && quint8(d[at]) == 0xFF && quint8(d[at + 1]) == 0xFF && quint8(d[at + 2]) == 0xFF
        && quint8(d[at + 3]) == 0xFF;
}

// Recognises a first fragment and tells its layout and the fragment count.
Layout firstFragmentLayout(const QByteArray &d, int &count)
{
    const quint8 b8 = quint8(d[8]);
    if ((b8 >> 4) == 0 && (b8 & 0x0F) != 0 && startsWithReplyHeader(d, GoldSrcHeader)) {
        count = b8 & 0x0F;
        return Layout::GoldSrc;
    }
    if (d.size() >= SourceHeader && b8 != 0 && quint8(d[9]) == 0 && startsWithReplyHeader(d, SourceHeader)) {
        count = b8;
        return Layout::Source;
    }
    return Layout::Unknown;
}

// Number of a fragment under a known layout; -1 when it does not fit the set.
int fragmentNumber(const QByteArray &d, Layout layout, int count)
{
    const quint8 b8 = quint8(d[8]);
    if (layout == Layout::GoldSrc)
        return (b8 & 0x0F) == count ? (b8 >> 4) : -1;
    if (d.size() < SourceHeader || b8 != count)
        return -1;
    return quint8(d[9]);
}

} // namespace

std::optional<QByteArray> SplitReassembler::add(quint32 sender, quint16 port, const QByteArray &datagram, qint64 nowMs)
{
    expire(nowMs);
    if (datagram.size() < GoldSrcHeader)
        return std::nullopt;
    const quint32 id = qFromLittleEndian<quint32>(datagram.constData() + 4);
    const Key key{sender, port, id};
    auto it = m_sets.find(key);
    if (id & CompressedFlag) {
        // Compressed sets are not supported; drop whatever came of them.
        if (it != m_sets.end())
            drop(it);
        return std::nullopt;
    }

    const quint64 from = senderOf(key);
    if (it == m_sets.end()) {
        it = m_sets.insert(key, Set{nowMs, m_nextSerial++, 0, {}});
        // A sender's new set pushes out its own oldest one, never another sender's.
        if (++m_loads[from].sets > MaxSetsPerSender) {
            drop(oldestSetOf(from));
            it = m_sets.find(key); // erasing moves the entries of a QHash
        }
    }
    Set &set = it.value();
    if (set.fragments.size() >= MaxFragments || set.bytes + datagram.size() > MaxSetBytes) {
        drop(it);
        return std::nullopt;
    }
    set.fragments.append(datagram);
    set.bytes += int(datagram.size());
    m_loads[from].bytes += int(datagram.size());
    m_totalBytes += int(datagram.size());

    std::optional<QByteArray> whole = assemble(set);
    if (whole) {
        drop(it);
        return whole;
    }
    while (m_sets.size() > MaxSets || m_totalBytes > MaxBytes)
        drop(evictionVictim());
    return std::nullopt;
}

std::optional<QByteArray> SplitReassembler::assemble(const Set &set)
{
    // The fragment whose piece carries the reply header is piece 0 and tells
    // the layout; any other fragment numbered 0 is a stray and never used.
    const QByteArray *first = nullptr;
    Layout layout = Layout::Unknown;
    int count = 0;
    for (const QByteArray &d : set.fragments) {
        layout = firstFragmentLayout(d, count);
        if (layout != Layout::Unknown) {
            first = &d;
            break;
        }
    }
    if (!first || set.fragments.size() < count)
        return std::nullopt;

    QVector<const QByteArray *> pieces(count, nullptr);
    pieces[0] = first;
    int found = 1;
    for (const QByteArray &d : set.fragments) {
        const int n = fragmentNumber(d, layout, count);
        if (n > 0 && n < count && !pieces[n]) {
            pieces[n] = &d;
            ++found;
        }
    }
    if (found < count)
        return std::nullopt;

    const int header = layout == Layout::GoldSrc ? GoldSrcHeader : SourceHeader;
    QByteArray whole;
    for (const QByteArray *d : pieces)
        whole.append(d->constData() + header, d->size() - header);
    return whole;
}

void SplitReassembler::expire(qint64 nowMs)
{
    for (auto it = m_sets.begin(); it != m_sets.end();) {
        if (nowMs - it->started > MaxAgeMs)
            it = drop(it);
        else
            ++it;
    }
}

SplitReassembler::Iterator SplitReassembler::drop(Iterator it)
{
    const quint64 from = senderOf(it.key());
    auto load = m_loads.find(from);
    load->bytes -= it->bytes;
    if (--load->sets == 0)
        m_loads.erase(load);
    m_totalBytes -= it->bytes;
    return m_sets.erase(it);
}

SplitReassembler::Iterator SplitReassembler::oldestSetOf(quint64 sender)
{
    Iterator oldest = m_sets.end();
    for (auto it = m_sets.begin(); it != m_sets.end(); ++it) {
        if (senderOf(it.key()) == sender && (oldest == m_sets.end() || it->serial < oldest->serial))
            oldest = it;
    }
    return oldest;
}

SplitReassembler::Iterator SplitReassembler::evictionVictim()
{
    // Among equal holders the oldest set goes: a server's set is young, it
    // completes within moments of its first fragment.
    Iterator victim = m_sets.end();
    int victimLoad = 0;
    for (auto it = m_sets.begin(); it != m_sets.end(); ++it) {
        const int load = m_loads.value(senderOf(it.key())).sets;
        if (victim == m_sets.end() || load > victimLoad || (load == victimLoad && it->serial < victim->serial)) {
            victim = it;
            victimLoad = load;
        }
    }
    return victim;
}
