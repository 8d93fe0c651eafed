#include "ui/autoconnect.h"

#include "ui/transparency.h"

TFormAuto::TFormAuto(const SettingsModel &settingsModel, QWidget *parent) : QDialog(parent), settings(settingsModel)
{
    setWindowTitle(QStringLiteral("Auto connect to "));
}

void TFormAuto::showEvent(QShowEvent *event)
{
    applyTransparency(this, settings);
    QDialog::showEvent(event);
}
