#pragma once

#include <QDialog>

class IniFile;
class Prompter;
class SettingsModel;

// The settings dialog. Creating it loads the configuration file into the
// settings model; destroying it (at exit) writes the file back.
class TSettings : public QDialog
{
    Q_OBJECT

public:
    TSettings(SettingsModel &settings, IniFile &ini, Prompter &prompter, QWidget *parent = nullptr);
    ~TSettings() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    SettingsModel &settings;
    IniFile &ini;
    Prompter &prompter;
};
