#include "scan/favoritesscanscheduler.h"

#include <QTimer>

FavoritesScanScheduler::FavoritesScanScheduler(bool switchedOn, int intervalSeconds, QObject *parent)
    : QObject(parent)
    , timer(new QTimer(this))
    , on(switchedOn)
    , seconds(intervalSeconds)
{
    timer->setObjectName(QStringLiteral("TimerFav"));
    timer->setInterval(seconds * 1000);
    connect(timer, &QTimer::timeout, this, &FavoritesScanScheduler::turnDue);
}

bool FavoritesScanScheduler::running() const
{
    return timer->isActive();
}

int FavoritesScanScheduler::intervalMs() const
{
    return timer->interval();
}

void FavoritesScanScheduler::startWhenAllowed()
{
    if (mayRun())
        timer->start();
}

void FavoritesScanScheduler::switchOn(bool switchedOn)
{
    on = switchedOn;
    if (on)
        startWhenAllowed();
    else
        timer->stop();
}

void FavoritesScanScheduler::setIntervalSeconds(int intervalSeconds)
{
    seconds = intervalSeconds;
    // Setting the interval restarts a running timer.
    timer->setInterval(seconds * 1000);
}

void FavoritesScanScheduler::firstTickSoon()
{
    timer->setInterval(FirstTickMs);
}

void FavoritesScanScheduler::hold()
{
    held = true;
    timer->stop();
}

void FavoritesScanScheduler::release()
{
    held = false;
}

void FavoritesScanScheduler::windowShown(bool isShown)
{
    shown = isShown;
    if (shown)
        startWhenAllowed();
    else
        timer->stop();
}

void FavoritesScanScheduler::turnTookPlace()
{
    // Turns 200 ms apart would leave Play and Auto unusable: every turn disables them.
    if (timer->interval() < MinIntervalMs)
        timer->setInterval(seconds * 1000);
}
