#include "ui/settingsdialog.h"

#include "settings/writereport.h"
#include "desktop/prompter.h"
#include "settings/inifile.h"
#include "ui/combolistnames.h"
#include "ui/filechooser.h"
#include "ui/iconlibrary.h"
#include "ui/ipaddressedit.h"
#include "ui/programsearch.h"
#include "ui/transparency.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The translation context of the texts below.
struct SettingsDialog
{
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)
};

// The client area the dialog was drawn for; a larger default font widens it.
constexpr QSize DesignSize(323, 278);

// Captions of the "Show only" check boxes, by GameFilter.
const char *const showOnlyCaptions[GameFilterCount] = {
    "Half-life", "Half-life-2", "Counter-Strike 1.5", "Counter-Strike 1.6", "Counter-Strike: Source",
    "CS Promod", "Condition-Zero", "Day Of Defeat", "Day Of Defeat Source",
    "Half-life-2 Sandbox (Garry's mod)", "Team Fortress Classic", "Team Fortress 2", "Deathmatch Classic",
    "Ricochet", "Left 4 Dead",
};
const char *const showOnlyNames[GameFilterCount] = {
    "CBHL1", "CBHL2", "CBCS15", "CBCS16", "CBCSS", "CBCSP", "CBCZ", "CBDOD",
    "CBDODS", "CBGMOD", "CBTF", "CBTF2", "CBDMC", "CBRC", "CBL4D",
};

} // namespace

TSettings::TSettings(SettingsModel &settingsModel, IniFile &file, Prompter &messages, NetworkCards &networkCards,
                     FileChooser *fileChooser, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
    , settings(settingsModel)
    , ini(file)
    , prompter(messages)
    , cards(networkCards)
    , ownChooser(fileChooser ? nullptr : std::make_unique<DialogFileChooser>())
    , chooser(fileChooser ? *fileChooser : *ownChooser)
{
    setObjectName(QStringLiteral("Settings"));
    findProgram = &findProgramOnPath;
    setWindowTitle(SettingsDialog::tr("Settings"));
    setWindowIcon(IconLibrary::appIcon());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setAccessibleName(SettingsDialog::tr("Settings pages"));
    PageControl->setMinimumSize(DesignSize - QSize(8, 8));
    TS1 = buildMainPage();
    TS1->setObjectName(QStringLiteral("TS1"));
    TabSheet1 = buildGamesPage();
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TS2 = buildScanPage();
    TS2->setObjectName(QStringLiteral("TS2"));
    TS3 = buildFavoritesPage();
    TS3->setObjectName(QStringLiteral("TS3"));
    PageControl->addTab(TS1, SettingsDialog::tr("Main"));
    PageControl->addTab(TabSheet1, SettingsDialog::tr("Games"));
    PageControl->addTab(TS2, SettingsDialog::tr("Scan settings"));
    PageControl->addTab(TS3, SettingsDialog::tr("Favorites"));
    layout->addWidget(PageControl);
    // The dialog has no default action: Enter in a field must not press
    // whichever button comes first ("Default" would drop the typed parameters).
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
    nameComboLists(*this);

    adjustSize();
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TSettings::~TSettings() = default;

void TSettings::loadSettings()
{
    settings.load(ini);
    showSettings();
    connectLiveSettings();
    if (!settings.loadWarnings.isEmpty())
        prompter.warning(settings.loadWarnings.join(u'\n'));
}

void TSettings::saveSettings()
{
    writeOrTell(prompter, [this] { settings.save(ini); });
}

QWidget *TSettings::buildGamesPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    auto *group = new QGroupBox(SettingsDialog::tr("Show only"), page);
    auto *grid = new QGridLayout(group);
    grid->setVerticalSpacing(2);
    const int perColumn = (GameFilterCount + 1) / 2;
    for (int g = 0; g < GameFilterCount; ++g) {
        CBShow[g] = new QCheckBox(QString::fromLatin1(showOnlyCaptions[g]), group);
        CBShow[g]->setObjectName(QLatin1String(showOnlyNames[g]));
        CBShow[g]->setChecked(true);
        grid->addWidget(CBShow[g], g % perColumn, g / perColumn);
    }
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

void TSettings::connectLiveSettings()
{
    // Closing the dialog saves, so a crash later loses nothing the user set
    // here. Only a loaded dialog may save: before, it holds the defaults.
    connect(this, &QDialog::finished, this, &TSettings::saveSettings);
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int index) {
        settings.curPage = index;
        if (isVisible())
            pageShown(index);
    });

    connect(CBGame, &QComboBox::currentIndexChanged, this, &TSettings::CBGameChange);
    connect(RBSteam, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RBSteamClick();
    });
    connect(RBNoSteam, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RBNoSteamClick();
    });
    connect(CBDclick, &QCheckBox::toggled, this, [this](bool on) { settings.doubleClick = on; });
    connect(CBLanguage, &QComboBox::currentIndexChanged, this,
            [this] { settings.language = CBLanguage->currentData().toString(); });
    connect(CBTrans, &QCheckBox::toggled, this, &TSettings::CBTransClick);
    connect(TBTrans, &QSlider::valueChanged, this, &TSettings::TBTransChange);

    for (int g = 0; g < GameFilterCount; ++g)
        connect(CBShow[g], &QCheckBox::toggled, this, [this, g](bool on) { settings.showGame[g] = on; });

    connect(CBBroadcast, &QCheckBox::toggled, this, [this](bool on) {
        settings.broadcast = on;
        showBroadcastEnabled();
    });
    connect(CBLanPorts, &QCheckBox::toggled, this, [this](bool on) { settings.broadcastLanPorts = on; });
    connect(CBOld, &QCheckBox::toggled, this, [this](bool on) { settings.scanOld = on; });
    connect(CSport, &QLineEdit::textChanged, this, [this](const QString &text) { settings.csPort = text; });
    connect(HLTVport, &QLineEdit::textChanged, this, [this](const QString &text) { settings.hltvPort = text; });
    connect(SEDelay, &QSpinBox::valueChanged, this, [this](int value) { settings.delay = value; });

    connect(CBAutoUpdate, &QCheckBox::toggled, this, &TSettings::CBAutoUpdateClick);
    connect(SEUpdInterval, &QSpinBox::valueChanged, this, &TSettings::SEUpdIntervalChange);
}

// Runs before the controls are connected to the model.
void TSettings::showSettings()
{
    CBGame->setCurrentIndex(settings.curItem);
    const bool steam = settings.games[currentGame()].steam;
    (steam ? RBSteam : RBNoSteam)->setChecked(true);
    SwitchSteam(steam);

    CSport->setText(settings.csPort);
    HLTVport->setText(settings.hltvPort);
    CBOld->setChecked(settings.scanOld);
    SEDelay->setValue(settings.delay);
    CBBroadcast->setChecked(settings.broadcast);
    CBLanPorts->setChecked(settings.broadcastLanPorts);
    showBroadcastEnabled();
    CBDclick->setChecked(settings.doubleClick);
    CBLanguage->setCurrentIndex(std::max(0, CBLanguage->findData(settings.language)));
    CBTrans->setChecked(settings.trans);
    TBTrans->setEnabled(settings.trans);
    for (int g = 0; g < GameFilterCount; ++g)
        CBShow[g]->setChecked(settings.showGame[g]);

    CBParams->clear();
    CBParams->addItems(settings.params);
    CBParams->setCurrentIndex(-1);

    showRanges(-1);
    showFavorites();
    PageControl->setCurrentIndex(settings.curPage);
}

void TSettings::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is not a new showing.
    if (event->spontaneous())
        return;
    BBSave->setEnabled(false);
    proposeSteamPath();
    applyTransparency(this, settings);
    showBroadcastAddresses();
    pageShown(PageControl->currentIndex());
}

void TSettings::pageShown(int index)
{
    switch (index) {
    case MainPage:
        // The bar keeps the level within its range; moving it sets the level.
        TBTrans->setValue(settings.transLevel);
        break;
    case ScanPage:
        IPE1->update();
        IPE2->update();
        break;
    case FavoritesPage:
        TS3Show();
        break;
    default:
        break;
    }
}

void TSettings::CBTransClick()
{
    settings.trans = CBTrans->isChecked();
    TBTrans->setEnabled(settings.trans);
    applyTransparency(this, settings);
    emit transparencyChanged();
}

void TSettings::TBTransChange(int position)
{
    settings.transLevel = position;
    applyTransparency(this, settings);
    emit transparencyChanged();
}
