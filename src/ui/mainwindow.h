#pragma once

#include <QMainWindow>
#include <memory>

class DetailPages;
class FilterBar;
class IconProxyModel;
class QAction;
class QMenu;
class QTableView;
class ScanBar;
class ScanSession;
class ServerColumns;
class Shell;
class StatusPanels;
class TrayIcon;
class WindowPresence;

// The main window: the server list, the scan bar, the players and rules
// pages, the status bar, the tray icon and the global hotkey. The scan
// session does the work; this window shows its state and forwards the
// user's clicks and keys.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    TForm1(ScanSession &session, Shell &shell, bool registerHotkey = true, QWidget *parent = nullptr);
    ~TForm1() override;

    static QString applicationTitle();
    static QString homePageAddress();

    // The settings were loaded: the session takes them; the window shows the
    // port choice, the size and the filter.
    void applySettings();

    ScanSession &session() { return m_session; }
    TrayIcon &tray();
    // The list row (of the unfiltered list) selected in the view, or -1.
    int selectedRow() const;
    void selectRow(int row);

public slots:
    void LWSelectItem();
    void LWDblClick();
    void SBPlayClick();
    void PMSCopyAddressClick();
    void PMSCopySteamLinkClick();
    void Hide1Click();
    void Homepage1Click();
    // Shift+Alt+S: hide when shown, show when hidden.
    void HotkeyPressed();
    // Another start of the same version asked this one to come to the front.
    void bringToFront();
    // The desktop session ends (log-off or shut-down).
    void sessionEnding();

signals:
    void optionsRequested();
    void passwordRequested();
    void aboutRequested();
    // The window became the active window (the daily update check hangs on it).
    void activated();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildServerList(QWidget *central);
    void showControls();
    void connectSession();
    // The filter bar changed: the session filters, the count follows.
    void quickFilterChanged();
    void showFilterCount();
    void centre();

    ScanSession &m_session;
    Shell &m_shell;
    QTableView *m_list = nullptr;
    DetailPages *m_details = nullptr;
    IconProxyModel *m_listIcons = nullptr;
    FilterBar *m_filterBar = nullptr;
    ScanBar *m_scanBar = nullptr;
    std::unique_ptr<StatusPanels> m_panels;
    QMenu *m_serverMenu = nullptr;
    QAction *m_copyAddress = nullptr;
    WindowPresence *m_presence = nullptr;
    std::unique_ptr<ServerColumns> m_columns;
};
