#include "eventgap.h"

EventGapMeter::EventGapMeter()
{
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1);
    connect(&timer, &QTimer::timeout, this, &EventGapMeter::tick);
}

void EventGapMeter::start()
{
    longest = 0;
    count = 0;
    clock.start();
    last = 0;
    timer.start();
}

void EventGapMeter::stop()
{
    tick();
    --count;
    timer.stop();
}

void EventGapMeter::tick()
{
    const qint64 now = clock.nsecsElapsed();
    longest = qMax(longest, now - last);
    last = now;
    ++count;
}
