#pragma once

class QWidget;
class SettingsModel;

// Every window applies the transparency setting each time it is shown.
void applyTransparency(QWidget *window, const SettingsModel &settings);
