#pragma once

#include <QDialog>

class LinkLabel;
class QCheckBox;
class QPushButton;
class SettingsModel;
class Shell;
class UpdateChecker;

// The About box "Info": the program's name and version, the home page link,
// the credits, and the controls of the update check. A build without the
// update check (a distribution's package) passes no checker and gets no
// controls.
class TFormAbout : public QDialog
{
    Q_OBJECT

public:
    TFormAbout(SettingsModel &settings, UpdateChecker *updates, Shell &shell, QWidget *parent = nullptr);

    // Null without an update checker.
    QPushButton *checkButton = nullptr;
    QCheckBox *autoCheck = nullptr;
    LinkLabel *homePage = nullptr;

public slots:
    void checkButtonClick();
    void autoCheckClick(bool checked);
    void homePageClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildCredits();

    SettingsModel &settings;
    UpdateChecker *updates;
    Shell &shell;
};
