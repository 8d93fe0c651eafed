#pragma once

class QueryProtocol;
class ScanEngine;
class SettingsModel;
struct AutoConnectState;

// One turn of the favourites auto-scan: every favourite is asked for its info
// again, so that its row in the server list stays current without a sweep.
// The replies take the usual way into the server list.
class FavoritesScan
{
public:
    // The first turn after start comes this soon; later turns wait the
    // configured interval.
    static constexpr int FirstTickMs = 200;
    // A timer interval below this is still the first one.
    static constexpr int MinIntervalMs = 5000;

    FavoritesScan(const SettingsModel &settings, const AutoConnectState &autoConnect, QueryProtocol &protocol,
                  ScanEngine &engine);

    // Runs one turn. Returns true when the favourites were asked; false when
    // the turn was skipped: a sweep runs, auto-connect waits (it needs the
    // Auto button), the Scan button is disabled (a sweep's wait), there are no
    // favourites, or a turn is already running (events are processed inside).
    bool tick();

private:
    void show();

    const SettingsModel &settings;
    const AutoConnectState &autoConnect;
    QueryProtocol &protocol;
    ScanEngine &engine;
    bool running = false;
};
