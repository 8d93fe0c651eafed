#include "ui/scanbar.h"

#include "scan/listicons.h"
#include "scan/scancontrols.h"
#include "ui/iconlibrary.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

// The translation context of the main window's texts.
struct MainWindow
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

QPushButton *button(const char *name, const QString &caption, const QString &hint, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    // Reached with Tab; a click leaves the focus on the list.
    b->setFocusPolicy(Qt::TabFocus);
    b->setMinimumWidth(48);
    return b;
}

} // namespace

ScanBar::ScanBar(QWidget *parent) : QWidget(parent)
{
    auto *bar = new QHBoxLayout(this);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(4);
    auto *portChoice = new QGroupBox(MainWindow::tr("Scan port:"), this);
    auto *portLayout = new QHBoxLayout(portChoice);
    portLayout->setContentsMargins(6, 2, 6, 2);
    portChoice->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    //: The game port, its letters spaced out to match the width of "HLTV" beside it.
    m_game = new QRadioButton(MainWindow::tr("G a m e"), portChoice);
    m_game->setObjectName(QStringLiteral("RGGame"));
    m_game->setAccessibleName(MainWindow::tr("Game port"));
    m_hltv = new QRadioButton(QStringLiteral("HLTV"), portChoice);
    m_hltv->setObjectName(QStringLiteral("RGHltv"));
    m_hltv->setAccessibleName(MainWindow::tr("HLTV port"));
    m_game->setChecked(true);
    portLayout->addWidget(m_game);
    portLayout->addWidget(m_hltv);
    connect(m_game, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            emit portChosen(0);
    });
    connect(m_hltv, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            emit portChosen(1);
    });
    bar->addWidget(portChoice);

    m_gauge = new QProgressBar(this);
    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setAccessibleName(MainWindow::tr("Scan progress"));
    m_gauge->setOrientation(Qt::Vertical);
    m_gauge->setTextVisible(false);
    m_gauge->setFixedSize(10, 40);
    bar->addWidget(m_gauge);

    m_scan = button("SBScanAll", MainWindow::tr("Scan"), MainWindow::tr("Scan for servers"), this);
    m_stop = button("SBStop", MainWindow::tr("Stop"), MainWindow::tr("Stop scanning"), this);
    //: Short for Refresh, on a narrow button.
    m_refresh = button("SBRefresh", MainWindow::tr("RF"), MainWindow::tr("Refresh the listed servers"), this);
    m_auto = button("SBAuto", MainWindow::tr("Auto"), MainWindow::tr("ON/OFF Autoconnect"), this);
    m_play = button("SBPlay", MainWindow::tr("Play"), MainWindow::tr("Join to server"), this);
    connect(m_scan, &QPushButton::clicked, this, &ScanBar::scanClicked);
    connect(m_stop, &QPushButton::clicked, this, &ScanBar::stopClicked);
    connect(m_refresh, &QPushButton::clicked, this, &ScanBar::refreshClicked);
    connect(m_auto, &QPushButton::clicked, this, &ScanBar::autoClicked);
    connect(m_play, &QPushButton::clicked, this, &ScanBar::playClicked);
    for (QPushButton *b : {m_scan, m_stop, m_refresh, m_auto, m_play})
        bar->addWidget(b);
    bar->addStretch(1);

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image"));
    m_image->setAccessibleName(MainWindow::tr("Game"));
    m_image->setFixedSize(32, 32);
    bar->addWidget(m_image);
}

void ScanBar::show(const ScanControls &c)
{
    m_scan->setEnabled(c.scanEnabled());
    m_scan->setText(c.scanCaption());
    m_stop->setEnabled(c.stopEnabled());
    m_refresh->setEnabled(c.refreshEnabled());
    m_auto->setEnabled(c.autoEnabled());
    m_play->setEnabled(c.playEnabled());
    m_game->setEnabled(c.portChoiceEnabled());
    m_hltv->setEnabled(c.portChoiceEnabled());
    // Only the enabled look changes: a disabled Auto button keeps the style's
    // greyed caption, or it would look clickable.
    const QColor autoColor = c.autoCaptionRed() ? Qt::red : Qt::black;
    if (m_auto->palette().color(QPalette::Active, QPalette::ButtonText) != autoColor) {
        QPalette palette = m_auto->palette();
        palette.setColor(QPalette::Active, QPalette::ButtonText, autoColor);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, autoColor);
        m_auto->setPalette(palette);
    }
    m_gauge->setMaximum(qMax(c.progressMax(), 1));
    m_gauge->setValue(qMin(c.progress(), m_gauge->maximum()));
}

void ScanBar::showPort(int index)
{
    const QSignalBlocker blockGame(m_game);
    const QSignalBlocker blockHltv(m_hltv);
    m_hltv->setChecked(index == 1);
    m_game->setChecked(index != 1);
}

void ScanBar::showGame(int icon)
{
    m_image->setPixmap(IconLibrary::bigIcon(icon - FirstGameIcon));
}

void ScanBar::clearGame()
{
    m_image->clear();
}
