#include "scan/favoritesscan.h"

#include "scan/autoconnectstate.h"
#include "scan/scancontrols.h"
#include "query/queryprotocol.h"
#include "scan/scanengine.h"
#include "settings/settingsmodel.h"

#include <QCoreApplication>

FavoritesScan::FavoritesScan(const SettingsModel &settingsModel, const AutoConnectState &autoConnectState,
                             QueryProtocol &queryProtocol, ScanEngine &scanEngine, ScanControls &scanControls)
    : settings(settingsModel)
    , autoConnect(autoConnectState)
    , protocol(queryProtocol)
    , engine(scanEngine)
    , controls(scanControls)
{
}

void FavoritesScan::show()
{
    emit engine.controlsChanged();
}

bool FavoritesScan::tick()
{
    if (engine.scanning() || autoConnect.active || running)
        return false;
    // Replies that only refresh known rows do not enable these again.
    controls.favoritesTurnStarted();
    show();
    if (settings.favorites.isEmpty() || !controls.scanEnabled())
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
        controls.showActivity(QLatin1Char(' ') + favorite.host);
        show();
    }
    controls.showActivity(QCoreApplication::translate("ScanStatus", " Autoscaning..."));
    show();
    running = false;
    return true;
}
