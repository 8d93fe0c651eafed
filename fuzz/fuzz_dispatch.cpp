// The datagram dispatch as the endpoint drives it: datagrams from a few hostile
// senders, with the three split parts of the players reply of the one server
// that was asked slipped in among them where the input says.
//
// Input: three bytes giving the positions of the genuine parts, then records of
// one control byte, one length byte and that many bytes of data. The control
// byte picks the sender (bits 0-1 the address, 2-3 the port) and a header put
// before the data (bits 6-7: none, split FE FF FF FF, reply FF FF FF FF, none).
//
// Checks: the genuine players arrive once and whole whatever the others send;
// nothing else fills the players or rules list; every reassembled reply
// starts FF FF FF FF; the reassembler stays within its limits; the server
// list never shows a control character.
#include "fuzzsupport.h"

#include "net/udpendpoint.h"
#include "query/queryprotocol.h"
#include "query/splitreassembler.h"
#include "scan/autoconnectstate.h"
#include "scan/serverlistmodel.h"
#include "settings/settingsmodel.h"

#include <QtEndian>

#include <algorithm>

namespace {

constexpr size_t MaxInput = 4096;
constexpr quint16 FirstPort = 27015;
const QString Genuine = QStringLiteral("127.0.93.1");
const QString Hostile[] = {QStringLiteral("127.0.93.2"), QStringLiteral("127.0.93.3"), QStringLiteral("127.0.93.4"),
                           QStringLiteral("127.0.93.5")};

QVector<PlayerRow> genuinePlayers()
{
    return {{QStringLiteral("Gordon"), 21}, {QStringLiteral("Alyx"), 17}, {QStringLiteral("Barney"), -3}};
}

// The genuine players reply in three GoldSrc parts.
QVector<QByteArray> genuineParts()
{
    QByteArray reply("\xFF\xFF\xFF\xFF\x44\x03", 6);
    for (const PlayerRow &p : genuinePlayers()) {
        reply += '\0' + p.name.toUtf8() + '\0';
        char frags[4];
        qToLittleEndian(p.frags, frags);
        reply += QByteArray(frags, 4) + QByteArray(4, '\0');
    }
    const int piece = int(reply.size() + 2) / 3;
    QVector<QByteArray> parts;
    for (int n = 0; n < 3; ++n)
        parts << QByteArray("\xFE\xFF\xFF\xFF\x11\x47\x00\x00", 8) + char((n << 4) | 3) + reply.mid(n * piece, piece);
    return parts;
}

struct Datagram
{
    QByteArray data;
    QString from;
    quint16 port = 0;
};

QVector<Datagram> records(const uint8_t *data, size_t size)
{
    QVector<Datagram> out;
    size_t at = 0;
    while (at + 2 <= size) {
        const uint8_t control = data[at];
        const size_t length = std::min<size_t>(data[at + 1], size - at - 2);
        Datagram d;
        static const char *const headers[] = {"", "\xFE\xFF\xFF\xFF", "\xFF\xFF\xFF\xFF", ""};
        d.data = QByteArray(headers[control >> 6]) + bytesOf(data + at + 2, length);
        d.from = Hostile[control & 3];
        d.port = quint16(FirstPort + ((control >> 2) & 3));
        out << d;
        at += 2 + length;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3 || size > MaxInput)
        return 0;
    ensureApplication();
    static UdpEndpoint udp(0);

    QVector<Datagram> sequence = records(data + 3, size - 3);
    const QVector<QByteArray> parts = genuineParts();
    for (int n = 2; n >= 0; --n) {
        const int at = int(data[n] % (sequence.size() + 1));
        sequence.insert(at, Datagram{parts[n], Genuine, FirstPort});
    }

    SettingsModel settings;
    settings.scanOld = false;
    const AutoConnectState autoConnect;
    // Without the old protocol no detail request waits.
    QueryProtocol protocol(udp, [] { return false; });
    ServerListModel list(settings, autoConnect);
    QObject::connect(&protocol, &QueryProtocol::serverInfoReceived, &list, &ServerListModel::addOrUpdate);
    int genuineArrived = 0;
    QObject::connect(&protocol, &QueryProtocol::playersReceived, [&](const QVector<PlayerRow> &players) {
        FUZZ_CHECK(players == genuinePlayers());
        ++genuineArrived;
    });
    QObject::connect(&protocol, &QueryProtocol::rulesReceived, [](const QVector<RuleRow> &) { FUZZ_CHECK(false); });
    protocol.requestPlayers(Genuine, FirstPort);

    SplitReassembler splits;
    for (const Datagram &d : sequence) {
        quint32 address = 0;
        parseIpv4(d.from, address);
        protocol.dispatch(ReceivedDatagram{d.data, address, d.port, 0});
        if (d.data.startsWith('\xFE') && d.from != Genuine) {
            if (const auto whole = splits.add(address, d.port, d.data, 0))
                FUZZ_CHECK(whole->startsWith(QByteArray("\xFF\xFF\xFF\xFF", 4)));
            FUZZ_CHECK(splits.pendingSets() <= SplitReassembler::MaxSets);
            FUZZ_CHECK(splits.pendingBytes() <= SplitReassembler::MaxBytes);
        }
    }
    FUZZ_CHECK(genuineArrived == 1);

    for (int row = 0; row < list.rowCount(); ++row) {
        for (int column = 0; column < list.columnCount(); ++column)
            FUZZ_CHECK(!hasControlCharacter(list.data(list.index(row, column)).toString()));
    }
    return 0;
}
