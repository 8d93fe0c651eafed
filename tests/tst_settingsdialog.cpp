#include "desktop/prompter.h"
#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "ui/filechooser.h"
#include "ui/ipaddressedit.h"
#include "ui/options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

class ScriptedPrompter : public Prompter
{
public:
    void warning(const QString &text) override { warnings << text; }
    void error(const QString &text) override { errors << text; }
    void information(const QString &, const QString &) override { }
    bool question(const QString &) override { return true; }
    void beep() override { ++beeps; }

    QStringList warnings, errors;
    int beeps = 0;
};

class ScriptedChooser : public FileChooser
{
public:
    QString openFile(QWidget *, const QString &filter) override
    {
        filters << filter;
        return answer;
    }

    QString answer;
    QStringList filters;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The rows of the range list as shown: "+from-to" or "-from-to".
QString shownRanges(const TSettings &dialog)
{
    QStringList rows;
    for (int r = 0; r < dialog.LWranges->rowCount(); ++r) {
        const bool on = dialog.LWranges->item(r, 0)->checkState() == Qt::Checked;
        rows << (on ? u'+' : u'-') + dialog.LWranges->item(r, 1)->text() + u'-' + dialog.LWranges->item(r, 2)->text();
    }
    return rows.join(u'|');
}

// The keys of the Ranges section as a fresh reader sees them.
QString rangesOnDisk(const QString &path)
{
    IniFile ini(path);
    const int count = ini.readInteger(QStringLiteral("Ranges"), QStringLiteral("Ranges"), -1);
    QStringList rows;
    for (int k = 0; k < count; ++k)
        rows << ini.readString(QStringLiteral("Ranges"), QStringLiteral("RangeFrom%1").arg(k), QString()) + u'-'
                + ini.readString(QStringLiteral("Ranges"), QStringLiteral("RangeTo%1").arg(k), QString());
    return QStringLiteral("%1:%2:%3")
        .arg(count)
        .arg(ini.readString(QStringLiteral("Ranges"), QStringLiteral("Checked"), QString()), rows.join(u'|'));
}

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString iniPath;
    SettingsModel settings;
    std::unique_ptr<IniFile> ini;
    ScriptedPrompter prompter;
    ScriptedChooser chooser;
    std::unique_ptr<TSettings> dialog;

    // A dialog over a configuration file holding `text`.
    TSettings &open(const QByteArray &text)
    {
        dialog.reset();
        QFile::remove(iniPath);
        if (!text.isEmpty()) {
            QFile file(iniPath);
            if (file.open(QIODevice::WriteOnly))
                file.write(text);
        }
        settings = SettingsModel();
        ini = std::make_unique<IniFile>(iniPath);
        prompter = ScriptedPrompter();
        chooser = ScriptedChooser();
        dialog = std::make_unique<TSettings>(settings, *ini, prompter, &chooser);
        dialog->loadSettings();
        return *dialog;
    }

    void addRange(const std::array<int, 4> &from, const std::array<int, 4> &to)
    {
        dialog->IPE1->setOctets(from);
        dialog->IPE2->setOctets(to);
        QTest::mouseClick(dialog->SBAdd, Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        iniPath = dir.filePath(QStringLiteral("vantor.ini"));
    }

    void cleanup() { dialog.reset(); }

    void addressEditorTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("focusedField");

        QTest::newRow("nothing") << "" << "" << 0;
        QTest::newRow("zero changes no octet") << "0" << "" << 0;
        QTest::newRow("one digit") << "1" << "1.0.0.0" << 0;
        QTest::newRow("third digit moves on") << "192" << "192.0.0.0" << 1;
        QTest::newRow("two fields") << "192168" << "192.168.0.0" << 2;
        QTest::newRow("dots move on") << "10.0.5.9" << "10.0.5.9" << 3;
        QTest::newRow("above 255 is refused") << "256" << "25.0.0.0" << 0;
        QTest::newRow("letters are refused") << "1a2" << "12.0.0.0" << 0;
        QTest::newRow("all four full") << "255255255255" << "255.255.255.255" << 3;
    }

    void addressEditorTyping()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, focusedField);

        IPAddressEdit edit;
        edit.show();
        QApplication::setActiveWindow(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        edit.field(0)->setFocus();
        QTest::keyClicks(nullptr, typed);
        QCOMPARE(edit.text(), text);
        QVERIFY(edit.field(focusedField)->hasFocus());
    }

    void addressEditorFromCode()
    {
        IPAddressEdit edit;
        QSignalSpy changes(&edit, &IPAddressEdit::textChanged);
        edit.setOctet(2, 0);
        QCOMPARE(edit.text(), QString());
        QCOMPARE(changes.count(), 0);
        edit.setOctet(2, 7);
        QCOMPARE(edit.text(), QStringLiteral("0.0.7.0"));
        edit.setOctet(0, 300);
        QCOMPARE(edit.octet(0), 255);
        QCOMPARE(edit.text(), QStringLiteral("255.0.7.0"));
        QCOMPARE(changes.count(), 2);
        QCOMPARE(changes.last().first().toString(), QStringLiteral("255.0.7.0"));
    }

    void rangesReachTheFileOnAddAndDelete()
    {
        TSettings &d = open(QByteArray());
        addRange({192, 168, 0, 1}, {192, 168, 0, 50});
        addRange({10, 0, 4, 200}, {10, 0, 5, 10});
        QCOMPARE(shownRanges(d), QStringLiteral("+192.168.0.1-192.168.0.50|+10.0.4.200-10.0.5.10"));
        QCOMPARE(rangesOnDisk(iniPath), QStringLiteral("2:11:192.168.0.1-192.168.0.50|10.0.4.200-10.0.5.10"));
        QVERIFY(prompter.errors.isEmpty());
        // The editors keep what they hold.
        QCOMPARE(d.IPE1->text(), QStringLiteral("10.0.4.200"));

        const QByteArray before = readFile(iniPath);
        addRange({192, 168, 0, 20}, {192, 168, 0, 50});
        QCOMPARE(prompter.errors, QStringList{QStringLiteral("IP range exist")});
        QCOMPARE(settings.ranges.size(), 2);
        QCOMPARE(readFile(iniPath), before);

        // A check box is the model's at once; the file gets it with the next write.
        d.LWranges->item(1, 0)->setCheckState(Qt::Unchecked);
        QVERIFY(!settings.ranges[1].checked);

        QTest::mouseClick(d.SBDel, Qt::LeftButton); // no selection: nothing
        QCOMPARE(settings.ranges.size(), 2);
        d.selectRange(0);
        QTest::mouseClick(d.SBDel, Qt::LeftButton);
        QCOMPARE(shownRanges(d), QStringLiteral("-10.0.4.200-10.0.5.10"));
        QCOMPARE(d.selectedRange(), 0);
        QCOMPARE(rangesOnDisk(iniPath), QStringLiteral("1:0:10.0.4.200-10.0.5.10"));
        QTest::mouseClick(d.SBDel, Qt::LeftButton);
        QCOMPARE(d.LWranges->rowCount(), 0);
        QCOMPARE(d.selectedRange(), -1);
        QCOMPARE(rangesOnDisk(iniPath), QStringLiteral("0::"));
    }

    void movesKeepTheSelectionAndLeaveTheFile()
    {
        TSettings &d = open("[Ranges]\nRanges=3\nChecked=100\nRangeFrom0=1.1.1.1\nRangeTo0=1.1.1.2\n"
                            "RangeFrom1=2.2.2.1\nRangeTo1=2.2.2.2\nRangeFrom2=3.3.3.1\nRangeTo2=3.3.3.2\n");
        const QByteArray before = readFile(iniPath);
        d.selectRange(2);
        QTest::mouseClick(d.SBMoveUp, Qt::LeftButton);
        QTest::mouseClick(d.SBMoveUp, Qt::LeftButton);
        QTest::mouseClick(d.SBMoveUp, Qt::LeftButton); // already first
        QCOMPARE(shownRanges(d), QStringLiteral("-3.3.3.1-3.3.3.2|+1.1.1.1-1.1.1.2|-2.2.2.1-2.2.2.2"));
        QCOMPARE(d.selectedRange(), 0);
        QTest::mouseClick(d.SBMoveDown, Qt::LeftButton);
        QCOMPARE(d.selectedRange(), 1);
        QCOMPARE(settings.ranges[1].from, QStringLiteral("3.3.3.1"));
        QCOMPARE(readFile(iniPath), before);
    }

    void fillBlockEndFromTheFromEditor()
    {
        TSettings &d = open(QByteArray());
        QTest::mouseClick(d.SBFill, Qt::LeftButton);
        QCOMPARE(d.IPE2->text(), QString());
        d.IPE1->setOctets({172, 16, 4, 9});
        QTest::mouseClick(d.SBFill, Qt::LeftButton);
        QCOMPARE(d.IPE2->text(), QStringLiteral("172.16.4.255"));
        QCOMPARE(d.IPE1->text(), QStringLiteral("172.16.4.9"));
    }

    void portKeyFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("beeps");

        QTest::newRow("digits") << "27016" << "27016" << 0;
        QTest::newRow("letters and blanks") << "2a7 0-1" << "2701" << 3;
        QTest::newRow("backspace") << "123\b4" << "124" << 0;
        QTest::newRow("five digits at most") << "1234567" << "12345" << 0;
    }

    void portKeyFilter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, beeps);

        TSettings &d = open(QByteArray());
        for (QLineEdit *port : {d.CSport, d.HLTVport}) {
            prompter.beeps = 0;
            port->clear();
            for (QChar c : typed) {
                if (c == u'\b')
                    QTest::keyClick(port, Qt::Key_Backspace);
                else
                    QTest::keyClicks(port, QString(c));
            }
            QCOMPARE(port->text(), text);
            QCOMPARE(prompter.beeps, beeps);
        }
        QCOMPARE(settings.csPort, text);
        QCOMPARE(settings.hltvPort, text);
    }

    void loadShowsTheStoredGame()
    {
        TSettings &d = open("[Settings]\nCurItem=5\nsteam5=1\nSteamExePath=/opt/steam/steam\n"
                            "SteamParam5=-applaunch 241\nExePath5=/games/hl2\n");
        QCOMPARE(d.CBGame->currentIndex(), 5);
        QCOMPARE(d.CBGame->currentText(), QStringLiteral("CSS"));
        QVERIFY(d.RBSteam->isChecked());
        QCOMPARE(d.EditExe->text(), QStringLiteral("/opt/steam/steam"));
        QCOMPARE(d.EditParam->text(), QStringLiteral("-applaunch 241"));
        QVERIFY(!d.LBSteamPath->isHidden());
        QVERIFY(d.LBExe->isHidden());
        QCOMPARE(d.CBParams->count(), 12);
        QCOMPARE(d.CBParams->currentText(), QString());
    }

    void switchingGamesDropsUnsavedEdits()
    {
        TSettings &d = open("[Settings]\nCurItem=3\n");
        QTest::keyClicks(d.EditParam, QStringLiteral(" -x"));
        QCOMPARE(d.EditParam->text(), QStringLiteral("-game cstrike -x"));
        QVERIFY(d.BBSave->isEnabled());
        d.CBGame->setCurrentIndex(4);
        QCOMPARE(d.EditParam->text(), QStringLiteral("-game czero"));
        d.CBGame->setCurrentIndex(3);
        QCOMPARE(d.EditParam->text(), QStringLiteral("-game cstrike"));
        QVERIFY(d.BBSave->isEnabled()); // the button keeps its state
        QCOMPARE(settings.curItem, 3);
        QCOMPARE(settings.games[3].params, QStringLiteral("-game cstrike"));

        d.show();
        QVERIFY(!d.BBSave->isEnabled());
    }

    void steamChoiceShowsTheSharedPath()
    {
        TSettings &d = open("[Settings]\nSteamExePath=/opt/steam/steam\nExePath1=/games/hl2\n");
        for (int game : {0, 1, 14}) {
            d.CBGame->setCurrentIndex(game);
            QVERIFY(!d.RBSteam->isChecked());
            QTest::mouseClick(d.RBSteam, Qt::LeftButton);
            QCOMPARE(d.EditExe->text(), QStringLiteral("/opt/steam/steam"));
            QCOMPARE(d.EditParam->text(), settings.games[game].steamParams);
            QVERIFY(!d.LBSteamPath->isHidden());
            QVERIFY(d.LBExe->isHidden());
            QVERIFY(d.BBSave->isEnabled());
            QTest::mouseClick(d.RBNoSteam, Qt::LeftButton);
            QCOMPARE(d.EditExe->text(), settings.games[game].exePath);
            QVERIFY(d.LBSteamPath->isHidden());
            QVERIFY(!d.LBExe->isHidden());
        }
        QCOMPARE(settings.games[1].exePath, QStringLiteral("/games/hl2"));
        QVERIFY(!settings.games[1].steam);
    }

    void defaultAndAppend_data()
    {
        QTest::addColumn<bool>("steam");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("saveEnabled");

        QTest::newRow("unchanged default") << false << "-game dod" << "-game dod" << false;
        QTest::newRow("edited") << false << "-game dod -win" << "-game dod" << true;
        QTest::newRow("steam edited") << true << "" << "-applaunch 30" << true;
        QTest::newRow("steam unchanged") << true << "-applaunch 30" << "-applaunch 30" << false;
    }

    void defaultAndAppend()
    {
        QFETCH(bool, steam);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, saveEnabled);

        TSettings &d = open(steam ? "[Settings]\nCurItem=7\nsteam7=1\n" : "[Settings]\nCurItem=7\n");
        d.EditParam->setText(before);
        QTest::mouseClick(d.BBDefault, Qt::LeftButton);
        QCOMPARE(d.EditParam->text(), after);
        QCOMPARE(d.BBSave->isEnabled(), saveEnabled);

        d.BBSave->setEnabled(false);
        QTest::mouseClick(d.BBLeft, Qt::LeftButton); // nothing picked
        QCOMPARE(d.EditParam->text(), after);
        QVERIFY(!d.BBSave->isEnabled());
        d.CBParams->setCurrentIndex(d.CBParams->findText(QStringLiteral("-freq 100")));
        QTest::mouseClick(d.BBLeft, Qt::LeftButton);
        QCOMPARE(d.EditParam->text(), after + QStringLiteral(" -freq 100"));
        QVERIFY(d.BBSave->isEnabled());
    }

    void saveStoresTheTableInMemoryOnly()
    {
        TSettings &d = open("[Settings]\nCurItem=1\n");
        const QByteArray before = readFile(iniPath);

        chooser.answer = QString();
        QTest::mouseClick(d.SBExe, Qt::LeftButton);
        QCOMPARE(chooser.filters, QStringList{QStringLiteral("Half-Life2 (hl2.exe)|HL2.EXE")});
        QCOMPARE(d.EditExe->text(), QString());
        QVERIFY(!d.BBSave->isEnabled());

        QTest::mouseClick(d.RBSteam, Qt::LeftButton);
        chooser.answer = QStringLiteral("/opt/steam/steam");
        QTest::mouseClick(d.SBExe, Qt::LeftButton);
        QCOMPARE(chooser.filters.last(), QStringLiteral("Steam (steam.exe)|STEAM.EXE"));
        QCOMPARE(d.EditExe->text(), QStringLiteral("/opt/steam/steam"));
        d.EditParam->setText(QStringLiteral("-applaunch 221"));
        QCOMPARE(settings.steamExePath, QString()); // edits count after Save only
        QTest::mouseClick(d.BBSave, Qt::LeftButton);

        QVERIFY(!d.BBSave->isEnabled());
        QCOMPARE(settings.steamExePath, QStringLiteral("/opt/steam/steam"));
        QCOMPARE(settings.games[1].steamParams, QStringLiteral("-applaunch 221"));
        QVERIFY(settings.games[1].steam);
        QCOMPARE(settings.games[1].params, QStringLiteral("-steam -game hl2mp"));
        QCOMPARE(readFile(iniPath), before);
    }

    // The settings file cannot store a line break, so no field takes one:
    // neither typed or pasted text nor the path of a chosen file.
    void noFieldTakesALineBreak()
    {
        TSettings &d = open("[Settings]\nCurItem=1\n");
        int editable = 0;
        for (QLineEdit *edit : d.findChildren<QLineEdit *>()) {
            if (edit->isReadOnly())
                continue;
            ++editable;
            edit->setText(QStringLiteral("1"));
            edit->insert(QStringLiteral("2\n3"));
            edit->insert(QStringLiteral("4\r"));
            QVERIFY2(!edit->text().contains(u'\n') && !edit->text().contains(u'\r'), qPrintable(edit->text()));
        }
        QVERIFY(editable >= 2);

        chooser.answer = QStringLiteral("/games/half\nlife/hl2");
        QTest::mouseClick(d.findChild<QToolButton *>(QStringLiteral("SBExe")), Qt::LeftButton);
        QCOMPARE(d.findChild<QLineEdit *>(QStringLiteral("EditExe"))->text(), QString());
        QVERIFY(!d.findChild<QPushButton *>(QStringLiteral("BBSave"))->isEnabled());
        QCOMPARE(prompter.errors.size(), 1);
    }

    void transparency()
    {
        TSettings &d = open("[Settings]\nTrans=1\nTransLevel=30\nCurPage=2\n");
        QSignalSpy changes(&d, &TSettings::transparencyChanged);
        QVERIFY(d.CBTrans->isChecked());
        QVERIFY(d.TBTrans->isEnabled());
        d.show();
        QCOMPARE(d.PageControl->currentIndex(), int(TSettings::ScanPage));
        QCOMPARE(settings.transLevel, 30); // until the Main page is shown
        d.PageControl->setCurrentIndex(TSettings::MainPage);
        QCOMPARE(d.TBTrans->value(), 50);
        QCOMPARE(settings.transLevel, 50);
        QCOMPARE(settings.curPage, int(TSettings::MainPage));
        QVERIFY(changes.count() >= 1);

        changes.clear();
        d.TBTrans->setValue(200);
        QCOMPARE(settings.transLevel, 200);
        QTest::mouseClick(d.CBTrans, Qt::LeftButton);
        QVERIFY(!settings.trans);
        QVERIFY(!d.TBTrans->isEnabled());
        QCOMPARE(changes.count(), 2);
    }

    void closingSavesAtOnce()
    {
        TSettings &d = open("[Settings]\nCurItem=3\nDelay=7\n[Password]\nLastPass=kept\n");
        d.show();
        chooser.answer = QStringLiteral("/games/cs16/hl");
        QTest::mouseClick(d.findChild<QToolButton *>(QStringLiteral("SBExe")), Qt::LeftButton);
        QTest::mouseClick(d.findChild<QPushButton *>(QStringLiteral("BBSave")), Qt::LeftButton);
        d.findChild<QCheckBox *>(QStringLiteral("CBDOD"))->setChecked(false);
        d.close();

        // The file holds them before the program ends, as the exit save writes them.
        IniFile fresh(iniPath);
        QCOMPARE(fresh.readString(QStringLiteral("Settings"), QStringLiteral("ExePath3"), QString()),
                 QStringLiteral("/games/cs16/hl"));
        QCOMPARE(fresh.readString(QStringLiteral("Games"), QStringLiteral("DOD"), QString()), QStringLiteral("0"));
        QCOMPARE(fresh.readString(QStringLiteral("Settings"), QStringLiteral("Delay"), QString()), QStringLiteral("7"));
        QCOMPARE(fresh.readString(QStringLiteral("Password"), QStringLiteral("LastPass"), QString()),
                 QStringLiteral("kept"));

        // Escape closes it too; a refused write is reported as at exit.
        d.show();
        QVERIFY(QFile::remove(iniPath));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("vantor.ini")));
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QCOMPARE(prompter.errors, QStringList{QStringLiteral("Unable to write to ") + iniPath});
        QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("vantor.ini")));
    }

    void roundTrip()
    {
        TSettings &d = open(QByteArray());
        QCOMPARE(d.PageControl->currentIndex(), int(TSettings::MainPage));
        QCOMPARE(d.SEDelay->value(), 0);
        QVERIFY(d.CBOld->isChecked() && d.CBBroadcast->isChecked() && d.CBDclick->isChecked());

        d.CBOld->setChecked(false);
        d.CBBroadcast->setChecked(false);
        d.CBDclick->setChecked(false);
        d.CBShow[FilterCSP]->setChecked(false);
        d.CBShow[FilterL4D]->setChecked(false);
        d.CSport->setText(QStringLiteral("27016"));
        d.HLTVport->setText(QStringLiteral("27021"));
        d.SEDelay->stepBy(40);
        QCOMPARE(settings.delay, 30); // live, within its range
        d.CBTrans->setChecked(true);
        addRange({10, 0, 0, 1}, {10, 0, 0, 9});
        d.LWranges->item(0, 0)->setCheckState(Qt::Unchecked);
        d.CBGame->setCurrentIndex(9);
        d.PageControl->setCurrentIndex(TSettings::FavoritesPage);
        d.saveSettings(); // the exit save

        TSettings &again = open(readFile(iniPath));
        QCOMPARE(again.PageControl->currentIndex(), int(TSettings::FavoritesPage));
        QVERIFY(!again.CBOld->isChecked());
        QVERIFY(!again.CBBroadcast->isChecked());
        QVERIFY(!again.CBDclick->isChecked());
        QVERIFY(!again.CBShow[FilterCSP]->isChecked());
        QVERIFY(!again.CBShow[FilterL4D]->isChecked());
        QCOMPARE(again.CSport->text(), QStringLiteral("27016"));
        QCOMPARE(again.HLTVport->text(), QStringLiteral("27021"));
        QCOMPARE(again.SEDelay->value(), 30);
        QVERIFY(again.CBTrans->isChecked());
        QCOMPARE(shownRanges(again), QStringLiteral("-10.0.0.1-10.0.0.9"));
        QCOMPARE(again.CBGame->currentIndex(), 9);
        QVERIFY(prompter.warnings.isEmpty());
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
