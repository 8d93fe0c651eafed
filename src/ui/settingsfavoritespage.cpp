// The "Favorites" page of the settings dialog: servers named by address and
// port, swept with every scan, and the switch and interval of their auto-scan.

#include "ui/settingsdialog.h"

#include "desktop/prompter.h"
#include "settings/favoritesmodel.h"
#include "ui/linebreakfilter.h"
#include "ui/portkeyfilter.h"
#include "ui/rowselection.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The translation context of the texts below.
struct SettingsDialog
{
    Q_DECLARE_TR_FUNCTIONS(SettingsDialog)
};

struct ColumnWidth
{
    int initial, least, most;
};

// The width and its bounds of a column of the favourites list. The host
// column's width is a setting and keeps its bounds; the port column grows with
// a font that needs more room for five digits.
ColumnWidth favoriteColumn(int column, const QFontMetrics &font)
{
    if (column == FavoritesModel::ColumnHost)
        return {103, 70, 110};
    const int extra = std::max(0, font.horizontalAdvance(QStringLiteral("00000")) + 12 - 45);
    return {45 + extra, 40 + extra, 50 + extra};
}

constexpr int MinUpdInterval = 5;
constexpr int MaxUpdInterval = 60;

} // namespace

QWidget *TSettings::buildFavoritesPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setSpacing(4);
    auto *top = new QHBoxLayout;
    top->setSpacing(6);

    Favorites = new FavoritesModel(settings.favorites, this);
    LVFav = new QTableView(page);
    LVFav->setObjectName(QStringLiteral("LVFav"));
    LVFav->setAccessibleName(SettingsDialog::tr("Favorites"));
    LVFav->setModel(Favorites);
    LVFav->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVFav->setSelectionMode(QAbstractItemView::SingleSelection);
    LVFav->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVFav->setTabKeyNavigation(false);
    LVFav->setShowGrid(true);
    LVFav->setWordWrap(false);
    LVFav->verticalHeader()->hide();
    LVFav->verticalHeader()->setDefaultSectionSize(LVFav->fontMetrics().height() + 4);
    LVFav->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView *header = LVFav->horizontalHeader();
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    int widest = 2 * LVFav->frameWidth() + LVFav->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < FavoritesModel::ColumnCount; ++c) {
        const ColumnWidth width = favoriteColumn(c, LVFav->fontMetrics());
        header->resizeSection(c, width.initial);
        widest += width.most;
    }
    LVFav->setFixedWidth(widest);
    top->addWidget(LVFav);

    auto *editors = new QVBoxLayout;
    editors->setSpacing(2);
    EditHost = new QLineEdit(page);
    EditHost->setObjectName(QStringLiteral("EditHost"));
    auto *keys = new PortKeyFilter(prompter, this);
    MEPort = keys->portEdit(page);
    MEPort->setObjectName(QStringLiteral("MEPort"));
    MEPort->setText(QStringLiteral("27015"));
    SpeedButton4 = new QPushButton(SettingsDialog::tr("Add"), page);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    SpeedButton4->setAccessibleName(SettingsDialog::tr("Add favorite"));
    SpeedButton4->setEnabled(false);
    SpeedButton5 = new QPushButton(SettingsDialog::tr("Del"), page);
    SpeedButton5->setObjectName(QStringLiteral("SpeedButton5"));
    SpeedButton5->setAccessibleName(SettingsDialog::tr("Delete favorite"));
    auto *hostLabel = new QLabel(SettingsDialog::tr("Server:"), page);
    hostLabel->setBuddy(EditHost);
    auto *portLabel = new QLabel(SettingsDialog::tr("Port:"), page);
    portLabel->setBuddy(MEPort);
    editors->addWidget(hostLabel);
    editors->addWidget(EditHost);
    editors->addWidget(portLabel);
    editors->addWidget(MEPort);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(SpeedButton4);
    buttons->addWidget(SpeedButton5);
    editors->addLayout(buttons);
    editors->addStretch();
    top->addLayout(editors, 1);
    layout->addLayout(top, 1);

    auto *autoScan = new QHBoxLayout;
    CBAutoUpdate = new QCheckBox(SettingsDialog::tr("Auto scan"), page);
    CBAutoUpdate->setObjectName(QStringLiteral("CBAutoUpdate"));
    SEUpdInterval = new QSpinBox(page);
    SEUpdInterval->setObjectName(QStringLiteral("SEUpdInterval"));
    SEUpdInterval->setRange(MinUpdInterval, MaxUpdInterval);
    SEUpdInterval->setValue(settings.updInterval);
    // Changed with the arrows only.
    SEUpdInterval->findChild<QLineEdit *>()->setReadOnly(true);
    autoScan->addWidget(CBAutoUpdate);
    autoScan->addStretch();
    auto *intervalLabel = new QLabel(SettingsDialog::tr("Interval (sec)"), page);
    intervalLabel->setBuddy(SEUpdInterval);
    autoScan->addWidget(intervalLabel);
    autoScan->addWidget(SEUpdInterval);
    layout->addLayout(autoScan);

    connect(SpeedButton4, &QPushButton::clicked, this, &TSettings::SpeedButton4Click);
    connect(SpeedButton5, &QPushButton::clicked, this, &TSettings::SpeedButton5Click);
    refuseLineBreaks(EditHost);
    connect(EditHost, &QLineEdit::textChanged, this, &TSettings::EditHostChange);
    connect(header, &QHeaderView::sectionClicked, this, &TSettings::LVFavColumnClick);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { keepFavoriteWidths(column, width); });
    return page;
}

// Runs before the controls are connected to the model.
void TSettings::showFavorites()
{
    Favorites->reload();
    LVFav->horizontalHeader()->resizeSection(FavoritesModel::ColumnHost, settings.favWidth);
    CBAutoUpdate->setChecked(settings.favAutoScan);
    SEUpdInterval->setValue(settings.updInterval);
}

void TSettings::keepFavoriteWidths(int column, int width)
{
    if (column < 0 || column >= FavoritesModel::ColumnCount)
        return;
    const ColumnWidth bounds = favoriteColumn(column, LVFav->fontMetrics());
    const int kept = std::clamp(width, bounds.least, bounds.most);
    if (kept != width) {
        // Comes back here with the kept width.
        LVFav->horizontalHeader()->resizeSection(column, kept);
        return;
    }
    if (column == FavoritesModel::ColumnHost)
        settings.favWidth = width;
}

int TSettings::selectedFavorite() const
{
    return selectedRow(*LVFav);
}

void TSettings::selectFavorite(int row)
{
    selectRowOrNone(*LVFav, row);
}

void TSettings::SpeedButton4Click()
{
    const QString refusal = Favorites->add(EditHost->text(), MEPort->text());
    if (!refusal.isEmpty())
        prompter.error(refusal);
}

void TSettings::SpeedButton5Click()
{
    Favorites->remove(selectedFavorite());
}

void TSettings::EditHostChange()
{
    SpeedButton4->setEnabled(EditHost->text().size() >= FavoritesModel::MinHostLength);
}

void TSettings::TS3Show()
{
    EditHost->setFocus();
}

void TSettings::CBAutoUpdateClick()
{
    settings.favAutoScan = CBAutoUpdate->isChecked();
    emit favoritesScanSwitched(settings.favAutoScan);
}

void TSettings::SEUpdIntervalChange(int seconds)
{
    settings.updInterval = seconds;
    emit favoritesIntervalChanged(seconds);
}

void TSettings::LVFavColumnClick(int column)
{
    Favorites->sortByColumn(column);
}
