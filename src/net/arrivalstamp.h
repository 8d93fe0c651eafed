#pragma once

#include <QtGlobal>

// How long a datagram waited in its socket's receive queue before it was
// read, from the time the system stamped on it when it arrived. A reply read
// late (the window was painting, a pause blocked the thread) still tells the
// time it came. Where the system keeps no such stamp the wait counts as zero.
namespace ArrivalStamp {

// Asks the system to stamp every datagram that arrives on the socket.
void enable(qintptr socket);

// Nanoseconds between the arrival of the datagram last read from the socket
// and now; 0 when unknown.
qint64 waitOfLast(qintptr socket);

} // namespace ArrivalStamp
