#pragma once

#include <QDialog>

class SettingsModel;

// The About box: the program's name, version and home page.
class TFormAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TFormAbout(const SettingsModel &settings, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    const SettingsModel &settings;
};
