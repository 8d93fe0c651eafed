#include "net/arrivalstamp.h"

#ifdef Q_OS_LINUX
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <time.h>
#endif

namespace {

// A longer wait is no wait of a datagram but a clock that was set meanwhile.
constexpr qint64 MaxWaitNs = 10'000'000'000;

} // namespace

#ifdef Q_OS_LINUX

void ArrivalStamp::enable(qintptr socket)
{
    // The first request switches stamping on; there is no stamp to read yet.
    timespec stamp{};
    ioctl(int(socket), SIOCGSTAMPNS, &stamp);
}

qint64 ArrivalStamp::waitOfLast(qintptr socket)
{
    timespec stamp{};
    if (ioctl(int(socket), SIOCGSTAMPNS, &stamp) != 0)
        return 0;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 wait = qint64(now.tv_sec - stamp.tv_sec) * 1'000'000'000 + (now.tv_nsec - stamp.tv_nsec);
    return wait > 0 && wait < MaxWaitNs ? wait : 0;
}

#else

void ArrivalStamp::enable(qintptr)
{
}

qint64 ArrivalStamp::waitOfLast(qintptr)
{
    return 0;
}

#endif
