#pragma once

#include <array>

class QLabel;
class QStatusBar;
class ScanControls;

// The status bar's three panels: activity (0), targets sent (1), message (2).
class StatusPanels
{
public:
    explicit StatusPanels(QStatusBar &bar);

    void show(const ScanControls &controls);

private:
    std::array<QLabel *, 3> m_panels;
};
