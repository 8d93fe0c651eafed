#pragma once

#include "scan/localaddress.h"

#include <utility>

// Always the address it was given: tests and benchmarks pin the local address
// to loopback, so the broadcast of a sweep stays on this machine.
class FixedLocalAddress : public LocalAddressProvider
{
public:
    explicit FixedLocalAddress(QString address) : m_address(std::move(address)) { }
    QString hostAddress() override { return m_address; }

private:
    QString m_address;
};
