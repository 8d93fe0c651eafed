#pragma once

#include "net/ipv4.h"

#include <QString>
#include <QtGlobal>


// Walks the addresses of one configured range without building a list.
// Every address keeps the first two fields of From; the third field runs from
// From's to To's; the fourth starts at From's in every block and ends at 254,
// or at To's fourth field in the last block. So .255 is only ever reached as
// the To address itself.
class RangeWalker
{
public:
    RangeWalker(quint32 from, quint32 to);
    // A From or To that is not dotted IPv4 text gives an empty walk.
    RangeWalker(const QString &from, const QString &to);

    // Steps to the next address; false when the range is exhausted.
    bool next(quint32 &address);

private:
    quint32 m_prefix = 0; // first two fields of From, in place
    int m_block = 0;      // current third field
    int m_lastBlock = -1;
    int m_first = 0;      // fourth field every block starts at
    int m_lastHost = 0;   // fourth field the last block ends at
    int m_host = 0;       // next fourth field to yield
};

// Calls `visit(quint32 address)` for every address of the range, in order.
template<typename Visit>
void forEachRangeAddress(RangeWalker walker, Visit &&visit)
{
    quint32 address;
    while (walker.next(address))
        visit(address);
}

// Number of addresses the walk yields, without walking it.
int rangeAddressCount(quint32 from, quint32 to);
int rangeAddressCount(const QString &from, const QString &to);

// Field n (counting from 1) of `text` split at `delimiter`; a text that does
// not end with the delimiter counts as if it did. "" when there is no such field.
QString NthField(const QString &delimiter, const QString &text, int n);
