#pragma once

#include <QCoreApplication>
#include <QString>

// What the main window shows of scanning and auto-connect: which buttons are
// enabled, the Scan button's caption, the progress gauge and the three status
// panels. The scan engine, the favourites auto-scan, auto-connect and the
// window tell it what happened; which button that enables or disables is
// decided here and nowhere else. The window only reads it.
class ScanControls
{
public:
    bool scanEnabled() const { return scan; }
    bool stopEnabled() const { return stop; }
    bool refreshEnabled() const { return refresh; }
    bool autoEnabled() const { return autoButton; }
    bool playEnabled() const { return play; }
    bool portChoiceEnabled() const { return portChoice; }
    bool listEnabled() const { return list; }
    // While auto-connect waits the Auto caption is red.
    bool autoCaptionRed() const { return autoRed; }
    const QString &scanCaption() const { return caption; }
    int progress() const { return progressValue; }
    int progressMax() const { return progressMaximum; }
    const QString &activityPanel() const { return activity; } // panel 0
    const QString &sentPanel() const { return sent; }         // panel 1: targets sent
    const QString &messagePanel() const { return message; }   // panel 2

    // The panels and the gauge.
    void showActivity(const QString &text) { activity = text; }
    void showMessage(const QString &text) { message = text; }
    void showSent(int count) { sent = QString::number(count); }
    void clearSent() { sent.clear(); }
    void setProgress(int value) { progressValue = value; }
    void setProgressMax(int maximum) { progressMaximum = maximum; }

    // A sweep starts: everything but Stop waits for its end (Auto stays
    // usable while auto-connect waits, to stop it).
    void sweepStarted(bool autoConnectActive);
    // The sweep went through, or Stop or a network error ended it; its
    // countdown runs.
    void sweepEnded(bool listed);
    // One beat of the countdown after a sweep, `waitCount` down to 0.
    void countdown(int waitCount, bool autoConnectActive, bool scanning);
    void refreshStarted(bool autoConnectActive);
    void refreshCompleted(bool autoConnectActive, bool scanning, bool countdownRunning, bool rowSelected);
    // A reply added a row while no sweep and no auto-connect runs.
    void serverListed(bool rowSelected);
    void rowSelected();
    void selectionCleared(bool autoConnectActive);
    // A turn of the favourites auto-scan: its replies do not make Play and
    // Auto usable again.
    void favoritesTurnStarted();

    // Auto-connect's watch of a server and its ends.
    void watchStarted();
    // A reply of the watched server arrived (short of the threshold).
    void watchReplied();
    // The threshold was met: the first row gets selected and joined.
    void watchMet();
    // ... but the user declined the join.
    void joinDeclined();
    // The user pressed Auto again, or the server stopped answering.
    void watchEnded();
    // A launch by other means ended the watch.
    void watchEndedByLaunch();

private:
    bool scan = true;
    bool stop = false;
    bool refresh = false;
    bool autoButton = false;
    bool play = false;
    bool portChoice = true;
    bool list = true;
    bool autoRed = false;
    QString caption = QCoreApplication::translate("MainWindow", "Scan");
    int progressValue = 0;
    int progressMaximum = 0;
    QString activity;
    QString sent;
    QString message;
};
