#pragma once

#include "settings/settingsmodel.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class FavoritesModel;
class FileChooser;
class IPAddressEdit;
class IniFile;
class NetworkCards;
class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTableWidget;
class QToolButton;

// The settings dialog. loadSettings() reads the configuration file into the
// settings model and the controls; saveSettings() writes the file back, at exit
// and whenever the user closes the dialog. Its controls edit the model at
// once, so whoever reads a setting gets what is shown; only the game launch
// entries wait for "Save".
class TSettings : public QDialog
{
    Q_OBJECT

public:
    enum Page { MainPage = 0, GamesPage = 1, ScanPage = 2, FavoritesPage = 3 };

    // Without a file chooser the desktop's open-file dialog is used. The
    // network cards tell where a scan would broadcast.
    TSettings(SettingsModel &settings, IniFile &ini, Prompter &prompter, NetworkCards &cards,
              FileChooser *fileChooser = nullptr, QWidget *parent = nullptr);
    ~TSettings() override;

    // Once, right after creation: reads the file and shows what it holds.
    void loadSettings();
    // Writes every setting to the file; a refused write is shown to the user.
    void saveSettings();

    // The selected row of the range list, -1 for none.
    int selectedRange() const;
    void selectRange(int row);
    // The same for the favourites list.
    int selectedFavorite() const;
    void selectFavorite(int row);
    // The favourites list's model; the server list's menu adds to it too.
    FavoritesModel &favorites() { return *Favorites; }

    // A program's full path by its bare name, empty when there is none: the
    // Steam path is proposed from it while none is stored. Tests answer it.
    std::function<QString(const QString &name)> findProgram;

public slots:
    // Main page: one entry of the launch table at a time.
    void CBGameChange();
    void SwitchSteam(bool steam);
    void RBSteamClick();
    void RBNoSteamClick();
    void SBExeClick();
    void EditParamKeyPress();
    void BBLeftClick();
    void BBDefaultClick();
    void BBSaveClick();
    void CBTransClick();
    void TBTransChange(int position);

    // Scan settings page: the address ranges.
    void SBAddClick();
    void SBDelClick();
    void SBMoveUpClick();
    void SBMoveDownClick();
    void SBFillClick();

    // Favorites page.
    void SpeedButton4Click();
    void SpeedButton5Click();
    void EditHostChange();
    void TS3Show();
    void CBAutoUpdateClick();
    void SEUpdIntervalChange(int seconds);
    void LVFavColumnClick(int column);

signals:
    // The transparency flag or level changed; every shown window should apply it.
    void transparencyChanged();
    // "Auto scan" was ticked or unticked; the main window's timer follows.
    void favoritesScanSwitched(bool on);
    // "Interval (sec)" changed; the main window's timer takes it at once.
    void favoritesIntervalChanged(int seconds);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildMainPage();
    QWidget *buildGamesPage();
    QWidget *buildScanPage();
    QWidget *buildFavoritesPage();
    void connectLiveSettings();
    // The open-file dialog of SBExeClick was answered with `path`.
    void exeChosen(const QString &path);

    // Puts the loaded model into the controls.
    void showSettings();
    void showRanges(int selected);
    void writeRanges();
    void showFavorites();
    void keepFavoriteWidths(int column, int width);
    void pageShown(int index);
    int currentGame() const;
    // With Steam chosen and no Steam path stored, a Steam found on the system
    // fills the path field; Save takes it.
    void proposeSteamPath();
    // The broadcast addresses beside "Broadcast", as the cards are now.
    void showBroadcastAddresses();
    void showBroadcastEnabled();

    // Controls, named as the handlers refer to them; each object name is its member name.
    QTabWidget *PageControl = nullptr;
    QWidget *TS1 = nullptr;       // "Main"
    QWidget *TabSheet1 = nullptr; // "Games"
    QWidget *TS2 = nullptr;       // "Scan settings"
    QWidget *TS3 = nullptr;       // "Favorites"

    QComboBox *CBGame = nullptr;
    QRadioButton *RBSteam = nullptr;
    QRadioButton *RBNoSteam = nullptr;
    QLabel *LBExe = nullptr;
    QLabel *LBSteamPath = nullptr;
    QLineEdit *EditExe = nullptr;
    QToolButton *SBExe = nullptr;
    QLineEdit *EditParam = nullptr;
    QComboBox *CBParams = nullptr;
    QPushButton *BBLeft = nullptr;
    QPushButton *BBDefault = nullptr;
    QPushButton *BBSave = nullptr;
    QCheckBox *CBDclick = nullptr;
    QCheckBox *CBTrans = nullptr;
    QSlider *TBTrans = nullptr;
    QComboBox *CBLanguage = nullptr; // empty data: the system's language

    std::array<QCheckBox *, GameFilterCount> CBShow{}; // "Show only", by GameFilter

    QTableWidget *LWranges = nullptr;
    QToolButton *SBMoveUp = nullptr;
    QToolButton *SBMoveDown = nullptr;
    IPAddressEdit *IPE1 = nullptr;
    IPAddressEdit *IPE2 = nullptr;
    QPushButton *SBAdd = nullptr;
    QPushButton *SBDel = nullptr;
    QPushButton *SBFill = nullptr; // "0..255"
    QLineEdit *CSport = nullptr;
    QLineEdit *HLTVport = nullptr;
    QSpinBox *SEDelay = nullptr;
    QCheckBox *CBBroadcast = nullptr;
    QLabel *LBroadcastTo = nullptr; // where the broadcast goes
    QCheckBox *CBLanPorts = nullptr;
    QCheckBox *CBOld = nullptr;

    QTableView *LVFav = nullptr;
    QLineEdit *EditHost = nullptr;
    QLineEdit *MEPort = nullptr;
    QPushButton *SpeedButton4 = nullptr; // "Add"
    QPushButton *SpeedButton5 = nullptr; // "Del"
    QCheckBox *CBAutoUpdate = nullptr;   // "Auto scan"
    QSpinBox *SEUpdInterval = nullptr;   // "Interval (sec)"

    SettingsModel &settings;
    IniFile &ini;
    Prompter &prompter;
    NetworkCards &cards;
    std::unique_ptr<FileChooser> ownChooser;
    FileChooser &chooser;
    FavoritesModel *Favorites = nullptr;
};
