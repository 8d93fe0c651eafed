#include "scan/scancontrols.h"

#include <QCoreApplication>

void ScanControls::sweepStarted(bool autoConnectActive)
{
    if (!autoConnectActive)
        autoButton = false;
    portChoice = false;
    play = false;
    scan = false;
    refresh = false;
    stop = true;
}

void ScanControls::sweepEnded(bool listed)
{
    stop = false;
    portChoice = true;
    if (listed)
        refresh = true;
}

void ScanControls::countdown(int waitCount, bool autoConnectActive, bool scanning)
{
    //: The Scan button counts down the seconds before it can be pressed again.
    caption = QCoreApplication::translate("MainWindow", "Wait %1").arg(waitCount);
    if (waitCount != 0)
        return;
    caption = QCoreApplication::translate("MainWindow", "Scan");
    // A countdown started by a network error outside a sweep can end while a
    // sweep runs; that sweep's own end enables Scan.
    if (!autoConnectActive && !scanning)
        scan = true;
}

void ScanControls::refreshStarted(bool autoConnectActive)
{
    if (!autoConnectActive)
        autoButton = false;
    refresh = false;
    play = false;
    scan = false;
}

void ScanControls::refreshCompleted(bool autoConnectActive, bool scanning, bool countdownRunning, bool rowSelected)
{
    if (autoConnectActive || scanning)
        return;
    refresh = true;
    if (!countdownRunning)
        scan = true;
    if (rowSelected) {
        autoButton = true;
        play = true;
    }
}

void ScanControls::serverListed(bool rowSelected)
{
    refresh = true;
    if (rowSelected) {
        autoButton = true;
        play = true;
    }
}

void ScanControls::rowSelected()
{
    play = true;
    autoButton = true;
}

void ScanControls::selectionCleared(bool autoConnectActive)
{
    play = false;
    if (!autoConnectActive)
        autoButton = false;
}

void ScanControls::favoritesTurnStarted()
{
    autoButton = false;
    play = false;
}

void ScanControls::watchStarted()
{
    scan = false;
    refresh = false;
    // The list empties; Play has no row until the target answers.
    play = false;
    list = false;
    autoRed = true;
}

void ScanControls::watchReplied()
{
    play = false;
}

void ScanControls::watchMet()
{
    list = true;
    play = true;
    scan = true;
    autoRed = false;
}

void ScanControls::joinDeclined()
{
    refresh = true;
}

void ScanControls::watchEnded()
{
    scan = true;
    refresh = true;
    list = true;
    autoRed = false;
}

void ScanControls::watchEndedByLaunch()
{
    scan = true;
    autoRed = false;
}
