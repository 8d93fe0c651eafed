<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutBox</name>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>Automatically check for updates</source>
        <translation>Automatisch nach Updates suchen</translation>
    </message>
    <message>
        <source>Home page</source>
        <translation>Homepage</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>Autor:</translation>
    </message>
    <message>
        <source>The Vantor developers</source>
        <translation>Die Vantor-Entwickler</translation>
    </message>
    <message>
        <source>Home page:</source>
        <translation>Homepage:</translation>
    </message>
    <message>
        <source>Special thank to:</source>
        <translation>Besonderer Dank an:</translation>
    </message>
    <message>
        <source>All the LAN party testers</source>
        <translation>Alle Tester auf LAN-Partys</translation>
    </message>
    <message>
        <source>Current release version: %1</source>
        <translation>Aktuelle Version: %1</translation>
    </message>
    <message>
        <source>You have: %1</source>
        <translation>Ihre Version: %1</translation>
    </message>
    <message>
        <source>Download new version ?</source>
        <translation>Neue Version herunterladen?</translation>
    </message>
    <message>
        <source>Connection error</source>
        <translation>Verbindungsfehler</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>You have last version</source>
        <translation>Sie haben die neueste Version</translation>
    </message>
</context>
<context>
    <name>AddressEditor</name>
    <message>
        <source>Octet %1</source>
        <translation>Oktett %1</translation>
    </message>
    <message>
        <source>%1 octet %2</source>
        <translation>%1, Oktett %2</translation>
    </message>
</context>
<context>
    <name>AutoConnect</name>
    <message>
        <source>Auto connect to %1</source>
        <translation>Automatisch verbinden mit %1</translation>
    </message>
    <message>
        <source> Auto connect to %1. Waiting %2 %3 players</source>
        <extracomment>Status bar while auto-connect waits: %1 the server&apos;s address, %2 &quot;&lt;=&quot; or &quot;&gt;&quot;, %3 the number of players.</extracomment>
        <translation> Automatisch verbinden mit %1. Warte auf Spieler %2 %3</translation>
    </message>
    <message>
        <source>Auto connect</source>
        <translation>Automatisch verbinden</translation>
    </message>
    <message>
        <source>Server is down, autoconnect disabled.</source>
        <translation>Der Server antwortet nicht, automatisches Verbinden ist aus.</translation>
    </message>
    <message numerus="yes">
        <source>There are %n players now on server %1. Do you want to join ?</source>
        <translation>
            <numerusform>Auf dem Server %1 ist jetzt %n Spieler. Beitreten?</numerusform>
            <numerusform>Auf dem Server %1 sind jetzt %n Spieler. Beitreten?</numerusform>
        </translation>
    </message>
    <message>
        <source> Autoconnect disabled</source>
        <translation> Automatisches Verbinden aus</translation>
    </message>
</context>
<context>
    <name>AutoConnectWindow</name>
    <message>
        <source>Join if players</source>
        <translation>Beitreten, wenn Spieler</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Ask me before join</source>
        <translation>Vor dem Beitreten fragen</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Join if players:</source>
        <translation>Beitreten, wenn Spieler:</translation>
    </message>
</context>
<context>
    <name>GlobalHotkey</name>
    <message>
        <source>Global hotkeys are not available on this desktop (Wayland or no X11 display)</source>
        <translation>Globale Tastenkürzel gibt es auf diesem Desktop nicht (Wayland oder keine X11-Anzeige)</translation>
    </message>
    <message>
        <source>The hotkey %1 is used by another program</source>
        <translation>Das Tastenkürzel %1 belegt schon ein anderes Programm</translation>
    </message>
    <message>
        <source>The key of the hotkey %1 is not on this keyboard</source>
        <translation>Die Taste des Tastenkürzels %1 fehlt auf dieser Tastatur</translation>
    </message>
    <message>
        <source>The hotkey %1 could not be registered (X11 error %2)</source>
        <translation>Das Tastenkürzel %1 ließ sich nicht registrieren (X11-Fehler %2)</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>a section name</source>
        <extracomment>Completes &quot;Unable to write to FILE: %2 holds a line break&quot;.</extracomment>
        <translation>ein Abschnittsname</translation>
    </message>
    <message>
        <source>a key name in [%1]</source>
        <translation>ein Schlüsselname in [%1]</translation>
    </message>
    <message>
        <source>the value of %1 in [%2]</source>
        <translation>der Wert von %1 in [%2]</translation>
    </message>
    <message>
        <source>Unable to write to %1: %2 holds a line break, which the file cannot store.</source>
        <extracomment>%1 the settings file, %2 what holds the line break (&quot;a section name&quot;, ...).</extracomment>
        <translation>In %1 kann nicht geschrieben werden: %2 enthält einen Zeilenumbruch, den die Datei nicht speichern kann.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>In %1 kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>Launch</name>
    <message>
        <source>%1.exe path is empty</source>
        <extracomment>%1 is a short game name with a trailing blank, such as &quot;CS 1.6 &quot; or &quot;Steam &quot;.</extracomment>
        <translation>Der Pfad zu %1.exe ist leer</translation>
    </message>
    <message>
        <source>Unknown game: %1</source>
        <translation>Unbekanntes Spiel: %1</translation>
    </message>
    <message>
        <source>Server is full.  Connect now ?</source>
        <translation>Der Server ist voll. Trotzdem verbinden?</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>NickName</source>
        <translation>Nickname</translation>
    </message>
    <message>
        <source>Frags</source>
        <translation>Frags</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>Regel</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Wait %1</source>
        <extracomment>The Scan button counts down the seconds before it can be pressed again.</extracomment>
        <translation>Warte %1</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Hide  (Shift+Alt+S)</source>
        <translation>&amp;Ausblenden  (Shift+Alt+S)</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber Vantor</translation>
    </message>
    <message>
        <source>Home &amp;page...</source>
        <translation>&amp;Homepage...</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Spielen</translation>
    </message>
    <message>
        <source>Auto connect</source>
        <extracomment>Tray message when auto-connect starts the game; %1 is ADDRESS:PORT.</extracomment>
        <translation>Automatisch verbinden</translation>
    </message>
    <message>
        <source>Add To Favorites</source>
        <translation>Zu Favoriten hinzufügen</translation>
    </message>
    <message>
        <source>Copy Address</source>
        <translation>Adresse kopieren</translation>
    </message>
    <message>
        <source>Copy Steam Link</source>
        <translation>Steam-Link kopieren</translation>
    </message>
    <message>
        <source>Servers</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Scan port:</source>
        <translation>Such-Port:</translation>
    </message>
    <message>
        <source>G a m e</source>
        <extracomment>The game port, its letters spaced out to match the width of &quot;HLTV&quot; beside it.</extracomment>
        <translation>S p i e l</translation>
    </message>
    <message>
        <source>Game port</source>
        <translation>Spiel-Port</translation>
    </message>
    <message>
        <source>HLTV port</source>
        <translation>HLTV-Port</translation>
    </message>
    <message>
        <source>Scan progress</source>
        <translation>Suchfortschritt</translation>
    </message>
    <message>
        <source>Scan for servers</source>
        <translation>Nach Servern suchen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Stop scanning</source>
        <translation>Suche anhalten</translation>
    </message>
    <message>
        <source>RF</source>
        <extracomment>Short for Refresh, on a narrow button.</extracomment>
        <translation>AK</translation>
    </message>
    <message>
        <source>Refresh the listed servers</source>
        <translation>Die aufgelisteten Server aktualisieren</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>ON/OFF Autoconnect</source>
        <translation>Automatisches Verbinden ein/aus</translation>
    </message>
    <message>
        <source>Join to server</source>
        <translation>Mit dem Server verbinden</translation>
    </message>
    <message>
        <source>Game</source>
        <translation>Spiel</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Rules</source>
        <translation>Regeln</translation>
    </message>
    <message>
        <source>Activity</source>
        <translation>Aktivität</translation>
    </message>
    <message>
        <source>Targets sent</source>
        <translation>Gesendete Anfragen</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>Show  (Shift+Alt+S)</source>
        <translation>Anzeigen  (Shift+Alt+S)</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Joining %1</source>
        <translation>Verbinde mit %1</translation>
    </message>
    <message>
        <source> Autoscan enabled</source>
        <translation> Auto-Suche an</translation>
    </message>
    <message>
        <source> Autoscan disabled</source>
        <translation> Auto-Suche aus</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Show password</source>
        <translation>Passwort anzeigen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Enter password:</source>
        <translation>Passwort eingeben:</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>Vantor cannot open its UDP socket (%1), so it cannot ask any server. It ends now.</source>
        <extracomment>At start, when no UDP socket can be had; %1 is the system&apos;s reason.</extracomment>
        <translation>Vantor kann seinen UDP-Socket nicht öffnen (%1) und daher keinen Server abfragen. Das Programm wird beendet.</translation>
    </message>
</context>
<context>
    <name>QuickFilter</name>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Filter (Ctrl+F)</source>
        <translation>Filter (Strg+F)</translation>
    </message>
    <message>
        <source>Show only the servers whose name, map or address holds this text</source>
        <translation>Nur Server anzeigen, deren Name, Karte oder Adresse diesen Text enthält</translation>
    </message>
    <message>
        <source>Hide empty</source>
        <translation>Leere ausblenden</translation>
    </message>
    <message>
        <source>Hide full</source>
        <translation>Volle ausblenden</translation>
    </message>
    <message>
        <source>Hide password</source>
        <translation>Mit Passwort ausblenden</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <extracomment>Servers shown of servers listed while the filter hides some.</extracomment>
        <translation>%1 von %2</translation>
    </message>
</context>
<context>
    <name>ScanStatus</name>
    <message>
        <source>Port %1 is busy, using %2</source>
        <extracomment>Status bar: the local UDP port %1 is taken, so the port %2 is used instead.</extracomment>
        <translation>Port %1 belegt, verwende %2</translation>
    </message>
    <message>
        <source> Autoscaning...</source>
        <translation> Auto-Suche...</translation>
    </message>
    <message>
        <source>IP ranges, Favorites list is empty and Broadcast is disabled. Please set it in Options.</source>
        <translation>Keine IP-Bereiche, keine Favoriten und Broadcast ist aus. Bitte in den Einstellungen festlegen.</translation>
    </message>
    <message>
        <source>Game port is empty. Please set it in Options.</source>
        <translation>Kein Spiel-Port angegeben. Bitte in den Einstellungen festlegen.</translation>
    </message>
    <message>
        <source>HLTV port is empty. Please set it in Options.</source>
        <translation>Kein HLTV-Port angegeben. Bitte in den Einstellungen festlegen.</translation>
    </message>
    <message>
        <source> Scan complete</source>
        <translation> Suche fertig</translation>
    </message>
    <message>
        <source> Scan stoped</source>
        <translation> Gestoppt</translation>
    </message>
    <message>
        <source> Refresh complete</source>
        <translation> Aktualisiert</translation>
    </message>
    <message>
        <source> Network error...</source>
        <translation> Netzfehler...</translation>
    </message>
</context>
<context>
    <name>ServerList</name>
    <message>
        <source>%1 (HLTV)</source>
        <translation>%1 (HLTV)</translation>
    </message>
    <message>
        <source>%1 (demo playback)</source>
        <translation>%1 (Demo-Wiedergabe)</translation>
    </message>
    <message>
        <source>Unrecognised game</source>
        <translation>Unbekanntes Spiel</translation>
    </message>
    <message numerus="yes">
        <source>%n player</source>
        <translation>
            <numerusform>%n Spieler</numerusform>
            <numerusform>%n Spieler</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n players</source>
        <translation>
            <numerusform>%n Spieler</numerusform>
            <numerusform>%n Spieler</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <extracomment>Tooltip of the Players cell: %1 &quot;12 players&quot;, %2 the maximum.</extracomment>
        <translation>%1 von %2</translation>
    </message>
    <message numerus="yes">
        <source>%n bot</source>
        <translation>
            <numerusform>%n Bot</numerusform>
            <numerusform>%n Bots</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n bots</source>
        <translation>
            <numerusform>%n Bot</numerusform>
            <numerusform>%n Bots</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2) of %3</source>
        <extracomment>Tooltip of the Players cell: %1 &quot;12 players&quot;, %2 &quot;3 bots&quot;, %3 the maximum.</extracomment>
        <translation>%1 (%2) von %3</translation>
    </message>
    <message>
        <source>Room free</source>
        <translation>Plätze frei</translation>
    </message>
    <message>
        <source>Password required</source>
        <translation>Passwort nötig</translation>
    </message>
    <message>
        <source>Waiting for an answer</source>
        <translation>Warte auf Antwort</translation>
    </message>
    <message>
        <source>Server full</source>
        <translation>Server voll</translation>
    </message>
    <message>
        <source>Game</source>
        <extracomment>Column captions of the server list: PT the protocol version, OS the operating system, A the access (free, full, password).</extracomment>
        <translation>Spiel</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>PT</source>
        <translation>PV</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>OS</source>
        <translation>OS</translation>
    </message>
    <message>
        <source>A</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>Ping</source>
        <translation>Ping</translation>
    </message>
    <message>
        <source>Server name</source>
        <translation>Servername</translation>
    </message>
    <message>
        <source>Protocol version</source>
        <translation>Protokollversion</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Operating system</source>
        <translation>Betriebssystem</translation>
    </message>
    <message>
        <source>Access</source>
        <translation>Zugang</translation>
    </message>
    <message>
        <source>Round-trip time of the info query, in milliseconds</source>
        <translation>Antwortzeit der Info-Anfrage in Millisekunden</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Bad address</source>
        <translation>Ungültige Adresse</translation>
    </message>
    <message>
        <source>This address is already exist</source>
        <translation>Diese Adresse ist schon in der Liste</translation>
    </message>
    <message>
        <source>IP - Address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Incorrect IP range</source>
        <translation>Ungültiger IP-Bereich</translation>
    </message>
    <message>
        <source>IP range incorrect or very big</source>
        <translation>IP-Bereich ungültig oder zu groß</translation>
    </message>
    <message>
        <source>IP range exist</source>
        <translation>Diesen IP-Bereich gibt es schon</translation>
    </message>
    <message numerus="yes">
        <source>The range count in %1 is not a number; read %n ranges.</source>
        <translation>
            <numerusform>Die Anzahl der Bereiche in %1 ist keine Zahl; %n Bereich gelesen.</numerusform>
            <numerusform>Die Anzahl der Bereiche in %1 ist keine Zahl; %n Bereiche gelesen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Games</source>
        <translation>Spiele</translation>
    </message>
    <message>
        <source>Scan settings</source>
        <translation>Suche</translation>
    </message>
    <message>
        <source>Favorites</source>
        <translation>Favoriten</translation>
    </message>
    <message>
        <source>Show only</source>
        <translation>Nur anzeigen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Dazu</translation>
    </message>
    <message>
        <source>Add favorite</source>
        <translation>Favorit hinzufügen</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Weg</translation>
    </message>
    <message>
        <source>Delete favorite</source>
        <translation>Favorit löschen</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Auto scan</source>
        <translation>Auto-Suche</translation>
    </message>
    <message>
        <source>Interval (sec)</source>
        <translation>Intervall (s)</translation>
    </message>
    <message>
        <source>Game</source>
        <translation>Spiel</translation>
    </message>
    <message>
        <source>No Steam</source>
        <translation>Ohne Steam</translation>
    </message>
    <message>
        <source>Exe path:</source>
        <translation>Exe-Pfad:</translation>
    </message>
    <message>
        <source>Steam path:</source>
        <translation>Steam-Pfad:</translation>
    </message>
    <message>
        <source>Exe path</source>
        <translation>Exe-Pfad</translation>
    </message>
    <message>
        <source>Find file</source>
        <translation>Datei suchen</translation>
    </message>
    <message>
        <source>Parameters:</source>
        <translation>Parameter:</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Restore params ot default</source>
        <translation>Parameter auf den Standard zurücksetzen</translation>
    </message>
    <message>
        <source>Parameter list</source>
        <translation>Parameterliste</translation>
    </message>
    <message>
        <source>Append param</source>
        <translation>Parameter anfügen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Connect by double click</source>
        <translation>Per Doppelklick verbinden</translation>
    </message>
    <message>
        <source>Transparency</source>
        <translation>Transparenz</translation>
    </message>
    <message>
        <source>Transparency level</source>
        <translation>Transparenzstufe</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Takes effect at the next start of Vantor</source>
        <translation>Gilt ab dem nächsten Start von Vantor</translation>
    </message>
    <message>
        <source>Steam path</source>
        <translation>Steam-Pfad</translation>
    </message>
    <message>
        <source>The path holds a line break and cannot be stored.</source>
        <translation>Der Pfad enthält einen Zeilenumbruch und lässt sich nicht speichern.</translation>
    </message>
    <message>
        <source>IP ranges</source>
        <translation>IP-Bereiche</translation>
    </message>
    <message>
        <source>From IP:</source>
        <translation>Von IP:</translation>
    </message>
    <message>
        <source>To IP:</source>
        <translation>Bis IP:</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Ports:</source>
        <translation>Ports:</translation>
    </message>
    <message>
        <source>Game port</source>
        <translation>Spiel-Port</translation>
    </message>
    <message>
        <source>HLTV port</source>
        <translation>HLTV-Port</translation>
    </message>
    <message>
        <source>Scan delay</source>
        <translation>Suchpause</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Startadresse</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Endadresse</translation>
    </message>
    <message>
        <source>Add range</source>
        <translation>Bereich hinzufügen</translation>
    </message>
    <message>
        <source>Delete range</source>
        <translation>Bereich löschen</translation>
    </message>
    <message>
        <source>Fill to 255</source>
        <translation>Bis 255 auffüllen</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>Bis:</translation>
    </message>
    <message>
        <source>Broadcast</source>
        <translation>Broadcast</translation>
    </message>
    <message>
        <source>Scan old protocol servers</source>
        <translation>Server mit altem Protokoll suchen</translation>
    </message>
    <message>
        <source>All CS1.5 and old CS1.6 servers</source>
        <translation>Alle CS1.5- und alten CS1.6-Server</translation>
    </message>
    <message>
        <source>Settings pages</source>
        <translation>Einstellungsseiten</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>no network card that can broadcast</source>
        <extracomment>The settings dialog&apos;s line of broadcast addresses when there are none.</extracomment>
        <translation>keine Netzwerkkarte, die Broadcast kann</translation>
    </message>
    <message>
        <source>Broadcast addresses</source>
        <translation>Broadcast-Adressen</translation>
    </message>
    <message>
        <source>Also broadcast to the LAN ports 27015–27019</source>
        <translation>Broadcast auch an die LAN-Ports 27015–27019</translation>
    </message>
    <message>
        <source>Finds the second and third server on one machine; a scan on the HLTV port broadcasts to that port only</source>
        <translation>Findet den zweiten und dritten Server auf einem Rechner; eine Suche auf dem HLTV-Port sendet nur an diesen Port</translation>
    </message>
</context>
<context>
    <name>StartOptions</name>
    <message>
        <source>usage: vantor [QT-OPTION]...
       vantor --help | --version

Finds running game servers of the Half-Life 1 and Source engine families on
the local network, lists them with their players and rules, and starts the
game client connected to the chosen one.

  -h, --help    print this help and exit
  --version     print the version and exit

Qt&apos;s own options, such as -platform NAME, -display DISPLAY or -style NAME,
are accepted too.

Settings live in vantor.ini beside the executable when that file exists, or
when the folder is writable and not an installed one (/usr, /opt or the
install folder); otherwise in $XDG_CONFIG_HOME/vantor/vantor.ini
(~/.config/vantor/vantor.ini).
</source>
        <extracomment>The help of &quot;vantor --help&quot;. Keep the option names and the file names as they are.</extracomment>
        <translation>Aufruf: vantor [QT-OPTION]...
        vantor --help | --version

Findet laufende Spielserver der Half-Life-1- und Source-Engine-Familien im
lokalen Netz, listet sie mit ihren Spielern und Regeln auf und startet das
Spiel, verbunden mit dem gewählten Server.

  -h, --help    diese Hilfe ausgeben und beenden
  --version     die Version ausgeben und beenden

Die eigenen Optionen von Qt, etwa -platform NAME, -display DISPLAY oder
-style NAME, werden ebenfalls angenommen.

Die Einstellungen stehen in vantor.ini neben dem Programm, wenn es diese Datei
gibt oder der Ordner beschreibbar und kein installierter ist (/usr, /opt oder
der Installationsordner), sonst in $XDG_CONFIG_HOME/vantor/vantor.ini
(~/.config/vantor/vantor.ini).
</translation>
    </message>
</context>
</TS>
