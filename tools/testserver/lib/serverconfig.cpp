#include "serverconfig.h"

#include <QJsonArray>
#include <QSet>

#include <cmath>

namespace {

// A key as JSON writes it, so that whatever the file holds (a line break, an
// escape sequence) stays inside the one line of the message.
QString quotedKey(const QString &key)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\')
            quoted += u'\\' + QString(c);
        else if (u == u'\n')
            quoted += QStringLiteral("\\n");
        else if (u == u'\r')
            quoted += QStringLiteral("\\r");
        else if (u == u'\t')
            quoted += QStringLiteral("\\t");
        else if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            quoted += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return quoted + u'"';
}

// Reads typed fields of one JSON object and keeps the first complaint, prefixed
// with where it was found, so a bad config is reported in one line.
class FieldReader
{
public:
    FieldReader(const QJsonObject &object, QString where, QString *error)
        : m_object(object), m_where(std::move(where)), m_error(error)
    {
    }

    bool ok() const { return m_error->isEmpty(); }
    bool has(const QString &key) const { return m_object.contains(key); }
    QJsonValue value(const QString &key) const { return m_object.value(key); }
    QString where() const { return m_where; }

    void fail(const QString &key, const QString &message)
    {
        if (ok())
            *m_error = QStringLiteral("%1%2: %3").arg(m_where, quotedKey(key), message);
    }

    void allowOnly(const QStringList &keys)
    {
        for (const QString &key : m_object.keys()) {
            if (!keys.contains(key))
                fail(key, QStringLiteral("unknown key"));
        }
    }

    void readInt(const QString &key, int *out, int min, int max)
    {
        if (!has(key))
            return;
        const QJsonValue v = value(key);
        const double d = v.toDouble();
        // The range first: converting a double beyond it is undefined.
        if (!v.isDouble() || !(d >= min && d <= max) || d != std::floor(d)) {
            fail(key, QStringLiteral("must be an integer from %1 to %2").arg(min).arg(max));
            return;
        }
        *out = int(d);
    }

    void readFlag(const QString &key, int *out)
    {
        if (has(key) && value(key).isBool())
            *out = value(key).toBool() ? 1 : 0;
        else
            readInt(key, out, 0, 1);
    }

    void readBool(const QString &key, bool *out)
    {
        if (!has(key))
            return;
        if (!value(key).isBool()) {
            fail(key, QStringLiteral("must be true or false"));
            return;
        }
        *out = value(key).toBool();
    }

    void readText(const QString &key, QByteArray *out)
    {
        if (!has(key))
            return;
        const QJsonValue v = value(key);
        if (v.isDouble())
            *out = QByteArray::number(v.toDouble());
        else if (v.isString() && !v.toString().contains(QChar(0)))
            *out = v.toString().toUtf8();
        else
            fail(key, QStringLiteral("must be a text without NUL characters"));
    }

    void readChar(const QString &key, char *out)
    {
        if (!has(key))
            return;
        const QString s = value(key).toString();
        if (s.size() != 1 || s[0].unicode() > 0x7f) {
            fail(key, QStringLiteral("must be one ASCII character"));
            return;
        }
        *out = char(s[0].unicode());
    }

    void readAddress(const QString &key, QHostAddress *out, AddressScope scope)
    {
        const QHostAddress address(value(key).toString());
        if (address.protocol() != QAbstractSocket::IPv4Protocol)
            fail(key, QStringLiteral("must be an IPv4 address"));
        else if (scope == AddressScope::LoopbackOnly && !isLoopback(address))
            fail(key, QStringLiteral("%1 is outside 127.0.0.0/8; only loopback addresses are served")
                          .arg(address.toString()));
        else
            *out = address;
    }

private:
    QJsonObject m_object;
    QString m_where;
    QString *m_error;
};

std::optional<Dialect> dialectNamed(const QString &name)
{
    if (name == QLatin1String("I"))
        return Dialect::Source;
    if (name == QLatin1String("m"))
        return Dialect::GoldSrc;
    if (name == QLatin1String("both"))
        return Dialect::Both;
    if (name == QLatin1String("old"))
        return Dialect::Old;
    return std::nullopt;
}

void readSplit(FieldReader &server, SplitConfig *split, QString *error)
{
    FieldReader r(server.value(QStringLiteral("split")).toObject(), server.where() + QStringLiteral("split."), error);
    r.allowOnly({"layout", "fragmentSize", "reverse", "appliesTo"});
    const QString layout = r.value(QStringLiteral("layout")).toString(QStringLiteral("goldsrc"));
    if (layout == QLatin1String("source"))
        split->layout = SplitLayout::Source;
    else if (layout != QLatin1String("goldsrc"))
        r.fail(QStringLiteral("layout"), QStringLiteral("must be \"goldsrc\" or \"source\""));
    split->fragmentSize = split->layout == SplitLayout::Source ? 1248 : 1391;
    r.readInt(QStringLiteral("fragmentSize"), &split->fragmentSize, 16, 65000);
    r.readBool(QStringLiteral("reverse"), &split->reverse);
    if (r.has(QStringLiteral("appliesTo"))) {
        split->forInfo = split->forPlayers = split->forRules = false;
        for (const QJsonValue &v : r.value(QStringLiteral("appliesTo")).toArray()) {
            const QString kind = v.toString();
            if (kind == QLatin1String("info"))
                split->forInfo = true;
            else if (kind == QLatin1String("players"))
                split->forPlayers = true;
            else if (kind == QLatin1String("rules"))
                split->forRules = true;
            else
                r.fail(QStringLiteral("appliesTo"), QStringLiteral("may hold only \"info\", \"players\" and \"rules\""));
        }
    }
}

void readPlayerList(FieldReader &server, QList<PlayerEntry> *players, QString *error)
{
    const QJsonArray list = server.value(QStringLiteral("playerList")).toArray();
    for (int i = 0; i < list.size(); ++i) {
        FieldReader r(list[i].toObject(), server.where() + QStringLiteral("playerList[%1].").arg(i), error);
        r.allowOnly({"name", "frags", "time"});
        PlayerEntry entry;
        int frags = 0;
        r.readText(QStringLiteral("name"), &entry.name);
        r.readInt(QStringLiteral("frags"), &frags, -1000000, 1000000);
        entry.frags = frags;
        // Beyond the range of a float the conversion is undefined; a day is plenty.
        entry.time = float(qBound(0.0, r.value(QStringLiteral("time")).toDouble(), 86400.0));
        players->append(entry);
    }
}

void readRules(FieldReader &server, QList<QPair<QByteArray, QByteArray>> *rules)
{
    const QJsonValue v = server.value(QStringLiteral("rules"));
    if (v.isObject()) {
        const QJsonObject object = v.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            rules->append({it.key().toUtf8(), it.value().toVariant().toString().toUtf8()});
        return;
    }
    for (const QJsonValue &pair : v.toArray()) {
        const QJsonArray p = pair.toArray();
        if (p.size() != 2) {
            server.fail(QStringLiteral("rules"), QStringLiteral("entries must be [\"name\", \"value\"] pairs"));
            return;
        }
        rules->append({p[0].toVariant().toString().toUtf8(), p[1].toVariant().toString().toUtf8()});
    }
}

void appendGeneratedRules(int count, QList<QPair<QByteArray, QByteArray>> *rules)
{
    for (int i = 1; i <= count; ++i) {
        const QByteArray number = QByteArray::number(i).rightJustified(4, '0');
        rules->append({"rule_" + number, "value_" + number + "_of_a_generated_rule"});
    }
}

void readPlayerSteps(FieldReader &server, std::optional<PlayerSteps> *steps, QString *error)
{
    FieldReader r(server.value(QStringLiteral("playerSteps")).toObject(),
                  server.where() + QStringLiteral("playerSteps."), error);
    r.allowOnly({"intervalMs", "counts"});
    PlayerSteps s;
    r.readInt(QStringLiteral("intervalMs"), &s.intervalMs, 0, 86400000);
    for (const QJsonValue &v : r.value(QStringLiteral("counts")).toArray()) {
        const int count = v.toInt(-1);
        if (count < 0 || count > 255)
            r.fail(QStringLiteral("counts"), QStringLiteral("must hold integers from 0 to 255"));
        s.counts.append(count);
    }
    if (s.counts.isEmpty())
        r.fail(QStringLiteral("counts"), QStringLiteral("must not be empty"));
    *steps = s;
}

ServerConfig readServer(const QJsonObject &object, int index, QString *error, AddressScope scope)
{
    FieldReader r(object, QStringLiteral("servers[%1].").arg(index), error);
    r.allowOnly({"address", "port", "replyPort", "dialect", "name", "map", "gameDir", "description",
                 "protocol", "players", "maxPlayers", "bots", "serverType", "os", "password", "vac",
                 "appId", "version", "keywords", "proxy", "extraData", "padName", "playerList", "rules",
                 "generateRules", "infoChallenge", "challengeEveryTime", "detailChallenge", "split",
                 "silent", "playerSteps"});
    ServerConfig s;
    r.readAddress(QStringLiteral("address"), &s.address, scope);
    int port = s.port;
    r.readInt(QStringLiteral("port"), &port, 0, 65535);
    s.port = quint16(port);
    if (r.has(QStringLiteral("replyPort"))) {
        int replyPort = 0;
        r.readInt(QStringLiteral("replyPort"), &replyPort, 0, 65535);
        if (replyPort != 0 && replyPort == port)
            r.fail(QStringLiteral("replyPort"), QStringLiteral("must differ from port"));
        s.replyPort = quint16(replyPort);
    }
    const auto dialect = dialectNamed(r.value(QStringLiteral("dialect")).toString(QStringLiteral("I")));
    if (!dialect)
        r.fail(QStringLiteral("dialect"), QStringLiteral("must be \"I\", \"m\", \"both\" or \"old\""));
    s.dialect = dialect.value_or(Dialect::Source);
    s.protocol = s.dialect == Dialect::Source ? 17 : 47;

    r.readText(QStringLiteral("name"), &s.name);
    r.readText(QStringLiteral("map"), &s.map);
    r.readText(QStringLiteral("gameDir"), &s.gameDir);
    r.readText(QStringLiteral("description"), &s.description);
    r.readText(QStringLiteral("version"), &s.version);
    r.readText(QStringLiteral("keywords"), &s.keywords);
    r.readText(QStringLiteral("proxy"), &s.proxy);
    r.readInt(QStringLiteral("protocol"), &s.protocol, 0, 255);
    r.readInt(QStringLiteral("maxPlayers"), &s.maxPlayers, 0, 255);
    r.readInt(QStringLiteral("bots"), &s.bots, 0, 255);
    r.readChar(QStringLiteral("serverType"), &s.serverType);
    r.readChar(QStringLiteral("os"), &s.os);
    r.readFlag(QStringLiteral("password"), &s.password);
    r.readFlag(QStringLiteral("vac"), &s.vac);
    r.readInt(QStringLiteral("appId"), &s.appId, 0, 65535);
    r.readBool(QStringLiteral("extraData"), &s.extraData);
    r.readInt(QStringLiteral("padName"), &s.padName, 0, 65000);

    readPlayerList(r, &s.playerList, error);
    s.players = qMin(int(s.playerList.size()), 255);
    r.readInt(QStringLiteral("players"), &s.players, 0, 255);
    readRules(r, &s.rules);
    int generated = 0;
    r.readInt(QStringLiteral("generateRules"), &generated, 0, 9999);
    appendGeneratedRules(generated, &s.rules);

    r.readBool(QStringLiteral("infoChallenge"), &s.infoChallenge);
    r.readBool(QStringLiteral("challengeEveryTime"), &s.challengeEveryTime);
    r.readBool(QStringLiteral("detailChallenge"), &s.detailChallenge);
    r.readBool(QStringLiteral("silent"), &s.silent);
    if (r.has(QStringLiteral("split"))) {
        SplitConfig split;
        readSplit(r, &split, error);
        s.split = split;
    }
    if (r.has(QStringLiteral("playerSteps"))) {
        readPlayerSteps(r, &s.playerSteps, error);
        if (s.playerSteps)
            s.players = s.playerSteps->counts.value(0);
    }
    return s;
}

} // namespace

bool isLoopback(const QHostAddress &address)
{
    bool ok = false;
    const quint32 ip = address.toIPv4Address(&ok);
    return ok && (ip >> 24) == 127;
}

std::optional<FarmConfig> parseFarmConfig(const QJsonObject &root, QString *error, AddressScope scope)
{
    error->clear();
    FieldReader r(root, QString(), error);
    r.allowOnly({"broadcast", "servers"});
    FarmConfig farm;
    if (r.has(QStringLiteral("broadcast"))) {
        QHostAddress broadcast;
        r.readAddress(QStringLiteral("broadcast"), &broadcast, scope);
        farm.broadcast = broadcast;
    }
    const QJsonArray servers = root.value(QStringLiteral("servers")).toArray();
    if (servers.isEmpty())
        r.fail(QStringLiteral("servers"), QStringLiteral("must list at least one server"));
    QSet<QString> endpoints;
    for (int i = 0; i < servers.size() && r.ok(); ++i) {
        const ServerConfig server = readServer(servers[i].toObject(), i, error, scope);
        FieldReader s(servers[i].toObject(), QStringLiteral("servers[%1].").arg(i), error);
        if (farm.broadcast && server.address == *farm.broadcast)
            s.fail(QStringLiteral("address"), QStringLiteral("is the broadcast address"));
        const QString endpoint = QStringLiteral("%1:%2").arg(server.address.toString()).arg(server.port);
        if (server.port != 0 && endpoints.contains(endpoint))
            s.fail(QStringLiteral("port"), endpoint + QStringLiteral(" is used twice"));
        endpoints.insert(endpoint);
        farm.servers.append(server);
    }
    if (!r.ok())
        return std::nullopt;
    return farm;
}
