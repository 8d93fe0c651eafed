#include "ui/aboutbox.h"

#include "desktop/shell.h"
#include "update/updatechecker.h"
#include "settings/settingsmodel.h"
#include "ui/iconlibrary.h"
#include "ui/linklabel.h"
#include "ui/mainwindow.h"
#include "ui/transparency.h"
#include "buildinfo.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The translation context of the texts below.
struct AboutBox
{
    Q_DECLARE_TR_FUNCTIONS(AboutBox)
};

// The client area the box was drawn for; a larger default font widens it.
constexpr QSize DesignSize(304, 191);

} // namespace

TFormAbout::TFormAbout(SettingsModel &settingsModel, UpdateChecker *checker, Shell &desktop, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
    , settings(settingsModel)
    , updates(checker)
    , shell(desktop)
{
    setWindowTitle(AboutBox::tr("Info"));
    setWindowIcon(IconLibrary::appIcon());

    setObjectName(QStringLiteral("FormAbout"));
    auto *picture = new QLabel(this);
    picture->setAccessibleName(QStringLiteral("Vantor"));
    picture->setPixmap(IconLibrary::appIcon().pixmap(48, 48));
    auto *name = new QLabel(QStringLiteral("Vantor"), this);
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 2);
    nameFont.setBold(true);
    nameFont.setItalic(true);
    name->setFont(nameFont);
    QPalette namePalette = name->palette();
    namePalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    name->setPalette(namePalette);
    auto *version = new QLabel(AboutBox::tr("version %1").arg(QStringLiteral(VANTOR_VERSION)), this);

    auto *titles = new QVBoxLayout;
    titles->addWidget(name);
    titles->addWidget(version);
    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(titles);
    top->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);

    if (updates) {
        checkButton = new QPushButton(AboutBox::tr("Check for updates"), this);
        checkButton->setObjectName(QStringLiteral("checkButton"));
        checkButton->setAutoDefault(false);
        autoCheck = new QCheckBox(AboutBox::tr("Automatically check for updates"), this);
        autoCheck->setObjectName(QStringLiteral("autoCheck"));
        autoCheck->setChecked(settings.checkUpdates);
        top->addWidget(checkButton, 0, Qt::AlignVCenter);
        layout->addWidget(autoCheck);
        connect(checkButton, &QPushButton::clicked, this, &TFormAbout::checkButtonClick);
        connect(autoCheck, &QCheckBox::toggled, this, &TFormAbout::autoCheckClick);
        connect(updates, &UpdateChecker::finished, checkButton, [this] { checkButton->setEnabled(true); });
    }
    layout->addWidget(buildCredits());
    connect(homePage, &LinkLabel::clicked, this, &TFormAbout::homePageClick);

    setFixedSize(layout->sizeHint().expandedTo(DesignSize));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QWidget *TFormAbout::buildCredits()
{
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    homePage = new LinkLabel(TForm1::homePageAddress(), panel);
    homePage->setObjectName(QStringLiteral("homePage"));
    homePage->setAccessibleName(AboutBox::tr("Home page"));
    auto *grid = new QGridLayout(panel);
    grid->addWidget(new QLabel(AboutBox::tr("Author:"), panel), 0, 0);
    grid->addWidget(new QLabel(AboutBox::tr("The Vantor developers"), panel), 0, 1);
    grid->addWidget(new QLabel(AboutBox::tr("Home page:"), panel), 1, 0);
    grid->addWidget(homePage, 1, 1);
    grid->addWidget(new QLabel(AboutBox::tr("Special thank to:"), panel), 2, 0);
    grid->addWidget(new QLabel(AboutBox::tr("All the LAN party testers"), panel), 2, 1);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setColumnStretch(1, 1);
    return panel;
}

void TFormAbout::checkButtonClick()
{
    checkButton->setEnabled(false);
    updates->check(true);
}

void TFormAbout::autoCheckClick(bool checked)
{
    settings.checkUpdates = checked;
}

void TFormAbout::homePageClick()
{
    shell.openUrl(TForm1::homePageAddress());
}

void TFormAbout::showEvent(QShowEvent *event)
{
    applyTransparency(this, settings);
    QDialog::showEvent(event);
}
