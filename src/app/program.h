#pragma once

#include "scan/autoconnectstate.h"
#include "join/launchstate.h"
#include "net/httpfetch.h"
#include "net/networkcards.h"
#include "update/updatechecker.h"
#include "scan/localaddress.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "ui/desktopservices.h"

#include <memory>

class TForm1;
class TFormAbout;
class TFormAuto;
class TFormPass;
class TSettings;

// The program's life: the five windows created in order (the settings loaded
// with the settings dialog), the event loop, and the windows destroyed in the
// reverse order (the settings saved in their turn).
class Program
{
public:
    Program();
    ~Program();

    // Runs until the main window closes; returns the exit code. A second start
    // of the same version hands over to the first and returns at once.
    int run();

private:
    void closeWindows();

    SettingsModel settings;
    AutoConnectState autoConnect;
    LaunchState launch;
    // The column last clicked in the server list or the favourites list.
    int sortColumn = 0;
    IniFile ini;
    MessageBoxPrompter prompter;
    DesktopShell shell;
    SystemLocalAddress localAddress;
    SystemNetworkCards networkCards;
    // Absent from a build without the update check.
    std::unique_ptr<HttpFetch> updateFetch;
    std::unique_ptr<UpdateChecker> updates;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TSettings> settingsDialog;
    std::unique_ptr<TFormAbout> about;
    std::unique_ptr<TFormPass> pass;
    std::unique_ptr<TFormAuto> autoDialog;
};
