#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// The longest time the event loop went without processing events: a 1 ms
// precise timer notes the time between its timeouts. A timeout can only run
// when events are processed, so a long gap is a pause the user would feel.
class EventGapMeter : public QObject
{
    Q_OBJECT

public:
    EventGapMeter();

    void start();
    // Counts the time since the last timeout too.
    void stop();
    qint64 longestGapNanoseconds() const { return longest; }
    int ticks() const { return count; }

private:
    void tick();

    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    int count = 0;
};
