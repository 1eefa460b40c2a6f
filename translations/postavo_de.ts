<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutWindow</name>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Owned By:</source>
        <translation>Inhaber:</translation>
    </message>
    <message>
        <source>Website:</source>
        <translation>Website:</translation>
    </message>
    <message>
        <source>Open the website in your web browser</source>
        <translation>Die Website im Webbrowser öffnen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
</context>
<context>
    <name>AutoInsertController</name>
    <message>
        <source>Auto-Insert Error</source>
        <translation>Fehler beim Auto-Einfügen</translation>
    </message>
    <message>
        <source>Could not auto-insert your message.  Try pasting instead.</source>
        <translation>Ihre Nachricht konnte nicht automatisch eingefügt werden.  Versuchen Sie es stattdessen mit Einfügen.</translation>
    </message>
    <message>
        <source>Auto-Insert</source>
        <translation>Auto-Einfügen</translation>
    </message>
    <message>
        <source>Your message is in the page&apos;s editor, but the editor changed it, and its links may be missing. Look it over before you send it.</source>
        <translation>Ihre Nachricht steht im Editor der Seite, doch der Editor hat sie verändert, und ihre Links fehlen vielleicht. Sehen Sie sie durch, bevor Sie sie absenden.</translation>
    </message>
</context>
<context>
    <name>BrowserPage</name>
    <message>
        <source>Opening page %1...</source>
        <translation>Seite %1 wird geöffnet …</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>BrowserPane</name>
    <message>
        <source>Browser</source>
        <translation>Browser</translation>
    </message>
    <message>
        <source>UR&amp;L:</source>
        <translation>&amp;Adresse:</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>Los</translation>
    </message>
    <message>
        <source>browse the entered url</source>
        <translation>eingegebene Adresse öffnen</translation>
    </message>
    <message>
        <source>back</source>
        <translation>zurück</translation>
    </message>
    <message>
        <source>forward</source>
        <translation>vorwärts</translation>
    </message>
    <message>
        <source>stop</source>
        <translation>anhalten</translation>
    </message>
    <message>
        <source>refresh</source>
        <translation>neu laden</translation>
    </message>
    <message>
        <source>No Popups</source>
        <translation>Keine Pop-ups</translation>
    </message>
    <message>
        <source>Web page</source>
        <translation>Webseite</translation>
    </message>
    <message>
        <source>Connecting</source>
        <translation>Verbinde</translation>
    </message>
    <message>
        <source>Complete</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>ButtonRow</name>
    <message>
        <source>Auto-Insert</source>
        <translation>Auto-Einfügen</translation>
    </message>
    <message>
        <source>Once you are on the page where you can post your message, click here to insert it.</source>
        <translation>Sobald Sie auf der Seite sind, auf der Sie Ihre Nachricht schreiben können, klicken Sie hier, um sie einzufügen.</translation>
    </message>
    <message>
        <source>Select the format you would like to use when your message is inserted.</source>
        <translation>Wählen Sie das Format, in dem Ihre Nachricht eingefügt werden soll.</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>See a preview of your message in the currently selected format</source>
        <translation>Vorschau Ihrer Nachricht im gewählten Format</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy your message to the clipboard in the selected format</source>
        <translation>Ihre Nachricht im gewählten Format in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save the current message</source>
        <translation>Die aktuelle Nachricht speichern</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Load a saved message</source>
        <translation>Eine gespeicherte Nachricht laden</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Visit</source>
        <translation>Besuchen</translation>
    </message>
    <message>
        <source>Visit us!</source>
        <translation>Besuchen Sie uns!</translation>
    </message>
    <message>
        <source>Visit %1</source>
        <translation>%1 besuchen</translation>
    </message>
</context>
<context>
    <name>ClosedChecks</name>
    <message>
        <source>systemctl --user %1 failed: %2</source>
        <translation>systemctl --user %1 ist fehlgeschlagen: %2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Post messages to web forums and watch your posts for replies.</source>
        <translation>Nachrichten in Webforen schreiben und die eigenen Beiträge auf Antworten beobachten.</translation>
    </message>
    <message>
        <source>Keep the data and settings beside the executable instead of in your home folder (as a file named &quot;portable&quot; there does).</source>
        <translation>Daten und Einstellungen neben der ausführbaren Datei statt im Persönlichen Ordner speichern (wie eine dortige Datei namens „portable“).</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Unerwartetes Argument: %1</translation>
    </message>
    <message>
        <source>Try &quot;%1 --help&quot;.</source>
        <translation>Siehe „%1 --help“.</translation>
    </message>
    <message>
        <source>Check your posts for new replies without a window, then end. Exit status: 0 no new replies, 1 new replies, 2 the check could not run, 3 Postavo is open and checks there.</source>
        <translation>Ihre Beiträge ohne Fenster auf neue Antworten prüfen, dann beenden. Rückgabewert: 0 keine neuen Antworten, 1 neue Antworten, 2 die Prüfung konnte nicht laufen, 3 Postavo ist geöffnet und prüft dort.</translation>
    </message>
    <message>
        <source>With --check: print nothing.</source>
        <translation>Mit --check: nichts ausgeben.</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>Could not copy %1 to %2.</source>
        <translation>%1 konnte nicht nach %2 kopiert werden.</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>der Ordner existiert nicht</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
</context>
<context>
    <name>ForumPanel</name>
    <message>
        <source>Add Current URL</source>
        <translation>Aktuelle Adresse hinzufügen</translation>
    </message>
    <message>
        <source>Remove URL</source>
        <translation>Adresse entfernen</translation>
    </message>
    <message>
        <source>&amp;Username:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Click within the Username field on the form you want to paste into, then click here.</source>
        <translation>Klicken Sie in das Benutzernamenfeld des Formulars, in das eingefügt werden soll, und dann hier.</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
    <message>
        <source>Click within the Password field on the form you want to paste into, then click here.</source>
        <translation>Klicken Sie in das Passwortfeld des Formulars, in das eingefügt werden soll, und dann hier.</translation>
    </message>
    <message>
        <source>Your forums</source>
        <translation>Ihre Foren</translation>
    </message>
    <message>
        <source>Paste Username</source>
        <translation>Benutzernamen einfügen</translation>
    </message>
    <message>
        <source>Paste Password</source>
        <translation>Passwort einfügen</translation>
    </message>
    <message>
        <source>Your forums list is full</source>
        <translation>Ihre Forenliste ist voll</translation>
    </message>
</context>
<context>
    <name>HeadlessCheck</name>
    <message>
        <source>Postavo cannot write its data folder %1: %2.</source>
        <translation>Postavo kann nicht in seinen Datenordner %1 schreiben: %2.</translation>
    </message>
    <message>
        <source>Postavo is open: its window checks your posts now.</source>
        <translation>Postavo ist geöffnet: Sein Fenster prüft Ihre Beiträge jetzt.</translation>
    </message>
    <message>
        <source>Postavo could not read these files:
%1</source>
        <translation>Postavo konnte diese Dateien nicht lesen:
%1</translation>
    </message>
    <message>
        <source>No posts are watched.</source>
        <translation>Es werden keine Beiträge beobachtet.</translation>
    </message>
    <message>
        <source>The check was stopped; what it measured is kept.</source>
        <translation>Die Prüfung wurde angehalten; was sie gemessen hat, bleibt erhalten.</translation>
    </message>
    <message>
        <source>Checked: %1. With new replies: %2. Could not be checked: %3.</source>
        <translation>Geprüft: %1. Mit neuen Antworten: %2. Nicht prüfbar: %3.</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Show at Startup</source>
        <translation>Beim Start anzeigen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>The help text could not be read from %1:
%2</source>
        <translation>Der Hilfetext konnte nicht aus %1 gelesen werden:
%2</translation>
    </message>
    <message>
        <source>Readme/Help</source>
        <translation>Liesmich/Hilfe</translation>
    </message>
</context>
<context>
    <name>ListKeeper</name>
    <message>
        <source>There was an error saving your logins.</source>
        <translation>Beim Speichern Ihrer Anmeldedaten ist ein Fehler aufgetreten.</translation>
    </message>
    <message>
        <source>Error Number </source>
        <translation>Fehlernummer </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Your Forums</source>
        <translation>Ihre Foren</translation>
    </message>
    <message>
        <source>Your Posts</source>
        <translation>Ihre Beiträge</translation>
    </message>
    <message>
        <source>Postavo keeps its lists and messages in the folder
%1
but cannot write there: %2.

The program will now close.</source>
        <translation>Postavo speichert seine Listen und Nachrichten im Ordner
%1
kann dort aber nicht schreiben: %2.

Das Programm wird jetzt beendet.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New Message</source>
        <translation>&amp;Neue Nachricht</translation>
    </message>
    <message>
        <source>&amp;Save Message</source>
        <translation>Nachricht &amp;speichern</translation>
    </message>
    <message>
        <source>&amp;Load Message</source>
        <translation>Nachricht &amp;laden</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Werkzeuge</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Vorschau</translation>
    </message>
    <message>
        <source>Auto &amp;Insert</source>
        <translation>Auto-&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Check Replies</source>
        <translation>Antworten &amp;prüfen</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Paste Message</source>
        <translation>Nachricht einfügen</translation>
    </message>
    <message>
        <source>Paste Subject</source>
        <translation>Betreff einfügen</translation>
    </message>
    <message>
        <source>Paste Username</source>
        <translation>Benutzernamen einfügen</translation>
    </message>
    <message>
        <source>Paste Password</source>
        <translation>Passwort einfügen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Saved Messages</source>
        <translation>&amp;Gespeicherte Nachrichten</translation>
    </message>
    <message>
        <source>&amp;All posts</source>
        <translation>&amp;Alle Beiträge</translation>
    </message>
    <message>
        <source>&amp;Replies</source>
        <translation>&amp;Antworten</translation>
    </message>
    <message>
        <source>&amp;Templates</source>
        <translation>&amp;Vorlagen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>View &amp;Help</source>
        <translation>&amp;Hilfe anzeigen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>About this software</source>
        <translation>Über dieses Programm</translation>
    </message>
    <message>
        <source>%1 by %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>Postavo could not read these files:
%1

They are left as they are: this session will not write over them.</source>
        <translation>Postavo konnte diese Dateien nicht lesen:
%1

Sie bleiben unverändert: Diese Sitzung überschreibt sie nicht.</translation>
    </message>
    <message>
        <source>Message editor and lists</source>
        <translation>Nachrichteneditor und Listen</translation>
    </message>
    <message>
        <source>Message editor and browser</source>
        <translation>Nachrichteneditor und Browser</translation>
    </message>
</context>
<context>
    <name>MessagePanel</name>
    <message>
        <source>Message Editor</source>
        <translation>Nachrichteneditor</translation>
    </message>
    <message>
        <source>&amp;Subject:</source>
        <translation>&amp;Betreff:</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Click within the Subject field on the form you want to paste into, then click here.</source>
        <translation>Klicken Sie in das Betrefffeld des Formulars, in das eingefügt werden soll, und dann hier.</translation>
    </message>
    <message>
        <source>&amp;Message:</source>
        <translation>&amp;Nachricht:</translation>
    </message>
    <message>
        <source>Paste Message</source>
        <translation>Nachricht einfügen</translation>
    </message>
    <message>
        <source>Click within the message area on the form you want to paste into, then click here.</source>
        <translation>Klicken Sie in den Nachrichtenbereich des Formulars, in das eingefügt werden soll, und dann hier.</translation>
    </message>
    <message>
        <source>Paste Subject</source>
        <translation>Betreff einfügen</translation>
    </message>
    <message>
        <source>Your message could not be saved to
%1

%2</source>
        <translation>Ihre Nachricht konnte nicht gespeichert werden in
%1

%2</translation>
    </message>
</context>
<context>
    <name>MessagePicker</name>
    <message>
        <source>Saved messages</source>
        <translation>Gespeicherte Nachrichten</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Your saved messages could not be read from
%1

%2</source>
        <translation>Ihre gespeicherten Nachrichten konnten nicht gelesen werden aus
%1

%2</translation>
    </message>
    <message>
        <source>The message could not be deleted from
%1

%2</source>
        <translation>Die Nachricht konnte nicht gelöscht werden aus
%1

%2</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Link Open</source>
        <translation>Link-Anfang</translation>
    </message>
    <message>
        <source>Link Middle</source>
        <translation>Link-Mitte</translation>
    </message>
    <message>
        <source>Link End</source>
        <translation>Link-Ende</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>del</source>
        <translation>entf.</translation>
    </message>
    <message>
        <source>Empty this row</source>
        <translation>Diese Zeile leeren</translation>
    </message>
    <message>
        <source>Empty row %1</source>
        <translation>Zeile %1 leeren</translation>
    </message>
    <message>
        <source>Enable changing of default templates</source>
        <translation>Ändern der Standardvorlagen erlauben</translation>
    </message>
    <message>
        <source>When checking for new replies, look for an increase in the size of the page by this many bytes:</source>
        <translation>Bei der Suche nach neuen Antworten auf eine Zunahme der Seitengröße um so viele Bytes achten:</translation>
    </message>
    <message>
        <source>Reply threshold in bytes</source>
        <translation>Antwortschwelle in Bytes</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>While Postavo runs, &amp;check for new replies:</source>
        <translation>Solange Postavo läuft, auf neue Antworten &amp;prüfen:</translation>
    </message>
    <message>
        <source>Check for new replies while Postavo runs</source>
        <translation>Auf neue Antworten prüfen, solange Postavo läuft</translation>
    </message>
    <message>
        <source>Never (only when asked)</source>
        <translation>Nie (nur auf Anforderung)</translation>
    </message>
    <message>
        <source>Every %1 minutes</source>
        <translation>Alle %1 Minuten</translation>
    </message>
    <message>
        <source>Every hour</source>
        <translation>Jede Stunde</translation>
    </message>
    <message>
        <source>Every %1 hours</source>
        <translation>Alle %1 Stunden</translation>
    </message>
    <message>
        <source>Save and Close</source>
        <translation>Speichern und schließen</translation>
    </message>
    <message>
        <source>C&amp;lear Kept Page Texts...</source>
        <translation>Gespeicherte Seitente&amp;xte löschen...</translation>
    </message>
    <message>
        <source>Clear kept page texts</source>
        <translation>Gespeicherte Seitentexte löschen</translation>
    </message>
    <message>
        <source>Postavo keeps the text of your posts&apos; pages, on this computer only, to show what new replies say.</source>
        <translation>Postavo speichert den Text der Seiten Ihrer Beiträge, nur auf diesem Computer, um zu zeigen, was neue Antworten sagen.</translation>
    </message>
    <message>
        <source>Clear Kept Page Texts</source>
        <translation>Gespeicherte Seitentexte löschen</translation>
    </message>
    <message>
        <source>Forget the texts Postavo kept of your posts&apos; pages?

The sizes stay. Until a page is measured again, a check can tell that it has new replies but not what they say.</source>
        <translation>Die gespeicherten Texte der Seiten Ihrer Beiträge vergessen?

Die Größen bleiben. Bis eine Seite erneut gemessen wird, kann eine Prüfung melden, dass es neue Antworten gibt, aber nicht, was sie sagen.</translation>
    </message>
    <message>
        <source>Some kept page texts could not be removed from %1.</source>
        <translation>Einige gespeicherte Seitentexte konnten nicht aus %1 entfernt werden.</translation>
    </message>
    <message>
        <source>Also check when Postavo is &amp;closed</source>
        <translation>Auch prüfen, wenn Postavo &amp;geschlossen ist</translation>
    </message>
    <message>
        <source>A timer of your session runs the check as often as above while Postavo is closed.</source>
        <translation>Ein Zeitgeber Ihrer Sitzung führt die Prüfung so oft wie oben aus, während Postavo geschlossen ist.</translation>
    </message>
    <message>
        <source>This session has no user service manager (systemd) to run checks while Postavo is closed.</source>
        <translation>Diese Sitzung hat keinen Benutzer-Dienstmanager (systemd), der Prüfungen ausführt, während Postavo geschlossen ist.</translation>
    </message>
    <message>
        <source>Checks while Postavo is closed</source>
        <translation>Prüfungen bei geschlossenem Postavo</translation>
    </message>
</context>
<context>
    <name>PageFailures</name>
    <message>
        <source>Not a web page address</source>
        <translation>Keine Webseitenadresse</translation>
    </message>
    <message>
        <source>Unknown host</source>
        <translation>Unbekannter Host</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>Verbindung abgelehnt</translation>
    </message>
    <message>
        <source>No answer</source>
        <translation>Keine Antwort</translation>
    </message>
    <message>
        <source>Certificate problem</source>
        <translation>Zertifikatsproblem</translation>
    </message>
    <message>
        <source>Connection broken off</source>
        <translation>Verbindung abgebrochen</translation>
    </message>
    <message>
        <source>Too many redirects</source>
        <translation>Zu viele Weiterleitungen</translation>
    </message>
    <message>
        <source>Server error: status %1</source>
        <translation>Serverfehler: Status %1</translation>
    </message>
    <message>
        <source>Closed without a reply</source>
        <translation>Ohne Antwort geschlossen</translation>
    </message>
    <message>
        <source>Not a web server&apos;s reply</source>
        <translation>Keine Antwort eines Webservers</translation>
    </message>
    <message>
        <source>Page cut short</source>
        <translation>Seite unvollständig</translation>
    </message>
    <message>
        <source>The forum asks for a browser check: open the post once in Postavo&apos;s browser, then check again.</source>
        <translation>Das Forum verlangt eine Browserprüfung: Öffnen Sie den Beitrag einmal in Postavos Browser und prüfen Sie dann erneut.</translation>
    </message>
    <message>
        <source>Not your thread&apos;s page now: signed out?</source>
        <translation>Nicht mehr die Seite Ihres Themas: abgemeldet?</translation>
    </message>
</context>
<context>
    <name>PageTransport</name>
    <message>
        <source>1 second</source>
        <translation>1 Sekunde</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 Sekunden</translation>
    </message>
    <message>
        <source>The server closed the connection before it was secured</source>
        <translation>Der Server schloss die Verbindung, bevor sie gesichert war</translation>
    </message>
    <message>
        <source>The page did not end within %1</source>
        <translation>Die Seite war nicht innerhalb von %1 vollständig</translation>
    </message>
    <message>
        <source>No connection within %1</source>
        <translation>Keine Verbindung innerhalb von %1</translation>
    </message>
    <message>
        <source>Nothing arrived for %1</source>
        <translation>%1 lang kam nichts an</translation>
    </message>
</context>
<context>
    <name>PostResult</name>
    <message>
        <source>New replies: grew by %1 bytes</source>
        <translation>Neue Antworten: um %1 Bytes gewachsen</translation>
    </message>
    <message>
        <source>No new replies</source>
        <translation>Keine neuen Antworten</translation>
    </message>
    <message>
        <source>Not measured before: size taken now (%1 bytes)</source>
        <translation>Bisher nicht gemessen: Größe jetzt erfasst (%1 Bytes)</translation>
    </message>
    <message>
        <source>New replies on the next page: %1</source>
        <translation>Neue Antworten auf der nächsten Seite: %1</translation>
    </message>
    <message>
        <source>Your post is no longer on this page</source>
        <translation>Ihr Beitrag steht nicht mehr auf dieser Seite</translation>
    </message>
    <message>
        <source>Your post is now shown</source>
        <translation>Ihr Beitrag wird jetzt angezeigt</translation>
    </message>
    <message>
        <source>Measured again as your browser sees it (%1 bytes)</source>
        <translation>Neu gemessen, wie Ihr Browser die Seite sieht (%1 Bytes)</translation>
    </message>
    <message>
        <source>The thread&apos;s next page %1: %2</source>
        <translation>Die nächste Seite des Themas %1: %2</translation>
    </message>
</context>
<context>
    <name>PostsPanel</name>
    <message>
        <source>Watch This Post</source>
        <translation>Diesen Beitrag beobachten</translation>
    </message>
    <message>
        <source>Remove Watch</source>
        <translation>Beobachtung entfernen</translation>
    </message>
    <message>
        <source>Check for replies</source>
        <translation>Auf Antworten prüfen</translation>
    </message>
    <message>
        <source>Show All</source>
        <translation>Alle anzeigen</translation>
    </message>
    <message>
        <source>New Replies </source>
        <translation>Neue Antworten </translation>
    </message>
    <message>
        <source>Your posts</source>
        <translation>Ihre Beiträge</translation>
    </message>
    <message>
        <source>New replies</source>
        <translation>Neue Antworten</translation>
    </message>
    <message>
        <source>There is no page to watch</source>
        <translation>Es gibt keine Seite zum Beobachten</translation>
    </message>
    <message>
        <source>Your posts list is full</source>
        <translation>Ihre Beitragsliste ist voll</translation>
    </message>
    <message numerus="yes">
        <source>Measured again as your browser sees them: %n posts</source>
        <translation>
            <numerusform>Neu gemessen, wie Ihr Browser sie sieht: %n Beitrag</numerusform>
            <numerusform>Neu gemessen, wie Ihr Browser sie sieht: %n Beiträge</numerusform>
        </translation>
    </message>
    <message>
        <source>Postavo&apos;s check gets another page than your browser shows: a sign-in page?</source>
        <translation>Postavos Prüfung erhält eine andere Seite, als Ihr Browser zeigt: eine Anmeldeseite?</translation>
    </message>
    <message>
        <source>Its size would not tell of new replies. Sign in again, or watch the page anyway and open it once when the check says it is not your thread&apos;s page.</source>
        <translation>Ihre Größe würde nichts über neue Antworten sagen. Melden Sie sich erneut an, oder beobachten Sie die Seite trotzdem und öffnen Sie sie einmal, wenn die Prüfung meldet, dass es nicht die Seite Ihres Themas ist.</translation>
    </message>
    <message>
        <source>Watch Anyway</source>
        <translation>Trotzdem beobachten</translation>
    </message>
    <message>
        <source>Choose a post above to read what its replies say.</source>
        <translation>Wählen Sie oben einen Beitrag, um zu lesen, was die Antworten sagen.</translation>
    </message>
    <message>
        <source>What the replies say</source>
        <translation>Was die Antworten sagen</translation>
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
        <translation>Postavo speichert Ihre Listen und Nachrichten jetzt in
%1

Sie wurden dorthin kopiert aus
%2
wo die Originale unverändert bleiben. Ab jetzt verwendet Postavo die Kopien; löschen Sie die alten Dateien, wenn Sie sie nicht mehr brauchen.</translation>
    </message>
</context>
<context>
    <name>RedirectPolicy</name>
    <message>
        <source>Redirected to an address that is not a web page</source>
        <translation>Weitergeleitet an eine Adresse, die keine Webseite ist</translation>
    </message>
    <message>
        <source>Redirected more than %1 times</source>
        <translation>Mehr als %1-mal weitergeleitet</translation>
    </message>
    <message>
        <source>Redirected in a loop</source>
        <translation>In einer Schleife weitergeleitet</translation>
    </message>
</context>
<context>
    <name>ReplyNotice</name>
    <message numerus="yes">
        <source>New replies to %n of your posts</source>
        <translation>
            <numerusform>Neue Antworten auf %n Ihrer Beiträge</numerusform>
            <numerusform>Neue Antworten auf %n Ihrer Beiträge</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiterer</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
</context>
<context>
    <name>ResponseReader</name>
    <message>
        <source>%1 of %2 bytes</source>
        <translation>%1 von %2 Bytes</translation>
    </message>
    <message>
        <source>the last chunk never came</source>
        <translation>der letzte Teil kam nie an</translation>
    </message>
    <message>
        <source>the header never ended</source>
        <translation>der Kopf endete nie</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>no room for a scratch file</source>
        <translation>kein Platz für eine Zwischendatei</translation>
    </message>
</context>
<context>
    <name>SplashWindow</name>
    <message>
        <source>Post to web forums, links and all.
Watch your posts for replies.</source>
        <translation>Schreiben Sie in Webforen, mit allen Links.
Behalten Sie Antworten auf Ihre Beiträge im Blick.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>StartPage</name>
    <message>
        <source>Type a subject and your message in the editor on the left. Put http:// in front of every web address.</source>
        <translation>Geben Sie links im Editor einen Betreff und Ihre Nachricht ein. Setzen Sie http:// vor jede Webadresse.</translation>
    </message>
    <message>
        <source>Choose the forum&apos;s markup in the format selector at the top, and press Preview to see what the forum will receive.</source>
        <translation>Wählen Sie oben im Formatfeld das Markup des Forums und klicken Sie auf „Vorschau“, um zu sehen, was das Forum erhält.</translation>
    </message>
    <message>
        <source>Type the forum&apos;s address in the URL: box above this page and press Go.</source>
        <translation>Geben Sie die Adresse des Forums oben im Adressfeld ein und klicken Sie auf „Los“.</translation>
    </message>
    <message>
        <source>On the Your Forums tab press Add Current URL, then type your user name and password below the list.</source>
        <translation>Klicken Sie auf der Registerkarte „Ihre Foren“ auf „Aktuelle Adresse hinzufügen“ und geben Sie unter der Liste Benutzernamen und Passwort ein.</translation>
    </message>
    <message>
        <source>Open the forum&apos;s page for a new post and press Auto-Insert. Submit the form: Postavo adds your new post to Your Posts by itself.</source>
        <translation>Öffnen Sie die Seite des Forums für einen neuen Beitrag und klicken Sie auf „Auto-Einfügen“. Senden Sie das Formular ab: Postavo nimmt Ihren neuen Beitrag selbst in „Ihre Beiträge“ auf.</translation>
    </message>
    <message>
        <source>Welcome to %1</source>
        <translation>Willkommen bei %1</translation>
    </message>
    <message>
        <source>The website could not be reached, so this page comes with the program and works offline.</source>
        <translation>Die Website war nicht erreichbar; diese Seite gehört zum Programm und funktioniert auch offline.</translation>
    </message>
    <message>
        <source>How to begin</source>
        <translation>So fangen Sie an</translation>
    </message>
    <message>
        <source>The whole guide is under Help in the menu.</source>
        <translation>Die vollständige Anleitung finden Sie im Menü unter „Hilfe“.</translation>
    </message>
    <message>
        <source>Your forums</source>
        <translation>Ihre Foren</translation>
    </message>
    <message>
        <source>No forums yet: open a forum and press Add Current URL on the Your Forums tab.</source>
        <translation>Noch keine Foren: Öffnen Sie ein Forum und klicken Sie auf der Registerkarte „Ihre Foren“ auf „Aktuelle Adresse hinzufügen“.</translation>
    </message>
    <message>
        <source>Posts with new replies</source>
        <translation>Beiträge mit neuen Antworten</translation>
    </message>
    <message>
        <source>None found yet: press Check for replies on the Your Posts tab.</source>
        <translation>Noch keine gefunden: Klicken Sie auf der Registerkarte „Ihre Beiträge“ auf „Auf Antworten prüfen“.</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>Website</translation>
    </message>
</context>
<context>
    <name>TrayPresence</name>
    <message>
        <source>Show %1</source>
        <translation>%1 anzeigen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Keep Postavo running in the system tray?

It goes on checking your posts for replies and tells you when someone answers. Its tray icon brings the window back; Exit in the icon&apos;s menu ends it.

Postavo asks this once.</source>
        <translation>Postavo im Infobereich weiterlaufen lassen?

Es prüft Ihre Beiträge weiter auf Antworten und meldet sich, wenn jemand antwortet. Das Symbol im Infobereich holt das Fenster zurück; „Beenden“ im Menü des Symbols beendet es.

Postavo fragt das nur einmal.</translation>
    </message>
</context>
<context>
    <name>WriteFailure</name>
    <message>
        <source>Could not save %1: %2</source>
        <translation>%1 konnte nicht gespeichert werden: %2</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Another Postavo is writing the lists in
%1
and does not let go.</source>
        <translation>Ein anderes Postavo schreibt die Listen in
%1
und gibt sie nicht frei.</translation>
    </message>
</context>
</TS>
