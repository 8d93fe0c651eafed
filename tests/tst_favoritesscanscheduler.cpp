#include "scan/favoritesscanscheduler.h"

#include <QtTest>

// When the favourites auto-scan's timer runs and how often, after a sequence
// of what the window, the settings and auto-connect tell it.
class TestFavoritesScanScheduler : public QObject
{
    Q_OBJECT

private slots:
    void timer_data();
    void timer();
};

void TestFavoritesScanScheduler::timer_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("intervalMs");

    const int first = FavoritesScanScheduler::FirstTickMs;
    QTest::newRow("nothing yet") << QStringList{} << false << 10000;
    QTest::newRow("switched on while shown") << QStringList{"shown", "on"} << true << 10000;
    QTest::newRow("switched on while hidden") << QStringList{"on"} << false << 10000;
    QTest::newRow("shown after the switch") << QStringList{"on", "shown"} << true << 10000;
    QTest::newRow("hidden or minimised") << QStringList{"on", "shown", "hidden"} << false << 10000;
    QTest::newRow("switched off") << QStringList{"shown", "on", "off"} << false << 10000;
    QTest::newRow("held by auto-connect") << QStringList{"shown", "on", "hold"} << false << 10000;
    QTest::newRow("held, shown again") << QStringList{"on", "shown", "hold", "hidden", "shown"} << false << 10000;
    QTest::newRow("let go: waits for the next show") << QStringList{"shown", "on", "hold", "release"} << false
                                                     << 10000;
    QTest::newRow("let go, then shown") << QStringList{"on", "shown", "hold", "release", "hidden", "shown"} << true
                                        << 10000;
    QTest::newRow("let go, then switched on") << QStringList{"shown", "on", "hold", "release", "on"} << true
                                              << 10000;
    QTest::newRow("new interval") << QStringList{"shown", "on", "interval 30"} << true << 30000;
    QTest::newRow("first tick at start") << QStringList{"on", "first", "shown"} << true << first;
    QTest::newRow("the first turn ends it") << QStringList{"on", "first", "shown", "turn"} << true << 10000;
    QTest::newRow("later turns keep the interval") << QStringList{"shown", "on", "interval 30", "turn"} << true
                                                   << 30000;
    QTest::newRow("a new interval ends it too") << QStringList{"first", "interval 20"} << false << 20000;
}

void TestFavoritesScanScheduler::timer()
{
    QFETCH(QStringList, events);
    FavoritesScanScheduler scheduler(false, 10);
    for (const QString &event : events) {
        if (event == QLatin1String("on") || event == QLatin1String("off"))
            scheduler.switchOn(event == QLatin1String("on"));
        else if (event == QLatin1String("shown") || event == QLatin1String("hidden"))
            scheduler.windowShown(event == QLatin1String("shown"));
        else if (event == QLatin1String("hold"))
            scheduler.hold();
        else if (event == QLatin1String("release"))
            scheduler.release();
        else if (event == QLatin1String("first"))
            scheduler.firstTickSoon();
        else if (event == QLatin1String("turn"))
            scheduler.turnTookPlace();
        else if (event.startsWith(QLatin1String("interval ")))
            scheduler.setIntervalSeconds(event.section(u' ', 1).toInt());
        else
            QFAIL(qPrintable(event));
    }
    QTEST(scheduler.running(), "running");
    QTEST(scheduler.intervalMs(), "intervalMs");
    QCOMPARE(scheduler.findChild<QTimer *>(QStringLiteral("TimerFav"))->isActive(), scheduler.running());
}

QTEST_GUILESS_MAIN(TestFavoritesScanScheduler)
#include "tst_favoritesscanscheduler.moc"
