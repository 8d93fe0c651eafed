#pragma once

#include <QString>

class QWidget;

// Picks a file to open. The settings dialog asks through this so that tests
// can answer without a modal dialog.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // `filter` is a description and a pattern joined by '|'. Returns the full
    // path of the chosen file, or an empty string when the user cancelled.
    virtual QString openFile(QWidget *parent, const QString &filter) = 0;
};

// The desktop's open-file dialog.
class DialogFileChooser : public FileChooser
{
public:
    QString openFile(QWidget *parent, const QString &filter) override;
};
