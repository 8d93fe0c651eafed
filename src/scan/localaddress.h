#pragma once

#include <QString>

// The host's own IPv4 address as dotted text, behind an interface so that
// tests can pin it to a loopback address.
class LocalAddressProvider
{
public:
    virtual ~LocalAddressProvider();
    // Empty when the address cannot be determined.
    virtual QString hostAddress() = 0;
};

// The first IPv4 address the host's own name resolves to.
class SystemLocalAddress : public LocalAddressProvider
{
public:
    QString hostAddress() override;
};
