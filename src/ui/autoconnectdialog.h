#pragma once

#include "join/autoconnect.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class SettingsModel;

// The auto-connect dialog: the threshold, whether to ask before the join and
// an optional password. OK and Cancel go to the auto-connect logic; the close
// box and Escape count as Cancel.
class TFormAuto : public QDialog, public AutoConnectDialog
{
    Q_OBJECT

public:
    TFormAuto(const SettingsModel &settings, AutoConnect &logic, QWidget *parent = nullptr);
    ~TFormAuto() override;

    QComboBox *CB = nullptr;
    QSpinBox *SPNeed = nullptr;
    QCheckBox *CBAsk = nullptr;
    QCheckBox *CBPass = nullptr;
    QLineEdit *EditPass = nullptr;
    QPushButton *BitBtn1 = nullptr; // OK
    QPushButton *BitBtn2 = nullptr; // Cancel

    void present(const std::optional<AutoConnectSetup> &setup) override;
    void dismiss() override;
    AutoConnectChoice choice() const override;

public slots:
    void CBPassClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    const SettingsModel &settings;
    AutoConnect &logic;
};
