#include "ui/transparency.h"

#include "settings/settingsmodel.h"

#include <QWidget>

void applyTransparency(QWidget *window, const SettingsModel &settings)
{
    window->setWindowOpacity(settings.trans ? (settings.transLevel & 0xFF) / 255.0 : 1.0);
}
