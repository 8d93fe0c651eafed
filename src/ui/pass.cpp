#include "ui/pass.h"

#include "scan/prompter.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "ui/transparency.h"

TFormPass::TFormPass(SettingsModel &settingsModel, IniFile &file, Prompter &messages, QWidget *parent)
    : QDialog(parent), settings(settingsModel), ini(file), prompter(messages)
{
    setWindowTitle(QStringLiteral("Password"));
    settings.loadPassword(ini);
}

TFormPass::~TFormPass()
{
    try {
        settings.savePassword(ini);
    } catch (const IniWriteError &e) {
        prompter.error(e.message());
    }
}

void TFormPass::showEvent(QShowEvent *event)
{
    applyTransparency(this, settings);
    QDialog::showEvent(event);
}
