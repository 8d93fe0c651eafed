#pragma once

#include <QObject>

class Prompter;
class QLineEdit;
class QWidget;

// Lets only the digits 0..9 and Backspace be typed into a port field; any
// other character is dropped with the default beep. Keys that type nothing
// (arrows, Delete, Tab, shortcuts) pass.
class PortKeyFilter : public QObject
{
    Q_OBJECT

public:
    PortKeyFilter(Prompter &prompter, QObject *parent = nullptr);

    // A port field of at most five digits, guarded by this filter.
    QLineEdit *portEdit(QWidget *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Prompter &prompter;
};
