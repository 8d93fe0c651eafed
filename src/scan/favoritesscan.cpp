#include "scan/favoritesscan.h"

#include "scan/autoconnectstate.h"
#include "scan/scancontrols.h"
#include "query/queryprotocol.h"
#include "scan/scanengine.h"
#include "settings/portnumber.h"
#include "settings/settingsmodel.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

FavoritesScan::FavoritesScan(const SettingsModel &settingsModel, const AutoConnectState &autoConnectState,
                             QueryProtocol &queryProtocol, ScanEngine &scanEngine, ScanControls &scanControls,
                             QObject *parent)
    : QObject(parent)
    , settings(settingsModel)
    , autoConnect(autoConnectState)
    , protocol(queryProtocol)
    , engine(scanEngine)
    , controls(scanControls)
    , FavScanTimer(new QTimer(this))
{
    FavScanTimer->setObjectName(QStringLiteral("FavScanTimer"));
    FavScanTimer->setSingleShot(true);
    connect(FavScanTimer, &QTimer::timeout, this, &FavoritesScan::askNext);
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
    favorite = 0;
    count = int(settings.favorites.size());
    askNext();
    return true;
}

void FavoritesScan::askNext()
{
    if (!running)
        return;
    // By index: a favourite may be deleted between steps.
    if (favorite < count && favorite < settings.favorites.size()) {
        const FavoriteRow row = settings.favorites[favorite++];
        const std::optional<quint16> port = parsePort(row.port);
        // A failed send or lookup reports the network error itself.
        if (!port) {
            engine.networkError();
        } else {
            const QPointer<FavoritesScan> self(this);
            protocol.resolve(row.host, [self, port = *port](const QString &address) {
                if (self && !address.isEmpty())
                    self->protocol.sendInfoRequest(address, port);
            });
        }
        controls.showActivity(QLatin1Char(' ') + row.host);
        show();
    }
    if (favorite < count && favorite < settings.favorites.size()) {
        FavScanTimer->start(0);
        return;
    }
    controls.showActivity(QCoreApplication::translate("ScanStatus", " Autoscaning..."));
    show();
    running = false;
}
