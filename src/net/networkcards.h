#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

// One IPv4 address of one network card, as the system lists it.
struct CardAddress
{
    QString card;          // the card's name ("eth0")
    quint32 address = 0;   // host order, like every address below
    quint32 netmask = 0;
    quint32 broadcast = 0; // 0 when the card has none
    bool up = false;
    bool running = false;
    bool canBroadcast = false;
    bool loopback = false;
    bool pointToPoint = false;
};

// The IPv4 addresses of the machine's network cards, behind an interface so
// that tests hand in cards of their own.
class NetworkCards
{
public:
    virtual ~NetworkCards();
    virtual QVector<CardAddress> addresses() = 0;
};

// The system's list, read anew at each call (cards come and go: a VPN, a
// cable plugged in).
class SystemNetworkCards : public NetworkCards
{
public:
    QVector<CardAddress> addresses() override;
};
