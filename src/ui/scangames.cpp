#include "ui/scangames.h"

#include "join/autoconnect.h"
#include "scan/autoconnectstate.h"
#include "join/launcher.h"
#include "join/serverlink.h"
#include "desktop/shell.h"
#include "net/udpendpoint.h"
#include "query/playersmodel.h"
#include "query/queryprotocol.h"
#include "query/rulesmodel.h"
#include "scan/favoritesscan.h"
#include "scan/favoritesscanscheduler.h"
#include "scan/listicons.h"
#include "desktop/prompter.h"
#include "scan/scanengine.h"
#include "scan/serverfiltermodel.h"
#include "scan/serverlistmodel.h"
#include "settings/favoritesmodel.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "ui/filterbar.h"
#include "ui/focusselection.h"
#include "ui/globalhotkey.h"
#include "ui/iconlibrary.h"
#include "ui/iconproxymodel.h"
#include "ui/rowselection.h"
#include "ui/servercolumns.h"
#include "ui/transparency.h"
#include "ui/trayicon.h"
#include "buildinfo.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <utility>

namespace {

// The translation context of the texts below.
struct MainWindow
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

constexpr int MinimumWidth = 680;
constexpr int MinimumHeight = 175;
constexpr int DetailsWidth = 168;

QTableView *reportList(QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list rather than walking its cells.
    view->setTabKeyNavigation(false);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setAlternatingRowColors(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setHighlightSections(false);
    view->setIconSize(QSize(16, 16));
    return view;
}

QPushButton *button(const QString &caption, const QString &hint, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setToolTip(hint);
    // Reached with Tab; a click leaves the focus on the list.
    b->setFocusPolicy(Qt::TabFocus);
    b->setMinimumWidth(48);
    return b;
}

} // namespace

TForm1::TForm1(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , settings(services.settings)
    , autoConnect(services.autoConnect)
    , prompter(services.prompter)
    , shell(services.shell)
    , localAddress(services.localAddress)
    , wantHotkey(services.registerHotkey)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(applicationTitle());
    // Minimised, a window is named by its icon text unless it has a name of its own.
    setAccessibleName(applicationTitle());
    setWindowIcon(IconLibrary::appIcon());
    setMinimumSize(MinimumWidth, MinimumHeight);

    // The system's socket: a sweep hands it many datagrams per call.
    UDP = new UdpEndpoint(services.localPort, this, newPlainDatagramSocket);
    Protocol = new QueryProtocol(*UDP, [this] { return settings.scanOld; }, this);
    Servers = new ServerListModel(settings, autoConnect, this);
    Players = new PlayersModel(this);
    Rules = new RulesModel(this);
    Engine = new ScanEngine(*Protocol, *Servers, settings, autoConnect, localAddress, services.networkCards, prompter,
                            controls, this);
    Engine->setSelectedRow([this] { return selectedRow(); });
    Engine->setDetailPage([this] { return PageControl1->currentIndex(); });
    if (!UDP->portStatus().isEmpty())
        controls.showMessage(QLatin1Char(' ') + UDP->portStatus());

    connect(Protocol, &QueryProtocol::serverInfoReceived, Servers, &ServerListModel::AddServer);
    // The lists show the server selected now: a late reply of one selected
    // before is dropped.
    connect(Protocol, &QueryProtocol::playersReceived, this,
            [this](const QVector<PlayerRow> &players, const QString &from, int port) {
                if (isSelectedServer(from, port))
                    Players->setPlayers(players);
            });
    connect(Protocol, &QueryProtocol::rulesReceived, this,
            [this](const QVector<RuleRow> &rules, const QString &from, int port) {
                if (isSelectedServer(from, port))
                    Rules->setRules(rules);
            });
    connect(Servers, &ServerListModel::serverAdded, Engine, &ScanEngine::serverAdded);
    connect(Engine, &ScanEngine::controlsChanged, this, &TForm1::showControls);
    connect(Engine, &ScanEngine::settingsRequested, this, &TForm1::Options1Click);
    connect(Engine, &ScanEngine::sweepStarted, this, [this] {
        Players->clear();
        Image->clear();
        // The list starts anew: no watched row to keep in view any more.
        ShownServers->keepInView(QString(), 0);
    });

    FavScan = std::make_unique<FavoritesScan>(settings, autoConnect, *Protocol, *Engine, controls);
    FavSchedule = new FavoritesScanScheduler(settings.favAutoScan, settings.updInterval, this);
    connect(FavSchedule, &FavoritesScanScheduler::turnDue, this, &TForm1::TimerFavTimer);

    buildMenus();
    buildCentralArea();
    buildStatusBar();
    buildTray();
    buildLauncher(services.launch);
    buildAutoConnect(services.launch);
    if (wantHotkey)
        registerHotkey();

    resize(qMax(settings.width, MinimumWidth), qMax(settings.height, MinimumHeight));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    showControls();
}

TForm1::~TForm1() = default;

QString TForm1::applicationTitle()
{
    return QStringLiteral("Vantor_v") + QStringLiteral(VANTOR_VERSION);
}

QString TForm1::homePageAddress()
{
    return QStringLiteral(VANTOR_HOME_PAGE);
}

void TForm1::buildMenus()
{
    // Alt with the underlined letter opens each menu from the keyboard.
    QMenu *file = menuBar()->addMenu(MainWindow::tr("&File"));
    file->addAction(MainWindow::tr("&Hide  (Shift+Alt+S)"), this, &TForm1::Hide1Click);
    file->addAction(MainWindow::tr("E&xit"), this, &TForm1::Exit1Click);
    menuBar()->addAction(MainWindow::tr("&Options"), this, &TForm1::Options1Click);
    QMenu *info = menuBar()->addMenu(MainWindow::tr("&Info"));
    info->addAction(MainWindow::tr("&About"), this, &TForm1::About2Click);
    info->addAction(MainWindow::tr("Home &page..."), this, &TForm1::Homepage1Click);

    PMServers = new QMenu(this);
    PMServers->setObjectName(QStringLiteral("PMServers"));
    PMServers->addAction(MainWindow::tr("Play"), this, &TForm1::SBPlayClick);
    PMServers->addAction(MainWindow::tr("Auto connect"), this, &TForm1::SBAutoClick);
    PMServers->addAction(MainWindow::tr("Add To Favorites"), this, &TForm1::PMSAddClick);
    PMServers->addSeparator();
    PMSCopyAddress = PMServers->addAction(MainWindow::tr("Copy Address"), this, &TForm1::PMSCopyAddressClick);
    PMSCopyAddress->setShortcut(QKeySequence::Copy);
    PMSCopyAddress->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    PMServers->addAction(MainWindow::tr("Copy Steam Link"), this, &TForm1::PMSCopySteamLinkClick);
}

void TForm1::buildCentralArea()
{
    auto *central = new QWidget(this);
    auto *outer = new QHBoxLayout(central);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(4);

    auto *left = new QVBoxLayout;
    left->setSpacing(2);
    buildQuickFilter();
    left->addWidget(QuickFilter);
    LW = reportList(central);
    LW->setObjectName(QStringLiteral("LW"));
    LW->setAccessibleName(MainWindow::tr("Servers"));
    ServerIcons = new IconProxyModel(this);
    ServerIcons->setSourceModel(ShownServers);
    LW->setModel(ServerIcons);
    // Ctrl+C on the list copies the selected server's address.
    LW->addAction(PMSCopyAddress);
    QHeaderView *header = LW->horizontalHeader();
    LW->installEventFilter(this);
    header->setMinimumSectionSize(16);
    new ServerColumns(*LW);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this, &TForm1::LWColumnClick);
    connect(LW->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TForm1::LWSelectItem);
    connect(LW, &QTableView::doubleClicked, this, &TForm1::LWDblClick);
    // Ctrl+F, a name, Enter, Enter: the keyboard reaches a selected row.
    auto *keyboardSelection = new FocusSelection(*LW);
    connect(QuickFilter, &FilterBar::textAccepted, keyboardSelection, &FocusSelection::takeFocus);
    // Connected after quickFilterChanged, so it sees the rows the new filter leaves.
    connect(QuickFilter, &FilterBar::filterChanged, keyboardSelection, &FocusSelection::rowsFiltered);
    LW->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LW, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        // The menu opens only over a selected row.
        if (selectedRow() >= 0)
            PMServers->popup(LW->viewport()->mapToGlobal(at));
    });
    left->addWidget(LW, 1);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(4);
    auto *portChoice = new QGroupBox(MainWindow::tr("Scan port:"), central);
    auto *portLayout = new QHBoxLayout(portChoice);
    portLayout->setContentsMargins(6, 2, 6, 2);
    portChoice->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    //: The game port, its letters spaced out to match the width of "HLTV" beside it.
    RGGame = new QRadioButton(MainWindow::tr("G a m e"), portChoice);
    RGGame->setObjectName(QStringLiteral("RGGame"));
    RGGame->setAccessibleName(MainWindow::tr("Game port"));
    RGHltv = new QRadioButton(QStringLiteral("HLTV"), portChoice);
    RGHltv->setObjectName(QStringLiteral("RGHltv"));
    RGHltv->setAccessibleName(MainWindow::tr("HLTV port"));
    RGGame->setChecked(true);
    portLayout->addWidget(RGGame);
    portLayout->addWidget(RGHltv);
    // However the choice changed (click, key, assistive tool), it is written at once.
    connect(RGGame, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RGClick(0);
    });
    connect(RGHltv, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RGClick(1);
    });
    bar->addWidget(portChoice);

    Gauge = new QProgressBar(central);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setAccessibleName(MainWindow::tr("Scan progress"));
    Gauge->setOrientation(Qt::Vertical);
    Gauge->setTextVisible(false);
    Gauge->setFixedSize(10, 40);
    bar->addWidget(Gauge);

    SBScanAll = button(MainWindow::tr("Scan"), MainWindow::tr("Scan for servers"), central);
    SBScanAll->setObjectName(QStringLiteral("SBScanAll"));
    SBStop = button(MainWindow::tr("Stop"), MainWindow::tr("Stop scanning"), central);
    SBStop->setObjectName(QStringLiteral("SBStop"));
    //: Short for Refresh, on a narrow button.
    SBRefresh = button(MainWindow::tr("RF"), MainWindow::tr("Refresh the listed servers"), central);
    SBRefresh->setObjectName(QStringLiteral("SBRefresh"));
    SBAuto = button(MainWindow::tr("Auto"), MainWindow::tr("ON/OFF Autoconnect"), central);
    SBAuto->setObjectName(QStringLiteral("SBAuto"));
    SBPlay = button(MainWindow::tr("Play"), MainWindow::tr("Join to server"), central);
    SBPlay->setObjectName(QStringLiteral("SBPlay"));
    connect(SBScanAll, &QPushButton::clicked, Engine, &ScanEngine::SBScanAllClick);
    connect(SBStop, &QPushButton::clicked, Engine, &ScanEngine::SBStopClick);
    connect(SBRefresh, &QPushButton::clicked, Engine, &ScanEngine::SBRefreshClick);
    connect(SBAuto, &QPushButton::clicked, this, &TForm1::SBAutoClick);
    connect(SBPlay, &QPushButton::clicked, this, &TForm1::SBPlayClick);
    for (QPushButton *b : {SBScanAll, SBStop, SBRefresh, SBAuto, SBPlay})
        bar->addWidget(b);
    bar->addStretch(1);

    Image = new QLabel(central);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setAccessibleName(MainWindow::tr("Game"));
    Image->setFixedSize(32, 32);
    bar->addWidget(Image);
    left->addLayout(bar);
    outer->addLayout(left, 1);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setAccessibleName(MainWindow::tr("Details"));
    LWPlayers = reportList(PageControl1);
    LWPlayers->setObjectName(QStringLiteral("LWPlayers"));
    LWPlayers->setAccessibleName(MainWindow::tr("Players"));
    LWPlayers->setModel(Players);
    LWPlayers->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    LWPlayers->horizontalHeader()->resizeSection(1, 48);
    connect(LWPlayers->horizontalHeader(), &QHeaderView::sectionClicked, this, &TForm1::LWPlayersColumnClick);
    LWRules = reportList(PageControl1);
    LWRules->setObjectName(QStringLiteral("LWRules"));
    LWRules->setAccessibleName(MainWindow::tr("Rules"));
    LWRules->setModel(Rules);
    LWRules->horizontalHeader()->resizeSection(0, 98);
    LWRules->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    LWRules->horizontalHeader()->setSectionsClickable(false);
    PageControl1->addTab(LWPlayers, IconLibrary::tabIcon(IconLibrary::PlayersTab), MainWindow::tr("Players"));
    PageControl1->addTab(LWRules, IconLibrary::tabIcon(IconLibrary::RulesTab), MainWindow::tr("Rules"));
    // Wider where the tabs' captions need it (other languages' words are longer).
    PageControl1->setFixedWidth(std::max(DetailsWidth, PageControl1->tabBar()->sizeHint().width()));
    outer->addWidget(PageControl1);

    setCentralWidget(central);
}

void TForm1::buildQuickFilter()
{
    ShownServers = new ServerFilterModel(*Servers, this);
    QuickFilter = new FilterBar(this);
    QuickFilter->setObjectName(QStringLiteral("QuickFilter"));
    connect(QuickFilter, &FilterBar::filterChanged, this, &TForm1::quickFilterChanged);
    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, QuickFilter, &FilterBar::focusText);

    // The count follows rows the filter lets in or out and rows listed behind it.
    for (QAbstractItemModel *model : {static_cast<QAbstractItemModel *>(ShownServers),
                                      static_cast<QAbstractItemModel *>(Servers)}) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &TForm1::showFilterCount);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TForm1::showFilterCount);
        connect(model, &QAbstractItemModel::modelReset, this, &TForm1::showFilterCount);
        connect(model, &QAbstractItemModel::layoutChanged, this, &TForm1::showFilterCount);
    }
}

void TForm1::quickFilterChanged()
{
    const ServerFilter filter = QuickFilter->filter();
    const bool selected = selectedRow() >= 0;
    ShownServers->setFilter(filter);
    // The selection leaves with its row, without a word from the view.
    if (selected && selectedRow() < 0)
        LWClick();
    settings.filterText = filter.text.trimmed();
    settings.hideEmpty = filter.hideEmpty;
    settings.hideFull = filter.hideFull;
    settings.hidePassword = filter.hidePassword;
}

void TForm1::showFilterCount()
{
    QuickFilter->showCount(ShownServers->rowCount(), Servers->rowCount());
}

void TForm1::buildStatusBar()
{
    const int widths[3] = {105, 50, 50};
    const char *const meanings[3] = {QT_TRANSLATE_NOOP("MainWindow", "Activity"),
                                     QT_TRANSLATE_NOOP("MainWindow", "Targets sent"),
                                     QT_TRANSLATE_NOOP("MainWindow", "Message")};
    for (int i = 0; i < 3; ++i) {
        Panels[i] = new QLabel(this);
        Panels[i]->setObjectName(QStringLiteral("Panels%1").arg(i));
        // The name stays the text shown; the description says what it is.
        Panels[i]->setAccessibleDescription(MainWindow::tr(meanings[i]));
        // The activity and count panels keep their width whatever they show.
        if (i < 2)
            Panels[i]->setFixedWidth(widths[i]);
        else
            Panels[i]->setMinimumWidth(widths[i]);
        Panels[i]->setFrameShape(QFrame::StyledPanel);
        statusBar()->addWidget(Panels[i], i == 2 ? 1 : 0);
    }
    Panels[1]->setAlignment(Qt::AlignCenter);
    statusBar()->setSizeGripEnabled(true);
}

void TForm1::buildTray()
{
    Tray = new TrayIcon(this);
    Tray->setIcons(IconLibrary::trayIcon(0), IconLibrary::trayIcon(1));
    PMTray = new QMenu(this);
    PMTray->setObjectName(QStringLiteral("PMTray"));
    PMTray->addAction(MainWindow::tr("Show  (Shift+Alt+S)"), this, &TForm1::TrayShowClick);
    PMTray->addAction(MainWindow::tr("Exit"), this, &TForm1::TrayExitClick);
    Tray->setMenu(PMTray);
    connect(Tray, &TrayIcon::doubleClicked, this, &TForm1::TrayIconDblClick);
    if (Tray->available()) {
        Tray->show();
        // With a tray icon to come back by, the window needs no taskbar button.
        setWindowFlag(Qt::Tool, true);
    }
}

void TForm1::buildLauncher(LaunchState &launch)
{
    Launcher::Hooks hooks;
    hooks.stopTrayAnimation = [this] { Tray->stopCycling(); };
    hooks.autoConnectEnded = [this](const QString &statusText) { Auto->endedByLaunch(statusText); };
    hooks.revealMainWindow = [this] {
        if (!isVisible() || isMinimized())
            showRestored();
    };
    hooks.hideMainWindow = [this] { hideWindow(); };
    hooks.showPasswordPrompt = [this] { emit passwordRequested(); };
    Launch = std::make_unique<Launcher>(settings, launch, autoConnect, prompter, shell, std::move(hooks));
}

void TForm1::buildAutoConnect(LaunchState &launch)
{
    TimerAuto = new QTimer(this);
    TimerAuto->setObjectName(QStringLiteral("TimerAuto"));
    connect(TimerAuto, &QTimer::timeout, this, &TForm1::TimerAutoTimer);
    AutoConnect::Hooks hooks;
    hooks.selectedRow = [this] {
        const int row = selectedRow();
        return row >= 0 ? std::optional<ServerRow>(Servers->row(row)) : std::nullopt;
    };
    hooks.selectFirstRow = [this] { selectRow(0); };
    hooks.pauseFavoritesScan = [this] { pauseFavoritesScan(); };
    hooks.resumeFavoritesScan = [this] { resumeFavoritesScan(); };
    hooks.releaseFavoritesScan = [this] { FavSchedule->release(); };
    hooks.trayCycling = [this](bool cycling) {
        if (cycling)
            Tray->startCycling();
        else
            Tray->stopCycling();
    };
    hooks.bringToFront = [this] { showRestored(); };
    hooks.play = [this] { autoConnectJoin(); };
    hooks.controlsChanged = [this] {
        // The watched row stays in view through its join, whatever the filter says.
        if (autoConnect.active)
            ShownServers->keepInView(autoConnect.targetAddress, autoConnect.targetPort.toInt());
        showControls();
    };
    Auto = std::make_unique<AutoConnect>(autoConnect, launch, *Protocol, *Servers, controls, prompter, *TimerAuto,
                                         std::move(hooks));
    Engine->setAutoConnectCheck([this](const ServerInfo &info) { return Auto->replyCheck(info.players); });
}

void TForm1::registerHotkey()
{
    Hotkey = std::make_unique<GlobalHotkey>(1, Qt::ShiftModifier | Qt::AltModifier, Qt::Key_S);
    if (Hotkey->registered()) {
        connect(Hotkey.get(), &GlobalHotkey::activated, this, [this](int id) {
            if (id == 1)
                HotkeyPressed();
        });
    } else {
        // In the message panel: a status-bar message would cover the panels.
        const QString &message = controls.messagePanel();
        controls.showMessage(message + (message.isEmpty() ? QStringLiteral(" ") : QStringLiteral("; "))
                             + Hotkey->failureText());
    }
}

void TForm1::applySettings()
{
    {
        // Showing the loaded choice is no change to write back.
        const QSignalBlocker blockGame(RGGame);
        const QSignalBlocker blockHltv(RGHltv);
        RGHltv->setChecked(settings.gameType == 1);
        RGGame->setChecked(settings.gameType != 1);
    }
    resize(qMax(settings.width, MinimumWidth), qMax(settings.height, MinimumHeight));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    ServerFilter filter;
    filter.text = settings.filterText;
    filter.hideEmpty = settings.hideEmpty;
    filter.hideFull = settings.hideFull;
    filter.hidePassword = settings.hidePassword;
    QuickFilter->setFilter(filter);
    quickFilterChanged();

    FavSchedule->setIntervalSeconds(settings.updInterval);
    if (settings.favAutoScan)
        favoritesScanSwitched(true);
    if (settings.favFirstTickPending) {
        // The first auto-scan follows the start at once.
        settings.favFirstTickPending = false;
        FavSchedule->firstTickSoon();
    }
}

void TForm1::setIniFile(IniFile *file)
{
    ini = file;
}

void TForm1::RGClick(int index)
{
    settings.gameType = index;
    if (!ini)
        return;
    try {
        settings.writeGameType(*ini);
    } catch (const IniWriteError &e) {
        prompter.error(e.message());
    }
}

void TForm1::showControls()
{
    const ScanControls &c = controls;
    SBScanAll->setEnabled(c.scanEnabled());
    SBScanAll->setText(c.scanCaption());
    SBStop->setEnabled(c.stopEnabled());
    SBRefresh->setEnabled(c.refreshEnabled());
    SBAuto->setEnabled(c.autoEnabled());
    SBPlay->setEnabled(c.playEnabled());
    RGGame->setEnabled(c.portChoiceEnabled());
    RGHltv->setEnabled(c.portChoiceEnabled());
    LW->setEnabled(c.listEnabled());
    // Only the enabled look changes: a disabled Auto button keeps the style's
    // greyed caption, or it would look clickable.
    const QColor autoColor = c.autoCaptionRed() ? Qt::red : Qt::black;
    if (SBAuto->palette().color(QPalette::Active, QPalette::ButtonText) != autoColor) {
        QPalette palette = SBAuto->palette();
        palette.setColor(QPalette::Active, QPalette::ButtonText, autoColor);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, autoColor);
        SBAuto->setPalette(palette);
    }
    Gauge->setMaximum(qMax(c.progressMax(), 1));
    Gauge->setValue(qMin(c.progress(), Gauge->maximum()));
    Panels[0]->setText(c.activityPanel());
    Panels[1]->setText(c.sentPanel());
    Panels[2]->setText(c.messagePanel());
}

int TForm1::selectedRow() const
{
    return ::selectedRow(*LW);
}

void TForm1::selectRow(int row)
{
    selectRowOrNone(*LW, row);
}

bool TForm1::isSelectedServer(const QString &address, int port) const
{
    const int row = selectedRow();
    if (row < 0 || row >= Servers->rowCount())
        return false;
    const ServerRow &server = Servers->row(row);
    return server.address == address && server.port == port;
}

void TForm1::clearDetails()
{
    Players->clear();
    Rules->clear();
}

void TForm1::LWSelectItem()
{
    const int row = selectedRow();
    if (row < 0) {
        LWClick();
        return;
    }
    clearDetails();
    Engine->rowSelected();
    const ServerRow &server = Servers->row(row);
    Image->setPixmap(IconLibrary::bigIcon(server.gameIcon - FirstGameIcon));
    // The protocol keeps the pause between the two requests.
    Protocol->requestPlayers(server.address, server.port);
    Protocol->requestRules(server.address, server.port);
}

void TForm1::LWClick()
{
    if (selectedRow() >= 0)
        return;
    Engine->selectionCleared();
    Image->clear();
    clearDetails();
}

void TForm1::LWColumnClick(int column)
{
    Servers->LWColumnClick(column);
}

void TForm1::LWPlayersColumnClick(int column)
{
    Players->sortByColumn(column);
}

void TForm1::LWDblClick()
{
    if (selectedRow() >= 0 && settings.doubleClick)
        SBPlayClick();
}

void TForm1::SBPlayClick()
{
    launchSelected();
}

void TForm1::launchSelected(std::function<void()> started)
{
    const int row = selectedRow();
    Launch->SBPlayClick(row >= 0 ? std::optional<ServerRow>(Servers->row(row)) : std::nullopt, std::move(started));
}

void TForm1::autoConnectJoin()
{
    const bool unseen = !isVisible() || isMinimized();
    const QString address = connectAddress(autoConnect.targetAddress, autoConnect.targetPort);
    launchSelected([this, unseen, address] {
        //: Tray message when auto-connect starts the game; %1 is ADDRESS:PORT.
        if (unseen)
            Tray->notify(MainWindow::tr("Auto connect"), MainWindow::tr("Joining %1").arg(address));
    });
}

void TForm1::SBAutoClick()
{
    Auto->SBAutoClick();
}

void TForm1::TimerAutoTimer()
{
    Auto->TimerAutoTimer();
}

void TForm1::PMSAddClick()
{
    const int row = selectedRow();
    if (row < 0 || !favorites)
        return;
    const ServerRow &server = Servers->row(row);
    const QString refusal = favorites->addListed(server.address, server.portText);
    if (!refusal.isEmpty())
        prompter.error(refusal);
}

void TForm1::PMSCopyAddressClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const ServerRow &server = Servers->row(row);
    QGuiApplication::clipboard()->setText(connectAddress(server.address, server.portText));
}

void TForm1::PMSCopySteamLinkClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const ServerRow &server = Servers->row(row);
    QGuiApplication::clipboard()->setText(steamConnectLink(server.address, server.portText));
}

void TForm1::TimerFavTimer()
{
    // The quick first interval ends with the first turn that takes place, even
    // one with nothing to ask: every turn disables Play and Auto, and turns
    // 200 ms apart would leave them unusable.
    if (FavScan->tick())
        FavSchedule->turnTookPlace();
}

void TForm1::favoritesScanSwitched(bool on)
{
    // Hidden, the window starts the timer when it is shown again.
    FavSchedule->switchOn(on);
    if (on) {
        controls.showMessage(MainWindow::tr(" Autoscan enabled"));
    } else {
        controls.showActivity(QString());
        controls.showMessage(MainWindow::tr(" Autoscan disabled"));
    }
    showControls();
}

void TForm1::favoritesIntervalChanged(int seconds)
{
    FavSchedule->setIntervalSeconds(seconds);
}

void TForm1::pauseFavoritesScan()
{
    FavSchedule->hold();
}

void TForm1::resumeFavoritesScan()
{
    FavSchedule->release();
    if (settings.favAutoScan)
        favoritesScanSwitched(true);
}

void TForm1::Hide1Click()
{
    hideWindow();
}

void TForm1::hideWindow()
{
    // Without a tray icon to bring it back, a hidden window would be out of
    // reach: it minimises and keeps its taskbar entry instead.
    if (Tray->available())
        hide();
    else
        showMinimized();
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::Options1Click()
{
    emit optionsRequested();
}

void TForm1::About2Click()
{
    emit aboutRequested();
}

void TForm1::Homepage1Click()
{
    shell.openUrl(homePageAddress());
}

void TForm1::showRestored()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TForm1::TrayIconDblClick()
{
    if (isVisible() && !isMinimized())
        hideWindow();
    else
        showRestored();
}

void TForm1::HotkeyPressed()
{
    TrayIconDblClick();
}

void TForm1::TrayShowClick()
{
    showRestored();
}

void TForm1::TrayExitClick()
{
    close();
}

void TForm1::bringToFront()
{
    showRestored();
}

void TForm1::stopScanning()
{
    if (Engine->scanning())
        Engine->SBStopClick();
}

void TForm1::sessionEnding()
{
    stopScanning();
    if (!endpointReleased) {
        UDP->release();
        endpointReleased = true;
    }
    Tray->hide();
    close();
}

void TForm1::showEvent(QShowEvent *event)
{
    applyTransparency(this, settings);
    // A restore by the window system follows no hiding of ours.
    if (!event->spontaneous())
        FavSchedule->windowShown(!isMinimized());
    QMainWindow::showEvent(event);
}

void TForm1::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        FavSchedule->windowShown(false);
    QMainWindow::hideEvent(event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    stopScanning();
    if (!endpointReleased) {
        UDP->release();
        endpointReleased = true;
    }
    event->accept();
    QApplication::quit();
}

void TForm1::changeEvent(QEvent *event)
{
    // Minimising hides the window when the tray icon can bring it back;
    // without a tray the window minimises as usual and stays in the taskbar.
    // Minimised without a tray stands for hidden: the auto-scan rests.
    if (event->type() == QEvent::WindowStateChange) {
        const bool wasMinimized = static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized;
        if (isMinimized() && Tray->available()) {
            setWindowState(windowState() & ~Qt::WindowMinimized);
            hide();
        } else if (isMinimized()) {
            FavSchedule->windowShown(false);
        } else if (wasMinimized) {
            FavSchedule->windowShown(isVisible());
        }
    }
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        emit activated();
    QMainWindow::changeEvent(event);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == LW && event->type() == QEvent::KeyPress) {
        // Enter on a row is the keyboard's double click; held down, it joins once.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (!key->isAutoRepeat())
                LWDblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    settings.width = width();
    settings.height = height();
}

