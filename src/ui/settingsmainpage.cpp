// The "Main" page of the settings dialog: the launch settings of one game at a
// time, the double-click choice and the transparency.

#include "ui/settingsdialog.h"

#include "desktop/prompter.h"
#include "settings/exefilter.h"
#include "settings/inifile.h"
#include "settings/launchtable.h"
#include "ui/filechooser.h"
#include "ui/linebreakfilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The translation context of the texts below.
struct SettingsDialog
{
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)
};

constexpr int InitialTransLevel = 100;
constexpr int MinTransLevel = 50;
constexpr int MaxTransLevel = 255;

} // namespace

QWidget *TSettings::buildMainPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setSpacing(4);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);

    auto *gameRow = new QHBoxLayout;
    CBGame = new QComboBox(page);
    CBGame->setObjectName(QStringLiteral("CBGame"));
    CBGame->setAccessibleName(SettingsDialog::tr("Game"));
    for (int i = 0; i < LaunchGameCount; ++i)
        CBGame->addItem(launchGameName(i).toUpper());
    RBSteam = new QRadioButton(QStringLiteral("Steam"), page);
    RBSteam->setObjectName(QStringLiteral("RBSteam"));
    RBNoSteam = new QRadioButton(SettingsDialog::tr("No Steam"), page);
    RBNoSteam->setObjectName(QStringLiteral("RBNoSteam"));
    RBNoSteam->setChecked(true);
    gameRow->addWidget(CBGame);
    gameRow->addSpacing(8);
    gameRow->addWidget(RBSteam);
    gameRow->addWidget(RBNoSteam);
    gameRow->addStretch();
    grid->addLayout(gameRow, 0, 0, 1, 3);

    LBExe = new QLabel(SettingsDialog::tr("Exe path:"), page);
    LBExe->setObjectName(QStringLiteral("LBExe"));
    LBSteamPath = new QLabel(SettingsDialog::tr("Steam path:"), page);
    LBSteamPath->setObjectName(QStringLiteral("LBSteamPath"));
    LBSteamPath->hide();
    grid->addWidget(LBExe, 1, 0, 1, 3);
    grid->addWidget(LBSteamPath, 1, 0, 1, 3);

    EditExe = new QLineEdit(page);
    EditExe->setObjectName(QStringLiteral("EditExe"));
    EditExe->setReadOnly(true);
    EditExe->setAccessibleName(SettingsDialog::tr("Exe path"));
    SBExe = new QToolButton(page);
    SBExe->setObjectName(QStringLiteral("SBExe"));
    SBExe->setText(QStringLiteral("..."));
    SBExe->setToolTip(SettingsDialog::tr("Find file"));
    SBExe->setAccessibleName(SettingsDialog::tr("Find file"));
    grid->addWidget(EditExe, 2, 0, 1, 2);
    grid->addWidget(SBExe, 2, 2);

    auto *paramLabel = new QLabel(SettingsDialog::tr("Parameters:"), page);
    grid->addWidget(paramLabel, 3, 0, 1, 3);
    EditParam = new QLineEdit(page);
    EditParam->setObjectName(QStringLiteral("EditParam"));
    paramLabel->setBuddy(EditParam);
    BBDefault = new QPushButton(SettingsDialog::tr("Default"), page);
    BBDefault->setObjectName(QStringLiteral("BBDefault"));
    BBDefault->setToolTip(SettingsDialog::tr("Restore params ot default"));
    grid->addWidget(EditParam, 4, 0, 1, 2);
    grid->addWidget(BBDefault, 4, 2);

    auto *paramRow = new QHBoxLayout;
    paramRow->setSpacing(4);
    CBParams = new QComboBox(page);
    CBParams->setObjectName(QStringLiteral("CBParams"));
    CBParams->setAccessibleName(SettingsDialog::tr("Parameter list"));
    CBParams->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    BBLeft = new QPushButton(SettingsDialog::tr("Append param"), page);
    BBLeft->setObjectName(QStringLiteral("BBLeft"));
    paramRow->addWidget(CBParams);
    paramRow->addWidget(BBLeft);
    paramRow->addStretch();
    grid->addLayout(paramRow, 5, 0, 1, 2);
    BBSave = new QPushButton(SettingsDialog::tr("Save"), page);
    BBSave->setObjectName(QStringLiteral("BBSave"));
    BBSave->setEnabled(false);
    grid->addWidget(BBSave, 5, 2);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto *line = new QFrame(page);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    CBDclick = new QCheckBox(SettingsDialog::tr("Connect by double click"), page);
    CBDclick->setObjectName(QStringLiteral("CBDclick"));
    CBDclick->setChecked(true);
    layout->addWidget(CBDclick);

    auto *transRow = new QHBoxLayout;
    CBTrans = new QCheckBox(SettingsDialog::tr("Transparency"), page);
    CBTrans->setObjectName(QStringLiteral("CBTrans"));
    TBTrans = new QSlider(Qt::Horizontal, page);
    TBTrans->setObjectName(QStringLiteral("TBTrans"));
    TBTrans->setAccessibleName(SettingsDialog::tr("Transparency level"));
    TBTrans->setRange(MinTransLevel, MaxTransLevel);
    TBTrans->setValue(InitialTransLevel);
    TBTrans->setTickPosition(QSlider::TicksBelow);
    TBTrans->setTickInterval(3);
    TBTrans->setEnabled(false);
    transRow->addWidget(CBTrans);
    transRow->addWidget(TBTrans, 1);
    layout->addLayout(transRow);

    auto *languageRow = new QHBoxLayout;
    auto *languageLabel = new QLabel(SettingsDialog::tr("Language:"), page);
    CBLanguage = new QComboBox(page);
    CBLanguage->setObjectName(QStringLiteral("CBLanguage"));
    CBLanguage->setAccessibleName(SettingsDialog::tr("Language"));
    languageLabel->setBuddy(CBLanguage);
    CBLanguage->addItem(SettingsDialog::tr("Automatic"), QString());
    // Each language by its own name, so that a user finds it whatever is shown now.
    CBLanguage->addItem(QStringLiteral("English"), QStringLiteral("en"));
    CBLanguage->addItem(QStringLiteral("Deutsch"), QStringLiteral("de"));
    CBLanguage->addItem(QStringLiteral("Русский"), QStringLiteral("ru"));
    CBLanguage->setToolTip(SettingsDialog::tr("Takes effect at the next start of Vantor"));
    languageRow->addWidget(languageLabel);
    languageRow->addWidget(CBLanguage);
    languageRow->addStretch();
    layout->addLayout(languageRow);
    layout->addStretch();

    refuseLineBreaks(EditParam);
    connect(SBExe, &QToolButton::clicked, this, &TSettings::SBExeClick);
    connect(EditParam, &QLineEdit::textEdited, this, &TSettings::EditParamKeyPress);
    connect(BBLeft, &QPushButton::clicked, this, &TSettings::BBLeftClick);
    connect(BBDefault, &QPushButton::clicked, this, &TSettings::BBDefaultClick);
    connect(BBSave, &QPushButton::clicked, this, &TSettings::BBSaveClick);
    return page;
}

int TSettings::currentGame() const
{
    return CBGame->currentIndex();
}

void TSettings::SwitchSteam(bool steam)
{
    const LaunchEntry &entry = settings.games[currentGame()];
    EditExe->setText(steam ? settings.steamExePath : entry.exePath);
    EditParam->setText(steam ? entry.steamParams : entry.params);
    LBSteamPath->setVisible(steam);
    LBExe->setVisible(!steam);
    EditExe->setAccessibleName(steam ? SettingsDialog::tr("Steam path") : SettingsDialog::tr("Exe path"));
}

void TSettings::CBGameChange()
{
    settings.curItem = currentGame();
    const bool steam = settings.games[currentGame()].steam;
    (steam ? RBSteam : RBNoSteam)->setChecked(true);
    SwitchSteam(steam);
    proposeSteamPath();
}

void TSettings::RBSteamClick()
{
    SwitchSteam(true);
    if (!settings.games[currentGame()].steam)
        BBSave->setEnabled(true);
    proposeSteamPath();
}

void TSettings::proposeSteamPath()
{
    if (!RBSteam->isChecked() || !settings.steamExePath.isEmpty() || !findProgram)
        return;
    const QString found = findProgram(QStringLiteral("steam"));
    // A file the user picked and has not saved yet stays.
    if (found.isEmpty() || !(EditExe->text().isEmpty() || EditExe->text() == found))
        return;
    EditExe->setText(found);
    BBSave->setEnabled(true);
}

void TSettings::RBNoSteamClick()
{
    SwitchSteam(false);
    if (settings.games[currentGame()].steam)
        BBSave->setEnabled(true);
}

void TSettings::SBExeClick()
{
    const QString filter = RBSteam->isChecked() ? steamFileFilter() : exeFileFilter(currentGame());
    chooser.openFile(this, filter, [this](const QString &path) { exeChosen(path); });
}

void TSettings::exeChosen(const QString &path)
{
    if (path.isEmpty())
        return;
    if (!IniFile::storable(path)) {
        prompter.error(SettingsDialog::tr("The path holds a line break and cannot be stored."));
        return;
    }
    EditExe->setText(path);
    BBSave->setEnabled(true);
}

void TSettings::EditParamKeyPress()
{
    BBSave->setEnabled(true);
}

void TSettings::BBLeftClick()
{
    const QString picked = CBParams->currentText();
    if (picked.isEmpty())
        return;
    EditParam->setText(EditParam->text() + u' ' + picked);
    BBSave->setEnabled(true);
}

void TSettings::BBDefaultClick()
{
    QString params = EditParam->text();
    if (RBSteam->isChecked())
        defaultSteamParams(currentGame(), params);
    else
        defaultParams(currentGame(), params);
    if (params == EditParam->text())
        return;
    EditParam->setText(params);
    BBSave->setEnabled(true);
}

void TSettings::BBSaveClick()
{
    LaunchEntry &entry = settings.games[currentGame()];
    const bool steam = RBSteam->isChecked();
    if (steam) {
        settings.steamExePath = EditExe->text();
        entry.steamParams = EditParam->text();
    } else {
        entry.exePath = EditExe->text();
        entry.params = EditParam->text();
    }
    entry.steam = steam;
    BBSave->setEnabled(false);
}
