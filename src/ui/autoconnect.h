#pragma once

#include <QDialog>

class SettingsModel;

// The auto-connect dialog.
class TFormAuto : public QDialog
{
    Q_OBJECT

public:
    explicit TFormAuto(const SettingsModel &settings, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    const SettingsModel &settings;
};
