#pragma once

#include <QString>

// The state of the main-window controls that scanning and auto-connect drive: which buttons
// are enabled, the Scan button's caption, the progress gauge and the three
// status panels. The window shows it; the logic writes it.
struct ScanControls
{
    bool scanEnabled = true;
    bool stopEnabled = false;
    bool refreshEnabled = false;
    bool autoEnabled = false;
    bool playEnabled = false;
    bool portChoiceEnabled = true;
    bool listEnabled = true;
    bool autoCaptionRed = false; // while auto-connect waits
    QString scanCaption = QStringLiteral("Scan");
    int progress = 0;
    int progressMax = 0;
    QString activityPanel; // panel 0
    QString sentPanel;     // panel 1: targets sent
    QString messagePanel;  // panel 2
};
