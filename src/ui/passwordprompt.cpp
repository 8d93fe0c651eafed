#include "ui/passwordprompt.h"

#include "settings/writereport.h"
#include "join/launcher.h"
#include "scan/listicons.h"
#include "desktop/prompter.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "ui/iconlibrary.h"
#include "ui/linebreakfilter.h"
#include "ui/transparency.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

// The translation context of the texts below.
struct PasswordDialog
{
    Q_DECLARE_TR_FUNCTIONS(PasswordDialog)
};

constexpr int PictureSize = 32;

} // namespace

TFormPass::TFormPass(SettingsModel &settingsModel, IniFile &file, Prompter &messages, Launcher &launchOwner,
                     QWidget *parent)
    : QDialog(parent), settings(settingsModel), ini(file), prompter(messages), launcher(launchOwner)
{
    setObjectName(QStringLiteral("FormPass"));
    setWindowTitle(PasswordDialog::tr("Password"));
    setWindowIcon(IconLibrary::appIcon());

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setAccessibleName(PasswordDialog::tr("Password"));
    Image->setPixmap(IconLibrary::listIcon(IconPassword).pixmap(PictureSize, PictureSize));
    Image->setFixedSize(PictureSize, PictureSize);
    MEPass = new QLineEdit(this);
    MEPass->setObjectName(QStringLiteral("MEPass"));
    MEPass->setMinimumWidth(160);
    // Masked characters show as '*' whatever the style's own choice.
    MEPass->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    CBShowPass = new QCheckBox(PasswordDialog::tr("Show password"), this);
    CBShowPass->setObjectName(QStringLiteral("CBShowPass"));
    BitBtn1 = new QPushButton(PasswordDialog::tr("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(PasswordDialog::tr("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn1->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Image, 0, 0, 2, 1, Qt::AlignTop);
    auto *prompt = new QLabel(PasswordDialog::tr("Enter password:"), this);
    prompt->setBuddy(MEPass);
    grid->addWidget(prompt, 0, 1);
    grid->addWidget(MEPass, 1, 1);
    grid->addWidget(CBShowPass, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    refuseLineBreaks(MEPass);
    connect(CBShowPass, &QCheckBox::toggled, this, &TFormPass::CBShowPassClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormPass::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormPass::BitBtn2Click);

    settings.loadPassword(ini);
    CBShowPass->setChecked(settings.showPass);
    CBShowPassClick();
    adjustSize();
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    MEPass->setText(settings.lastPass);
}

TFormPass::~TFormPass()
{
    settings.lastPass = MEPass->text();
    settings.showPass = CBShowPass->isChecked();
    writeOrTell(prompter, [this] { settings.savePassword(ini); });
}

void TFormPass::CBShowPassClick()
{
    MEPass->setEchoMode(CBShowPass->isChecked() ? QLineEdit::Normal : QLineEdit::Password);
}

void TFormPass::BitBtn1Click()
{
    if (MEPass->text().isEmpty()) {
        MEPass->setFocus();
        return;
    }
    launcher.givePassword(MEPass->text());
    close();
    emit playRequested();
}

void TFormPass::BitBtn2Click()
{
    close();
    launcher.withdrawPassword();
}

void TFormPass::showEvent(QShowEvent *event)
{
    applyTransparency(this, settings);
    QDialog::showEvent(event);
    // Typing replaces the remembered password.
    MEPass->setFocus();
    MEPass->selectAll();
}

void TFormPass::keyPressEvent(QKeyEvent *event)
{
    // Escape is the Cancel button; the close box only hides the window.
    if (event->matches(QKeySequence::Cancel)) {
        BitBtn2->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
