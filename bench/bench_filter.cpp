#include "benchmarks.h"
#include "benchwindow.h"

#include "scan/serverlistmodel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

#include <ctime>

namespace {

constexpr int RowCount = 5000;
// One frame at 60 Hz: typing feels smooth when every keystroke fits in it.
constexpr double TargetMs = 16;

const char *const maps[] = {"de_dust2", "cs_office", "de_inferno", "de_nuke", "cs_italy"};

ServerInfo server(int index)
{
    ServerInfo info;
    info.gameDir = QStringLiteral("cstrike");
    info.description = QStringLiteral("Counter-Strike: Source");
    info.hostName = QStringLiteral("LAN server #%1 | fast download").arg(index);
    info.address = QStringLiteral("127.2.%1.%2").arg(index / 250).arg(index % 250 + 1);
    info.port = 27415;
    info.map = QString::fromLatin1(maps[index % 5]);
    info.protocol = 7;
    info.players = quint8(index % 33);
    info.maxPlayers = 32;
    info.password = index % 9 == 0;
    info.os = 'l';
    return info;
}

// Wall time and processor time of one action (a key, a toggle) and the
// window brought up to date, painting included.
struct Timing
{
    BestTime wall;
    BestTime processor;
};

template <class Action>
void timed(Timing &timing, Action action)
{
    QElapsedTimer timer;
    const std::clock_t start = std::clock();
    timer.start();
    action();
    QCoreApplication::processEvents();
    timing.wall.take(timer.nsecsElapsed());
    timing.processor.take(qint64(double(std::clock() - start) * 1e9 / CLOCKS_PER_SEC));
}

void typeKey(QLineEdit *edit, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &release);
}

} // namespace

std::vector<Figure> benchFilter()
{
    BenchWindow w;
    w.show();
    for (int i = 0; i < RowCount; ++i)
        w.form->session().servers().addOrUpdate(server(i));
    QCoreApplication::processEvents();
    auto *edit = w.form->findChild<QLineEdit *>(QStringLiteral("EditFilter"));
    auto *table = w.form->findChild<QAbstractItemView *>(QStringLiteral("LW"));
    if (!edit || !table || w.form->session().servers().rowCount() != RowCount)
        throw BenchError("no filter field, or the list did not take every row");
    std::vector<QCheckBox *> toggles;
    for (const char *name : {"CBHideEmpty", "CBHideFull", "CBHidePassword"}) {
        toggles.push_back(w.form->findChild<QCheckBox *>(QLatin1String(name)));
        if (!toggles.back())
            throw BenchError("a toggle of the filter is missing");
    }

    // A map typed and erased letter by letter, then a server's number; each
    // keystroke and each flip of a toggle is timed on its own. Another
    // program taking the processor spoils single timings, so each counts with
    // the best of its runs.
    const QString map = QStringLiteral("de_dust2");
    const QString number = QStringLiteral("#4321");
    const int keyCount = int(map.size() * 2 + number.size());
    std::vector<Timing> keys(static_cast<size_t>(keyCount));
    std::vector<Timing> flips(toggles.size() * 2);
    for (int run = 0; run < BestOfRuns; ++run) {
        size_t k = 0;
        for (QChar c : map)
            timed(keys[k++], [&] { typeKey(edit, Qt::Key_A, QString(c)); });
        if (table->model()->rowCount() != RowCount / 5)
            throw BenchError("the map did not narrow the list to its rows");
        for (int i = 0; i < map.size(); ++i)
            timed(keys[k++], [&] { typeKey(edit, Qt::Key_Backspace, QString()); });
        for (QChar c : number)
            timed(keys[k++], [&] { typeKey(edit, Qt::Key_A, QString(c)); });
        if (table->model()->rowCount() != 1)
            throw BenchError("the server's number did not narrow the list to its row");
        edit->clear();
        QCoreApplication::processEvents();

        size_t f = 0;
        for (QCheckBox *box : toggles) {
            timed(flips[f++], [&] { box->toggle(); });
            timed(flips[f++], [&] { box->toggle(); });
        }
    }

    // The slowest action; the bracket adds the mean and the most processor
    // time one action took, which other programs on the machine do not inflate.
    const auto figure = [](const QString &name, const QString &what, const std::vector<Timing> &times) {
        qint64 worst = 0;
        qint64 worstProcessor = 0;
        qint64 sum = 0;
        for (const Timing &t : times) {
            worst = qMax(worst, t.wall.nanoseconds());
            worstProcessor = qMax(worstProcessor, t.processor.nanoseconds());
            sum += t.wall.nanoseconds();
        }
        Figure f = durationFigure(name, worst, TargetMs);
        f.detail = QStringLiteral("slowest of %1, window painted; mean %2; processor time at most %3")
                       .arg(what, millisecondsText(sum / qint64(times.size())), millisecondsText(worstProcessor));
        return f;
    };
    return {figure(QStringLiteral("filter keystroke, 5,000 rows"),
                   QStringLiteral("%1 keys typed and erased").arg(keyCount), keys),
            figure(QStringLiteral("filter toggle, 5,000 rows"), QStringLiteral("three toggles on and off"), flips)};
}
