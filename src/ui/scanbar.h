#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class ScanControls;

// The bar under the server list: the scan-port choice, the progress gauge,
// the Scan, Stop, RF, Auto and Play buttons and the selected game's picture.
// What is enabled there is the scan controls' decision; the bar shows it.
class ScanBar : public QWidget
{
    Q_OBJECT

public:
    explicit ScanBar(QWidget *parent = nullptr);

    void show(const ScanControls &controls);
    // Shows the loaded choice without reporting it as a change.
    void showPort(int index);
    void showGame(int icon);
    void clearGame();

signals:
    void scanClicked();
    void stopClicked();
    void refreshClicked();
    void autoClicked();
    void playClicked();
    // However the choice changed (click, key, assistive tool): 0 game, 1 HLTV.
    void portChosen(int index);

private:
    QRadioButton *m_game;
    QRadioButton *m_hltv;
    QProgressBar *m_gauge;
    QPushButton *m_scan;
    QPushButton *m_stop;
    QPushButton *m_refresh;
    QPushButton *m_auto;
    QPushButton *m_play;
    QLabel *m_image;
};
