#pragma once

#include "desktop/shell.h"
#include "support/fixedlocaladdress.h"
#include "support/fixednetworkcards.h"
#include "support/recordingprompter.h"
#include "settings/settingsmodel.h"
#include "join/scansession.h"
#include "ui/mainwindow.h"

#include <QStringList>
#include <functional>
#include <memory>

// A desktop that starts nothing.
class NoShell : public Shell
{
public:
    bool openUrl(const QString &) override { return false; }
    bool startDetached(const QString &, const QStringList &) override { return false; }
};

// The main window as the program builds it, on a port the system chooses,
// without the global hotkey, with a loopback local address.
class BenchWindow
{
public:
    BenchWindow();
    ~BenchWindow();

    // Shows the window and processes events until it is exposed.
    void show();

    SettingsModel settings;
    // Notes what a message box would have shown; any message is a failed setup.
    RecordingPrompter prompter;
    NoShell shell;
    FixedLocalAddress localAddress{QStringLiteral("127.0.0.1")};
    FixedNetworkCards cards;
    std::unique_ptr<ScanSession> session;
    std::unique_ptr<TForm1> form;
};

// Processes events until `done` says so or `timeoutMs` passed; returns `done()`.
bool processEventsUntil(const std::function<bool()> &done, int timeoutMs);

// This process's peak resident size so far (VmHWM), in bytes; 0 when unknown.
qint64 peakResidentBytes();
// This process's resident size now (VmRSS), in bytes; 0 when unknown.
qint64 residentBytes();
// Lets VmHWM start again from the resident size now.
void resetPeakResident();

// Datagrams the kernel dropped for the UDP socket bound to `port` (the
// last column of /proc/net/udp); -1 when the socket is not found.
qint64 droppedDatagrams(int port);
