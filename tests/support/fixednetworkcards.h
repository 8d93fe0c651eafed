#pragma once

#include "net/networkcards.h"

#include <utility>

// The cards it was given, none by default: a sweep then broadcasts only to
// the /16 of the pinned local address (loopback), never through the
// machine's own cards.
class FixedNetworkCards : public NetworkCards
{
public:
    FixedNetworkCards() = default;
    explicit FixedNetworkCards(QVector<CardAddress> cards) : m_cards(std::move(cards)) { }
    QVector<CardAddress> addresses() override { return m_cards; }
    void setAddresses(QVector<CardAddress> cards) { m_cards = std::move(cards); }

private:
    QVector<CardAddress> m_cards;
};
