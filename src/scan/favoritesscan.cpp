#include "scan/favoritesscan.h"

#include "scan/autoconnectstate.h"
#include "query/queryprotocol.h"
#include "scan/scanengine.h"
#include "settings/settingsmodel.h"

FavoritesScan::FavoritesScan(const SettingsModel &settingsModel, const AutoConnectState &autoConnectState,
                             QueryProtocol &queryProtocol, ScanEngine &scanEngine)
    : settings(settingsModel)
    , autoConnect(autoConnectState)
    , protocol(queryProtocol)
    , engine(scanEngine)
{
}

void FavoritesScan::show()
{
    emit engine.controlsChanged();
}

bool FavoritesScan::tick()
{
    if (engine.Scanning || autoConnect.active || running)
        return false;
    // Replies that only refresh known rows do not enable these again.
    engine.controls.autoEnabled = false;
    engine.controls.playEnabled = false;
    show();
    if (settings.favorites.isEmpty() || !engine.controls.scanEnabled)
        return true;

    running = true;
    const int count = int(settings.favorites.size());
    // By index: a favourite may be deleted while events are processed.
    for (int i = 0; i < count && i < settings.favorites.size(); ++i) {
        const FavoriteRow favorite = settings.favorites[i];
        bool isNumber = false;
        const int port = favorite.port.toInt(&isNumber, 10);
        // A failed send reports the network error itself.
        if (isNumber)
            protocol.sendInfoRequest(favorite.host, port);
        else
            engine.NetworkError();
        engine.pumpMessages();
        engine.controls.activityPanel = QLatin1Char(' ') + favorite.host;
        show();
    }
    engine.controls.activityPanel = QStringLiteral(" Autoscaning...");
    show();
    running = false;
    return true;
}
