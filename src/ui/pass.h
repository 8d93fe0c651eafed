#pragma once

#include <QDialog>

class IniFile;
class Prompter;
class SettingsModel;

// The password prompt. It remembers the last password and the "Show password"
// choice in its own section of the configuration file.
class TFormPass : public QDialog
{
    Q_OBJECT

public:
    TFormPass(SettingsModel &settings, IniFile &ini, Prompter &prompter, QWidget *parent = nullptr);
    ~TFormPass() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    SettingsModel &settings;
    IniFile &ini;
    Prompter &prompter;
};
