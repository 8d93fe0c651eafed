#include "query/playersmodel.h"
#include "query/rulesmodel.h"
#include "scan/autoconnectstate.h"
#include "scan/listicons.h"
#include "scan/serverfiltermodel.h"
#include "scan/serverlistmodel.h"
#include "settings/settingsmodel.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

ServerInfo server(const QString &address, int port, quint8 players = 5, quint8 maxPlayers = 16)
{
    ServerInfo info;
    info.gameDir = QStringLiteral("cstrike");
    info.description = QStringLiteral("Counter-Strike");
    info.hostName = QStringLiteral("Server ") + address;
    info.address = address;
    info.port = port;
    info.protocol = 48;
    info.map = QStringLiteral("de_dust2");
    info.players = players;
    info.maxPlayers = maxPlayers;
    info.os = 'l';
    return info;
}

int linearFind(const ServerListModel &model, const QString &address, int port)
{
    for (int i = 0; i < model.rowCount(); ++i) {
        if (model.row(i).address == address && model.row(i).portText.toInt() == port)
            return i;
    }
    return -1;
}

QStringList column(const QAbstractItemModel &model, int c)
{
    QStringList texts;
    for (int i = 0; i < model.rowCount(); ++i)
        texts << model.data(model.index(i, c)).toString();
    return texts;
}

} // namespace

class TestServerListModel : public QObject
{
    Q_OBJECT

    SettingsModel settings;
    AutoConnectState autoConnect;

private slots:
    void init()
    {
        settings = SettingsModel();
        autoConnect = AutoConnectState();
    }

    void addShowsEveryColumn()
    {
        ServerListModel model(settings, autoConnect);
        QSignalSpy added(&model, &ServerListModel::serverAdded);
        ServerInfo info = server(QStringLiteral("127.0.0.5"), 27015, 12, 20);
        info.os = 'w';
        info.password = 1;
        info.ping = 7;
        model.addOrUpdate(info);

        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.columnCount(), 10);
        QStringList texts;
        for (int c = 0; c < model.columnCount(); ++c)
            texts << model.data(model.index(0, c)).toString();
        QCOMPARE(texts, (QStringList{"1.6", "Server 127.0.0.5", "127.0.0.5", "27015", "48",
                                     "de_dust2", "12/20", "WIN", "", "7"}));
        const int role = ServerListModel::IconRole;
        QCOMPARE(model.data(model.index(0, 0), role).toInt(), int(IconCS));
        QCOMPARE(model.data(model.index(0, 7), role).toInt(), int(IconWindows));
        QCOMPARE(model.data(model.index(0, 8), role).toInt(), int(IconPassword));
        QVERIFY(!model.data(model.index(0, 1), role).isValid());

        QCOMPARE(added.size(), 1);
        QCOMPARE(added[0][0].toInt(), 0);
        QCOMPARE(added[0][1].value<ServerInfo>(), info);
    }

    void controlCharactersAreNotShown_data()
    {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("shown");
        const QString x = QString(QChar::ReplacementCharacter);
        QTest::newRow("plain") << "de_dust2" << "de_dust2";
        QTest::newRow("other scripts kept") << QStringLiteral("Город ★") << QStringLiteral("Город ★");
        QTest::newRow("terminal title") << "\x1b]0;owned\x07" << x + "]0;owned" + x;
        QTest::newRow("clear screen") << "\x1b[2J\x1b[H" << x + "[2J" + x + "[H";
        QTest::newRow("line break and tab") << "a\r\nb\tc" << "a" + x + x + "b" + x + "c";
        QTest::newRow("DEL and C1") << QStringLiteral("a\x7f\u009b2Jb") << "a" + x + x + "2Jb";
    }

    // The lists show what a server sent, but never its control characters.
    void controlCharactersAreNotShown()
    {
        QFETCH(QString, sent);
        QFETCH(QString, shown);
        ServerListModel model(settings, autoConnect);
        ServerInfo info = server(QStringLiteral("127.0.0.5"), 27015);
        info.gameDir = info.hostName = info.map = sent; // an unknown game folder is the caption
        model.addOrUpdate(info);
        QCOMPARE(model.row(0).name, sent);
        for (int c : {ServerListModel::ColumnGame, ServerListModel::ColumnName, ServerListModel::ColumnMap})
            QCOMPARE(column(model, c), QStringList{shown});

        PlayersModel players;
        players.setPlayers({{sent, 3}});
        QCOMPARE(players.data(players.index(0, 0)).toString(), shown);
        RulesModel rules;
        rules.setRules({{sent, sent}});
        QCOMPARE(rules.data(rules.index(0, 0)).toString(), shown);
        QCOMPARE(rules.data(rules.index(0, 1)).toString(), shown);
    }

    void headers()
    {
        ServerListModel model(settings, autoConnect);
        QStringList captions;
        QList<int> icons;
        for (int c = 0; c < model.columnCount(); ++c) {
            captions << model.headerData(c, Qt::Horizontal).toString();
            const QVariant icon = model.headerData(c, Qt::Horizontal, ServerListModel::IconRole);
            icons << (icon.isValid() ? icon.toInt() : -1);
        }
        QCOMPARE(captions, (QStringList{"Game", "Name", "Address", "Port", "PT", "Map", "", "OS", "A", "Ping"}));
        QCOMPARE(icons, (QList<int>{-1, 10, 9, -1, -1, 0, 4, 8, -1, -1}));
        // The players header is an icon alone: its tooltip and accessible text name it.
        for (int role : {int(Qt::ToolTipRole), int(Qt::AccessibleTextRole)})
            QCOMPARE(model.headerData(ServerListModel::ColumnPlayers, Qt::Horizontal, role).toString(), "Players");
    }

    void cellHints_data()
    {
        QTest::addColumn<QString>("gameDir");
        QTest::addColumn<QString>("description");
        QTest::addColumn<char>("os");
        QTest::addColumn<int>("password");
        QTest::addColumn<int>("players");
        QTest::addColumn<int>("bots");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<QStringList>("hints"); // Game, Players, OS, A

        QTest::newRow("1.6, bots") << "cstrike" << "Counter-Strike" << 'l' << 0 << 12 << 3 << false
                                   << QStringList{"Counter-Strike 1.6", "12 players (3 bots) of 16", "Linux", "Room free"};
        QTest::newRow("HLTV, one bot") << "valve" << "HLTV" << 'w' << 0 << 1 << 1 << false
                                       << QStringList{"Counter-Strike 1.6 (HLTV)", "1 player (1 bot) of 16", "Windows",
                                                      "Room free"};
        QTest::newRow("TF2 full, Mac") << "tf" << "Team Fortress" << 'm' << 0 << 16 << 0 << false
                                       << QStringList{"Team Fortress 2", "16 players (0 bots) of 16", "macOS",
                                                      "Server full"};
        QTest::newRow("unknown game, no bot count") << "<b>svencoop</b>" << "Sven" << 'o' << 1 << 2 << -1 << false
                                                    << QStringList{"Unrecognised game", "2 players of 16", "macOS",
                                                                   "Password required"};
        QTest::newRow("refresh pending") << "cstrike" << "Counter-Strike: Source" << 'W' << 0 << 2 << 0 << true
                                         << QStringList{"Counter-Strike: Source", "2 players (0 bots) of 16", "Windows",
                                                        "Waiting for an answer"};
    }
    void cellHints()
    {
        QFETCH(QString, gameDir);
        QFETCH(QString, description);
        QFETCH(char, os);
        QFETCH(int, password);
        QFETCH(int, players);
        QFETCH(int, bots);
        QFETCH(bool, pending);
        QFETCH(QStringList, hints);
        ServerListModel model(settings, autoConnect);
        ServerInfo info = server(QStringLiteral("127.0.0.5"), 27015, quint8(players), 16);
        info.gameDir = gameDir;
        info.description = description;
        info.os = os;
        info.password = quint8(password);
        info.bots = bots;
        model.addOrUpdate(info);
        if (pending)
            model.markPending(info.address, info.port);

        const int columns[] = {ServerListModel::ColumnGame, ServerListModel::ColumnPlayers, ServerListModel::ColumnOs,
                               ServerListModel::ColumnAccess};
        for (int i = 0; i < 4; ++i) {
            const QModelIndex cell = model.index(0, columns[i]);
            QCOMPARE(cell.data(Qt::ToolTipRole).toString(), hints[i]);
            // Only the folder of an unknown game is read out but not shown
            // (a tooltip would take its markup for rich text).
            const QString folder = model.row(0).gameIcon == IconUnknown && i == 0 ? ": " + gameDir : QString();
            QCOMPARE(cell.data(Qt::AccessibleTextRole).toString(), hints[i] + folder);
        }
    }

    void knownRowRefreshesMapPlayersAccessOnly()
    {
        ServerListModel model(settings, autoConnect);
        model.addOrUpdate(server(QStringLiteral("127.0.0.5"), 27015, 3, 16));
        model.addOrUpdate(server(QStringLiteral("127.0.0.6"), 27015));
        QSignalSpy added(&model, &ServerListModel::serverAdded);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        ServerInfo again = server(QStringLiteral("127.0.0.5"), 27015, 16, 16);
        again.gameDir = QStringLiteral("tf");
        again.hostName = QStringLiteral("Renamed");
        again.os = 'w';
        again.protocol = 17;
        again.map = QStringLiteral("cs_office");
        model.addOrUpdate(again);

        QCOMPARE(model.rowCount(), 2);
        const ServerRow &row = model.row(0);
        QCOMPARE(row.caption, QStringLiteral("1.6"));
        QCOMPARE(row.name, QStringLiteral("Server 127.0.0.5"));
        QCOMPARE(row.osText, QStringLiteral("LIN"));
        QCOMPARE(row.protocolText, QStringLiteral("48"));
        QCOMPARE(row.map, QStringLiteral("cs_office"));
        QCOMPARE(row.playersText, QStringLiteral("16/16"));
        QCOMPARE(row.accessIcon, int(IconFull));
        QCOMPARE(added.size(), 0);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].value<QModelIndex>().row(), 0);

        // Same host on another port is another server.
        model.addOrUpdate(server(QStringLiteral("127.0.0.5"), 27016));
        QCOMPARE(model.rowCount(), 3);
    }

    void filters_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("gameDir");
        QTest::addColumn<QString>("code");
        QTest::newRow("1.6 dropped") << 47 << "cstrike" << "";
        QTest::newRow("48 dropped") << 48 << "cstrike" << "";
        QTest::newRow("1.5 listed") << 46 << "cstrike" << "1.5";
        QTest::newRow("unknown always listed") << 48 << "CSTRIKE" << "CSTRIKE";
    }
    void filters()
    {
        QFETCH(int, protocol);
        QFETCH(QString, gameDir);
        QFETCH(QString, code);
        settings.showGame.fill(false);
        settings.showGame[FilterCS15] = true;
        ServerListModel model(settings, autoConnect);
        QSignalSpy added(&model, &ServerListModel::serverAdded);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

        ServerInfo info = server(QStringLiteral("127.0.0.5"), 27015);
        info.protocol = quint8(protocol);
        info.gameDir = gameDir;
        model.addOrUpdate(info);

        QCOMPARE(model.rowCount(), code.isEmpty() ? 0 : 1);
        QCOMPARE(added.size(), model.rowCount());
        QCOMPARE(inserted.size(), model.rowCount());
        if (!code.isEmpty())
            QCOMPARE(model.row(0).caption, code);
    }

    void untickedFilterStillRefreshesListedRow()
    {
        ServerListModel model(settings, autoConnect);
        model.addOrUpdate(server(QStringLiteral("127.0.0.5"), 27015));
        settings.showGame[FilterCS16] = false;
        QSignalSpy added(&model, &ServerListModel::serverAdded);
        ServerInfo again = server(QStringLiteral("127.0.0.5"), 27015, 9, 16);
        again.map = QStringLiteral("de_nuke");
        model.addOrUpdate(again);
        QCOMPARE(model.row(0).map, QStringLiteral("de_nuke"));
        QCOMPARE(model.row(0).playersText, QStringLiteral("9/16"));
        QCOMPARE(added.size(), 0);
    }

    void autoConnectShowsOnlyTarget()
    {
        ServerListModel model(settings, autoConnect);
        for (int i = 1; i <= 3; ++i)
            model.addOrUpdate(server(QStringLiteral("127.0.0.%1").arg(i), 27015));
        autoConnect.active = true;
        autoConnect.targetAddress = QStringLiteral("127.0.0.2");
        autoConnect.targetPort = 27015;
        QSignalSpy added(&model, &ServerListModel::serverAdded);

        model.addOrUpdate(server(QStringLiteral("127.0.0.1"), 27015));
        model.addOrUpdate(server(QStringLiteral("127.0.0.2"), 27016));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(added.size(), 0);

        model.addOrUpdate(server(QStringLiteral("127.0.0.2"), 27015, 7, 16));
        model.addOrUpdate(server(QStringLiteral("127.0.0.3"), 27015));
        model.addOrUpdate(server(QStringLiteral("127.0.0.2"), 27015, 8, 16));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.row(0).address, QStringLiteral("127.0.0.2"));
        QCOMPARE(model.row(0).playersText, QStringLiteral("8/16"));
        // Every accepted reply lists the target afresh, so the join check runs each time.
        QCOMPARE(added.size(), 2);

        settings.showGame[FilterCS16] = false;
        model.addOrUpdate(server(QStringLiteral("127.0.0.2"), 27015));
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(added.size(), 2);
    }

    void clearForgetsRows()
    {
        ServerListModel model(settings, autoConnect);
        model.addOrUpdate(server(QStringLiteral("127.0.0.5"), 27015));
        model.clear();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.findRow(QStringLiteral("127.0.0.5"), 27015), -1);
        QSignalSpy added(&model, &ServerListModel::serverAdded);
        model.addOrUpdate(server(QStringLiteral("127.0.0.5"), 27015));
        QCOMPARE(added.size(), 1);
    }

    void compare_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("case ignored") << "abc" << "ABC" << 0;
        QTest::newRow("prefix first") << "ab" << "abc" << -1;
        QTest::newRow("as text") << "10/16" << "9/16" << -1;
        QTest::newRow("folded to upper") << "aZ" << "a_" << -1;
        QTest::newRow("letters") << "b" << "A" << 1;
        QTest::newRow("empty first") << "" << "a" << -1;
    }
    void compare()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        ServerRow ra, rb;
        ra.name = ra.caption = a;
        rb.name = rb.caption = b;
        for (int c : {0, 1}) {
            QCOMPARE(qBound(-1, ServerListModel::compareRows(ra, rb, c), 1), sign);
            QCOMPARE(qBound(-1, ServerListModel::compareRows(rb, ra, c), 1), -sign);
        }
    }

    void sortByPlayersAsText()
    {
        int sharedSortColumn = 0;
        ServerListModel model(settings, autoConnect);
        model.shareSortColumn(sharedSortColumn);
        model.addOrUpdate(server(QStringLiteral("127.0.0.1"), 27015, 9, 16));
        model.addOrUpdate(server(QStringLiteral("127.0.0.2"), 27015, 10, 16));
        model.addOrUpdate(server(QStringLiteral("127.0.0.3"), 27015, 2, 16));
        model.addOrUpdate(server(QStringLiteral("127.0.0.4"), 27015, 10, 16));
        const QPersistentModelIndex nine(model.index(0, 5));
        QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);

        model.sortByColumn(ServerListModel::ColumnPlayers);

        QCOMPARE(sharedSortColumn, 6);
        QCOMPARE(layout.size(), 1);
        QCOMPARE(column(model, 6), (QStringList{"10/16", "10/16", "2/16", "9/16"}));
        // Stable: equal keys keep their order.
        QCOMPARE(column(model, 2), (QStringList{"127.0.0.2", "127.0.0.4", "127.0.0.3", "127.0.0.1"}));
        QCOMPARE(nine.row(), 3);
        QCOMPARE(nine.column(), 5);

        model.addOrUpdate(server(QStringLiteral("127.0.0.9"), 27015, 1, 16));
        QCOMPARE(model.row(4).playersText, QStringLiteral("1/16"));
    }

    void sortByPingAsNumber()
    {
        ServerListModel model(settings, autoConnect);
        const int pings[] = {10, -1, 9, 100, 0};
        for (int i = 0; i < 5; ++i) {
            ServerInfo info = server(QStringLiteral("127.0.0.%1").arg(i + 1), 27015);
            info.ping = pings[i];
            model.addOrUpdate(info);
        }
        // A refresh measures again; a reply that answers no request keeps the time.
        ServerInfo again = server(QStringLiteral("127.0.0.5"), 27015);
        again.ping = 11;
        model.addOrUpdate(again);
        again.ping = -1;
        model.addOrUpdate(again);

        model.sortByColumn(ServerListModel::ColumnPing);
        QCOMPARE(column(model, ServerListModel::ColumnPing), (QStringList{"9", "10", "11", "100", ""}));
    }

    void quickFilter_data()
    {
        // The row: "Dust Lovers | FastDL" on de_dust2 at 10.0.0.5:27016.
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hide"); // e: empty, f: full, p: password
        QTest::addColumn<int>("players");
        QTest::addColumn<int>("password");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("no filter") << "" << "" << 5 << 0 << true;
        QTest::newRow("map, other case") << "DUST2" << "" << 5 << 0 << true;
        QTest::newRow("middle of the name") << "lovers |" << "" << 5 << 0 << true;
        QTest::newRow("nowhere") << "inferno" << "" << 5 << 0 << false;
        QTest::newRow("part of the address") << "0.0.5" << "" << 5 << 0 << true;
        QTest::newRow("copied address") << "10.0.0.5:27016" << "" << 5 << 0 << true;
        QTest::newRow("address, other port") << "10.0.0.5:27015" << "" << 5 << 0 << false;
        QTest::newRow("port alone is no address") << "27016" << "" << 5 << 0 << false;
        QTest::newRow("empty hidden") << "" << "e" << 0 << 0 << false;
        QTest::newRow("one player is not empty") << "" << "e" << 1 << 0 << true;
        QTest::newRow("full hidden") << "" << "f" << 16 << 0 << false;
        QTest::newRow("one place free") << "" << "f" << 15 << 0 << true;
        QTest::newRow("padlock hidden") << "" << "p" << 5 << 1 << false;
        QTest::newRow("odd password flag is no padlock") << "" << "p" << 5 << 2 << true;
        QTest::newRow("text and toggles together") << "dust" << "efp" << 5 << 0 << true;
        QTest::newRow("text found, toggle hides") << "dust" << "f" << 16 << 0 << false;
    }

    void quickFilter()
    {
        QFETCH(QString, text);
        QFETCH(QString, hide);
        QFETCH(int, players);
        QFETCH(int, password);
        ServerRow row;
        row.name = QStringLiteral("Dust Lovers | FastDL");
        row.map = QStringLiteral("de_dust2");
        row.address = QStringLiteral("10.0.0.5");
        row.portText = QStringLiteral("27016");
        row.port = 27016;
        row.players = quint8(players);
        row.maxPlayers = 16;
        row.password = quint8(password);
        ServerFilter filter;
        filter.text = text;
        filter.hideEmpty = hide.contains(u'e');
        filter.hideFull = hide.contains(u'f');
        filter.hidePassword = hide.contains(u'p');
        QTEST(filterAccepts(filter, row), "accepted");
    }

    void filterModelIsAViewOfTheList()
    {
        ServerListModel model(settings, autoConnect);
        ServerFilterModel view(model);
        for (int i = 1; i <= 4; ++i) {
            ServerInfo info = server(QStringLiteral("127.0.0.%1").arg(i), 27015, quint8(i * 4));
            info.map = i % 2 ? QStringLiteral("de_dust2") : QStringLiteral("cs_office");
            model.addOrUpdate(info);
        }
        ServerFilter filter;
        filter.text = QStringLiteral("  DUST ");
        filter.hideFull = true;
        view.setFilter(filter);
        QCOMPARE(view.filter().text, QStringLiteral("DUST"));
        QCOMPARE(column(view, 2), (QStringList{"127.0.0.1", "127.0.0.3"}));
        QCOMPARE(model.rowCount(), 4);

        // The list sorts; the view follows its order.
        model.sortByColumn(ServerListModel::ColumnPlayers);
        QCOMPARE(column(view, 2), (QStringList{"127.0.0.3", "127.0.0.1"}));

        // A refresh that fills a server takes it out of view, one that frees a place brings it back.
        model.addOrUpdate(server(QStringLiteral("127.0.0.1"), 27015, 16));
        QCOMPARE(column(view, 2), QStringList{"127.0.0.3"});
        model.addOrUpdate(server(QStringLiteral("127.0.0.1"), 27015, 15));
        QCOMPARE(column(view, 2), (QStringList{"127.0.0.3", "127.0.0.1"}));

        // A kept server stays in view whatever the filter says, until it is let go.
        view.keepInView(QStringLiteral("127.0.0.4"), 27015);
        QCOMPARE(column(view, 2), (QStringList{"127.0.0.3", "127.0.0.4", "127.0.0.1"}));
        view.keepInView(QString(), 0);
        QCOMPARE(view.rowCount(), 2);
        view.setFilter(ServerFilter());
        QCOMPARE(view.rowCount(), 4);
    }

    void indexAgreesWithLinearScan()
    {
        ServerListModel model(settings, autoConnect);
        for (int i = 0; i < 60; ++i) {
            ServerInfo info = server(QStringLiteral("127.0.%1.%2").arg(i % 3).arg(i % 7),
                                     27015 + i % 5, quint8(i % 17), 16);
            info.hostName = QStringLiteral("name %1").arg((i * 37) % 60);
            model.addOrUpdate(info);
        }
        auto check = [&] {
            for (int i = 0; i < model.rowCount(); ++i) {
                const ServerRow &row = model.row(i);
                if (model.findRow(row.address, row.port) != i)
                    return false;
            }
            return model.findRow(QStringLiteral("127.0.9.9"), 27015) == -1;
        };
        QVERIFY(check());
        // Every caption is "1.6": a stable sort leaves the arrival order.
        const QStringList arrival = column(model, 2);
        model.sortByColumn(ServerListModel::ColumnGame);
        QCOMPARE(column(model, 2), arrival);
        for (int c : {1, 6, 2, 3, 0}) {
            model.sortByColumn(c);
            QVERIFY2(check(), qPrintable(QString::number(c)));
        }

        // A refresh after sorting lands on the row a scan from the top finds.
        const int target = linearFind(model, QStringLiteral("127.0.1.4"), 27016);
        QVERIFY(target >= 0);
        ServerInfo again = server(QStringLiteral("127.0.1.4"), 27016);
        again.map = QStringLiteral("refreshed");
        model.addOrUpdate(again);
        QCOMPARE(model.row(target).map, QStringLiteral("refreshed"));

        model.clear();
        model.addOrUpdate(server(QStringLiteral("127.0.1.4"), 27016));
        model.addOrUpdate(server(QStringLiteral("127.0.0.1"), 27015));
        QVERIFY(check());
        QCOMPARE(model.findRow(QStringLiteral("127.0.0.1"), 27015), 1);
    }
};

QTEST_GUILESS_MAIN(TestServerListModel)
#include "tst_serverlistmodel.moc"
