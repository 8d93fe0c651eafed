#include "ui/servercolumns.h"

#include "scan/serverlistmodel.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>

#include <algorithm>

namespace {

using Model = ServerListModel;

// The layout's ranges, in model order: Game, Name, Address, Port, PT, Map,
// players, OS, A, Ping. Name gives up part of its 70 pixels when the window
// is at its narrowest, so that the ping needs no scrolling there.
const std::vector<ColumnSpan> Ranges = {{45, 60}, {36, 70}, {86, 110}, {50, 50}, {28, 28},
                                        {60, 100}, {46, 46}, {16, 55}, {22, 22}, {30, 44}};
// When the list widens, Name first gets back to 70, then Game to the width of
// a longer game folder listed, then Map and Address grow; Name takes the rest.
const std::vector<int> Growth = {Model::ColumnName, Model::ColumnGame, Model::ColumnMap, Model::ColumnAddress,
                                 Model::ColumnName};
// A game folder from the network widens the Game column at most this far.
constexpr int GameCap = 160;

// The codes the classification gives; unknown games show their folder.
const char *const GameCodes[] = {"1.6", "1.5", "CSS", "CZ", "HL", "DOD", "DODS", "TFC", "DM", "TDM",
                                 "CTF", "HL2", "TF2", "CSP", "DMC", "RC", "L4D", "GMOD"};

} // namespace

ServerColumns::ServerColumns(QTableView &view) : list(view), columnSpans(Ranges)
{
    QHeaderView *header = list.horizontalHeader();
    header->moveSection(header->visualIndex(Model::ColumnPing), header->visualIndex(Model::ColumnOs));
    for (int c : {int(Model::ColumnGame), int(Model::ColumnOs), int(Model::ColumnAccess), int(Model::ColumnPing)})
        header->setSectionResizeMode(c, QHeaderView::Fixed);
    connect(list.model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { captionsAdded(first, last); });
    // A new sweep empties the list: the column goes back to the known codes.
    connect(list.model(), &QAbstractItemModel::modelReset, this, [this] {
        widestAdvance = knownAdvance;
        widestCaption = knownCaption;
        refitGame();
    });
    list.installEventFilter(this);
    list.viewport()->installEventFilter(this);
    measure();
}

ServerColumns::~ServerColumns()
{
    list.viewport()->removeEventFilter(this);
    list.removeEventFilter(this);
}

int ServerColumns::cellWidth(const QString &text, bool withIcon) const
{
    QStyleOptionViewItem option;
    option.initFrom(list.viewport());
    option.font = list.font();
    option.fontMetrics = list.fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay;
    if (withIcon)
        option.features |= QStyleOptionViewItem::HasDecoration;
    option.decorationSize = list.iconSize();
    option.decorationPosition = QStyleOptionViewItem::Left;
    option.displayAlignment = Qt::AlignCenter;
    option.text = text;
    const QSize size = list.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &list);
    // The grid line takes one pixel of the section.
    return size.width() + (list.showGrid() ? 1 : 0);
}

void ServerColumns::measure()
{
    widestAdvance = -1;
    for (const char *code : GameCodes)
        takeCaption(QString::fromLatin1(code));
    knownAdvance = widestAdvance;
    knownCaption = widestCaption;
    knownGameWidth = fittedWidth(cellWidth(knownCaption, true), Ranges[Model::ColumnGame], GameCap);
    for (int row = 0; row < list.model()->rowCount(); ++row)
        takeCaption(list.model()->index(row, Model::ColumnGame).data().toString());

    const int os = std::max(cellWidth(QStringLiteral("WIN"), true), cellWidth(QStringLiteral("LIN"), true));
    QHeaderView *header = list.horizontalHeader();
    const int headerMargin = 2 * list.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int ping = std::max(cellWidth(QStringLiteral("9999"), false),
                              header->fontMetrics().horizontalAdvance(
                                  list.model()->headerData(Model::ColumnPing, Qt::Horizontal).toString())
                                  + headerMargin);
    const int osWidth = fittedWidth(os, Ranges[Model::ColumnOs], Ranges[Model::ColumnOs].maximum);
    columnSpans[Model::ColumnOs] = {osWidth, osWidth};
    const int pingWidth = fittedWidth(ping, Ranges[Model::ColumnPing], Ranges[Model::ColumnPing].maximum);
    columnSpans[Model::ColumnPing] = {pingWidth, pingWidth};
    fitGame();
    fit();
}

bool ServerColumns::takeCaption(const QString &caption)
{
    const int advance = list.fontMetrics().horizontalAdvance(caption);
    if (advance <= widestAdvance)
        return false;
    widestAdvance = advance;
    widestCaption = caption;
    return true;
}

void ServerColumns::fitGame()
{
    // Every known code fits at the narrowest; a longer folder gets its room
    // when the list has it.
    const int widest = fittedWidth(cellWidth(widestCaption, true), Ranges[Model::ColumnGame], GameCap);
    columnSpans[Model::ColumnGame] = {knownGameWidth, std::max(knownGameWidth, widest)};
}

void ServerColumns::refitGame()
{
    // The columns are shared out anew only when the Game column's range changed.
    const ColumnSpan before = columnSpans[Model::ColumnGame];
    fitGame();
    const ColumnSpan &after = columnSpans[Model::ColumnGame];
    if (after.minimum != before.minimum || after.maximum != before.maximum)
        fit();
}

void ServerColumns::captionsAdded(int first, int last)
{
    // Most rows carry a known code: only a wider folder name changes the layout.
    bool wider = false;
    for (int row = first; row <= last; ++row)
        wider = takeCaption(list.model()->index(row, Model::ColumnGame).data().toString()) || wider;
    if (wider)
        refitGame();
}

void ServerColumns::fit()
{
    const std::vector<int> widths = fitColumns(list.viewport()->width(), columnSpans, Growth);
    for (size_t c = 0; c < widths.size(); ++c)
        list.horizontalHeader()->resizeSection(int(c), widths[c]);
}

bool ServerColumns::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == list.viewport())
        fit();
    else if (event->type() == QEvent::FontChange && watched == &list)
        measure();
    return QObject::eventFilter(watched, event);
}
