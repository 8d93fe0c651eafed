// The windows built in each language: their captions come from the
// translation (none left in English where the translation differs), and at
// their smallest size every caption still fits, unclipped and unelided.

#include "app/language.h"
#include "join/launchstate.h"
#include "scan/autoconnectstate.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "support/windowrig.h"
#include "support/fixedlocaladdress.h"
#include "support/fixednetworkcards.h"
#include "support/recordingprompter.h"
#include "support/recordingshell.h"
#include "support/tsfile.h"
#include "support/windowcontrols.h"
#include "ui/aboutbox.h"
#include "ui/autoconnectdialog.h"
#include "ui/settingsdialog.h"
#include "ui/passwordprompt.h"
#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The English texts that a language translates differently.
QSet<QString> translatedSources(const QString &language)
{
    QSet<QString> sources;
    const QString path = QStringLiteral(VANTOR_TRANSLATIONS_DIR "/vantor_%1.ts").arg(language);
    for (const TsMessage &m : readTsFile(path)) {
        if (!m.numerus && !m.forms.isEmpty() && m.forms.first() != m.source)
            sources.insert(m.source);
    }
    return sources;
}

QString withoutMnemonic(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// Every caption a user reads in a window as it is now: buttons, labels,
// group titles, tabs, menus and the title.
QStringList captions(const QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (auto *button = qobject_cast<const QAbstractButton *>(w))
            texts << withoutMnemonic(button->text()) << button->toolTip();
        else if (auto *label = qobject_cast<const QLabel *>(w))
            texts << label->text();
        else if (auto *group = qobject_cast<const QGroupBox *>(w))
            texts << group->title();
        else if (auto *tabs = qobject_cast<const QTabBar *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        } else if (auto *menu = qobject_cast<const QMenu *>(w)) {
            texts << withoutMnemonic(menu->title());
            for (const QAction *action : menu->actions())
                texts << withoutMnemonic(action->text());
        }
        if (!w->accessibleName().isEmpty())
            texts << w->accessibleName();
    }
    texts.removeAll(QString());
    return texts;
}

// The menus (and the menu bar) of a window in which two entries share the
// letter that Alt picks.
QStringList sharedMnemonics(const QWidget *window)
{
    QList<QList<QAction *>> groups;
    for (const QMenuBar *bar : window->findChildren<QMenuBar *>())
        groups << bar->actions();
    for (const QMenu *menu : window->findChildren<QMenu *>())
        groups << menu->actions();
    QStringList shared;
    for (const QList<QAction *> &actions : groups) {
        QSet<QChar> letters;
        for (const QAction *action : actions) {
            const QString text = QString(action->text()).remove(QStringLiteral("&&"));
            const qsizetype at = text.indexOf(u'&');
            if (at < 0 || at + 1 >= text.size())
                continue;
            const QChar letter = text.at(at + 1).toLower();
            if (letters.contains(letter))
                shared << action->text();
            letters.insert(letter);
        }
    }
    return shared;
}

// The captions of the visible controls that do not fit their room.
QStringList clipped(const QWidget *window)
{
    QStringList found;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || w->window() != window)
            continue;
        const auto note = [&](const QString &text) { found << w->objectName() + QStringLiteral(": ") + text; };
        if (auto *push = qobject_cast<const QPushButton *>(w)) {
            // A push button's size hint holds a minimum width of the style's
            // beyond its text; the text, its margin and the frame are what must fit.
            const QStyle *style = push->style();
            const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push)
                + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, push);
            if (push->width() < push->fontMetrics().horizontalAdvance(withoutMnemonic(push->text())) + margin)
                note(push->text());
        } else if (auto *button = qobject_cast<const QAbstractButton *>(w)) {
            if (!button->text().isEmpty() && button->width() < button->sizeHint().width())
                note(button->text());
        } else if (auto *label = qobject_cast<const QLabel *>(w)) {
            if (!label->wordWrap() && !label->text().isEmpty() && label->textFormat() != Qt::RichText
                && label->contentsRect().width() < label->fontMetrics().horizontalAdvance(label->text()))
                note(label->text());
        } else if (auto *group = qobject_cast<const QGroupBox *>(w)) {
            if (group->width() < group->minimumSizeHint().width())
                note(group->title());
        } else if (auto *tabs = qobject_cast<const QTabBar *>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const QRect tab = tabs->tabRect(i);
                if (!tabs->rect().contains(tab) || tab.width() < tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)))
                    note(tabs->tabText(i));
            }
        } else if (auto *bar = qobject_cast<const QMenuBar *>(w)) {
            for (QAction *action : bar->actions()) {
                if (!bar->rect().contains(bar->actionGeometry(action)))
                    note(action->text());
            }
        }
    }
    return found;
}

// The window at its smallest, laid out.
void shrink(QWidget *window)
{
    window->resize(window->minimumSize().expandedTo(window->minimumSizeHint()));
    window->layout()->activate();
}

} // namespace

class TestLocalizedWindows : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void windows_data();
    void windows();

private:
    QTemporaryDir dir;
    SettingsModel settings;
    RecordingPrompter prompter;
    RecordingShell shell;
    FixedLocalAddress local{QStringLiteral("127.0.0.1")};
    FixedNetworkCards cards;
};

void TestLocalizedWindows::cleanup()
{
    Language::install(QString());
}

void TestLocalizedWindows::windows_data()
{
    QTest::addColumn<QString>("language");
    // Scan, the titles of the settings, the password prompt and the About box, Ask me before join
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("C") << QString() << QStringList{"Scan", "Settings", "Password", "Info", "Ask me before join"};
    QTest::newRow("ru") << QStringLiteral("ru")
                        << QStringList{"Поиск", "Настройки", "Пароль", "О программе", "Спросить перед подключением"};
    QTest::newRow("de") << QStringLiteral("de")
                        << QStringList{"Suchen", "Einstellungen", "Passwort", "Info", "Vor dem Beitreten fragen"};
}

void TestLocalizedWindows::windows()
{
    QFETCH(QString, language);
    QFETCH(QStringList, expected);
    Language::install(language);

    const std::unique_ptr<TForm1> main = riggedMainWindow({settings, prompter, shell, local, cards});
    TForm1 &form = *main;
    IniFile ini(dir.filePath(QStringLiteral("vantor.ini")));
    TSettings options(settings, ini, prompter, cards);
    TFormPass pass(settings, ini, prompter, form.session().launcher());
    TFormAuto autoDialog(settings, form.session().autoConnect());
    TFormAbout about(settings, /*checker*/ nullptr, shell);
    const QList<QWidget *> windows{&form, &options, &pass, &autoDialog, &about};
    for (QWidget *window : windows)
        window->show();

    const MainWindowControls ui(&form);
    QCOMPARE(ui.SBScanAll->text(), expected[0]);
    QCOMPARE(options.windowTitle(), expected[1]);
    QCOMPARE(pass.windowTitle(), expected[2]);
    QCOMPARE(about.windowTitle(), expected[3]);
    QCOMPARE(namedControl<QCheckBox>(&autoDialog, "CBAsk")->text(), expected[4]);

    const QSet<QString> english = language.isEmpty() ? QSet<QString>() : translatedSources(language);
    auto *pages = namedControl<QTabWidget>(&options, "PageControl");
    for (QWidget *window : windows) {
        shrink(window);
        QStringList untranslated;
        for (const QString &caption : captions(window)) {
            if (english.contains(caption))
                untranslated << caption;
        }
        QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QStringLiteral(" | "))));
        const int pageCount = window == &options ? pages->count() : 1;
        for (int page = 0; page < pageCount; ++page) {
            if (window == &options) {
                pages->setCurrentIndex(page);
                shrink(window);
            }
            const QStringList cut = clipped(window);
            QVERIFY2(cut.isEmpty(), qPrintable(window->objectName() + QStringLiteral(" clips ") + cut.join(u'|')));
        }
    }
    const QStringList shared = sharedMnemonics(&form);
    QVERIFY2(shared.isEmpty(), qPrintable(shared.join(u'|')));
    // The pop-up menus show in the window's language too.
    for (const QMenu *menu : {ui.PMServers, ui.PMTray}) {
        for (const QAction *action : menu->actions())
            QVERIFY2(!english.contains(withoutMnemonic(action->text())), qPrintable(action->text()));
    }
}

QTEST_MAIN(TestLocalizedWindows)
#include "tst_localizedwindows.moc"
