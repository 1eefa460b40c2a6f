<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AboutWindow</name>
    <message>
        <source>Version:</source>
        <translation>Версия:</translation>
    </message>
    <message>
        <source>Owned By:</source>
        <translation>Владелец:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Веб-сайт:</translation>
    </message>
    <message>
        <source>Open the website in your web browser</source>
        <translation>Открыть веб-сайт в браузере</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>О программе %1</translation>
    </message>
</context>
<context>
    <name>AutoInsertController</name>
    <message>
        <source>Auto-Insert Error</source>
        <translation>Ошибка автовставки</translation>
    </message>
    <message>
        <source>Could not auto-insert your message.  Try pasting instead.</source>
        <translation>Не удалось автоматически вставить сообщение.  Попробуйте вставить его вручную.</translation>
    </message>
    <message>
        <source>Auto-Insert</source>
        <translation>Автовставка</translation>
    </message>
    <message>
        <source>Your message is in the page&apos;s editor, but the editor changed it, and its links may be missing. Look it over before you send it.</source>
        <translation>Ваше сообщение находится в редакторе страницы, но редактор изменил его, и ссылки в нём могут отсутствовать. Проверьте его перед отправкой.</translation>
    </message>
</context>
<context>
    <name>BrowserPage</name>
    <message>
        <source>Opening page %1...</source>
        <translation>Открывается страница %1…</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Готово</translation>
    </message>
</context>
<context>
    <name>BrowserPane</name>
    <message>
        <source>Browser</source>
        <translation>Браузер</translation>
    </message>
    <message>
        <source>UR&amp;L:</source>
        <translation>&amp;Адрес:</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>Перейти</translation>
    </message>
    <message>
        <source>browse the entered url</source>
        <translation>открыть введённый адрес</translation>
    </message>
    <message>
        <source>back</source>
        <translation>назад</translation>
    </message>
    <message>
        <source>forward</source>
        <translation>вперёд</translation>
    </message>
    <message>
        <source>stop</source>
        <translation>остановить</translation>
    </message>
    <message>
        <source>refresh</source>
        <translation>обновить</translation>
    </message>
    <message>
        <source>No Popups</source>
        <translation>Без всплывающих окон</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Веб-страница</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Подключение</translation>
    </message>
    <message>
        <source>Complete</source>
        <translation>Готово</translation>
    </message>
</context>
<context>
    <name>ButtonRow</name>
    <message>
        <source>Auto-Insert</source>
        <translation>Автовставка</translation>
    </message>
    <message>
        <source>Once you are on the page where you can post your message, click here to insert it.</source>
        <translation>Когда откроется страница, где можно написать сообщение, щёлкните здесь, чтобы вставить его.</translation>
    </message>
    <message>
        <source>Select the format you would like to use when your message is inserted.</source>
        <translation>Выберите формат, в котором будет вставлено сообщение.</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Формат</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Просмотр</translation>
    </message>
    <message>
        <source>See a preview of your message in the currently selected format</source>
        <translation>Посмотреть сообщение в выбранном формате</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Copy your message to the clipboard in the selected format</source>
        <translation>Скопировать сообщение в буфер обмена в выбранном формате</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Save the current message</source>
        <translation>Сохранить текущее сообщение</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Загрузить</translation>
    </message>
    <message>
        <source>Load a saved message</source>
        <translation>Загрузить сохранённое сообщение</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>Visit</source>
        <translation>Посетить</translation>
    </message>
    <message>
        <source>Visit us!</source>
        <translation>Посетите нас!</translation>
    </message>
    <message>
        <source>Visit %1</source>
        <translation>Посетить %1</translation>
    </message>
</context>
<context>
    <name>ClosedChecks</name>
    <message>
        <source>systemctl --user %1 failed: %2</source>
        <translation>systemctl --user %1 завершилась с ошибкой: %2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Post messages to web forums and watch your posts for replies.</source>
        <translation>Публикация сообщений на веб-форумах и отслеживание ответов на них.</translation>
    </message>
    <message>
        <source>Keep the data and settings beside the executable instead of in your home folder (as a file named &quot;portable&quot; there does).</source>
        <translation>Хранить данные и настройки рядом с исполняемым файлом, а не в домашней папке (как и файл с именем «portable» рядом с ним).</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Неожиданный аргумент: %1</translation>
    </message>
    <message>
        <source>Try &quot;%1 --help&quot;.</source>
        <translation>Попробуйте «%1 --help».</translation>
    </message>
    <message>
        <source>Check your posts for new replies without a window, then end. Exit status: 0 no new replies, 1 new replies, 2 the check could not run, 3 Postavo is open and checks there.</source>
        <translation>Проверить ваши сообщения на новые ответы без окна и завершиться. Код выхода: 0 новых ответов нет, 1 есть новые ответы, 2 проверку не удалось выполнить, 3 Postavo открыт и проверяет сам.</translation>
    </message>
    <message>
        <source>With --check: print nothing.</source>
        <translation>С --check: ничего не выводить.</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>Could not copy %1 to %2.</source>
        <translation>Не удалось скопировать %1 в %2.</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>папка не существует</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Показать</translation>
    </message>
</context>
<context>
    <name>ForumPanel</name>
    <message>
        <source>Add Current URL</source>
        <translation>Добавить текущий адрес</translation>
    </message>
    <message>
        <source>Remove URL</source>
        <translation>Удалить адрес</translation>
    </message>
    <message>
        <source>&amp;Username:</source>
        <translation>&amp;Имя пользователя:</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Вставить</translation>
    </message>
    <message>
        <source>Click within the Username field on the form you want to paste into, then click here.</source>
        <translation>Щёлкните в поле имени пользователя в форме, куда нужно вставить текст, затем щёлкните здесь.</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Пароль:</translation>
    </message>
    <message>
        <source>Click within the Password field on the form you want to paste into, then click here.</source>
        <translation>Щёлкните в поле пароля в форме, куда нужно вставить текст, затем щёлкните здесь.</translation>
    </message>
    <message>
        <source>Your forums</source>
        <translation>Ваши форумы</translation>
    </message>
    <message>
        <source>Paste Username</source>
        <translation>Вставить имя пользователя</translation>
    </message>
    <message>
        <source>Paste Password</source>
        <translation>Вставить пароль</translation>
    </message>
    <message>
        <source>Your forums list is full</source>
        <translation>Список ваших форумов заполнен</translation>
    </message>
</context>
<context>
    <name>HeadlessCheck</name>
    <message>
        <source>Postavo cannot write its data folder %1: %2.</source>
        <translation>Postavo не может записывать в папку данных %1: %2.</translation>
    </message>
    <message>
        <source>Postavo is open: its window checks your posts now.</source>
        <translation>Postavo открыт: сейчас ваши сообщения проверяет его окно.</translation>
    </message>
    <message>
        <source>Postavo could not read these files:
%1</source>
        <translation>Postavo не смог прочитать эти файлы:
%1</translation>
    </message>
    <message>
        <source>No posts are watched.</source>
        <translation>Нет отслеживаемых сообщений.</translation>
    </message>
    <message>
        <source>The check was stopped; what it measured is kept.</source>
        <translation>Проверка остановлена; то, что она успела измерить, сохранено.</translation>
    </message>
    <message>
        <source>Checked: %1. With new replies: %2. Could not be checked: %3.</source>
        <translation>Проверено: %1. С новыми ответами: %2. Не удалось проверить: %3.</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Show at Startup</source>
        <translation>Показывать при запуске</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>The help text could not be read from %1:
%2</source>
        <translation>Не удалось прочитать справку из %1:
%2</translation>
    </message>
    <message>
        <source>Readme/Help</source>
        <translation>Описание/Справка</translation>
    </message>
</context>
<context>
    <name>ListKeeper</name>
    <message>
        <source>There was an error saving your logins.</source>
        <translation>При сохранении учётных данных произошла ошибка.</translation>
    </message>
    <message>
        <source>Error Number </source>
        <translation>Номер ошибки </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Your Forums</source>
        <translation>Ваши форумы</translation>
    </message>
    <message>
        <source>Your Posts</source>
        <translation>Ваши сообщения</translation>
    </message>
    <message>
        <source>Postavo keeps its lists and messages in the folder
%1
but cannot write there: %2.

The program will now close.</source>
        <translation>Postavo хранит списки и сообщения в папке
%1
но не может туда записывать: %2.

Программа будет закрыта.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;New Message</source>
        <translation>&amp;Новое сообщение</translation>
    </message>
    <message>
        <source>&amp;Save Message</source>
        <translation>&amp;Сохранить сообщение</translation>
    </message>
    <message>
        <source>&amp;Load Message</source>
        <translation>&amp;Загрузить сообщение</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Инструменты</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Просмотр</translation>
    </message>
    <message>
        <source>Auto &amp;Insert</source>
        <translation>Авто&amp;вставка</translation>
    </message>
    <message>
        <source>&amp;Check Replies</source>
        <translation>Проверить &amp;ответы</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Параметры</translation>
    </message>
    <message>
        <source>Paste Message</source>
        <translation>Вставить сообщение</translation>
    </message>
    <message>
        <source>Paste Subject</source>
        <translation>Вставить тему</translation>
    </message>
    <message>
        <source>Paste Username</source>
        <translation>Вставить имя пользователя</translation>
    </message>
    <message>
        <source>Paste Password</source>
        <translation>Вставить пароль</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <source>&amp;Saved Messages</source>
        <translation>&amp;Сохранённые сообщения</translation>
    </message>
    <message>
        <source>&amp;All posts</source>
        <translation>&amp;Все сообщения</translation>
    </message>
    <message>
        <source>&amp;Replies</source>
        <translation>&amp;Ответы</translation>
    </message>
    <message>
        <source>&amp;Templates</source>
        <translation>&amp;Шаблоны</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>View &amp;Help</source>
        <translation>Открыть &amp;справку</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>About this software</source>
        <translation>Об этой программе</translation>
    </message>
    <message>
        <source>%1 by %2</source>
        <translation>%1 от %2</translation>
    </message>
    <message>
        <source>Postavo could not read these files:
%1

They are left as they are: this session will not write over them.</source>
        <translation>Postavo не удалось прочитать эти файлы:
%1

Они оставлены как есть: в этом сеансе они не будут перезаписаны.</translation>
    </message>
    <message>
        <source>Message editor and lists</source>
        <translation>Редактор сообщений и списки</translation>
    </message>
    <message>
        <source>Message editor and browser</source>
        <translation>Редактор сообщений и браузер</translation>
    </message>
</context>
<context>
    <name>MessagePanel</name>
    <message>
        <source>Message Editor</source>
        <translation>Редактор сообщений</translation>
    </message>
    <message>
        <source>&amp;Subject:</source>
        <translation>&amp;Тема:</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Вставить</translation>
    </message>
    <message>
        <source>Click within the Subject field on the form you want to paste into, then click here.</source>
        <translation>Щёлкните в поле темы в форме, куда нужно вставить текст, затем щёлкните здесь.</translation>
    </message>
    <message>
        <source>&amp;Message:</source>
        <translation>&amp;Сообщение:</translation>
    </message>
    <message>
        <source>Paste Message</source>
        <translation>Вставить сообщение</translation>
    </message>
    <message>
        <source>Click within the message area on the form you want to paste into, then click here.</source>
        <translation>Щёлкните в области сообщения в форме, куда нужно вставить текст, затем щёлкните здесь.</translation>
    </message>
    <message>
        <source>Paste Subject</source>
        <translation>Вставить тему</translation>
    </message>
    <message>
        <source>Your message could not be saved to
%1

%2</source>
        <translation>Не удалось сохранить сообщение в
%1

%2</translation>
    </message>
</context>
<context>
    <name>MessagePicker</name>
    <message>
        <source>Saved messages</source>
        <translation>Сохранённые сообщения</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>Your saved messages could not be read from
%1

%2</source>
        <translation>Не удалось прочитать сохранённые сообщения из
%1

%2</translation>
    </message>
    <message>
        <source>The message could not be deleted from
%1

%2</source>
        <translation>Не удалось удалить сообщение из
%1

%2</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Name</source>
        <translation>Название</translation>
    </message>
    <message>
        <source>Link Open</source>
        <translation>Начало ссылки</translation>
    </message>
    <message>
        <source>Link Middle</source>
        <translation>Середина ссылки</translation>
    </message>
    <message>
        <source>Link End</source>
        <translation>Конец ссылки</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>Эл. почта</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>del</source>
        <translation>удал.</translation>
    </message>
    <message>
        <source>Empty this row</source>
        <translation>Очистить эту строку</translation>
    </message>
    <message>
        <source>Empty row %1</source>
        <translation>Очистить строку %1</translation>
    </message>
    <message>
        <source>Enable changing of default templates</source>
        <translation>Разрешить изменение стандартных шаблонов</translation>
    </message>
    <message>
        <source>When checking for new replies, look for an increase in the size of the page by this many bytes:</source>
        <translation>При проверке новых ответов считать признаком увеличение размера страницы на столько байт:</translation>
    </message>
    <message>
        <source>Reply threshold in bytes</source>
        <translation>Порог ответа в байтах</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>байт</translation>
    </message>
    <message>
        <source>While Postavo runs, &amp;check for new replies:</source>
        <translation>Пока Postavo работает, &amp;проверять новые ответы:</translation>
    </message>
    <message>
        <source>Check for new replies while Postavo runs</source>
        <translation>Проверять новые ответы, пока Postavo работает</translation>
    </message>
    <message>
        <source>Never (only when asked)</source>
        <translation>Никогда (только по запросу)</translation>
    </message>
    <message>
        <source>Every %1 minutes</source>
        <translation>Каждые %1 мин</translation>
    </message>
    <message>
        <source>Every hour</source>
        <translation>Каждый час</translation>
    </message>
    <message>
        <source>Every %1 hours</source>
        <translation>Каждые %1 ч</translation>
    </message>
    <message>
        <source>Save and Close</source>
        <translation>Сохранить и закрыть</translation>
    </message>
    <message>
        <source>C&amp;lear Kept Page Texts...</source>
        <translation>О&amp;чистить сохранённые тексты страниц...</translation>
    </message>
    <message>
        <source>Clear kept page texts</source>
        <translation>Очистить сохранённые тексты страниц</translation>
    </message>
    <message>
        <source>Postavo keeps the text of your posts&apos; pages, on this computer only, to show what new replies say.</source>
        <translation>Postavo хранит текст страниц ваших сообщений только на этом компьютере, чтобы показывать, что говорят новые ответы.</translation>
    </message>
    <message>
        <source>Clear Kept Page Texts</source>
        <translation>Очистить сохранённые тексты страниц</translation>
    </message>
    <message>
        <source>Forget the texts Postavo kept of your posts&apos; pages?

The sizes stay. Until a page is measured again, a check can tell that it has new replies but not what they say.</source>
        <translation>Забыть сохранённые тексты страниц ваших сообщений?

Размеры останутся. Пока страница не измерена заново, проверка может сообщить о новых ответах, но не о том, что в них сказано.</translation>
    </message>
    <message>
        <source>Some kept page texts could not be removed from %1.</source>
        <translation>Некоторые сохранённые тексты страниц не удалось удалить из %1.</translation>
    </message>
    <message>
        <source>Also check when Postavo is &amp;closed</source>
        <translation>Проверять и когда Postavo &amp;закрыт</translation>
    </message>
    <message>
        <source>A timer of your session runs the check as often as above while Postavo is closed.</source>
        <translation>Таймер вашего сеанса запускает проверку так же часто, как указано выше, пока Postavo закрыт.</translation>
    </message>
    <message>
        <source>This session has no user service manager (systemd) to run checks while Postavo is closed.</source>
        <translation>В этом сеансе нет пользовательского диспетчера служб (systemd), чтобы проверять, пока Postavo закрыт.</translation>
    </message>
    <message>
        <source>Checks while Postavo is closed</source>
        <translation>Проверки при закрытом Postavo</translation>
    </message>
</context>
<context>
    <name>PageFailures</name>
    <message>
        <source>Not a web page address</source>
        <translation>Это не адрес веб-страницы</translation>
    </message>
    <message>
        <source>Unknown host</source>
        <translation>Неизвестный узел</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>Соединение отклонено</translation>
    </message>
    <message>
        <source>No answer</source>
        <translation>Нет ответа</translation>
    </message>
    <message>
        <source>Certificate problem</source>
        <translation>Проблема с сертификатом</translation>
    </message>
    <message>
        <source>Connection broken off</source>
        <translation>Соединение прервано</translation>
    </message>
    <message>
        <source>Too many redirects</source>
        <translation>Слишком много перенаправлений</translation>
    </message>
    <message>
        <source>Server error: status %1</source>
        <translation>Ошибка сервера: код %1</translation>
    </message>
    <message>
        <source>Closed without a reply</source>
        <translation>Закрыто без ответа</translation>
    </message>
    <message>
        <source>Not a web server&apos;s reply</source>
        <translation>Это не ответ веб-сервера</translation>
    </message>
    <message>
        <source>Page cut short</source>
        <translation>Страница оборвана</translation>
    </message>
    <message>
        <source>The forum asks for a browser check: open the post once in Postavo&apos;s browser, then check again.</source>
        <translation>Форум требует проверки браузера: откройте сообщение один раз в браузере Postavo, затем проверьте снова.</translation>
    </message>
    <message>
        <source>Not your thread&apos;s page now: signed out?</source>
        <translation>Это уже не страница вашей темы: вы вышли из учётной записи?</translation>
    </message>
</context>
<context>
    <name>PageTransport</name>
    <message>
        <source>1 second</source>
        <translation>1 с</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 с</translation>
    </message>
    <message>
        <source>The server closed the connection before it was secured</source>
        <translation>Сервер закрыл соединение до установки защиты</translation>
    </message>
    <message>
        <source>The page did not end within %1</source>
        <translation>Страница не загрузилась полностью за %1</translation>
    </message>
    <message>
        <source>No connection within %1</source>
        <translation>Нет соединения в течение %1</translation>
    </message>
    <message>
        <source>Nothing arrived for %1</source>
        <translation>Ничего не приходило в течение %1</translation>
    </message>
</context>
<context>
    <name>PostResult</name>
    <message>
        <source>New replies: grew by %1 bytes</source>
        <translation>Новые ответы: страница выросла на %1 байт</translation>
    </message>
    <message>
        <source>No new replies</source>
        <translation>Нет новых ответов</translation>
    </message>
    <message>
        <source>Not measured before: size taken now (%1 bytes)</source>
        <translation>Ранее не измерялась: размер записан сейчас (%1 байт)</translation>
    </message>
    <message>
        <source>New replies on the next page: %1</source>
        <translation>Новые ответы на следующей странице: %1</translation>
    </message>
    <message>
        <source>Your post is no longer on this page</source>
        <translation>Вашего сообщения больше нет на этой странице</translation>
    </message>
    <message>
        <source>Your post is now shown</source>
        <translation>Ваше сообщение теперь показано</translation>
    </message>
    <message>
        <source>Measured again as your browser sees it (%1 bytes)</source>
        <translation>Измерено заново так, как страницу видит ваш браузер (%1 байт)</translation>
    </message>
    <message>
        <source>The thread&apos;s next page %1: %2</source>
        <translation>Следующая страница темы %1: %2</translation>
    </message>
</context>
<context>
    <name>PostsPanel</name>
    <message>
        <source>Watch This Post</source>
        <translation>Следить за сообщением</translation>
    </message>
    <message>
        <source>Remove Watch</source>
        <translation>Не следить</translation>
    </message>
    <message>
        <source>Check for replies</source>
        <translation>Проверить ответы</translation>
    </message>
    <message>
        <source>Show All</source>
        <translation>Показать все</translation>
    </message>
    <message>
        <source>New Replies </source>
        <translation>Новые ответы </translation>
    </message>
    <message>
        <source>Your posts</source>
        <translation>Ваши сообщения</translation>
    </message>
    <message>
        <source>New replies</source>
        <translation>Новые ответы</translation>
    </message>
    <message>
        <source>There is no page to watch</source>
        <translation>Нет страницы для наблюдения</translation>
    </message>
    <message>
        <source>Your posts list is full</source>
        <translation>Список ваших сообщений заполнен</translation>
    </message>
    <message numerus="yes">
        <source>Measured again as your browser sees them: %n posts</source>
        <translation>
            <numerusform>Измерено заново так, как их видит ваш браузер: %n сообщение</numerusform>
            <numerusform>Измерено заново так, как их видит ваш браузер: %n сообщения</numerusform>
            <numerusform>Измерено заново так, как их видит ваш браузер: %n сообщений</numerusform>
        </translation>
    </message>
    <message>
        <source>Postavo&apos;s check gets another page than your browser shows: a sign-in page?</source>
        <translation>Проверка Postavo получает не ту страницу, что показывает ваш браузер: страницу входа?</translation>
    </message>
    <message>
        <source>Its size would not tell of new replies. Sign in again, or watch the page anyway and open it once when the check says it is not your thread&apos;s page.</source>
        <translation>Её размер ничего не скажет о новых ответах. Войдите снова или всё равно следите за страницей и откройте её один раз, когда проверка сообщит, что это не страница вашей темы.</translation>
    </message>
    <message>
        <source>Watch Anyway</source>
        <translation>Всё равно следить</translation>
    </message>
    <message>
        <source>Choose a post above to read what its replies say.</source>
        <translation>Выберите сообщение выше, чтобы прочитать ответы на него.</translation>
    </message>
    <message>
        <source>What the replies say</source>
        <translation>Что говорят ответы</translation>
    </message>
</context>
<context>
    <name>ProgramStart</name>
    <message>
        <source>Postavo now keeps your lists and messages in
%1

They were copied there from
%2
where the originals are left as they were. From now on Postavo uses the copies; delete the old files when you no longer need them.</source>
        <translation>Теперь Postavo хранит ваши списки и сообщения в
%1

Они скопированы туда из
%2
где оригиналы остались без изменений. Отныне Postavo использует копии; удалите старые файлы, когда они станут не нужны.</translation>
    </message>
</context>
<context>
    <name>RedirectPolicy</name>
    <message>
        <source>Redirected to an address that is not a web page</source>
        <translation>Перенаправление на адрес, который не является веб-страницей</translation>
    </message>
    <message>
        <source>Redirected more than %1 times</source>
        <translation>Более %1 перенаправлений</translation>
    </message>
    <message>
        <source>Redirected in a loop</source>
        <translation>Перенаправление по кругу</translation>
    </message>
</context>
<context>
    <name>ReplyNotice</name>
    <message numerus="yes">
        <source>New replies to %n of your posts</source>
        <translation>
            <numerusform>Новые ответы на %n ваше сообщение</numerusform>
            <numerusform>Новые ответы на %n ваших сообщения</numerusform>
            <numerusform>Новые ответы на %n ваших сообщений</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>и ещё %n</numerusform>
            <numerusform>и ещё %n</numerusform>
            <numerusform>и ещё %n</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>«%1»</translation>
    </message>
</context>
<context>
    <name>ResponseReader</name>
    <message>
        <source>%1 of %2 bytes</source>
        <translation>%1 из %2 байт</translation>
    </message>
    <message>
        <source>the last chunk never came</source>
        <translation>последний фрагмент так и не пришёл</translation>
    </message>
    <message>
        <source>the header never ended</source>
        <translation>заголовок так и не закончился</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>no room for a scratch file</source>
        <translation>нет места для временного файла</translation>
    </message>
</context>
<context>
    <name>SplashWindow</name>
    <message>
        <source>Post to web forums, links and all.
Watch your posts for replies.</source>
        <translation>Публикуйте сообщения на веб-форумах вместе со ссылками.
Следите за ответами на свои сообщения.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Версия %1</translation>
    </message>
</context>
<context>
    <name>StartPage</name>
    <message>
        <source>Type a subject and your message in the editor on the left. Put http:// in front of every web address.</source>
        <translation>Введите тему и сообщение в редакторе слева. Ставьте http:// перед каждым веб-адресом.</translation>
    </message>
    <message>
        <source>Choose the forum&apos;s markup in the format selector at the top, and press Preview to see what the forum will receive.</source>
        <translation>Выберите разметку форума в списке форматов вверху и нажмите «Просмотр», чтобы увидеть, что получит форум.</translation>
    </message>
    <message>
        <source>Type the forum&apos;s address in the URL: box above this page and press Go.</source>
        <translation>Введите адрес форума в поле «Адрес:» над этой страницей и нажмите «Перейти».</translation>
    </message>
    <message>
        <source>On the Your Forums tab press Add Current URL, then type your user name and password below the list.</source>
        <translation>На вкладке «Ваши форумы» нажмите «Добавить текущий адрес», затем введите имя пользователя и пароль под списком.</translation>
    </message>
    <message>
        <source>Open the forum&apos;s page for a new post and press Auto-Insert. Submit the form: Postavo adds your new post to Your Posts by itself.</source>
        <translation>Откройте страницу форума для нового сообщения и нажмите «Автовставка». Отправьте форму: Postavo сам добавит новое сообщение в «Ваши сообщения».</translation>
    </message>
    <message>
        <source>Welcome to %1</source>
        <translation>Добро пожаловать в %1</translation>
    </message>
    <message>
        <source>The website could not be reached, so this page comes with the program and works offline.</source>
        <translation>Веб-сайт недоступен, поэтому показана встроенная страница программы, которая работает без сети.</translation>
    </message>
    <message>
        <source>How to begin</source>
        <translation>С чего начать</translation>
    </message>
    <message>
        <source>The whole guide is under Help in the menu.</source>
        <translation>Полное руководство — в меню «Справка».</translation>
    </message>
    <message>
        <source>Your forums</source>
        <translation>Ваши форумы</translation>
    </message>
    <message>
        <source>No forums yet: open a forum and press Add Current URL on the Your Forums tab.</source>
        <translation>Форумов пока нет: откройте форум и нажмите «Добавить текущий адрес» на вкладке «Ваши форумы».</translation>
    </message>
    <message>
        <source>Posts with new replies</source>
        <translation>Сообщения с новыми ответами</translation>
    </message>
    <message>
        <source>None found yet: press Check for replies on the Your Posts tab.</source>
        <translation>Пока не найдено: нажмите «Проверить ответы» на вкладке «Ваши сообщения».</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>Веб-сайт</translation>
    </message>
</context>
<context>
    <name>TrayPresence</name>
    <message>
        <source>Show %1</source>
        <translation>Показать %1</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>В&amp;ыход</translation>
    </message>
    <message>
        <source>Keep Postavo running in the system tray?

It goes on checking your posts for replies and tells you when someone answers. Its tray icon brings the window back; Exit in the icon&apos;s menu ends it.

Postavo asks this once.</source>
        <translation>Оставить Postavo работать в системном лотке?

Программа продолжит проверять ваши сообщения и сообщит, когда кто-нибудь ответит. Значок в лотке возвращает окно; «Выход» в меню значка завершает программу.

Postavo спросит об этом только один раз.</translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>Could not save %1: %2</source>
        <translation>Не удалось сохранить %1: %2</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Another Postavo is writing the lists in
%1
and does not let go.</source>
        <translation>Другой экземпляр Postavo записывает списки в
%1
и не освобождает их.</translation>
    </message>
</context>
</TS>
