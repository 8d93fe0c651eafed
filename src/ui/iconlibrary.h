#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, read once from the SVG resources and shared by
// every window. List indices are those of scan/listicons.h.
class IconLibrary
{
public:
    static constexpr int TrayIconCount = 2; // 0 normal, 1 clock (auto-connect waits)
    enum TabPage { PlayersTab = 0, RulesTab = 1 };

    // Empty icon for an index outside 0..26.
    static QIcon listIcon(int index);
    // The game picture at 32x32 logical pixels, sharp on the application's
    // screens; a null pixmap outside 0..14.
    static QPixmap bigIcon(int index);
    static QIcon trayIcon(int index);
    static QIcon appIcon();
    static QIcon tabIcon(int page);
};
