#include "support/windowcontrols.h"

#include "join/scansession.h"
#include "ui/ipaddressedit.h"
#include "ui/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

QObject *namedChild(const QObject *parent, const char *name, const QMetaObject &type)
{
    const QList<QObject *> found = parent->findChildren<QObject *>(QLatin1String(name));
    for (QObject *child : found) {
        if (type.cast(child))
            return child;
    }
    qFatal("%s has no %s named %s", parent->metaObject()->className(), type.className(), name);
}

namespace {

// The timers belong to the session behind the window.
const QObject *sessionOf(const QWidget *window)
{
    const auto *form = qobject_cast<const TForm1 *>(window);
    if (!form)
        qFatal("%s is no main window", window->metaObject()->className());
    return &const_cast<TForm1 *>(form)->session();
}

} // namespace

MainWindowControls::MainWindowControls(const QWidget *w)
    : LW(namedControl<QTableView>(w, "LW"))
    , LWPlayers(namedControl<QTableView>(w, "LWPlayers"))
    , LWRules(namedControl<QTableView>(w, "LWRules"))
    , PageControl1(namedControl<QTabWidget>(w, "PageControl1"))
    , SBScanAll(namedControl<QPushButton>(w, "SBScanAll"))
    , SBStop(namedControl<QPushButton>(w, "SBStop"))
    , SBRefresh(namedControl<QPushButton>(w, "SBRefresh"))
    , SBAuto(namedControl<QPushButton>(w, "SBAuto"))
    , SBPlay(namedControl<QPushButton>(w, "SBPlay"))
    , RGGame(namedControl<QRadioButton>(w, "RGGame"))
    , RGHltv(namedControl<QRadioButton>(w, "RGHltv"))
    , Gauge(namedControl<QProgressBar>(w, "Gauge"))
    , Image(namedControl<QLabel>(w, "Image"))
    , Panels{namedControl<QLabel>(w, "Panels0"), namedControl<QLabel>(w, "Panels1"),
             namedControl<QLabel>(w, "Panels2")}
    , PMServers(namedControl<QMenu>(w, "PMServers"))
    , PMTray(namedControl<QMenu>(w, "PMTray"))
    , TimerAuto(namedControl<QTimer>(sessionOf(w), "TimerAuto"))
    , TimerFav(namedControl<QTimer>(sessionOf(w), "TimerFav"))
    , Timer(namedControl<QTimer>(sessionOf(w), "Timer"))
{
}

SettingsControls::SettingsControls(const QWidget *d)
    : PageControl(namedControl<QTabWidget>(d, "PageControl"))
    , TS1(namedControl<QWidget>(d, "TS1"))
    , TabSheet1(namedControl<QWidget>(d, "TabSheet1"))
    , TS2(namedControl<QWidget>(d, "TS2"))
    , TS3(namedControl<QWidget>(d, "TS3"))
    , CBGame(namedControl<QComboBox>(d, "CBGame"))
    , RBSteam(namedControl<QRadioButton>(d, "RBSteam"))
    , RBNoSteam(namedControl<QRadioButton>(d, "RBNoSteam"))
    , LBExe(namedControl<QLabel>(d, "LBExe"))
    , LBSteamPath(namedControl<QLabel>(d, "LBSteamPath"))
    , EditExe(namedControl<QLineEdit>(d, "EditExe"))
    , SBExe(namedControl<QToolButton>(d, "SBExe"))
    , EditParam(namedControl<QLineEdit>(d, "EditParam"))
    , CBParams(namedControl<QComboBox>(d, "CBParams"))
    , BBLeft(namedControl<QPushButton>(d, "BBLeft"))
    , BBDefault(namedControl<QPushButton>(d, "BBDefault"))
    , BBSave(namedControl<QPushButton>(d, "BBSave"))
    , CBDclick(namedControl<QCheckBox>(d, "CBDclick"))
    , CBTrans(namedControl<QCheckBox>(d, "CBTrans"))
    , TBTrans(namedControl<QSlider>(d, "TBTrans"))
    , CBShow{}
    , LWranges(namedControl<QTableWidget>(d, "LWranges"))
    , SBMoveUp(namedControl<QToolButton>(d, "SBMoveUp"))
    , SBMoveDown(namedControl<QToolButton>(d, "SBMoveDown"))
    , IPE1(namedControl<IPAddressEdit>(d, "IPE1"))
    , IPE2(namedControl<IPAddressEdit>(d, "IPE2"))
    , SBAdd(namedControl<QPushButton>(d, "SBAdd"))
    , SBDel(namedControl<QPushButton>(d, "SBDel"))
    , SBFill(namedControl<QPushButton>(d, "SBFill"))
    , CSport(namedControl<QLineEdit>(d, "CSport"))
    , HLTVport(namedControl<QLineEdit>(d, "HLTVport"))
    , SEDelay(namedControl<QSpinBox>(d, "SEDelay"))
    , CBBroadcast(namedControl<QCheckBox>(d, "CBBroadcast"))
    , LBroadcastTo(namedControl<QLabel>(d, "LBroadcastTo"))
    , CBLanPorts(namedControl<QCheckBox>(d, "CBLanPorts"))
    , CBOld(namedControl<QCheckBox>(d, "CBOld"))
    , LVFav(namedControl<QTableView>(d, "LVFav"))
    , EditHost(namedControl<QLineEdit>(d, "EditHost"))
    , MEPort(namedControl<QLineEdit>(d, "MEPort"))
    , SpeedButton4(namedControl<QPushButton>(d, "SpeedButton4"))
    , SpeedButton5(namedControl<QPushButton>(d, "SpeedButton5"))
    , CBAutoUpdate(namedControl<QCheckBox>(d, "CBAutoUpdate"))
    , SEUpdInterval(namedControl<QSpinBox>(d, "SEUpdInterval"))
{
    const char *const showOnly[GameFilterCount] = {"CBHL1", "CBHL2", "CBCS15", "CBCS16", "CBCSS",
                                                   "CBCSP", "CBCZ",  "CBDOD",  "CBDODS", "CBGMOD",
                                                   "CBTF",  "CBTF2", "CBDMC",  "CBRC",   "CBL4D"};
    for (int g = 0; g < GameFilterCount; ++g)
        CBShow[size_t(g)] = namedControl<QCheckBox>(d, showOnly[g]);
}
