#include "join/launcher.h"
#include "scan/autoconnectstate.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "support/recordingprompter.h"
#include "support/recordingshell.h"
#include "ui/desktopservices.h"
#include "ui/passwordprompt.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <memory>

namespace {

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

} // namespace

class TestPassPrompt : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void buttons_data();
    void buttons();
    void masking_data();
    void masking();
    void showingSelectsRememberedPassword();
    void sectionWrittenAnew();
    void firstRun();
    void passwordTakesNoLineBreak();
    void refusedWriteAtExitEndsWithoutBox();

private:
    std::unique_ptr<TFormPass> makeDialog();

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<IniFile> m_ini;
    SettingsModel m_settings;
    RecordingPrompter m_prompter;
    RecordingShell m_shell;
    AutoConnectState m_autoConnect;
    std::unique_ptr<Launcher> m_launcher;
};

void TestPassPrompt::init()
{
    m_path = m_dir.filePath(QStringLiteral("vantor.ini"));
    QFile::remove(m_path);
    m_ini = std::make_unique<IniFile>(m_path);
    m_settings = SettingsModel();
    m_launcher = std::make_unique<Launcher>(m_settings, m_autoConnect, m_prompter, m_shell);
}

std::unique_ptr<TFormPass> TestPassPrompt::makeDialog()
{
    return std::make_unique<TFormPass>(m_settings, *m_ini, m_prompter, *m_launcher);
}

void TestPassPrompt::buttons_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("givenAfter");
    QTest::addColumn<QString>("argumentAfter");
    QTest::addColumn<bool>("visibleAfter");

    // Each row starts with password given false and the argument "+password old",
    // except Cancel and the close box, which start with password given true.
    QTest::newRow("OK") << "ok" << "secret" << true << "+password secret" << false;
    QTest::newRow("OK, blanks only") << "ok" << "  " << true << "+password   " << false;
    QTest::newRow("OK, empty") << "ok" << "" << false << "+password old" << true;
    QTest::newRow("Cancel") << "cancel" << "secret" << false << "+password old" << false;
    QTest::newRow("Escape") << "escape" << "secret" << false << "+password old" << false;
    QTest::newRow("close box") << "close" << "secret" << true << "+password old" << false;
}

void TestPassPrompt::buttons()
{
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(bool, givenAfter);
    QFETCH(QString, argumentAfter);
    QFETCH(bool, visibleAfter);

    auto dialog = makeDialog();
    m_launcher->givePassword(QStringLiteral("old"));
    if (action == "ok")
        m_launcher->withdrawPassword();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    dialog->MEPass->setText(text);

    // The launch that OK asks for must see the new state and a closed prompt.
    QStringList seenByPlay;
    connect(dialog.get(), &TFormPass::playRequested, this, [&] {
        seenByPlay << QString::number(m_launcher->state().passwordGiven) + ' ' + m_launcher->state().passwordArgument + ' '
                + QString::number(dialog->isVisible());
    });

    if (action == "ok")
        dialog->BitBtn1->click();
    else if (action == "cancel")
        dialog->BitBtn2->click();
    else if (action == "escape")
        QTest::keyClick(dialog->MEPass, Qt::Key_Escape);
    else
        dialog->close();

    QCOMPARE(m_launcher->state().passwordGiven, givenAfter);
    QCOMPARE(m_launcher->state().passwordArgument, argumentAfter);
    QCOMPARE(dialog->isVisible(), visibleAfter);
    const bool launched = action == "ok" && !text.isEmpty();
    QCOMPARE(seenByPlay, launched ? QStringList{"1 " + argumentAfter + " 0"} : QStringList{});
    if (visibleAfter)
        QCOMPARE(dialog->focusWidget(), dialog->MEPass);
}

void TestPassPrompt::masking_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("masked") << false;
    QTest::newRow("shown") << true;
}

void TestPassPrompt::masking()
{
    QFETCH(bool, stored);
    writeFile(m_path, stored ? "[Password]\nShowPass=1\nLastPass=abc\n" : "[Password]\nShowPass=0\nLastPass=abc\n");
    auto dialog = makeDialog();
    const QString masked = QStringLiteral("***");

    QCOMPARE(dialog->CBShowPass->isChecked(), stored);
    QCOMPARE(dialog->MEPass->displayText(), stored ? QStringLiteral("abc") : masked);
    dialog->CBShowPass->click();
    QCOMPARE(dialog->MEPass->displayText(), stored ? masked : QStringLiteral("abc"));
    dialog->CBShowPass->click();
    QCOMPARE(dialog->MEPass->displayText(), stored ? QStringLiteral("abc") : masked);
}

void TestPassPrompt::showingSelectsRememberedPassword()
{
    writeFile(m_path, "[Password]\nLastPass=remembered\n");
    auto dialog = makeDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QCOMPARE(dialog->focusWidget(), dialog->MEPass);
    QCOMPARE(dialog->MEPass->selectedText(), QStringLiteral("remembered"));

    // Shown again after being closed, the field is selected anew.
    dialog->MEPass->deselect();
    dialog->close();
    dialog->show();
    QCOMPARE(dialog->MEPass->selectedText(), QStringLiteral("remembered"));
}

void TestPassPrompt::sectionWrittenAnew()
{
    writeFile(m_path, "[Password]\nOther=1\nLastPass=old\nShowPass=0\nMore=x\n[Settings]\nKeep=1\n");
    auto dialog = makeDialog();
    QCOMPARE(dialog->MEPass->text(), QStringLiteral("old"));
    dialog->MEPass->setText(QStringLiteral("n\u00E9w pass"));
    dialog->CBShowPass->click();
    dialog.reset();

    IniFile ini(m_path);
    const QString section = QStringLiteral("Password");
    QCOMPARE(ini.readSection(section), (QStringList{"LastPass", "ShowPass"}));
    QCOMPARE(ini.readString(section, "LastPass", QString()), QStringLiteral("n\u00E9w pass"));
    QCOMPARE(ini.readString(section, "ShowPass", QString()), QStringLiteral("1"));
    QCOMPARE(ini.readString("Settings", "Keep", QString()), QStringLiteral("1"));

    // The next run starts with what this one left.
    m_settings = SettingsModel();
    auto next = makeDialog();
    QCOMPARE(next->MEPass->text(), QStringLiteral("n\u00E9w pass"));
    QVERIFY(next->CBShowPass->isChecked());
    QVERIFY(m_prompter.shown.isEmpty());
}

void TestPassPrompt::firstRun()
{
    auto dialog = makeDialog();
    QVERIFY(dialog->MEPass->text().isEmpty());
    QVERIFY(!dialog->CBShowPass->isChecked());
    QCOMPARE(dialog->MEPass->echoMode(), QLineEdit::Password);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Password"));
}

// The password reaches the settings file, which cannot store a line break.
void TestPassPrompt::passwordTakesNoLineBreak()
{
    auto dialog = makeDialog();
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("MEPass"));
    QVERIFY(edit);
    edit->insert(QStringLiteral("secret"));
    edit->insert(QStringLiteral("\n[Settings]\nExePath0=evil"));
    QCOMPARE(edit->text(), QStringLiteral("secret"));
    dialog.reset();
    QVERIFY(m_prompter.shown.isEmpty());
    QCOMPARE(IniFile(m_path).readString(QStringLiteral("Password"), QStringLiteral("LastPass"), QString()),
             QStringLiteral("secret"));
}

void TestPassPrompt::refusedWriteAtExitEndsWithoutBox()
{
    // The program's own prompter as the exit sets it up: a refused write is
    // a line on the stream. A modal box here would never return.
    const QString taken = m_dir.filePath(QStringLiteral("taken.ini"));
    QVERIFY(QDir().mkpath(taken));
    IniFile ini(taken);
    QString text;
    QTextStream stream(&text);
    MessageBoxPrompter prompter;
    prompter.writeTo(&stream);
    auto dialog = std::make_unique<TFormPass>(m_settings, ini, prompter, *m_launcher);
    dialog->show();
    dialog.reset();
    QCOMPARE(text, QStringLiteral("vantor: Unable to write to ") + taken + u'\n');
    for (const QWidget *window : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<const QMessageBox *>(window));
}

QTEST_MAIN(TestPassPrompt)
#include "tst_passprompt.moc"
