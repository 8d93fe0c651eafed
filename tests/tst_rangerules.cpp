#include "settings/exefilter.h"
#include "settings/rangerules.h"

#include <QtTest>

namespace {

// "a.b.c.d" as an address editor holds it; "" is an editor nobody touched.
AddressInput address(const QString &text)
{
    AddressInput input;
    const QStringList parts = text.split(u'.', Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i)
        input.octets[i] = parts[i].toInt();
    input.text = text;
    return input;
}

// "from-to|from-to" rows, all checked.
QVector<RangeRow> rowsOf(const QString &text)
{
    QVector<RangeRow> rows;
    for (const QString &row : text.split(u'|', Qt::SkipEmptyParts))
        rows.append({true, row.section(u'-', 0, 0), row.section(u'-', 1, 1)});
    return rows;
}

// Rows named "r0", "r1", ... whose check box is on for the even ones.
QVector<RangeRow> namedRows(int count)
{
    QVector<RangeRow> rows;
    for (int k = 0; k < count; ++k)
        rows.append({k % 2 == 0, QStringLiteral("r%1").arg(k), QStringLiteral("t%1").arg(k)});
    return rows;
}

// "r1+,r0-": the rows' names with their check box; the last address must still
// belong to the same row.
QString orderOf(const QVector<RangeRow> &rows)
{
    QStringList names;
    for (const RangeRow &row : rows) {
        if (row.to.mid(1) != row.from.mid(1))
            return QStringLiteral("torn row");
        names << row.from + (row.checked ? u'+' : u'-');
    }
    return names.join(u',');
}

const QString Incorrect = QStringLiteral("Incorrect IP range");
const QString TooBig = QStringLiteral("IP range incorrect or very big");
const QString Exists = QStringLiteral("IP range exist");

} // namespace

class TestRangeRules : public QObject
{
    Q_OBJECT

private slots:
    void addRange_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("message");

        QTest::newRow("one address") << "192.168.0.1" << "192.168.0.1" << "" << "";
        QTest::newRow("255 blocks") << "10.0.0.0" << "10.0.255.255" << "" << TooBig;
        QTest::newRow("254 blocks") << "10.0.1.0" << "10.0.255.255" << "" << "";
        QTest::newRow("third octet falls") << "10.0.5.10" << "10.0.4.200" << "" << TooBig;
        QTest::newRow("fourth octet falls") << "10.0.5.10" << "10.0.5.9" << "" << Incorrect;
        QTest::newRow("fourth free across blocks") << "10.0.4.200" << "10.0.5.10" << "" << "";
        QTest::newRow("second octet differs") << "10.1.0.0" << "10.2.0.0" << "" << TooBig;
        QTest::newRow("first octet differs") << "10.0.0.1" << "11.0.0.1" << "" << TooBig;
        QTest::newRow("untouched from") << "" << "10.0.0.1" << "" << Incorrect;
        QTest::newRow("to starts with 0") << "10.0.0.1" << "0.0.0.5" << "" << Incorrect;
        QTest::newRow("same first address") << "192.168.0.1" << "192.168.0.100" << "192.168.0.1-192.168.0.50" << Exists;
        QTest::newRow("same last address") << "192.168.0.20" << "192.168.0.50" << "192.168.0.1-192.168.0.50" << Exists;
        QTest::newRow("next to a row") << "192.168.0.51" << "192.168.0.100" << "192.168.0.1-192.168.0.50" << "";
        QTest::newRow("bad range before duplicate")
            << "192.168.0.1" << "192.168.0.0" << "192.168.0.1-192.168.0.50" << Incorrect;
        QTest::newRow("last address of another row")
            << "10.0.0.1" << "10.0.0.9" << "10.0.0.2-10.0.0.3|10.0.0.5-10.0.0.9" << Exists;
    }

    void addRange()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, rows);
        QFETCH(QString, message);
        QCOMPARE(rangeAddError(address(from), address(to), rowsOf(rows)), message);
    }

    void editList_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("order");
        QTest::addColumn<int>("selectedAfter");

        QTest::newRow("delete first of three") << "del" << 3 << 0 << true << "r1-,r2+" << 0;
        QTest::newRow("delete middle") << "del" << 3 << 1 << true << "r0+,r2+" << 0;
        QTest::newRow("delete third of three") << "del" << 3 << 2 << true << "r0+,r1-" << 1;
        QTest::newRow("delete the only row") << "del" << 1 << 0 << true << "" << -1;
        QTest::newRow("delete without selection") << "del" << 3 << -1 << false << "r0+,r1-,r2+" << -1;
        QTest::newRow("delete from empty list") << "del" << 0 << 0 << false << "" << 0;
        QTest::newRow("up the second") << "up" << 3 << 1 << true << "r1-,r0+,r2+" << 0;
        QTest::newRow("up the last") << "up" << 3 << 2 << true << "r0+,r2+,r1-" << 1;
        QTest::newRow("up the first") << "up" << 3 << 0 << false << "r0+,r1-,r2+" << 0;
        QTest::newRow("up a single row") << "up" << 1 << 0 << false << "r0+" << 0;
        QTest::newRow("up without selection") << "up" << 3 << -1 << false << "r0+,r1-,r2+" << -1;
        QTest::newRow("down the first") << "down" << 3 << 0 << true << "r1-,r0+,r2+" << 1;
        QTest::newRow("down the last") << "down" << 3 << 2 << false << "r0+,r1-,r2+" << 2;
        QTest::newRow("down a single row") << "down" << 1 << 0 << false << "r0+" << 0;
        QTest::newRow("down without selection") << "down" << 2 << -1 << false << "r0+,r1-" << -1;
    }

    void editList()
    {
        QFETCH(QString, operation);
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(bool, done);
        QFETCH(QString, order);
        QFETCH(int, selectedAfter);

        QVector<RangeRow> rows = namedRows(count);
        bool result = false;
        if (operation == QLatin1String("del"))
            result = deleteRange(rows, selected);
        else if (operation == QLatin1String("up"))
            result = moveRangeUp(rows, selected);
        else
            result = moveRangeDown(rows, selected);
        QCOMPARE(result, done);
        QCOMPARE(orderOf(rows), order);
        QCOMPARE(selected, selectedAfter);
    }

    void exeFilters()
    {
        const QString hl = QStringLiteral("Half-Life (hl.exe)|HL.EXE");
        const QString hl2 = QStringLiteral("Half-Life2 (hl2.exe)|HL2.EXE");
        const QStringList expected = {hl, hl2, hl, hl, hl, hl2, hl2, hl, hl2, hl, hl2, hl2, hl, hl, hl2};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(exeFileFilter(i), expected[i]);
        QCOMPARE(exeFileFilter(-1), QString());
        QCOMPARE(exeFileFilter(15), QString());

        QCOMPARE(dialogNameFilters(hl), QStringLiteral("Half-Life (hl.exe) (HL.EXE hl.exe);;All files (*)"));
        QCOMPARE(dialogNameFilters(steamFileFilter()),
                 QStringLiteral("Steam (steam.exe) (STEAM.EXE steam.exe);;All files (*)"));

        // Where programs have no ".exe", the dialog opens on every file.
        QCOMPARE(initialNameFilter(hl, true), QStringLiteral("Half-Life (hl.exe) (HL.EXE hl.exe)"));
        QCOMPARE(initialNameFilter(hl2, false), QStringLiteral("All files (*)"));
        QCOMPARE(initialNameFilter(steamFileFilter(), false), QStringLiteral("All files (*)"));
    }
};

QTEST_GUILESS_MAIN(TestRangeRules)
#include "tst_rangerules.moc"
