#pragma once

#include <QDialog>

class IniFile;
class Prompter;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SettingsModel;
class Launcher;

// The password prompt: asks for the password of a protected server, then asks
// for the launch again. It remembers the last password and the "Show password"
// choice in its own section of the configuration file.
class TFormPass : public QDialog
{
    Q_OBJECT

public:
    TFormPass(SettingsModel &settings, IniFile &ini, Prompter &prompter, Launcher &launcher,
              QWidget *parent = nullptr);
    // Writes the Password section anew.
    ~TFormPass() override;

    QLineEdit *MEPass = nullptr;
    QCheckBox *CBShowPass = nullptr;
    QPushButton *BitBtn1 = nullptr; // OK
    QPushButton *BitBtn2 = nullptr; // Cancel
    QLabel *Image = nullptr;

public slots:
    void CBShowPassClick();
    void BitBtn1Click();
    void BitBtn2Click();

signals:
    // OK confirmed a password: the Play button's click is to be performed.
    void playRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    SettingsModel &settings;
    IniFile &ini;
    Prompter &prompter;
    Launcher &launcher;
};
