<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de_DE">
<context>
    <name>CandidateModel</name>
    <message>
        <source>Alter Name</source>
        <translation>Old name</translation>
    </message>
    <message>
        <source>Neuer Name</source>
        <translation>New name</translation>
    </message>
    <message>
        <source>In Ordner</source>
        <translation>In folder</translation>
    </message>
    <message>
        <source>Größe</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Typ</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Letzte Änderung</source>
        <translation>Last change</translation>
    </message>
    <message>
        <source>Aufnahme</source>
        <translation>Taken</translation>
    </message>
</context>
<context>
    <name>ErrorText</name>
    <message>
        <source>Der neue Name ist schon vergeben.</source>
        <translation>The new name is already taken.</translation>
    </message>
    <message>
        <source>Unter diesem Namen steht dort schon etwas, das keine Datei ist.</source>
        <translation>Something that is not a file already has this name there.</translation>
    </message>
    <message>
        <source>Die Datei oder ihr Ordner ist nicht mehr da.</source>
        <translation>The file or its folder is gone.</translation>
    </message>
    <message>
        <source>Wo der Ordner sein sollte, steht eine Datei.</source>
        <translation>There is a file where the folder should be.</translation>
    </message>
    <message>
        <source>Im Ordner fehlt die Berechtigung zum Umbenennen.</source>
        <translation>You may not rename files in this folder.</translation>
    </message>
    <message>
        <source>Die Berechtigung zum Schreiben fehlt.</source>
        <translation>You may not write there.</translation>
    </message>
    <message>
        <source>Das Dateisystem ist schreibgeschützt.</source>
        <translation>The file system is read-only.</translation>
    </message>
    <message>
        <source>Der neue Name ist hier nicht zulässig.</source>
        <translation>The new name is not allowed here.</translation>
    </message>
    <message>
        <source>Der neue Name ist zu lang.</source>
        <translation>The new name is too long.</translation>
    </message>
    <message>
        <source>Die Datei wird gerade benutzt.</source>
        <translation>The file is in use.</translation>
    </message>
    <message>
        <source>Der Pfad des Programms enthält Zeichen, die sich in einer Verknüpfung nicht angeben lassen.</source>
        <translation>The program&apos;s path holds characters that a shortcut cannot name.</translation>
    </message>
    <message>
        <source>Systemmeldung: %1</source>
        <translation>System message: %1</translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>Dateien hinzufügen</source>
        <translation>Add files</translation>
    </message>
</context>
<context>
    <name>FileValuesTable</name>
    <message>
        <source>Die Angaben dieser Datei lassen sich nicht lesen.</source>
        <translation>The details of this file cannot be read.</translation>
    </message>
    <message>
        <source>Die Angaben dieser Datei wurden nicht gelesen.</source>
        <translation>The details of this file were not read.</translation>
    </message>
    <message>
        <source>Aufnahmedatum</source>
        <translation>date taken</translation>
    </message>
    <message>
        <source>Kamera</source>
        <translation>camera</translation>
    </message>
    <message>
        <source>Hersteller</source>
        <translation>maker</translation>
    </message>
    <message>
        <source>Bildgröße</source>
        <translation>image size</translation>
    </message>
    <message>
        <source>Interpret</source>
        <translation>artist</translation>
    </message>
    <message>
        <source>Titel</source>
        <translation>title</translation>
    </message>
    <message>
        <source>Album</source>
        <translation>album</translation>
    </message>
    <message>
        <source>Titelnummer</source>
        <translation>track number</translation>
    </message>
    <message>
        <source>Jahr</source>
        <translation>year</translation>
    </message>
    <message>
        <source>Dieser Datei fehlt: %1</source>
        <extracomment>%1 lists what is missing, as &quot;Kamera, Hersteller&quot;.</extracomment>
        <translation>Missing from this file: %1</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>beibehalten</source>
        <translation>keep as is</translation>
    </message>
    <message>
        <source>alles groß</source>
        <translation>UPPER CASE</translation>
    </message>
    <message>
        <source>alles klein</source>
        <translation>lower case</translation>
    </message>
    <message>
        <source>anfangs groß</source>
        <translation>First capital</translation>
    </message>
    <message>
        <source>keine</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Null</source>
        <translation>zero</translation>
    </message>
    <message>
        <source>Leerzeichen</source>
        <translation>space</translation>
    </message>
    <message>
        <source>Unterstrich</source>
        <translation>underscore</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Hinweis: Die Einstellungsdatei ist zu groß und wird nicht verwendet.</source>
        <translation>Note: The settings file is too large and is not used.</translation>
    </message>
    <message>
        <source>Überprüfung der vorgesehenen Namen ... </source>
        <translation>Checking the planned names ... </translation>
    </message>
    <message>
        <source>Angaben werden aus den Dateien gelesen ...</source>
        <translation>Reading details from the files ...</translation>
    </message>
    <message>
        <source>Die Liste wird aufgefüllt ...</source>
        <translation>Filling the list ...</translation>
    </message>
    <message>
        <source>Umbenennung läuft ...</source>
        <translation>Renaming ...</translation>
    </message>
    <message>
        <source>Hinweis: Die Maske ließ sich nicht unter den zuletzt benutzten speichern.</source>
        <translation>Note: The mask could not be saved among the recent masks.</translation>
    </message>
    <message>
        <source>Die letzte Umbenennung wird rückgängig gemacht ...</source>
        <translation>Undoing the last rename ...</translation>
    </message>
    <message>
        <source>Kandidaten zum Umbenennen</source>
        <translation>Files to rename</translation>
    </message>
    <message>
        <source>Zähler</source>
        <translation>Counter</translation>
    </message>
    <message>
        <source>Schreibweise</source>
        <translation>Letter case</translation>
    </message>
    <message>
        <source>Suchen &amp;&amp; ersetzen</source>
        <translation>Search &amp;&amp; replace</translation>
    </message>
    <message>
        <source>Maske</source>
        <translation>Mask</translation>
    </message>
    <message>
        <source>&amp;Alle auswählen</source>
        <translation>Select &amp;all</translation>
    </message>
    <message>
        <source>&amp;Keine Auswahl</source>
        <translation>Dese&amp;lect all</translation>
    </message>
    <message>
        <source>Aus&amp;wahl umkehren</source>
        <translation>&amp;Invert selection</translation>
    </message>
    <message>
        <source>Liste l&amp;öschen</source>
        <translation>&amp;Clear list</translation>
    </message>
    <message>
        <source>Nach oben</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>Nach unten</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>Start bei</source>
        <translation>Start at</translation>
    </message>
    <message>
        <source>Schrittweite</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>Länge</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>Vornullen</source>
        <translation>Padding</translation>
    </message>
    <message>
        <source>Ersetze</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>durch</source>
        <translation>with</translation>
    </message>
    <message>
        <source>Re&amp;gulärer Ausdruck</source>
        <translation>Re&amp;gular expression</translation>
    </message>
    <message>
        <source>Regulärer Ausdruck</source>
        <translation>Regular expression</translation>
    </message>
    <message>
        <source>Zuletzt benutzte Masken</source>
        <translation>Recent masks</translation>
    </message>
    <message>
        <source>Maske löschen</source>
        <translation>Clear mask</translation>
    </message>
    <message>
        <source>&amp;Hilfe</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Optionen</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>&amp;Umtaufen!</source>
        <translation>Re&amp;name!</translation>
    </message>
    <message>
        <source>&amp;Ende</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>ToolTips</source>
        <translation>ToolTips</translation>
    </message>
    <message>
        <source>Dir-It!</source>
        <translation>Dir-It!</translation>
    </message>
    <message>
        <source>Fortschritt</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Dateianzahl</source>
        <translation>Number of files</translation>
    </message>
    <message>
        <source>Programmstatus</source>
        <translation>Program status</translation>
    </message>
    <message>
        <source>Namen der umzubenennenden Dateien in diese Liste ziehen</source>
        <translation>Drag the files to rename into this list</translation>
    </message>
    <message>
        <source>Legt Groß- und/oder Kleinschreibung der neuen Namen fest</source>
        <translation>Sets upper and lower case in the new names</translation>
    </message>
    <message>
        <source>Löscht alle Dateinamen in der obenstehenden Liste</source>
        <translation>Clears every file name from the list above</translation>
    </message>
    <message>
        <source>Markiert alle Dateien in der Liste als ausgewählt</source>
        <translation>Marks every file in the list as selected</translation>
    </message>
    <message>
        <source>Löscht alle Dateimarkierungen</source>
        <translation>Clears every file mark</translation>
    </message>
    <message>
        <source>Kehrt die aktuelle Dateiauswahl um</source>
        <translation>Inverts the current selection of files</translation>
    </message>
    <message>
        <source>Fügt eine leere Klammer in die Maske ein und positioniert den Cursor darin</source>
        <translation>Inserts an empty bracket into the mask and puts the cursor inside it</translation>
    </message>
    <message>
        <source>Startet die Umbenennung aller markierten Dateien in der Liste</source>
        <translation>Starts renaming every marked file in the list</translation>
    </message>
    <message>
        <source>Beendet das Programm</source>
        <translation>Quits the program</translation>
    </message>
    <message>
        <source>Gibt Zusatzinfos über das Programm</source>
        <translation>Tells more about the program</translation>
    </message>
    <message>
        <source>Löscht die Maske komplett</source>
        <translation>Clears the whole mask</translation>
    </message>
    <message>
        <source>Bewegt alle markierten Einträge um eine Position nach oben</source>
        <translation>Moves every marked entry up by one place</translation>
    </message>
    <message>
        <source>Bewegt alle markierten Einträge um eine Position nach unten</source>
        <translation>Moves every marked entry down by one place</translation>
    </message>
    <message>
        <source>Blendet ein Menü mit den zuletzt benutzten Masken ein</source>
        <translation>Shows a menu of the recently used masks</translation>
    </message>
    <message>
        <source>Zeigt den aktuellen Verarbeitungsstand an</source>
        <translation>Shows how far the current work has come</translation>
    </message>
    <message>
        <source>Tragen Sie hier den Startwert für den Dateizähler ein</source>
        <translation>Enter the file counter&apos;s start value here</translation>
    </message>
    <message>
        <source>hier legen Sie das für Vornullen zu verwendende Zeichen fest</source>
        <translation>Sets the character that pads the counter in front</translation>
    </message>
    <message>
        <source>Anzahl der Dateien in der Liste</source>
        <translation>Number of files in the list</translation>
    </message>
    <message>
        <source>Programmstatus und Hinweise für den Anwender</source>
        <translation>Program status and notes for you</translation>
    </message>
    <message>
        <source>Schaltet die Tooltips ein oder aus</source>
        <translation>Turns the tooltips on or off</translation>
    </message>
    <message>
        <source>Markieren Sie diese Option, um alle Umbenennungen in die Zwischenablage zu kopieren.</source>
        <translation>Tick this box to copy every rename to the clipboard.</translation>
    </message>
    <message>
        <source>&apos;Ersetze&apos; ist ein regulärer Ausdruck; in &apos;durch&apos; steht \1 oder $1 für die erste Gruppe.</source>
        <translation>&apos;Replace&apos; is a regular expression; in &apos;with&apos;, \1 or $1 stands for the first group.</translation>
    </message>
    <message>
        <source>Fügt das Token %1 in die Maske ein</source>
        <translation>Inserts the token %1 into the mask</translation>
    </message>
    <message>
        <source>%1 - ein Tool zum kinderleichten &apos;Umtaufen&apos; unzähliger Dateien unter Windows

Version 1.6 für Linux.

Velto gibt vielen Dateien in einem Zug neue Namen: nach einer Maske aus festem Text, Teilen des alten Namens, einem Zähler, Datum und Uhrzeit der letzten Änderung, dazu Schreibweise und Suchen &amp; Ersetzen.

Umbenannt wird erst, wenn die Prüfung aller neuen Namen fehlerfrei war, und keine Datei wird dabei überschrieben.

Freie Software unter der MIT-Lizenz.</source>
        <extracomment>%1 is the program&apos;s name and version.</extracomment>
        <translation>%1 - a tool that makes renaming countless files under Windows child&apos;s play

Version 1.6 for Linux.

Velto gives many files new names in one go: by a mask of fixed text, parts of the old name, a counter, the date and time of the last change, with letter case and search &amp; replace on top.

Nothing is renamed before the check of all new names has found no fault, and no file is ever overwritten.

Free software under the MIT license.</translation>
    </message>
    <message>
        <source>[&amp;name]</source>
        <translation>[nam&amp;e]</translation>
    </message>
    <message>
        <source>[&amp;typ]</source>
        <translation>[&amp;typ]</translation>
    </message>
    <message>
        <source>[&amp;zahl]</source>
        <translation>[&amp;zahl]</translation>
    </message>
    <message>
        <source>[&amp;datum]</source>
        <translation>[&amp;datum]</translation>
    </message>
    <message>
        <source>[&amp;rdatum]</source>
        <translation>[&amp;rdatum]</translation>
    </message>
    <message>
        <source>[&amp;zeit]</source>
        <translation>[&amp;zeit]</translation>
    </message>
    <message>
        <source>[&amp;tag]</source>
        <translation>[&amp;tag]</translation>
    </message>
    <message>
        <source>[&amp;monat]</source>
        <translation>[&amp;monat]</translation>
    </message>
    <message>
        <source>[&amp;jahr]</source>
        <translation>[&amp;jahr]</translation>
    </message>
    <message>
        <source>[h]</source>
        <translation>[h]</translation>
    </message>
    <message>
        <source>(entspricht [STUNDE])</source>
        <translation>(same as [STUNDE])</translation>
    </message>
    <message>
        <source>[&amp;m]</source>
        <translation>[&amp;m]</translation>
    </message>
    <message>
        <source>(entspricht [MINUTE])</source>
        <translation>(same as [MINUTE])</translation>
    </message>
    <message>
        <source>[&amp;s]</source>
        <translation>[&amp;s]</translation>
    </message>
    <message>
        <source>(entspricht [SEKUNDE])</source>
        <translation>(same as [SEKUNDE])</translation>
    </message>
</context>
<context>
    <name>FormLineEdit</name>
    <message>
        <source>Angaben aus der Datei</source>
        <translation>Details from the file</translation>
    </message>
    <message>
        <source>Foto</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>Musik</source>
        <translation>Music</translation>
    </message>
    <message>
        <source>Aufnahmedatum (24.12.1999)</source>
        <translation>Date taken (24.12.1999)</translation>
    </message>
    <message>
        <source>Aufnahmedatum rückwärts (1999.12.24)</source>
        <translation>Date taken, backwards (1999.12.24)</translation>
    </message>
    <message>
        <source>Tag der Aufnahme</source>
        <translation>Day taken</translation>
    </message>
    <message>
        <source>Monat der Aufnahme</source>
        <translation>Month taken</translation>
    </message>
    <message>
        <source>Jahr der Aufnahme</source>
        <translation>Year taken</translation>
    </message>
    <message>
        <source>Uhrzeit der Aufnahme (13.45.07)</source>
        <translation>Time taken (13.45.07)</translation>
    </message>
    <message>
        <source>Stunde der Aufnahme</source>
        <translation>Hour taken</translation>
    </message>
    <message>
        <source>Minute der Aufnahme</source>
        <translation>Minute taken</translation>
    </message>
    <message>
        <source>Sekunde der Aufnahme</source>
        <translation>Second taken</translation>
    </message>
    <message>
        <source>Kameramodell</source>
        <translation>Camera model</translation>
    </message>
    <message>
        <source>Hersteller der Kamera</source>
        <translation>Camera maker</translation>
    </message>
    <message>
        <source>Bildbreite in Pixeln</source>
        <translation>Image width in pixels</translation>
    </message>
    <message>
        <source>Bildhöhe in Pixeln</source>
        <translation>Image height in pixels</translation>
    </message>
    <message>
        <source>Interpret</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>Titel</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>Titelnummer (03)</source>
        <translation>Track number (03)</translation>
    </message>
    <message>
        <source>Erscheinungsjahr</source>
        <translation>Year of release</translation>
    </message>
</context>
<context>
    <name>HelpForm</name>
    <message>
        <source>Anleitung</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Über ...</source>
        <translation>&amp;About ...</translation>
    </message>
    <message>
        <source>Die Anleitung ließ sich nicht lesen: „%1“ enthält keinen Text.</source>
        <translation>The manual could not be read: “%1” holds no text.</translation>
    </message>
    <message>
        <source>Die Anleitung wurde nicht gefunden: „%1“ fehlt oder lässt sich nicht öffnen.</source>
        <translation>The manual was not found: “%1” is missing or cannot be opened.</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>ListContextMenu</name>
    <message>
        <source>&amp;Dateien hinzufügen ...</source>
        <translation>&amp;Add files ...</translation>
    </message>
    <message>
        <source>Aus der Liste &amp;nehmen</source>
        <translation>&amp;Remove from the list</translation>
    </message>
    <message>
        <source>Letzte Umbenennung &amp;rückgängig machen</source>
        <translation>&amp;Undo the last rename</translation>
    </message>
</context>
<context>
    <name>ListIntake</name>
    <message>
        <source>Hinweis: 1 Pfad wurde übergangen, weil sein Name kein gültiges UTF-8 ist.</source>
        <translation>Note: 1 path was skipped because its name is not valid UTF-8.</translation>
    </message>
    <message>
        <source>Hinweis: %1 Pfade wurden übergangen, weil ihr Name kein gültiges UTF-8 ist.</source>
        <translation>Note: %1 paths were skipped because their names are not valid UTF-8.</translation>
    </message>
</context>
<context>
    <name>MaskTranslator</name>
    <message>
        <source>Maske ist OK</source>
        <translation>Mask is OK</translation>
    </message>
    <message>
        <source>Die Zahl ist zu groß</source>
        <translation>The number is too large</translation>
    </message>
    <message>
        <source>Die Maske ist falsch oder nicht vollständig aufgebaut</source>
        <translation>The mask is wrong or incomplete</translation>
    </message>
    <message>
        <source>Es wurde eine Zahl erwartet</source>
        <translation>A number was expected</translation>
    </message>
    <message>
        <source>Schließende Klammer fehlt</source>
        <translation>A closing bracket is missing</translation>
    </message>
    <message>
        <source>Das Bereichsende ist kleiner als der Bereichsanfang</source>
        <translation>The end of the range is smaller than its start</translation>
    </message>
    <message>
        <source>Die Zeichen \ / : ? &quot; &lt; &gt; | sind in Dateinamen nicht erlaubt</source>
        <translation>The characters \ / : ? &quot; &lt; &gt; | are not allowed in file names</translation>
    </message>
    <message>
        <source>Null ist als Bereichsbeginn nicht zulässig</source>
        <translation>A range cannot start at zero</translation>
    </message>
    <message>
        <source>Fehler: %1.</source>
        <extracomment>The mask&apos;s error in the status line; %1 is what is wrong, without a full stop.</extracomment>
        <translation>Error: %1.</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>OptionForm</name>
    <message>
        <source>Verknüpfungen</source>
        <translation>Shortcuts</translation>
    </message>
    <message>
        <source>Erstelle eine Verknüpfung mit Velto ...</source>
        <translation>Create a shortcut to Velto ...</translation>
    </message>
    <message>
        <source>... auf der &amp;Arbeitsoberfläche (Desktop)</source>
        <translation>... on the &amp;desktop</translation>
    </message>
    <message>
        <source>... im Kontextmenü &quot;&amp;Senden an&quot;</source>
        <translation>... in the &quot;&amp;Send to&quot; context menu</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Abbruch</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>%1 - Optionen</source>
        <extracomment>The window&apos;s title; %1 is the program&apos;s name and version.</extracomment>
        <translation>%1 - Options</translation>
    </message>
    <message>
        <source>Folgende Verknüpfung ließ sich nicht anlegen:</source>
        <translation>The following shortcut could not be created:</translation>
    </message>
</context>
<context>
    <name>PlanCheck</name>
    <message>
        <source>Fehler: Der Zähler überschreitet den größten zulässigen Wert!</source>
        <translation>Error: The counter goes beyond the largest value allowed!</translation>
    </message>
    <message>
        <source>Fehler: Die neuen Dateinamen sind nicht alle eindeutig - überprüfen Sie die Maske!</source>
        <translation>Error: The new file names are not all unique - check the mask!</translation>
    </message>
    <message>
        <source>Name kommt mehrfach vor</source>
        <translation>Name occurs more than once</translation>
    </message>
    <message>
        <source>Fehler: Einige neue Namen überschneiden sich mit denen existierender Dateien!</source>
        <translation>Error: Some new names clash with those of existing files!</translation>
    </message>
    <message>
        <source>Name ist schon vergeben</source>
        <translation>Name is already taken</translation>
    </message>
    <message>
        <source>Fehler: Es gibt Namen, die nur aus einer Typenkennung bestehen!</source>
        <translation>Error: Some names are nothing but a type extension!</translation>
    </message>
    <message>
        <source>Nur Typenkennung</source>
        <translation>Type extension only</translation>
    </message>
    <message>
        <source>Fehler: Es gibt Namen, die nur aus Leerzeichen oder gar keinen Zeichen bestehen!</source>
        <translation>Error: Some names are only blanks or have no characters at all!</translation>
    </message>
    <message>
        <source>Leerer Name</source>
        <translation>Empty name</translation>
    </message>
    <message>
        <source>Fehler: Es gibt Namen mit einem Schrägstrich - überprüfen Sie &apos;Suchen &amp; ersetzen&apos;!</source>
        <translation>Error: Some names contain a slash - check &apos;Search &amp; replace&apos;!</translation>
    </message>
    <message>
        <source>Name enthält einen Schrägstrich</source>
        <translation>Name contains a slash</translation>
    </message>
    <message>
        <source>Fehler: Es gibt Namen mit Steuerzeichen - überprüfen Sie &apos;Suchen &amp; ersetzen&apos;!</source>
        <translation>Error: Some names contain control characters - check &apos;Search &amp; replace&apos;!</translation>
    </message>
    <message>
        <source>Name enthält Steuerzeichen</source>
        <translation>Name contains control characters</translation>
    </message>
    <message>
        <source>Fehler: Es gibt Namen, die für das Dateisystem zu lang sind!</source>
        <translation>Error: Some names are too long for the file system!</translation>
    </message>
    <message>
        <source>Name ist für das Dateisystem zu lang</source>
        <translation>Name is too long for the file system</translation>
    </message>
    <message>
        <source>Fehler: Es gibt Ordner, deren Inhalt sich nicht lesen lässt!</source>
        <translation>Error: Some folders cannot be read!</translation>
    </message>
    <message>
        <source>Ordner lässt sich nicht lesen</source>
        <translation>Folder cannot be read</translation>
    </message>
    <message>
        <source>Fehler: Manchen Dateien fehlen Angaben, die die Maske verlangt!</source>
        <translation>Error: Some files lack details that the mask asks for!</translation>
    </message>
    <message>
        <source>Zum Umbenennen der Dateien klicken Sie jetzt die Schaltfläche &apos;%1&apos;.</source>
        <extracomment>%1 is the rename button&apos;s caption as it reads, without its access key.</extracomment>
        <translation>To rename the files, click the button &apos;%1&apos; now.</translation>
    </message>
    <message>
        <source>%1 von %2 Dateien markiert</source>
        <translation>%1 of %2 files marked</translation>
    </message>
</context>
<context>
    <name>RegexReplace</name>
    <message>
        <source>Fehler: Der Ausdruck in &apos;Ersetze&apos; ist ungültig (Zeichen %1)!</source>
        <extracomment>%1 counts the characters of the expression from 1.</extracomment>
        <translation>Error: The expression in &apos;Replace&apos; is not valid (character %1)!</translation>
    </message>
    <message>
        <source>Fehler: &apos;durch&apos; verweist auf Gruppe %1, die der Ausdruck nicht hat!</source>
        <translation>Error: &apos;with&apos; refers to group %1, which the expression does not have!</translation>
    </message>
    <message>
        <source>Fehler: Der Ausdruck in &apos;Ersetze&apos; ist zu aufwendig!</source>
        <translation>Error: The expression in &apos;Replace&apos; takes too much work!</translation>
    </message>
</context>
<context>
    <name>RenameRun</name>
    <message>
        <source>Folgende Datei ließ sich nicht umbenennen:</source>
        <translation>The following file could not be renamed:</translation>
    </message>
    <message>
        <source>Klicken Sie &apos;OK&apos;, um fortzusetzen oder &apos;Abbrechen&apos; um die Aktion zu beenden.</source>
        <translation>Click &apos;OK&apos; to go on, or &apos;Cancel&apos; to stop.</translation>
    </message>
    <message>
        <source>Die Datei wurde inzwischen durch eine andere ersetzt.</source>
        <translation>The file has been replaced by another one in the meantime.</translation>
    </message>
    <message>
        <source>Die Datei ist nach dem Fehlschlag nicht mehr auffindbar.</source>
        <translation>The file can no longer be found after the failure.</translation>
    </message>
</context>
<context>
    <name>RunJournal</name>
    <message>
        <source>Hinweis: Diese Umbenennung lässt sich nicht rückgängig machen.</source>
        <translation>Note: This rename cannot be undone.</translation>
    </message>
</context>
<context>
    <name>UndoRun</name>
    <message>
        <source>Unter dem neuen Namen ist die Datei nicht mehr da.</source>
        <translation>The file is no longer there under its new name.</translation>
    </message>
    <message>
        <source>Unter dem neuen Namen liegt inzwischen eine andere Datei.</source>
        <translation>Another file has the new name by now.</translation>
    </message>
    <message>
        <source>Der alte Name ist inzwischen vergeben.</source>
        <translation>The old name has been taken in the meantime.</translation>
    </message>
    <message>
        <source>Die letzte Umbenennung rückgängig machen?</source>
        <translation>Undo the last rename?</translation>
    </message>
    <message>
        <source>%1 Datei bekommt ihren alten Namen zurück.</source>
        <translation>%1 file gets its old name back.</translation>
    </message>
    <message>
        <source>%1 Dateien bekommen ihren alten Namen zurück.</source>
        <translation>%1 files get their old names back.</translation>
    </message>
    <message>
        <source>Sie fand am %1 um %2 statt.</source>
        <translation>It ran on %1 at %2.</translation>
    </message>
    <message>
        <source>Die letzte Umbenennung lässt sich nicht rückgängig machen.</source>
        <translation>The last rename cannot be undone.</translation>
    </message>
    <message>
        <source>Diese Umbenennung wird gerade in einem anderen Fenster rückgängig gemacht.</source>
        <translation>This rename is being undone in another window right now.</translation>
    </message>
    <message>
        <source>%1 Datei hat ihren alten Namen zurück.</source>
        <translation>%1 file has its old name back.</translation>
    </message>
    <message>
        <source>%1 Dateien haben ihren alten Namen zurück.</source>
        <translation>%1 files have their old names back.</translation>
    </message>
    <message>
        <source>%1 Datei konnte nicht zurück.</source>
        <translation>%1 file could not go back.</translation>
    </message>
    <message>
        <source>%1 Dateien konnten nicht zurück.</source>
        <translation>%1 files could not go back.</translation>
    </message>
    <message>
        <source>Es gibt keine Umbenennung, die sich rückgängig machen ließe.</source>
        <translation>There is no rename to undo.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Velto braucht eine grafische Sitzung (DISPLAY oder WAYLAND_DISPLAY ist nicht gesetzt).</source>
        <translation>Velto needs a graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set).</translation>
    </message>
</context>
</TS>
