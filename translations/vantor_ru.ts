<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AboutBox</name>
    <message>
        <source>Info</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>version %1</source>
        <translation>версия %1</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>Проверить обновления</translation>
    </message>
    <message>
        <source>Automatically check for updates</source>
        <translation>Проверять обновления автоматически</translation>
    </message>
    <message>
        <source>Home page</source>
        <translation>Домашняя страница</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>Автор:</translation>
    </message>
    <message>
        <source>The Vantor developers</source>
        <translation>Разработчики Vantor</translation>
    </message>
    <message>
        <source>Home page:</source>
        <translation>Сайт:</translation>
    </message>
    <message>
        <source>Special thank to:</source>
        <translation>Отдельное спасибо:</translation>
    </message>
    <message>
        <source>All the LAN party testers</source>
        <translation>Всем, кто тестировал на LAN-пати</translation>
    </message>
    <message>
        <source>Current release version: %1</source>
        <translation>Последняя версия: %1</translation>
    </message>
    <message>
        <source>You have: %1</source>
        <translation>У вас: %1</translation>
    </message>
    <message>
        <source>Download new version ?</source>
        <translation>Скачать новую версию?</translation>
    </message>
    <message>
        <source>Connection error</source>
        <translation>Ошибка соединения</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Информация</translation>
    </message>
    <message>
        <source>You have last version</source>
        <translation>У вас последняя версия</translation>
    </message>
</context>
<context>
    <name>AddressEditor</name>
    <message>
        <source>Octet %1</source>
        <translation>Октет %1</translation>
    </message>
    <message>
        <source>%1 octet %2</source>
        <translation>%1, октет %2</translation>
    </message>
</context>
<context>
    <name>AutoConnect</name>
    <message>
        <source>Auto connect to %1</source>
        <translation>Автоподключение к %1</translation>
    </message>
    <message>
        <source> Auto connect to %1. Waiting %2 %3 players</source>
        <extracomment>Status bar while auto-connect waits: %1 the server&apos;s address, %2 &quot;&lt;=&quot; or &quot;&gt;&quot;, %3 the number of players.</extracomment>
        <translation> Автоподключение к %1. Ждём игроков %2 %3</translation>
    </message>
    <message>
        <source>Auto connect</source>
        <translation>Автоподключение</translation>
    </message>
    <message>
        <source>Server is down, autoconnect disabled.</source>
        <translation>Сервер не отвечает, автоподключение выключено.</translation>
    </message>
    <message numerus="yes">
        <source>There are %n players now on server %1. Do you want to join ?</source>
        <translation>
            <numerusform>Сейчас на сервере %1 %n игрок. Подключиться?</numerusform>
            <numerusform>Сейчас на сервере %1 %n игрока. Подключиться?</numerusform>
            <numerusform>Сейчас на сервере %1 %n игроков. Подключиться?</numerusform>
        </translation>
    </message>
    <message>
        <source> Autoconnect disabled</source>
        <translation> Автоподключение выключено</translation>
    </message>
</context>
<context>
    <name>AutoConnectWindow</name>
    <message>
        <source>Join if players</source>
        <translation>Подключиться, если игроков</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Игроки</translation>
    </message>
    <message>
        <source>Ask me before join</source>
        <translation>Спросить перед подключением</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Пароль:</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Join if players:</source>
        <translation>Подключиться, если игроков:</translation>
    </message>
</context>
<context>
    <name>GlobalHotkey</name>
    <message>
        <source>Global hotkeys are not available on this desktop (Wayland or no X11 display)</source>
        <translation>Глобальные горячие клавиши недоступны в этой среде (Wayland или нет дисплея X11)</translation>
    </message>
    <message>
        <source>The hotkey %1 is used by another program</source>
        <translation>Сочетание клавиш %1 занято другой программой</translation>
    </message>
    <message>
        <source>The key of the hotkey %1 is not on this keyboard</source>
        <translation>Клавиши из сочетания %1 нет на этой клавиатуре</translation>
    </message>
    <message>
        <source>The hotkey %1 could not be registered (X11 error %2)</source>
        <translation>Не удалось зарегистрировать сочетание клавиш %1 (ошибка X11 %2)</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>a section name</source>
        <extracomment>Completes &quot;Unable to write to FILE: %2 holds a line break&quot;.</extracomment>
        <translation>имя раздела</translation>
    </message>
    <message>
        <source>a key name in [%1]</source>
        <translation>имя ключа в [%1]</translation>
    </message>
    <message>
        <source>the value of %1 in [%2]</source>
        <translation>значение %1 в [%2]</translation>
    </message>
    <message>
        <source>Unable to write to %1: %2 holds a line break, which the file cannot store.</source>
        <extracomment>%1 the settings file, %2 what holds the line break (&quot;a section name&quot;, ...).</extracomment>
        <translation>Не удаётся записать %1: %2 содержит перенос строки, который файл сохранить не может.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Не удаётся записать %1</translation>
    </message>
</context>
<context>
    <name>Launch</name>
    <message>
        <source>%1.exe path is empty</source>
        <extracomment>%1 is a short game name with a trailing blank, such as &quot;CS 1.6 &quot; or &quot;Steam &quot;.</extracomment>
        <translation>Не указан путь к %1.exe</translation>
    </message>
    <message>
        <source>Unknown game: %1</source>
        <translation>Неизвестная игра: %1</translation>
    </message>
    <message>
        <source>Server is full.  Connect now ?</source>
        <translation>Сервер заполнен. Всё равно подключиться?</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>NickName</source>
        <translation>Ник</translation>
    </message>
    <message>
        <source>Frags</source>
        <translation>Фраги</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>Правило</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Значение</translation>
    </message>
    <message>
        <source>Wait %1</source>
        <extracomment>The Scan button counts down the seconds before it can be pressed again.</extracomment>
        <translation>Ждём %1</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;Hide  (Shift+Alt+S)</source>
        <translation>&amp;Скрыть  (Shift+Alt+S)</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Настройки</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;О программе</translation>
    </message>
    <message>
        <source>Home &amp;page...</source>
        <translation>&amp;Домашняя страница...</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Играть</translation>
    </message>
    <message>
        <source>Auto connect</source>
        <extracomment>Tray message when auto-connect starts the game; %1 is ADDRESS:PORT.</extracomment>
        <translation>Автоподключение</translation>
    </message>
    <message>
        <source>Add To Favorites</source>
        <translation>Добавить в избранное</translation>
    </message>
    <message>
        <source>Copy Address</source>
        <translation>Копировать адрес</translation>
    </message>
    <message>
        <source>Copy Steam Link</source>
        <translation>Копировать ссылку Steam</translation>
    </message>
    <message>
        <source>Servers</source>
        <translation>Серверы</translation>
    </message>
    <message>
        <source>Scan port:</source>
        <translation>Порт поиска:</translation>
    </message>
    <message>
        <source>G a m e</source>
        <extracomment>The game port, its letters spaced out to match the width of &quot;HLTV&quot; beside it.</extracomment>
        <translation>И г р а</translation>
    </message>
    <message>
        <source>Game port</source>
        <translation>Игровой порт</translation>
    </message>
    <message>
        <source>HLTV port</source>
        <translation>Порт HLTV</translation>
    </message>
    <message>
        <source>Scan progress</source>
        <translation>Ход поиска</translation>
    </message>
    <message>
        <source>Scan for servers</source>
        <translation>Искать серверы</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>Stop scanning</source>
        <translation>Остановить поиск</translation>
    </message>
    <message>
        <source>RF</source>
        <extracomment>Short for Refresh, on a narrow button.</extracomment>
        <translation>ОБН</translation>
    </message>
    <message>
        <source>Refresh the listed servers</source>
        <translation>Обновить серверы из списка</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Авто</translation>
    </message>
    <message>
        <source>ON/OFF Autoconnect</source>
        <translation>Автоподключение вкл/выкл</translation>
    </message>
    <message>
        <source>Join to server</source>
        <translation>Подключиться к серверу</translation>
    </message>
    <message>
        <source>Game</source>
        <translation>Игра</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Подробности</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Игроки</translation>
    </message>
    <message>
        <source>Rules</source>
        <translation>Правила</translation>
    </message>
    <message>
        <source>Activity</source>
        <translation>Действие</translation>
    </message>
    <message>
        <source>Targets sent</source>
        <translation>Отправлено запросов</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>Show  (Shift+Alt+S)</source>
        <translation>Показать  (Shift+Alt+S)</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Joining %1</source>
        <translation>Подключаемся к %1</translation>
    </message>
    <message>
        <source> Autoscan enabled</source>
        <translation> Автопоиск включён</translation>
    </message>
    <message>
        <source> Autoscan disabled</source>
        <translation> Автопоиск выключен</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
</context>
<context>
    <name>PasswordDialog</name>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Show password</source>
        <translation>Показать пароль</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Enter password:</source>
        <translation>Введите пароль:</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>Vantor cannot open its UDP socket (%1), so it cannot ask any server. It ends now.</source>
        <extracomment>At start, when no UDP socket can be had; %1 is the system&apos;s reason.</extracomment>
        <translation>Vantor не может открыть UDP-сокет (%1), поэтому не может опросить ни один сервер. Программа будет закрыта.</translation>
    </message>
</context>
<context>
    <name>QuickFilter</name>
    <message>
        <source>Filter</source>
        <translation>Фильтр</translation>
    </message>
    <message>
        <source>Filter (Ctrl+F)</source>
        <translation>Фильтр (Ctrl+F)</translation>
    </message>
    <message>
        <source>Show only the servers whose name, map or address holds this text</source>
        <translation>Показывать только серверы, в имени, карте или адресе которых есть этот текст</translation>
    </message>
    <message>
        <source>Hide empty</source>
        <translation>Скрыть пустые</translation>
    </message>
    <message>
        <source>Hide full</source>
        <translation>Скрыть полные</translation>
    </message>
    <message>
        <source>Hide password</source>
        <translation>Скрыть с паролем</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <extracomment>Servers shown of servers listed while the filter hides some.</extracomment>
        <translation>%1 из %2</translation>
    </message>
</context>
<context>
    <name>ScanStatus</name>
    <message>
        <source>Port %1 is busy, using %2</source>
        <extracomment>Status bar: the local UDP port %1 is taken, so the port %2 is used instead.</extracomment>
        <translation>Порт %1 занят, используется %2</translation>
    </message>
    <message>
        <source> Autoscaning...</source>
        <translation> Автопоиск...</translation>
    </message>
    <message>
        <source>IP ranges, Favorites list is empty and Broadcast is disabled. Please set it in Options.</source>
        <translation>Нет ни диапазонов IP, ни избранного, а широковещание выключено. Задайте их в настройках.</translation>
    </message>
    <message>
        <source>Game port is empty. Please set it in Options.</source>
        <translation>Не указан игровой порт. Задайте его в настройках.</translation>
    </message>
    <message>
        <source>HLTV port is empty. Please set it in Options.</source>
        <translation>Не указан порт HLTV. Задайте его в настройках.</translation>
    </message>
    <message>
        <source> Scan complete</source>
        <translation> Поиск готов</translation>
    </message>
    <message>
        <source> Scan stoped</source>
        <translation> Остановлено</translation>
    </message>
    <message>
        <source> Refresh complete</source>
        <translation> Обновлено</translation>
    </message>
    <message>
        <source> Network error...</source>
        <translation> Ошибка сети...</translation>
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
        <translation>%1 (воспроизведение демо)</translation>
    </message>
    <message>
        <source>Unrecognised game</source>
        <translation>Неизвестная игра</translation>
    </message>
    <message numerus="yes">
        <source>%n player</source>
        <translation>
            <numerusform>%n игрок</numerusform>
            <numerusform>%n игрока</numerusform>
            <numerusform>%n игроков</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n players</source>
        <translation>
            <numerusform>%n игрок</numerusform>
            <numerusform>%n игрока</numerusform>
            <numerusform>%n игроков</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <extracomment>Tooltip of the Players cell: %1 &quot;12 players&quot;, %2 the maximum.</extracomment>
        <translation>%1 из %2</translation>
    </message>
    <message numerus="yes">
        <source>%n bot</source>
        <translation>
            <numerusform>%n бот</numerusform>
            <numerusform>%n бота</numerusform>
            <numerusform>%n ботов</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n bots</source>
        <translation>
            <numerusform>%n бот</numerusform>
            <numerusform>%n бота</numerusform>
            <numerusform>%n ботов</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2) of %3</source>
        <extracomment>Tooltip of the Players cell: %1 &quot;12 players&quot;, %2 &quot;3 bots&quot;, %3 the maximum.</extracomment>
        <translation>%1 (%2) из %3</translation>
    </message>
    <message>
        <source>Room free</source>
        <translation>Есть места</translation>
    </message>
    <message>
        <source>Password required</source>
        <translation>Нужен пароль</translation>
    </message>
    <message>
        <source>Waiting for an answer</source>
        <translation>Ждём ответа</translation>
    </message>
    <message>
        <source>Server full</source>
        <translation>Сервер заполнен</translation>
    </message>
    <message>
        <source>Game</source>
        <extracomment>Column captions of the server list: PT the protocol version, OS the operating system, A the access (free, full, password).</extracomment>
        <translation>Игра</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Адрес</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <source>PT</source>
        <translation>ВП</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Карта</translation>
    </message>
    <message>
        <source>OS</source>
        <translation>ОС</translation>
    </message>
    <message>
        <source>A</source>
        <translation>Д</translation>
    </message>
    <message>
        <source>Ping</source>
        <translation>Пинг</translation>
    </message>
    <message>
        <source>Server name</source>
        <translation>Имя сервера</translation>
    </message>
    <message>
        <source>Protocol version</source>
        <translation>Версия протокола</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Игроки</translation>
    </message>
    <message>
        <source>Operating system</source>
        <translation>Операционная система</translation>
    </message>
    <message>
        <source>Access</source>
        <translation>Доступ</translation>
    </message>
    <message>
        <source>Round-trip time of the info query, in milliseconds</source>
        <translation>Время ответа на запрос информации, в миллисекундах</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>All files (*)</source>
        <translation>Все файлы (*)</translation>
    </message>
    <message>
        <source>Bad address</source>
        <translation>Неверный адрес</translation>
    </message>
    <message>
        <source>This address is already exist</source>
        <translation>Этот адрес уже есть в списке</translation>
    </message>
    <message>
        <source>IP - Address</source>
        <translation>IP-адрес</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <source>Incorrect IP range</source>
        <translation>Неверный диапазон IP</translation>
    </message>
    <message>
        <source>IP range incorrect or very big</source>
        <translation>Диапазон IP неверен или слишком велик</translation>
    </message>
    <message>
        <source>IP range exist</source>
        <translation>Такой диапазон IP уже есть</translation>
    </message>
    <message numerus="yes">
        <source>The range count in %1 is not a number; read %n ranges.</source>
        <translation>
            <numerusform>Число диапазонов в %1 записано не числом; прочитан %n диапазон.</numerusform>
            <numerusform>Число диапазонов в %1 записано не числом; прочитано %n диапазона.</numerusform>
            <numerusform>Число диапазонов в %1 записано не числом; прочитано %n диапазонов.</numerusform>
        </translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Основные</translation>
    </message>
    <message>
        <source>Games</source>
        <translation>Игры</translation>
    </message>
    <message>
        <source>Scan settings</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Favorites</source>
        <translation>Избранное</translation>
    </message>
    <message>
        <source>Show only</source>
        <translation>Показывать только</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Добавить</translation>
    </message>
    <message>
        <source>Add favorite</source>
        <translation>Добавить в избранное</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Delete favorite</source>
        <translation>Удалить из избранного</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>Сервер:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Порт:</translation>
    </message>
    <message>
        <source>Auto scan</source>
        <translation>Автопоиск</translation>
    </message>
    <message>
        <source>Interval (sec)</source>
        <translation>Интервал (с)</translation>
    </message>
    <message>
        <source>Game</source>
        <translation>Игра</translation>
    </message>
    <message>
        <source>No Steam</source>
        <translation>Без Steam</translation>
    </message>
    <message>
        <source>Exe path:</source>
        <translation>Путь к exe:</translation>
    </message>
    <message>
        <source>Steam path:</source>
        <translation>Путь к Steam:</translation>
    </message>
    <message>
        <source>Exe path</source>
        <translation>Путь к exe</translation>
    </message>
    <message>
        <source>Find file</source>
        <translation>Найти файл</translation>
    </message>
    <message>
        <source>Parameters:</source>
        <translation>Параметры:</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Сброс</translation>
    </message>
    <message>
        <source>Restore params ot default</source>
        <translation>Вернуть параметры по умолчанию</translation>
    </message>
    <message>
        <source>Parameter list</source>
        <translation>Список параметров</translation>
    </message>
    <message>
        <source>Append param</source>
        <translation>Добавить параметр</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Connect by double click</source>
        <translation>Подключаться двойным щелчком</translation>
    </message>
    <message>
        <source>Transparency</source>
        <translation>Прозрачность</translation>
    </message>
    <message>
        <source>Transparency level</source>
        <translation>Уровень прозрачности</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Язык:</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Автоматически</translation>
    </message>
    <message>
        <source>Takes effect at the next start of Vantor</source>
        <translation>Вступит в силу при следующем запуске Vantor</translation>
    </message>
    <message>
        <source>Steam path</source>
        <translation>Путь к Steam</translation>
    </message>
    <message>
        <source>The path holds a line break and cannot be stored.</source>
        <translation>Путь содержит перенос строки, его нельзя сохранить.</translation>
    </message>
    <message>
        <source>IP ranges</source>
        <translation>Диапазоны IP</translation>
    </message>
    <message>
        <source>From IP:</source>
        <translation>С IP:</translation>
    </message>
    <message>
        <source>To IP:</source>
        <translation>По IP:</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Выше</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Ниже</translation>
    </message>
    <message>
        <source>Ports:</source>
        <translation>Порты:</translation>
    </message>
    <message>
        <source>Game port</source>
        <translation>Игровой порт</translation>
    </message>
    <message>
        <source>HLTV port</source>
        <translation>Порт HLTV</translation>
    </message>
    <message>
        <source>Scan delay</source>
        <translation>Задержка поиска</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>мс</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Начальный адрес</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Конечный адрес</translation>
    </message>
    <message>
        <source>Add range</source>
        <translation>Добавить диапазон</translation>
    </message>
    <message>
        <source>Delete range</source>
        <translation>Удалить диапазон</translation>
    </message>
    <message>
        <source>Fill to 255</source>
        <translation>Заполнить до 255</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>С:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>По:</translation>
    </message>
    <message>
        <source>Broadcast</source>
        <translation>Широковещание</translation>
    </message>
    <message>
        <source>Scan old protocol servers</source>
        <translation>Искать серверы со старым протоколом</translation>
    </message>
    <message>
        <source>All CS1.5 and old CS1.6 servers</source>
        <translation>Все серверы CS1.5 и старые CS1.6</translation>
    </message>
    <message>
        <source>Settings pages</source>
        <translation>Страницы настроек</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>no network card that can broadcast</source>
        <extracomment>The settings dialog&apos;s line of broadcast addresses when there are none.</extracomment>
        <translation>нет сетевой карты, способной к широковещанию</translation>
    </message>
    <message>
        <source>Broadcast addresses</source>
        <translation>Широковещательные адреса</translation>
    </message>
    <message>
        <source>Also broadcast to the LAN ports 27015–27019</source>
        <translation>Рассылать также на LAN-порты 27015–27019</translation>
    </message>
    <message>
        <source>Finds the second and third server on one machine; a scan on the HLTV port broadcasts to that port only</source>
        <translation>Находит второй и третий сервер на одной машине; поиск по порту HLTV рассылает только на этот порт</translation>
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
        <translation>использование: vantor [ПАРАМЕТР-QT]...
               vantor --help | --version

Находит запущенные игровые серверы на движках Half-Life 1 и Source в локальной
сети, показывает их вместе с игроками и правилами и запускает игру,
подключённую к выбранному серверу.

  -h, --help    показать эту справку и выйти
  --version     показать версию и выйти

Принимаются и собственные параметры Qt, например -platform ИМЯ,
-display ДИСПЛЕЙ или -style ИМЯ.

Настройки хранятся в vantor.ini рядом с программой, если этот файл есть или
в папку можно писать и она не из установленных (/usr, /opt или папка
установки); иначе в $XDG_CONFIG_HOME/vantor/vantor.ini
(~/.config/vantor/vantor.ini).
</translation>
    </message>
</context>
</TS>
