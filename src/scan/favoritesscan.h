#pragma once

class QueryProtocol;
class ScanControls;
class ScanEngine;
class SettingsModel;
struct AutoConnectState;

// One turn of the favourites auto-scan: every favourite is asked for its info
// again, so that its row in the server list stays current without a sweep.
// The replies take the usual way into the server list.
class FavoritesScan
{
public:
    FavoritesScan(const SettingsModel &settings, const AutoConnectState &autoConnect, QueryProtocol &protocol,
                  ScanEngine &engine, ScanControls &controls);

    // Runs one turn. Returns false when the turn was skipped: a sweep runs,
    // auto-connect waits (it needs the Auto button), or a turn is already
    // running (events are processed inside). A turn that found nothing to ask
    // (no favourites, or the Scan button disabled in a sweep's wait) did take
    // place: it disabled Play and Auto.
    bool tick();

private:
    void show();

    const SettingsModel &settings;
    const AutoConnectState &autoConnect;
    QueryProtocol &protocol;
    ScanEngine &engine;
    ScanControls &controls;
    bool running = false;
};
