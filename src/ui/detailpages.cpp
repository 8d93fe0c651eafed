#include "ui/detailpages.h"

#include "query/playersmodel.h"
#include "query/rulesmodel.h"
#include "ui/iconlibrary.h"
#include "ui/reportlist.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTabBar>
#include <QTableView>

#include <algorithm>

namespace {

constexpr int DetailsWidth = 168;

// The translation context of the main window's texts.
struct MainWindow
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
};

} // namespace

DetailPages::DetailPages(PlayersModel &players, RulesModel &rules, QWidget *parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("PageControl1"));
    setAccessibleName(MainWindow::tr("Details"));
    QTableView *playerList = reportList(this);
    playerList->setObjectName(QStringLiteral("LWPlayers"));
    playerList->setAccessibleName(MainWindow::tr("Players"));
    playerList->setModel(&players);
    playerList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    playerList->horizontalHeader()->resizeSection(1, 48);
    connect(playerList->horizontalHeader(), &QHeaderView::sectionClicked, &players,
            &PlayersModel::sortByColumn);
    QTableView *ruleList = reportList(this);
    ruleList->setObjectName(QStringLiteral("LWRules"));
    ruleList->setAccessibleName(MainWindow::tr("Rules"));
    ruleList->setModel(&rules);
    ruleList->horizontalHeader()->resizeSection(0, 98);
    ruleList->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    ruleList->horizontalHeader()->setSectionsClickable(false);
    addTab(playerList, IconLibrary::tabIcon(IconLibrary::PlayersTab), MainWindow::tr("Players"));
    addTab(ruleList, IconLibrary::tabIcon(IconLibrary::RulesTab), MainWindow::tr("Rules"));
    // Wider where the tabs' captions need it (other languages' words are longer).
    setFixedWidth(std::max(DetailsWidth, tabBar()->sizeHint().width()));
}
