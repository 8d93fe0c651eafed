#pragma once

// Indices into the 16x16 list icons (27 of them). Index 5 is not used by the list.
enum ListIcon {
    IconGlobe = 0,    // "Map" header
    IconFree = 1,     // access: free slots
    IconFull = 2,     // access: full, or an unknown password flag
    IconPassword = 3, // access: password required
    IconPlayer = 4,   // players header
    IconWindows = 6,
    IconLinux = 7,
    IconComputer = 8, // "OS" header
    IconNetwork = 9,  // "Address" header
    IconMonitor = 10, // "Name" header
    IconUnknown = 11, // unrecognised game; also a refresh still awaited
    IconCS = 12,
    IconHL = 13,
    IconCSS = 14,
    IconHLTV = 15,
    IconCZ = 16,
    IconHL2 = 17,
    IconDemo = 18,
    IconDOD = 19,
    IconDODS = 20,
    IconTF2 = 21,
    IconGMOD = 22,
    IconTFC = 23,
    IconDMC = 24,
    IconRC = 25,
    IconL4D = 26,
    ListIconCount = 27
};

// The 32x32 game pictures hold the games of list icons 12..26 in that order.
constexpr int FirstGameIcon = IconCS;
constexpr int BigIconCount = ListIconCount - FirstGameIcon;

// The big picture of a row's game icon, or -1 when there is none (icon 11).
constexpr int bigIconOf(int itemIcon)
{
    const int big = itemIcon - FirstGameIcon;
    return big >= 0 && big < BigIconCount ? big : -1;
}
