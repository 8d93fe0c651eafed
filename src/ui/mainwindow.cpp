#include "ui/mainwindow.h"

#include "desktop/shell.h"
#include "join/scansession.h"
#include "join/serverlink.h"
#include "scan/serverfiltermodel.h"
#include "scan/serverlistmodel.h"
#include "settings/settingsmodel.h"
#include "settings/windowlimits.h"
#include "ui/detailpages.h"
#include "ui/filterbar.h"
#include "ui/focusselection.h"
#include "ui/iconlibrary.h"
#include "ui/iconproxymodel.h"
#include "ui/reportlist.h"
#include "ui/rowselection.h"
#include "ui/scanbar.h"
#include "ui/servercolumns.h"
#include "ui/statuspanels.h"
#include "ui/transparency.h"
#include "ui/trayicon.h"
#include "ui/windowpresence.h"
#include "buildinfo.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The translation context of the texts below.
struct MainWindow
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

} // namespace

TForm1::TForm1(ScanSession &session, Shell &shell, bool wantHotkey, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_shell(shell)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(applicationTitle());
    // Minimised, a window is named by its icon text unless it has a name of its own.
    setAccessibleName(applicationTitle());
    setWindowIcon(IconLibrary::appIcon());
    setMinimumSize(MainWindowMinWidth, MainWindowMinHeight);

    buildMenus();
    auto *central = new QWidget(this);
    auto *outer = new QHBoxLayout(central);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(4);
    auto *left = new QVBoxLayout;
    left->setSpacing(2);
    buildServerList(central);
    left->addWidget(m_filterBar);
    left->addWidget(m_list, 1);
    m_scanBar = new ScanBar(central);
    left->addWidget(m_scanBar);
    outer->addLayout(left, 1);
    m_details = new DetailPages(m_session.players(), m_session.rules(), central);
    connect(m_details, &QTabWidget::currentChanged, &m_session, &ScanSession::showDetailPage);
    outer->addWidget(m_details);
    setCentralWidget(central);
    m_panels = std::make_unique<StatusPanels>(*statusBar());
    m_presence = new WindowPresence(*this, m_session);
    connectSession();
    if (wantHotkey)
        m_presence->registerHotkey();

    const SettingsModel &settings = m_session.settings();
    resize(qMax(settings.width, MainWindowMinWidth), qMax(settings.height, MainWindowMinHeight));
    centre();
    showControls();
}

TForm1::~TForm1()
{
    // The views go before the session's models; nothing of theirs may reach
    // this half-destroyed window any more.
    disconnect(&m_session, nullptr, this, nullptr);
    m_list->removeEventFilter(this);
    m_columns.reset();
}

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
    file->addAction(MainWindow::tr("E&xit"), this, &QWidget::close);
    menuBar()->addAction(MainWindow::tr("&Options"), this, &TForm1::optionsRequested);
    QMenu *info = menuBar()->addMenu(MainWindow::tr("&Info"));
    info->addAction(MainWindow::tr("&About"), this, &TForm1::aboutRequested);
    info->addAction(MainWindow::tr("Home &page..."), this, &TForm1::Homepage1Click);

    m_serverMenu = new QMenu(this);
    m_serverMenu->setObjectName(QStringLiteral("PMServers"));
    m_serverMenu->addAction(MainWindow::tr("Play"), this, &TForm1::SBPlayClick);
    m_serverMenu->addAction(MainWindow::tr("Auto connect"), &m_session, &ScanSession::toggleAutoConnect);
    m_serverMenu->addAction(MainWindow::tr("Add To Favorites"), &m_session, &ScanSession::addSelectedToFavorites);
    m_serverMenu->addSeparator();
    m_copyAddress = m_serverMenu->addAction(MainWindow::tr("Copy Address"), this, &TForm1::PMSCopyAddressClick);
    m_copyAddress->setShortcut(QKeySequence::Copy);
    m_copyAddress->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_serverMenu->addAction(MainWindow::tr("Copy Steam Link"), this, &TForm1::PMSCopySteamLinkClick);
}

void TForm1::buildServerList(QWidget *central)
{
    m_filterBar = new FilterBar(central);
    m_filterBar->setObjectName(QStringLiteral("QuickFilter"));
    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, m_filterBar, &FilterBar::focusText);

    m_list = reportList(central);
    m_list->setObjectName(QStringLiteral("LW"));
    m_list->setAccessibleName(MainWindow::tr("Servers"));
    m_listIcons = new IconProxyModel(this);
    m_listIcons->setSourceModel(&m_session.shownServers());
    m_list->setModel(m_listIcons);
    // Ctrl+C on the list copies the selected server's address.
    m_list->addAction(m_copyAddress);
    QHeaderView *header = m_list->horizontalHeader();
    m_list->installEventFilter(this);
    header->setMinimumSectionSize(16);
    m_columns = std::make_unique<ServerColumns>(*m_list);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, &m_session.servers(), &ServerListModel::sortByColumn);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TForm1::LWSelectItem);
    connect(m_list, &QTableView::doubleClicked, this, &TForm1::LWDblClick);
    // Ctrl+F, a name, Enter, Enter: the keyboard reaches a selected row.
    auto *keyboardSelection = new FocusSelection(*m_list);
    connect(m_filterBar, &FilterBar::filterChanged, this, &TForm1::quickFilterChanged);
    connect(m_filterBar, &FilterBar::textAccepted, keyboardSelection, &FocusSelection::takeFocus);
    // Connected after quickFilterChanged, so it sees the rows the new filter leaves.
    connect(m_filterBar, &FilterBar::filterChanged, keyboardSelection, &FocusSelection::rowsFiltered);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        // The menu opens only over a selected row.
        if (selectedRow() >= 0)
            m_serverMenu->popup(m_list->viewport()->mapToGlobal(at));
    });

    // The count follows rows the filter lets in or out and rows listed behind it.
    for (QAbstractItemModel *model : {static_cast<QAbstractItemModel *>(&m_session.shownServers()),
                                      static_cast<QAbstractItemModel *>(&m_session.servers())}) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &TForm1::showFilterCount);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TForm1::showFilterCount);
        connect(model, &QAbstractItemModel::modelReset, this, &TForm1::showFilterCount);
        connect(model, &QAbstractItemModel::layoutChanged, this, &TForm1::showFilterCount);
    }
}

void TForm1::connectSession()
{
    ScanSession &s = m_session;
    connect(m_scanBar, &ScanBar::scanClicked, &s, &ScanSession::scanAll);
    connect(m_scanBar, &ScanBar::stopClicked, &s, &ScanSession::stop);
    connect(m_scanBar, &ScanBar::refreshClicked, &s, &ScanSession::refresh);
    connect(m_scanBar, &ScanBar::autoClicked, &s, &ScanSession::toggleAutoConnect);
    connect(m_scanBar, &ScanBar::playClicked, this, &TForm1::SBPlayClick);
    connect(m_scanBar, &ScanBar::portChosen, &s, &ScanSession::choosePort);
    connect(&s, &ScanSession::controlsChanged, this, &TForm1::showControls);
    connect(&s, &ScanSession::settingsRequested, this, &TForm1::optionsRequested);
    connect(&s, &ScanSession::sweepStarted, m_scanBar, &ScanBar::clearGame);
    connect(&s, &ScanSession::passwordRequested, this, &TForm1::passwordRequested);
    connect(&s, &ScanSession::revealWindowRequested, this, [this] {
        if (!isVisible() || isMinimized())
            m_presence->showRestored();
    });
    connect(&s, &ScanSession::hideWindowRequested, m_presence, &WindowPresence::hideWindow);
    connect(&s, &ScanSession::frontRequested, m_presence, &WindowPresence::showRestored);
    connect(&s, &ScanSession::trayCyclingChanged, &tray(), [this](bool cycling) {
        if (cycling)
            tray().startCycling();
        else
            tray().stopCycling();
    });
    connect(&s, &ScanSession::firstRowWanted, this, [this] { selectRow(0); });
    connect(&s, &ScanSession::joinedUnseen, &tray(), &TrayIcon::notify);
}

void TForm1::centre()
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::applySettings()
{
    m_session.settingsLoaded();
    const SettingsModel &settings = m_session.settings();
    m_scanBar->showPort(settings.gameType);
    resize(qMax(settings.width, MainWindowMinWidth), qMax(settings.height, MainWindowMinHeight));
    centre();
    m_filterBar->setFilter(m_session.filter());
    quickFilterChanged();
}

void TForm1::quickFilterChanged()
{
    const bool selected = selectedRow() >= 0;
    m_session.setFilter(m_filterBar->filter());
    // The selection leaves with its row, without a word from the view.
    if (selected && selectedRow() < 0)
        LWSelectItem();
}

void TForm1::showFilterCount()
{
    m_filterBar->showCount(m_session.shownServers().rowCount(), m_session.servers().rowCount());
}

void TForm1::showControls()
{
    const ScanControls &c = m_session.controls();
    m_scanBar->show(c);
    m_list->setEnabled(c.listEnabled());
    m_panels->show(c);
}

int TForm1::selectedRow() const
{
    return ::selectedRow(*m_list);
}

void TForm1::selectRow(int row)
{
    selectRowOrNone(*m_list, row);
}

void TForm1::LWSelectItem()
{
    const int row = selectedRow();
    m_session.selectRow(row);
    if (row >= 0)
        m_scanBar->showGame(m_session.servers().row(row).gameIcon);
    else
        m_scanBar->clearGame();
}

void TForm1::LWDblClick()
{
    if (selectedRow() >= 0 && m_session.settings().doubleClick)
        SBPlayClick();
}

void TForm1::SBPlayClick()
{
    m_session.play();
}

void TForm1::PMSCopyAddressClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const ServerRow &server = m_session.servers().row(row);
    QGuiApplication::clipboard()->setText(connectAddress(server.address, server.portText));
}

void TForm1::PMSCopySteamLinkClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const ServerRow &server = m_session.servers().row(row);
    QGuiApplication::clipboard()->setText(steamConnectLink(server.address, server.portText));
}

TrayIcon &TForm1::tray()
{
    return m_presence->tray();
}

void TForm1::Hide1Click()
{
    m_presence->hideWindow();
}

void TForm1::HotkeyPressed()
{
    m_presence->toggle();
}

void TForm1::bringToFront()
{
    m_presence->showRestored();
}

void TForm1::Homepage1Click()
{
    m_shell.openUrl(homePageAddress());
}

void TForm1::sessionEnding()
{
    m_session.shutDown();
    tray().hide();
    close();
}

void TForm1::showEvent(QShowEvent *event)
{
    applyTransparency(this, m_session.settings());
    QMainWindow::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    m_session.shutDown();
    event->accept();
    QApplication::quit();
}

void TForm1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        emit activated();
    QMainWindow::changeEvent(event);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
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
    m_session.rememberSize(width(), height());
}
