#pragma once

#include "join/scansession.h"
#include "ui/mainwindow.h"

#include <memory>

class LocalAddressProvider;
class NetworkCards;
class Prompter;
class SettingsModel;
class Shell;

// The main window on a scan session of its own, as the program pairs them:
// the session is made first and goes last. The endpoint takes a port the
// system chooses, and no global hotkey is registered.
struct WindowServices
{
    SettingsModel &settings;
    Prompter &prompter;
    Shell &shell;
    LocalAddressProvider &localAddress;
    NetworkCards &networkCards;
};

std::unique_ptr<TForm1> riggedMainWindow(const WindowServices &services);
