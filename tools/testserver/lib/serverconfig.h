#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// How one emulated server answers; everything comes from its JSON object.
enum class Dialect { Source, GoldSrc, Both, Old };

enum class SplitLayout { GoldSrc, Source };

struct SplitConfig
{
    SplitLayout layout = SplitLayout::GoldSrc;
    int fragmentSize = 1391;
    bool reverse = false;
    bool forInfo = false;
    bool forPlayers = true;
    bool forRules = true;
};

struct PlayerEntry
{
    QByteArray name;
    qint32 frags = 0;
    float time = 0;
};

struct PlayerSteps
{
    int intervalMs = 0;
    QList<int> counts;
};

struct ServerConfig
{
    QHostAddress address;
    quint16 port = 27015;
    std::optional<quint16> replyPort;
    Dialect dialect = Dialect::Source;

    QByteArray name = "Vantor test server";
    QByteArray map = "de_dust2";
    QByteArray gameDir = "cstrike";
    QByteArray description = "Counter-Strike";
    QByteArray version = "1.0.0.0";
    QByteArray keywords;
    QByteArray proxy = "0";
    int protocol = 17;
    int players = 0;
    int maxPlayers = 32;
    int bots = 0;
    char serverType = 'd';
    char os = 'l';
    int password = 0;
    int vac = 0;
    int appId = 0;
    bool extraData = true;
    int padName = 0;

    QList<PlayerEntry> playerList;
    QList<QPair<QByteArray, QByteArray>> rules;

    bool infoChallenge = false;
    bool challengeEveryTime = false;
    bool detailChallenge = true;
    std::optional<SplitConfig> split;
    bool silent = false;
    std::optional<PlayerSteps> playerSteps;
};

struct FarmConfig
{
    std::optional<QHostAddress> broadcast;
    QList<ServerConfig> servers;
};

// Which addresses a farm may serve: loopback only, unless told otherwise for
// a farm that stands in a network namespace of its own as a real server does.
enum class AddressScope { LoopbackOnly, AnyAddress };

// Reads a farm description; on failure returns nothing and sets *error to one line.
std::optional<FarmConfig> parseFarmConfig(const QJsonObject &root, QString *error,
                                          AddressScope scope = AddressScope::LoopbackOnly);

bool isLoopback(const QHostAddress &address);
