#pragma once

#include <QString>

#include <functional>

class QWidget;

// Picks a file to open. The settings dialog asks through this so that tests
// can answer without a modal dialog.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // `filter` is a description and a pattern joined by '|'. Returns at once;
    // `chosen` gets the full path of the chosen file when the user picks one
    // (nothing when they cancel).
    virtual void openFile(QWidget *parent, const QString &filter, std::function<void(const QString &path)> chosen) = 0;
};

// The desktop's open-file dialog.
class DialogFileChooser : public FileChooser
{
public:
    void openFile(QWidget *parent, const QString &filter, std::function<void(const QString &path)> chosen) override;
};
