// The three info parsers ('m', 'I' and the old text reply) on any bytes, and
// what they yield listed in the server list.
//
// Checks: an old reply's numbers never wrap (a plain decimal above 255 reads
// as 255); the list never shows a control character.
#include "fuzzsupport.h"

#include "query/infoparse.h"
#include "scan/autoconnectstate.h"
#include "scan/serverlistmodel.h"
#include "settings/settingsmodel.h"

namespace {

const QString From = QStringLiteral("127.0.0.1");

// The number an old reply's text stands for, when it is plain digits.
std::optional<int> plainNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return text.toInt();
}

void checkNumber(const QString &text, int parsed)
{
    if (const auto number = plainNumber(text))
        FUZZ_CHECK(parsed == qMin(*number, 255));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body = bytesOf(data, size);
    QVector<ServerInfo> infos;
    for (const char *header : {"\xFF\xFF\xFF\xFF\x6D", "\xFF\xFF\xFF\xFF\x49"}) {
        const QByteArray reply = QByteArray(header, 5) + body;
        if (const auto info = header[4] == 'm' ? parseHalfLifeInfo(reply, 27015, From) : parseSourceInfo(reply, 27015, From))
            infos << *info;
    }
    const QByteArray oldReply = QByteArray("\xFF\xFF\xFF\xFFinfostringresponse", 22) + '\0' + body;
    if (const auto info = parseOldInfo(oldReply, 27015, From)) {
        const QString text = QString::fromUtf8(body);
        const auto value = [&](const char *key) { return infoStringValue(text, QLatin1String(key), QStringLiteral("\\")); };
        checkNumber(value("\\protocol\\"), info->protocol);
        checkNumber(value("\\players\\"), info->players);
        checkNumber(value("\\max\\"), info->maxPlayers);
        checkNumber(value("\\password\\"), info->password);
        infos << *info;
    }

    SettingsModel settings;
    const AutoConnectState autoConnect;
    ServerListModel list(settings, autoConnect);
    for (int i = 0; i < infos.size(); ++i) {
        infos[i].port += i; // one row each
        list.addOrUpdate(infos[i]);
    }
    for (int row = 0; row < list.rowCount(); ++row) {
        for (int column = 0; column < list.columnCount(); ++column)
            FUZZ_CHECK(!hasControlCharacter(list.data(list.index(row, column)).toString()));
    }
    return 0;
}
