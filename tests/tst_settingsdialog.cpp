#include "settings/inifile.h"
#include "settings/settingsmodel.h"
#include "ui/filechooser.h"
#include "ui/ipaddressedit.h"
#include "support/fixednetworkcards.h"
#include "support/recordingprompter.h"
#include "support/windowcontrols.h"
#include "ui/settingsdialog.h"

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

class ScriptedChooser : public FileChooser
{
public:
    void openFile(QWidget *, const QString &filter, std::function<void(const QString &path)> chosen) override
    {
        filters << filter;
        chosen(answer);
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
QString shownRanges(const QTableWidget *list)
{
    QStringList rows;
    for (int r = 0; r < list->rowCount(); ++r) {
        const bool on = list->item(r, 0)->checkState() == Qt::Checked;
        rows << (on ? u'+' : u'-') + list->item(r, 1)->text() + u'-' + list->item(r, 2)->text();
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
    RecordingPrompter prompter;
    ScriptedChooser chooser;
    FixedNetworkCards cards;
    std::unique_ptr<TSettings> dialog;
    std::unique_ptr<SettingsControls> ui;

    // A dialog over a configuration file holding `text`.
    TSettings &open(const QByteArray &text)
    {
        ui.reset();
        dialog.reset();
        QFile::remove(iniPath);
        if (!text.isEmpty()) {
            QFile file(iniPath);
            if (file.open(QIODevice::WriteOnly))
                file.write(text);
        }
        settings = SettingsModel();
        ini = std::make_unique<IniFile>(iniPath);
        prompter = RecordingPrompter();
        chooser = ScriptedChooser();
        dialog = std::make_unique<TSettings>(settings, *ini, prompter, cards, &chooser);
        // No Steam of this machine gets proposed.
        dialog->findProgram = [](const QString &) { return QString(); };
        dialog->loadSettings();
        ui = std::make_unique<SettingsControls>(dialog.get());
        return *dialog;
    }

    void addRange(const std::array<int, 4> &from, const std::array<int, 4> &to)
    {
        ui->IPE1->setOctets(from);
        ui->IPE2->setOctets(to);
        QTest::mouseClick(ui->SBAdd, Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        iniPath = dir.filePath(QStringLiteral("vantor.ini"));
    }

    void cleanup()
    {
        ui.reset();
        dialog.reset();
    }

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
        QCOMPARE(shownRanges(ui->LWranges), QStringLiteral("+192.168.0.1-192.168.0.50|+10.0.4.200-10.0.5.10"));
        QCOMPARE(rangesOnDisk(iniPath), QStringLiteral("2:11:192.168.0.1-192.168.0.50|10.0.4.200-10.0.5.10"));
        QVERIFY(prompter.shown.isEmpty());
        // The editors keep what they hold.
        QCOMPARE(ui->IPE1->text(), QStringLiteral("10.0.4.200"));

        const QByteArray before = readFile(iniPath);
        addRange({192, 168, 0, 20}, {192, 168, 0, 50});
        QCOMPARE(prompter.shown, QStringList{QStringLiteral("error: IP range exist")});
        QCOMPARE(settings.ranges.size(), 2);
        QCOMPARE(readFile(iniPath), before);

        // A check box is the model's at once; the file gets it with the next write.
        ui->LWranges->item(1, 0)->setCheckState(Qt::Unchecked);
        QVERIFY(!settings.ranges[1].checked);

        QTest::mouseClick(ui->SBDel, Qt::LeftButton); // no selection: nothing
        QCOMPARE(settings.ranges.size(), 2);
        d.selectRange(0);
        QTest::mouseClick(ui->SBDel, Qt::LeftButton);
        QCOMPARE(shownRanges(ui->LWranges), QStringLiteral("-10.0.4.200-10.0.5.10"));
        QCOMPARE(d.selectedRange(), 0);
        QCOMPARE(rangesOnDisk(iniPath), QStringLiteral("1:0:10.0.4.200-10.0.5.10"));
        QTest::mouseClick(ui->SBDel, Qt::LeftButton);
        QCOMPARE(ui->LWranges->rowCount(), 0);
        QCOMPARE(d.selectedRange(), -1);
        QCOMPARE(rangesOnDisk(iniPath), QStringLiteral("0::"));
    }

    void movesKeepTheSelectionAndLeaveTheFile()
    {
        TSettings &d = open("[Ranges]\nRanges=3\nChecked=100\nRangeFrom0=1.1.1.1\nRangeTo0=1.1.1.2\n"
                            "RangeFrom1=2.2.2.1\nRangeTo1=2.2.2.2\nRangeFrom2=3.3.3.1\nRangeTo2=3.3.3.2\n");
        const QByteArray before = readFile(iniPath);
        d.selectRange(2);
        QTest::mouseClick(ui->SBMoveUp, Qt::LeftButton);
        QTest::mouseClick(ui->SBMoveUp, Qt::LeftButton);
        QTest::mouseClick(ui->SBMoveUp, Qt::LeftButton); // already first
        QCOMPARE(shownRanges(ui->LWranges), QStringLiteral("-3.3.3.1-3.3.3.2|+1.1.1.1-1.1.1.2|-2.2.2.1-2.2.2.2"));
        QCOMPARE(d.selectedRange(), 0);
        QTest::mouseClick(ui->SBMoveDown, Qt::LeftButton);
        QCOMPARE(d.selectedRange(), 1);
        QCOMPARE(settings.ranges[1].from, QStringLiteral("3.3.3.1"));
        QCOMPARE(readFile(iniPath), before);
    }

    void fillBlockEndFromTheFromEditor()
    {
        open(QByteArray());
        QTest::mouseClick(ui->SBFill, Qt::LeftButton);
        QCOMPARE(ui->IPE2->text(), QString());
        ui->IPE1->setOctets({172, 16, 4, 9});
        QTest::mouseClick(ui->SBFill, Qt::LeftButton);
        QCOMPARE(ui->IPE2->text(), QStringLiteral("172.16.4.255"));
        QCOMPARE(ui->IPE1->text(), QStringLiteral("172.16.4.9"));
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

        open(QByteArray());
        for (QLineEdit *port : {ui->CSport, ui->HLTVport}) {
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
        open("[Settings]\nCurItem=5\nsteam5=1\nSteamExePath=/opt/steam/steam\n"
             "SteamParam5=-applaunch 241\nExePath5=/games/hl2\n");
        QCOMPARE(ui->CBGame->currentIndex(), 5);
        QCOMPARE(ui->CBGame->currentText(), QStringLiteral("CSS"));
        QVERIFY(ui->RBSteam->isChecked());
        QCOMPARE(ui->EditExe->text(), QStringLiteral("/opt/steam/steam"));
        QCOMPARE(ui->EditParam->text(), QStringLiteral("-applaunch 241"));
        QVERIFY(!ui->LBSteamPath->isHidden());
        QVERIFY(ui->LBExe->isHidden());
        QCOMPARE(ui->CBParams->count(), 12);
        QCOMPARE(ui->CBParams->currentText(), QString());
    }

    void switchingGamesDropsUnsavedEdits()
    {
        TSettings &d = open("[Settings]\nCurItem=3\n");
        QTest::keyClicks(ui->EditParam, QStringLiteral(" -x"));
        QCOMPARE(ui->EditParam->text(), QStringLiteral("-game cstrike -x"));
        QVERIFY(ui->BBSave->isEnabled());
        ui->CBGame->setCurrentIndex(4);
        QCOMPARE(ui->EditParam->text(), QStringLiteral("-game czero"));
        ui->CBGame->setCurrentIndex(3);
        QCOMPARE(ui->EditParam->text(), QStringLiteral("-game cstrike"));
        QVERIFY(ui->BBSave->isEnabled()); // the button keeps its state
        QCOMPARE(settings.curItem, 3);
        QCOMPARE(settings.games[3].params, QStringLiteral("-game cstrike"));

        d.show();
        QVERIFY(!ui->BBSave->isEnabled());
    }

    void steamChoiceShowsTheSharedPath()
    {
        open("[Settings]\nSteamExePath=/opt/steam/steam\nExePath1=/games/hl2\n");
        for (int game : {0, 1, 14}) {
            ui->CBGame->setCurrentIndex(game);
            QVERIFY(!ui->RBSteam->isChecked());
            QTest::mouseClick(ui->RBSteam, Qt::LeftButton);
            QCOMPARE(ui->EditExe->text(), QStringLiteral("/opt/steam/steam"));
            QCOMPARE(ui->EditParam->text(), settings.games[game].steamParams);
            QVERIFY(!ui->LBSteamPath->isHidden());
            QVERIFY(ui->LBExe->isHidden());
            QVERIFY(ui->BBSave->isEnabled());
            QTest::mouseClick(ui->RBNoSteam, Qt::LeftButton);
            QCOMPARE(ui->EditExe->text(), settings.games[game].exePath);
            QVERIFY(ui->LBSteamPath->isHidden());
            QVERIFY(!ui->LBExe->isHidden());
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

        open(steam ? "[Settings]\nCurItem=7\nsteam7=1\n" : "[Settings]\nCurItem=7\n");
        ui->EditParam->setText(before);
        QTest::mouseClick(ui->BBDefault, Qt::LeftButton);
        QCOMPARE(ui->EditParam->text(), after);
        QCOMPARE(ui->BBSave->isEnabled(), saveEnabled);

        ui->BBSave->setEnabled(false);
        QTest::mouseClick(ui->BBLeft, Qt::LeftButton); // nothing picked
        QCOMPARE(ui->EditParam->text(), after);
        QVERIFY(!ui->BBSave->isEnabled());
        ui->CBParams->setCurrentIndex(ui->CBParams->findText(QStringLiteral("-freq 100")));
        QTest::mouseClick(ui->BBLeft, Qt::LeftButton);
        QCOMPARE(ui->EditParam->text(), after + QStringLiteral(" -freq 100"));
        QVERIFY(ui->BBSave->isEnabled());
    }

    void saveStoresTheTableInMemoryOnly()
    {
        open("[Settings]\nCurItem=1\n");
        const QByteArray before = readFile(iniPath);

        chooser.answer = QString();
        QTest::mouseClick(ui->SBExe, Qt::LeftButton);
        QCOMPARE(chooser.filters, QStringList{QStringLiteral("Half-Life2 (hl2.exe)|HL2.EXE")});
        QCOMPARE(ui->EditExe->text(), QString());
        QVERIFY(!ui->BBSave->isEnabled());

        QTest::mouseClick(ui->RBSteam, Qt::LeftButton);
        chooser.answer = QStringLiteral("/opt/steam/steam");
        QTest::mouseClick(ui->SBExe, Qt::LeftButton);
        QCOMPARE(chooser.filters.last(), QStringLiteral("Steam (steam.exe)|STEAM.EXE"));
        QCOMPARE(ui->EditExe->text(), QStringLiteral("/opt/steam/steam"));
        ui->EditParam->setText(QStringLiteral("-applaunch 221"));
        QCOMPARE(settings.steamExePath, QString()); // edits count after Save only
        QTest::mouseClick(ui->BBSave, Qt::LeftButton);

        QVERIFY(!ui->BBSave->isEnabled());
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
        QCOMPARE(prompter.shown, QStringList{QStringLiteral("error: The path holds a line break and cannot be stored.")});
    }

    void steamPathProposal_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("show"); // shown with Steam chosen before, else "Steam" clicked
        QTest::addColumn<QString>("found");
        QTest::addColumn<QString>("path");

        QTest::newRow("none stored, Steam on PATH") << QByteArray("[Settings]\nCurItem=3\n") << false
                                                    << "/usr/games/steam" << "/usr/games/steam";
        QTest::newRow("none stored, none found") << QByteArray("[Settings]\nCurItem=3\n") << false << "" << "";
        QTest::newRow("a stored path wins") << QByteArray("[Settings]\nCurItem=3\nSteamExePath=/opt/steam/steam\n")
                                            << false << "/usr/games/steam" << "/opt/steam/steam";
        QTest::newRow("Steam chosen before, dialog shown") << QByteArray("[Settings]\nCurItem=3\nsteam3=1\n") << true
                                                           << "/usr/games/steam" << "/usr/games/steam";
    }

    void steamPathProposal()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, show);
        QFETCH(QString, found);
        QFETCH(QString, path);
        TSettings &d = open(text);
        const QString stored = settings.steamExePath;
        QStringList asked;
        d.findProgram = [&](const QString &name) {
            asked << name;
            return found;
        };
        auto *edit = d.findChild<QLineEdit *>(QStringLiteral("EditExe"));
        auto *save = d.findChild<QPushButton *>(QStringLiteral("BBSave"));
        QVERIFY(edit && save);
        if (show)
            d.show();
        else
            QTest::mouseClick(d.findChild<QRadioButton *>(QStringLiteral("RBSteam")), Qt::LeftButton);

        QCOMPARE(edit->text(), path);
        QCOMPARE(asked, stored.isEmpty() ? QStringList{"steam"} : QStringList());
        // A proposal is an edit like any other: it counts after Save.
        QCOMPARE(settings.steamExePath, stored);
        QVERIFY(save->isEnabled());
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(settings.steamExePath, path);
        QVERIFY(settings.games[3].steam);
    }

    void transparency()
    {
        TSettings &d = open("[Settings]\nTrans=1\nTransLevel=30\nCurPage=2\n");
        QSignalSpy changes(&d, &TSettings::transparencyChanged);
        QVERIFY(ui->CBTrans->isChecked());
        QVERIFY(ui->TBTrans->isEnabled());
        d.show();
        QCOMPARE(ui->PageControl->currentIndex(), int(TSettings::ScanPage));
        QCOMPARE(settings.transLevel, 30); // until the Main page is shown
        ui->PageControl->setCurrentIndex(TSettings::MainPage);
        QCOMPARE(ui->TBTrans->value(), 50);
        QCOMPARE(settings.transLevel, 50);
        QCOMPARE(settings.curPage, int(TSettings::MainPage));
        QVERIFY(changes.count() >= 1);

        changes.clear();
        ui->TBTrans->setValue(200);
        QCOMPARE(settings.transLevel, 200);
        QTest::mouseClick(ui->CBTrans, Qt::LeftButton);
        QVERIFY(!settings.trans);
        QVERIFY(!ui->TBTrans->isEnabled());
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
        QCOMPARE(prompter.shown, QStringList{QStringLiteral("error: Unable to write to ") + iniPath});
        QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("vantor.ini")));
    }

    void broadcastLineShowsTheCardsWhenShown()
    {
        CardAddress home;
        home.card = QStringLiteral("eth0");
        home.address = 0x0A4E0502; // 10.78.5.2/24
        home.netmask = 0xFFFFFF00;
        home.broadcast = 0x0A4E05FF;
        home.up = home.running = home.canBroadcast = true;
        cards.setAddresses({home});
        TSettings &d = open("[Settings]\nCurPage=2\n");
        d.show();
        QCOMPARE(ui->LBroadcastTo->text(), QStringLiteral("10.78.5.255, 10.78.255.255"));
        QCOMPARE(ui->LBroadcastTo->toolTip(), QStringLiteral("10.78.5.255: eth0\n10.78.255.255: eth0"));
        QCOMPARE(ui->CBLanPorts->text(), QStringLiteral("Also broadcast to the LAN ports 27015\u201327019"));
        QVERIFY(ui->CBLanPorts->isEnabled() && ui->LBroadcastTo->isEnabled());

        // The cable is pulled while the dialog is hidden: the next showing says so.
        cards.setAddresses({});
        d.hide();
        d.show();
        QCOMPARE(ui->LBroadcastTo->text(), QStringLiteral("no network card that can broadcast"));
        QCOMPARE(ui->LBroadcastTo->toolTip(), QString());

        ui->CBBroadcast->setChecked(false);
        QVERIFY(!ui->CBLanPorts->isEnabled() && !ui->LBroadcastTo->isEnabled());
        ui->CBBroadcast->setChecked(true);
        QVERIFY(ui->CBLanPorts->isEnabled());
        d.hide();
    }

    void roundTrip()
    {
        TSettings &d = open(QByteArray());
        QCOMPARE(ui->PageControl->currentIndex(), int(TSettings::MainPage));
        QCOMPARE(ui->SEDelay->value(), 0);
        QVERIFY(ui->CBOld->isChecked() && ui->CBBroadcast->isChecked() && ui->CBDclick->isChecked());
        QVERIFY(ui->CBLanPorts->isChecked());

        ui->CBLanPorts->setChecked(false);
        QVERIFY(!settings.broadcastLanPorts);
        ui->CBOld->setChecked(false);
        ui->CBBroadcast->setChecked(false);
        ui->CBDclick->setChecked(false);
        ui->CBShow[FilterCSP]->setChecked(false);
        ui->CBShow[FilterL4D]->setChecked(false);
        ui->CSport->setText(QStringLiteral("27016"));
        ui->HLTVport->setText(QStringLiteral("27021"));
        ui->SEDelay->stepBy(40);
        QCOMPARE(settings.delay, 30); // live, within its range
        ui->CBTrans->setChecked(true);
        addRange({10, 0, 0, 1}, {10, 0, 0, 9});
        ui->LWranges->item(0, 0)->setCheckState(Qt::Unchecked);
        ui->CBGame->setCurrentIndex(9);
        ui->PageControl->setCurrentIndex(TSettings::FavoritesPage);
        d.saveSettings(); // the exit save

        open(readFile(iniPath));
        QCOMPARE(ui->PageControl->currentIndex(), int(TSettings::FavoritesPage));
        QVERIFY(!ui->CBOld->isChecked());
        QVERIFY(!ui->CBBroadcast->isChecked());
        QVERIFY(!ui->CBLanPorts->isChecked());
        // Without the broadcast, its line and its ports have no say.
        QVERIFY(!ui->CBLanPorts->isEnabled() && !ui->LBroadcastTo->isEnabled());
        QVERIFY(!ui->CBDclick->isChecked());
        QVERIFY(!ui->CBShow[FilterCSP]->isChecked());
        QVERIFY(!ui->CBShow[FilterL4D]->isChecked());
        QCOMPARE(ui->CSport->text(), QStringLiteral("27016"));
        QCOMPARE(ui->HLTVport->text(), QStringLiteral("27021"));
        QCOMPARE(ui->SEDelay->value(), 30);
        QVERIFY(ui->CBTrans->isChecked());
        QCOMPARE(shownRanges(ui->LWranges), QStringLiteral("-10.0.0.1-10.0.0.9"));
        QCOMPARE(ui->CBGame->currentIndex(), 9);
        QVERIFY(prompter.shown.isEmpty());
    }
};

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
