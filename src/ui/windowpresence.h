#pragma once

#include <QObject>

#include <memory>

class GlobalHotkey;
class QMainWindow;
class ScanSession;
class TrayIcon;

// How the main window leaves the screen and comes back: hidden into the tray
// icon (its menu, double click and the global hotkey Shift+Alt+S bring it
// back) or, on a desktop without a tray, minimised, so it never gets out of
// reach. The session learns whether the window is in sight: the favourites
// auto-scan rests while it is not.
class WindowPresence : public QObject
{
    Q_OBJECT

public:
    WindowPresence(QMainWindow &window, ScanSession &session);
    ~WindowPresence() override;

    TrayIcon &tray() { return *m_tray; }
    // Registers Shift+Alt+S; where it cannot, the message panel says why.
    void registerHotkey();

public slots:
    void hideWindow();
    void showRestored();
    // Hide when shown, show when hidden (the tray's double click, the hotkey).
    void toggle();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMainWindow &m_window;
    ScanSession &m_session;
    TrayIcon *m_tray;
    std::unique_ptr<GlobalHotkey> m_hotkey;
};
