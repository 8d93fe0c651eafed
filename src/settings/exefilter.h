#pragma once

#include <QString>

// Open-file filters of the "..." button of the game settings, each a
// description and a pattern joined by '|' ("Half-Life (hl.exe)|HL.EXE").
// Games of the Half-Life engine get the hl.exe filter, the Source games the
// hl2.exe filter; an index outside 0..14 gives an empty string.
QString exeFileFilter(int gameIndex);
QString steamFileFilter();

// The same filter for a Qt file dialog: the description with the pattern in
// both cases, then a choice of every file, since the programs have no ".exe"
// on every system ("Half-Life (hl.exe) (HL.EXE hl.exe);;All files (*)").
QString dialogNameFilters(const QString &filter);

// The filter the dialog opens with: the program's own, or "All files (*)"
// where programs carry no ".exe" (Linux), since a filter of .exe files would
// hide every one of them there.
QString initialNameFilter(const QString &filter, bool programsEndInExe);
