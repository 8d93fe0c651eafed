#pragma once

#include <QObject>

class QTimer;

// When the favourites auto-scan takes its turns. Its timer runs while "Auto
// scan" is switched on, auto-connect does not hold it and the main window is
// shown (neither hidden nor minimised in place of hidden). Each of those
// events starts or stops it; a start restarts the period. The first turn
// after the program's start comes after 200 ms, later ones after the
// configured interval.
class FavoritesScanScheduler : public QObject
{
    Q_OBJECT

public:
    // The first turn after start comes this soon.
    static constexpr int FirstTickMs = 200;
    // A timer interval below this is still the first one.
    static constexpr int MinIntervalMs = 5000;

    // `switchedOn` is the state of "Auto scan" when the window is built.
    explicit FavoritesScanScheduler(bool switchedOn, int intervalSeconds, QObject *parent = nullptr);

    // The timer (named "TimerFav") runs and takes its turns this often.
    bool running() const;
    int intervalMs() const;
    bool mayRun() const { return on && !held && shown; }

    // "Auto scan" ticked (starts when it may run) or unticked (stops).
    void switchOn(bool switchedOn);
    // "Interval (sec)" changed: a running period restarts with it.
    void setIntervalSeconds(int seconds);
    // Start-up with "Auto scan" on: the next turn comes after FirstTickMs.
    void firstTickSoon();
    // Auto-connect holds the auto-scan (it stops) ...
    void hold();
    // ... and lets it go; it starts again with the next show or switch.
    void release();
    // The window was shown or restored (starts when it may run), or hidden or minimised (stops).
    void windowShown(bool isShown);
    // A turn took place: the quick first interval gives way to the configured one.
    void turnTookPlace();

signals:
    // Time for a turn.
    void turnDue();

private:
    void startWhenAllowed();

    QTimer *timer;
    bool on;
    bool held = false;
    bool shown = false;
    int seconds;
};
