#pragma once

#include "benchutil.h"

// One function per benchmark file; main.cpp lists them.
std::vector<Figure> benchDispatch();
std::vector<Figure> benchIni();
std::vector<Figure> benchStartup();
std::vector<Figure> benchSweep();
std::vector<Figure> benchServers();
std::vector<Figure> benchFlood();
std::vector<Figure> benchFilter();
std::vector<Figure> benchQuery();
