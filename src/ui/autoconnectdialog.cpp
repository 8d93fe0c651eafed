#include "ui/autoconnectdialog.h"

#include "ui/combolistnames.h"
#include "ui/iconlibrary.h"
#include "ui/transparency.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>

namespace {

// The translation context of the texts below.
struct AutoConnectWindow
{
    Q_DECLARE_TR_FUNCTIONS(AutoConnectWindow)
};

} // namespace

TFormAuto::TFormAuto(const SettingsModel &settingsModel, AutoConnect &autoConnect, QWidget *parent)
    : QDialog(parent), settings(settingsModel), logic(autoConnect)
{
    setObjectName(QStringLiteral("FormAuto"));
    // The address follows when a server is chosen.
    setWindowTitle(QCoreApplication::translate("AutoConnect", "Auto connect to %1").arg(QString()));
    setWindowIcon(IconLibrary::appIcon());

    CB = new QComboBox(this);
    CB->setObjectName(QStringLiteral("CB"));
    CB->setAccessibleName(AutoConnectWindow::tr("Join if players"));
    CB->addItems({QStringLiteral("<="), QStringLiteral(">")});
    SPNeed = new QSpinBox(this);
    SPNeed->setObjectName(QStringLiteral("SPNeed"));
    SPNeed->setAccessibleName(AutoConnectWindow::tr("Players"));
    SPNeed->setRange(0, 64);
    SPNeed->setValue(9);
    CBAsk = new QCheckBox(AutoConnectWindow::tr("Ask me before join"), this);
    CBAsk->setObjectName(QStringLiteral("CBAsk"));
    CBPass = new QCheckBox(AutoConnectWindow::tr("Password:"), this);
    CBPass->setObjectName(QStringLiteral("CBPass"));
    EditPass = new QLineEdit(this);
    EditPass->setObjectName(QStringLiteral("EditPass"));
    EditPass->setAccessibleName(AutoConnectWindow::tr("Password"));
    EditPass->setEnabled(false);
    BitBtn1 = new QPushButton(AutoConnectWindow::tr("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(AutoConnectWindow::tr("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn1->setDefault(true);

    auto *grid = new QGridLayout(this);
    auto *joinLabel = new QLabel(AutoConnectWindow::tr("Join if players:"), this);
    joinLabel->setBuddy(CB);
    grid->addWidget(joinLabel, 0, 0);
    grid->addWidget(CB, 0, 1);
    grid->addWidget(SPNeed, 0, 2);
    grid->addWidget(CBAsk, 1, 0, 1, 3);
    grid->addWidget(CBPass, 2, 0);
    grid->addWidget(EditPass, 2, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    grid->addLayout(buttons, 3, 0, 1, 3);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(CBPass, &QCheckBox::toggled, this, &TFormAuto::CBPassClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormAuto::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormAuto::BitBtn2Click);
    nameComboLists(*this);

    adjustSize();
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    logic.setDialog(this);
}

TFormAuto::~TFormAuto()
{
    logic.setDialog(nullptr);
}

void TFormAuto::present(const std::optional<AutoConnectSetup> &setup)
{
    show();
    raise();
    activateWindow();
    if (!setup)
        return;
    setWindowTitle(setup->caption);
    SPNeed->setMaximum(setup->maximum);
    SPNeed->setValue(setup->value);
}

void TFormAuto::dismiss()
{
    hide();
}

AutoConnectChoice TFormAuto::choice() const
{
    AutoConnectChoice c;
    c.comparison = CB->currentText();
    c.playersWanted = SPNeed->value();
    c.playersWantedText = SPNeed->text();
    c.askFirst = CBAsk->isChecked();
    c.passwordEnabled = EditPass->isEnabled();
    c.password = EditPass->text();
    return c;
}

void TFormAuto::CBPassClick()
{
    EditPass->setEnabled(CBPass->isChecked());
}

void TFormAuto::BitBtn1Click()
{
    logic.watchSelected();
}

void TFormAuto::BitBtn2Click()
{
    logic.cancel();
}

void TFormAuto::reject()
{
    // The close box and Escape end here too (QDialog routes both to reject).
    BitBtn2Click();
}

void TFormAuto::showEvent(QShowEvent *event)
{
    applyTransparency(this, settings);
    QDialog::showEvent(event);
}
