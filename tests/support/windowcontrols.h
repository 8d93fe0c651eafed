#pragma once

#include "settings/settingsmodel.h"

#include <QObject>
#include <array>

class IPAddressEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTableWidget;
class QTimer;
class QToolButton;
class QWidget;

// The child of `parent` named `name`; a test that asks for a control the
// window does not have stops at once.
QObject *namedChild(const QObject *parent, const char *name, const QMetaObject &type);

template <typename T>
T *namedControl(const QObject *parent, const char *name)
{
    return static_cast<T *>(namedChild(parent, name, T::staticMetaObject));
}

// The main window's controls and timers, found by their object names.
struct MainWindowControls
{
    explicit MainWindowControls(const QWidget *window);

    QTableView *LW;
    QTableView *LWPlayers;
    QTableView *LWRules;
    QTabWidget *PageControl1;
    QPushButton *SBScanAll;
    QPushButton *SBStop;
    QPushButton *SBRefresh;
    QPushButton *SBAuto;
    QPushButton *SBPlay;
    QRadioButton *RGGame;
    QRadioButton *RGHltv;
    QProgressBar *Gauge;
    QLabel *Image;
    std::array<QLabel *, 3> Panels;
    QMenu *PMServers;
    QMenu *PMTray;
    QTimer *TimerAuto;
    QTimer *TimerFav;
    // The countdown after a sweep.
    QTimer *Timer;
};

// The settings dialog's controls, found by their object names.
struct SettingsControls
{
    explicit SettingsControls(const QWidget *dialog);

    QTabWidget *PageControl;
    QWidget *TS1;
    QWidget *TabSheet1;
    QWidget *TS2;
    QWidget *TS3;

    QComboBox *CBGame;
    QRadioButton *RBSteam;
    QRadioButton *RBNoSteam;
    QLabel *LBExe;
    QLabel *LBSteamPath;
    QLineEdit *EditExe;
    QToolButton *SBExe;
    QLineEdit *EditParam;
    QComboBox *CBParams;
    QPushButton *BBLeft;
    QPushButton *BBDefault;
    QPushButton *BBSave;
    QCheckBox *CBDclick;
    QCheckBox *CBTrans;
    QSlider *TBTrans;

    std::array<QCheckBox *, GameFilterCount> CBShow; // by GameFilter

    QTableWidget *LWranges;
    QToolButton *SBMoveUp;
    QToolButton *SBMoveDown;
    IPAddressEdit *IPE1;
    IPAddressEdit *IPE2;
    QPushButton *SBAdd;
    QPushButton *SBDel;
    QPushButton *SBFill;
    QLineEdit *CSport;
    QLineEdit *HLTVport;
    QSpinBox *SEDelay;
    QCheckBox *CBBroadcast;
    QLabel *LBroadcastTo;
    QCheckBox *CBLanPorts;
    QCheckBox *CBOld;

    QTableView *LVFav;
    QLineEdit *EditHost;
    QLineEdit *MEPort;
    QPushButton *SpeedButton4; // "Add"
    QPushButton *SpeedButton5; // "Del"
    QCheckBox *CBAutoUpdate;   // "Auto scan"
    QSpinBox *SEUpdInterval;   // "Interval (sec)"
};
