#pragma once

#include "net/datagramsocket.h"
#include "net/httpfetch.h"
#include "net/networkcards.h"
#include "scan/localaddress.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "ui/desktopservices.h"
#include "update/updatechecker.h"

#include <memory>

class ScanSession;
class TForm1;
class TFormAbout;
class TFormAuto;
class TFormPass;
class TSettings;

// The program's life: the scan session and the five windows created in
// order (the settings loaded with the settings dialog), the event loop, and
// the windows destroyed in the reverse order (the settings saved in their turn).
class Program
{
public:
    struct Options
    {
        // Empty: where this program keeps its settings.
        QString iniPath;
        quint16 localPort = 27005;
        bool registerHotkey = true;
        bool updateCheck = true;
        DatagramSocketFactory newSocket = newPlainDatagramSocket;
    };

    Program();
    explicit Program(Options options);
    ~Program();

    // Runs until the main window closes; returns the exit code. A second start
    // of the same version hands over to the first and returns at once.
    int run();

    // What run() does around the event loop: builds and shows the windows, or
    // reports why it cannot (no UDP socket) and returns false ...
    bool start();
    // ... and, after the loop, closes them, saving the settings.
    void closeWindows();

    TForm1 *mainWindow() { return m_form1.get(); }

private:
    void connectWindows();

    Options m_options;
    SettingsModel m_settings;
    // The column last clicked in the server list or the favourites list.
    int m_sortColumn = 0;
    IniFile m_ini;
    MessageBoxPrompter m_prompter;
    DesktopShell m_shell;
    SystemLocalAddress m_localAddress;
    SystemNetworkCards m_networkCards;
    // Absent from a build without the update check.
    std::unique_ptr<HttpFetch> m_updateFetch;
    std::unique_ptr<UpdateChecker> m_updates;
    std::unique_ptr<ScanSession> m_session;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TSettings> m_settingsDialog;
    std::unique_ptr<TFormAbout> m_about;
    std::unique_ptr<TFormPass> m_pass;
    std::unique_ptr<TFormAuto> m_autoDialog;
};
