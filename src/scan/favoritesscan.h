#pragma once

#include <QObject>

class QTimer;
class QueryProtocol;
class ScanControls;
class ScanEngine;
class SettingsModel;
struct AutoConnectState;

// One turn of the favourites auto-scan: every favourite is asked for its info
// again, so that its row in the server list stays current without a sweep.
// The replies take the usual way into the server list. A turn asks one
// favourite per step of its timer ("FavScanTimer"), so events are handled
// between them.
class FavoritesScan : public QObject
{
    Q_OBJECT

public:
    FavoritesScan(const SettingsModel &settings, const AutoConnectState &autoConnect, QueryProtocol &protocol,
                  ScanEngine &engine, ScanControls &controls, QObject *parent = nullptr);

    // Starts one turn and asks its first favourite. Returns false when the
    // turn was skipped: a sweep runs, auto-connect waits (it needs the Auto
    // button), or a turn is still running. A turn that found nothing to ask
    // (no favourites, or the Scan button disabled in a sweep's wait) did take
    // place: it disabled Play and Auto.
    bool tick();
    bool turnRunning() const { return running; }

public slots:
    // Asks the turn's next favourite.
    void askNext();

private:
    void show();

    const SettingsModel &settings;
    const AutoConnectState &autoConnect;
    QueryProtocol &protocol;
    ScanEngine &engine;
    ScanControls &controls;
    QTimer *FavScanTimer;
    bool running = false;
    int favorite = 0;
    int count = 0;
};
