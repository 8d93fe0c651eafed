#include "ui/columnfit.h"

#include <QtTest>

using Widths = std::vector<int>;
Q_DECLARE_METATYPE(Widths)

class TestColumnFit : public QObject
{
    Q_OBJECT

private slots:
    void sharesTheWidth_data();
    void sharesTheWidth();
    void shrunkColumnRegrowsFirst_data();
    void shrunkColumnRegrowsFirst();
    void fitsTheText_data();
    void fitsTheText();
};

void TestColumnFit::sharesTheWidth_data()
{
    QTest::addColumn<int>("available");
    QTest::addColumn<Widths>("expected");

    // Columns: fixed 50, growing 70 without a maximum, growing 90..110, growing 60..100.
    // Growth order: the last two first, then the open one.
    QTest::newRow("too narrow keeps minimums") << 200 << Widths{50, 70, 90, 60};
    QTest::newRow("exactly the minimums") << 270 << Widths{50, 70, 90, 60};
    QTest::newRow("first grower partly") << 280 << Widths{50, 70, 90, 70};
    QTest::newRow("first grower full") << 310 << Widths{50, 70, 90, 100};
    QTest::newRow("second grower partly") << 315 << Widths{50, 70, 95, 100};
    QTest::newRow("both full") << 330 << Widths{50, 70, 110, 100};
    QTest::newRow("rest to the open column") << 500 << Widths{50, 240, 110, 100};
}

void TestColumnFit::sharesTheWidth()
{
    QFETCH(int, available);
    QFETCH(Widths, expected);
    const std::vector<ColumnSpan> spans = {{50, 50}, {70, 70}, {90, 110}, {60, 100}};
    QCOMPARE(fitColumns(available, spans, {3, 2, 1}), expected);
}

void TestColumnFit::shrunkColumnRegrowsFirst_data()
{
    QTest::addColumn<int>("available");
    QTest::addColumn<Widths>("expected");

    // Column 1 may shrink to 40 but is 70 wide when there is room; it grows
    // back first and takes the rest last.
    QTest::newRow("narrowest") << 240 << Widths{50, 40, 90, 60};
    QTest::newRow("regrowing") << 260 << Widths{50, 60, 90, 60};
    QTest::newRow("back, then the next") << 300 << Widths{50, 70, 90, 90};
    QTest::newRow("rest to it again") << 400 << Widths{50, 140, 110, 100};
}

void TestColumnFit::shrunkColumnRegrowsFirst()
{
    QFETCH(int, available);
    QFETCH(Widths, expected);
    const std::vector<ColumnSpan> spans = {{50, 50}, {40, 70}, {90, 110}, {60, 100}};
    QCOMPARE(fitColumns(available, spans, {1, 3, 2, 1}), expected);
}

void TestColumnFit::fitsTheText_data()
{
    QTest::addColumn<int>("needed");
    QTest::addColumn<int>("width");

    // Range 45..60, no text wider than 160.
    QTest::newRow("narrow text keeps the minimum") << 30 << 45;
    QTest::newRow("within the range") << 52 << 52;
    QTest::newRow("wider than the range") << 75 << 75;
    QTest::newRow("capped") << 400 << 160;
}

void TestColumnFit::fitsTheText()
{
    QFETCH(int, needed);
    QFETCH(int, width);
    QCOMPARE(fittedWidth(needed, ColumnSpan{45, 60}, 160), width);
}

QTEST_APPLESS_MAIN(TestColumnFit)
#include "tst_columnfit.moc"
