#include "ui/options.h"

#include "scan/prompter.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "ui/iconlibrary.h"
#include "ui/transparency.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TSettings::TSettings(SettingsModel &settingsModel, IniFile &file, Prompter &messages, QWidget *parent)
    : QDialog(parent), settings(settingsModel), ini(file), prompter(messages)
{
    setWindowTitle(QStringLiteral("Options"));
    setWindowIcon(IconLibrary::appIcon());
    auto *layout = new QVBoxLayout(this);
    auto *where = new QLabel(QStringLiteral("Settings are kept in %1.").arg(ini.path()), this);
    where->setWordWrap(true);
    layout->addWidget(where);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    layout->addWidget(buttons);
    resize(420, 160);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    settings.load(ini);
}

TSettings::~TSettings()
{
    try {
        settings.save(ini);
    } catch (const IniWriteError &e) {
        prompter.error(e.message());
    }
}

void TSettings::showEvent(QShowEvent *event)
{
    applyTransparency(this, settings);
    QDialog::showEvent(event);
}
