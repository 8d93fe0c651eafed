#pragma once

#include "scan/serverfilter.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;

// The slim bar above the server list: the quick filter's text and its three
// toggles, and how many rows it leaves in view.
class FilterBar : public QWidget
{
    Q_OBJECT

public:
    explicit FilterBar(QWidget *parent = nullptr);

    ServerFilter filter() const;
    // Shows a filter without reporting a change.
    void setFilter(const ServerFilter &filter);
    // "3 of 40" while the filter leaves rows out, nothing otherwise.
    void showCount(int shown, int listed);
    // Ctrl+F: the text, ready to be typed over.
    void focusText();

signals:
    // The text or a toggle changed.
    void filterChanged();
    // Enter in the text: the user is done typing.
    void textAccepted();

private:
    QLineEdit *EditFilter = nullptr;
    QCheckBox *CBHideEmpty = nullptr;
    QCheckBox *CBHideFull = nullptr;
    QCheckBox *CBHidePassword = nullptr;
    QLabel *LBFilterCount = nullptr;
};
