<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Orvane</source>
        <translation>Über Orvane</translation>
    </message>
    <message>
        <source>Orvane Version 1.0</source>
        <translation>Orvane Version 1.0</translation>
    </message>
</context>
<context>
    <name>AlarmBar</name>
    <message>
        <source>Alarm limits</source>
        <translation>Alarmgrenzen</translation>
    </message>
    <message>
        <source>Pan the zoomed graph</source>
        <translation>Die vergrößerte Grafik verschieben</translation>
    </message>
    <message>
        <source>High alarm limit</source>
        <translation>Obere Alarmgrenze</translation>
    </message>
    <message>
        <source>Low alarm limit</source>
        <translation>Untere Alarmgrenze</translation>
    </message>
</context>
<context>
    <name>CDTView</name>
    <message>
        <source>Graph</source>
        <translation>Grafik</translation>
    </message>
    <message>
        <source>time:</source>
        <translation>Zeit:</translation>
    </message>
    <message>
        <source>temp:</source>
        <translation>Temp.:</translation>
    </message>
</context>
<context>
    <name>CDisplayPanel</name>
    <message>
        <source>Sample rate</source>
        <translation>Messrate</translation>
    </message>
    <message>
        <source>Reading</source>
        <translation>Messwert</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Einheit</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
    <message>
        <source>Emissivity</source>
        <translation>Emissionsgrad</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Minimum</translation>
    </message>
</context>
<context>
    <name>CMSComm</name>
    <message>
        <source>COM%1 has no device. Choose another port with Select COM.</source>
        <translation>COM%1 hat kein Gerät. Wählen Sie mit „COM wählen“ einen anderen Anschluss.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot open %1: another program has this device open.</source>
        <translation>%1 kann nicht geöffnet werden: Ein anderes Programm hat dieses Gerät geöffnet.</translation>
    </message>
    <message>
        <source>The connection on %1 was lost: %2</source>
        <translation>Die Verbindung über %1 ist abgebrochen: %2</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source> Still waiting (On/Off stops waiting).</source>
        <translation> Es wird weiter gewartet (Ein/Aus beendet das Warten).</translation>
    </message>
    <message>
        <source>Readings from %1 again.</source>
        <translation>Wieder Messwerte von %1.</translation>
    </message>
    <message>
        <source>The recording journal cannot be written: %1. Recording goes on in memory.</source>
        <translation>Das Aufzeichnungsjournal kann nicht geschrieben werden: %1. Die Aufzeichnung läuft im Speicher weiter.</translation>
    </message>
    <message>
        <source>Readings are simulated: no instrument is connected.</source>
        <translation>Die Messwerte sind simuliert: Es ist kein Gerät angeschlossen.</translation>
    </message>
    <message>
        <source>The setting could not be kept: %1</source>
        <translation>Die Einstellung konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>An unsaved recording of %1 (%2 – %3) was found. Restore it?</source>
        <translation>Eine nicht gespeicherte Aufzeichnung mit %1 (%2 – %3) wurde gefunden. Wiederherstellen?</translation>
    </message>
    <message>
        <source>1 sample</source>
        <translation>1 Messwert</translation>
    </message>
    <message>
        <source>%1 samples</source>
        <translation>%1 Messwerten</translation>
    </message>
    <message>
        <source>No recording journal (%1); recording goes on in memory.</source>
        <translation>Kein Aufzeichnungsjournal (%1); die Aufzeichnung läuft im Speicher weiter.</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source> Waiting for %1 to come back (On/Off stops waiting).</source>
        <translation> Es wird gewartet, bis %1 wieder da ist (Ein/Aus beendet das Warten).</translation>
    </message>
    <message>
        <source>Waiting for COM %1</source>
        <translation>Warte auf COM %1</translation>
    </message>
    <message>
        <source>Connected to %1 again.</source>
        <translation>Wieder mit %1 verbunden.</translation>
    </message>
    <message>
        <source>The settings could not be kept.
%1</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden.
%1</translation>
    </message>
    <message>
        <source>Wrote %1; recording goes on in a new file.</source>
        <translation>%1 geschrieben; die Aufzeichnung geht in einer neuen Datei weiter.</translation>
    </message>
    <message>
        <source>Folder for the new files</source>
        <translation>Ordner für die neuen Dateien</translation>
    </message>
    <message>
        <source>Orvane (simulated instrument)</source>
        <translation>Orvane (simuliertes Gerät)</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Time under the pointer</source>
        <translation>Zeit unter dem Zeiger</translation>
    </message>
    <message>
        <source>Temperature under the pointer</source>
        <translation>Temperatur unter dem Zeiger</translation>
    </message>
    <message>
        <source>Scroll Lock</source>
        <translation>Rollen</translation>
    </message>
    <message>
        <source>Do you want to save? </source>
        <translation>Möchten Sie speichern?</translation>
    </message>
    <message>
        <source>You have got the max data number,please restart!</source>
        <translation>Die größte Anzahl an Messwerten ist erreicht, bitte neu beginnen!</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Export as &amp;CSV...</source>
        <translation>Als &amp;CSV exportieren...</translation>
    </message>
    <message>
        <source>Write the recording as CSV for a spreadsheet</source>
        <translation>Die Aufzeichnung als CSV für eine Tabellenkalkulation schreiben</translation>
    </message>
    <message>
        <source>&amp;Print </source>
        <translation>&amp;Drucken </translation>
    </message>
    <message>
        <source>Print the active document</source>
        <translation>Das aktive Dokument drucken</translation>
    </message>
    <message>
        <source>Print </source>
        <translation>Drucken </translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Select COM</source>
        <translation>COM &amp;wählen</translation>
    </message>
    <message>
        <source>Select COM</source>
        <translation>COM wählen</translation>
    </message>
    <message>
        <source>&amp;On/Off</source>
        <translation>&amp;Ein/Aus</translation>
    </message>
    <message>
        <source>On/Off</source>
        <translation>Ein/Aus</translation>
    </message>
    <message>
        <source>Continue in a &amp;New File</source>
        <translation>In einer &amp;neuen Datei fortsetzen</translation>
    </message>
    <message>
        <source>At 4000 samples save the recording and go on recording into a new file</source>
        <translation>Bei 4000 Messwerten die Aufzeichnung speichern und in einer neuen Datei weiter aufzeichnen</translation>
    </message>
    <message>
        <source>&amp;UndoZoom</source>
        <translation>&amp;Zoom zurück</translation>
    </message>
    <message>
        <source>UndoZoom</source>
        <translation>Zoom zurück</translation>
    </message>
    <message>
        <source>&amp;Clear Screen</source>
        <translation>Anzeige &amp;leeren</translation>
    </message>
    <message>
        <source>Clear Screen</source>
        <translation>Anzeige leeren</translation>
    </message>
    <message>
        <source>&amp;Clear All</source>
        <translation>&amp;Alles löschen</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alles löschen</translation>
    </message>
    <message>
        <source>&amp;Alarm Notifications</source>
        <translation>&amp;Alarmmeldungen</translation>
    </message>
    <message>
        <source>Tell the desktop when a reading crosses an alarm limit</source>
        <translation>Den Desktop benachrichtigen, wenn ein Messwert eine Alarmgrenze überschreitet</translation>
    </message>
    <message>
        <source>Alarm Soun&amp;d</source>
        <translation>Alarm&amp;ton</translation>
    </message>
    <message>
        <source>Play a sound when a reading goes beyond an alarm limit</source>
        <translation>Einen Ton abspielen, wenn ein Messwert eine Alarmgrenze überschreitet</translation>
    </message>
    <message>
        <source>&amp;Publish...</source>
        <translation>&amp;Veröffentlichen...</translation>
    </message>
    <message>
        <source>Send the readings and alarms to an MQTT broker</source>
        <translation>Die Messwerte und Alarme an einen MQTT-Broker senden</translation>
    </message>
    <message>
        <source>&amp;About Orvane...</source>
        <translation>&amp;Über Orvane...</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>&amp;File(F)</source>
        <translation>&amp;Datei(D)</translation>
    </message>
    <message>
        <source>&amp;Tools(T)</source>
        <translation>E&amp;xtras(X)</translation>
    </message>
    <message>
        <source>&amp;Help(H)</source>
        <translation>&amp;Hilfe(H)</translation>
    </message>
</context>
<context>
    <name>DataListModel</name>
    <message>
        <source>NO.</source>
        <translation>NR.</translation>
    </message>
    <message>
        <source>DATA</source>
        <translation>WERT</translation>
    </message>
    <message>
        <source>UNIT</source>
        <translation>EINH.</translation>
    </message>
    <message>
        <source>TIME</source>
        <translation>ZEIT</translation>
    </message>
</context>
<context>
    <name>DataListPanel</name>
    <message>
        <source>Data list</source>
        <translation>Messwertliste</translation>
    </message>
    <message>
        <source>Recorded samples</source>
        <translation>Aufgezeichnete Messwerte</translation>
    </message>
</context>
<context>
    <name>DisplayPanel</name>
    <message>
        <source>Instrument display</source>
        <translation>Geräteanzeige</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
</context>
<context>
    <name>DocumentFiles</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>
%1 was written, without its text export.</source>
        <translation>
%1 wurde ohne seinen Textexport geschrieben.</translation>
    </message>
    <message>
        <source>
%1 was not written.</source>
        <translation>
%1 wurde nicht geschrieben.</translation>
    </message>
    <message>
        <source>
The recording is unchanged.</source>
        <translation>
Die Aufzeichnung ist unverändert.</translation>
    </message>
    <message>
        <source>Do you want to save? </source>
        <translation>Möchten Sie speichern?</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2.</source>
        <translation>%1 kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>ZavoDezuza Files (*.DovDat)</source>
        <translation>ZavoDezuza-Dateien (*.DovDat)</translation>
    </message>
    <message>
        <source>CSV, comma-separated, decimal point (*.csv)</source>
        <translation>CSV, durch Kommas getrennt, Dezimalpunkt (*.csv)</translation>
    </message>
    <message>
        <source>CSV, semicolon-separated, decimal comma (*.csv)</source>
        <translation>CSV, durch Semikolons getrennt, Dezimalkomma (*.csv)</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>No viewer and no web browser could show the help. Its pages are in the folder %1: open index.html there with any web browser.</source>
        <translation>Weder ein Betrachter noch ein Webbrowser konnte die Hilfe zeigen. Ihre Seiten liegen im Ordner %1: Öffnen Sie dort index.html mit einem Webbrowser.</translation>
    </message>
    <message>
        <source>Cannot show the help file %1:
%2</source>
        <translation>Die Hilfedatei %1 kann nicht angezeigt werden:
%2</translation>
    </message>
    <message>
        <source>The help file %1 was not found.</source>
        <translation>Die Hilfedatei %1 wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>no viewer can be started, because the program xdg-open is not installed.</source>
        <translation>Es kann kein Betrachter gestartet werden, da das Programm xdg-open nicht installiert ist.</translation>
    </message>
    <message>
        <source>no viewer for compiled help files (.chm) is installed, and the help pages %1 are missing. Install a viewer, for example xchm or kchmviewer, and try again.</source>
        <translation>Es ist kein Betrachter für kompilierte Hilfedateien (.chm) installiert, und die Hilfeseiten %1 fehlen. Installieren Sie einen Betrachter, zum Beispiel xchm oder kchmviewer, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>the viewer could not be started (%1).</source>
        <translation>Der Betrachter konnte nicht gestartet werden (%1).</translation>
    </message>
</context>
<context>
    <name>MessageLine</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>Orvane</name>
    <message>
        <source>Data logger for the Orvane hand-held infrared thermometer.</source>
        <translation>Datenlogger für das Orvane-Infrarot-Handthermometer.</translation>
    </message>
    <message>
        <source>Open PATH (a serial device or pseudo-terminal) whatever COM port is selected.</source>
        <translation>PATH (ein serielles Gerät oder Pseudo-Terminal) öffnen, gleich welcher COM-Anschluss gewählt ist.</translation>
    </message>
    <message>
        <source>Connect to a built-in simulated instrument.</source>
        <translation>Mit einem eingebauten simulierten Gerät verbinden.</translation>
    </message>
    <message>
        <source>A .DovDat data file to open.</source>
        <translation>Eine zu öffnende .DovDat-Datendatei.</translation>
    </message>
    <message>
        <source>The simulated instrument could not start: %1</source>
        <translation>Das simulierte Gerät konnte nicht starten: %1</translation>
    </message>
</context>
<context>
    <name>Prompter</name>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>PublishDialog</name>
    <message>
        <source>Publish</source>
        <translation>Veröffentlichen</translation>
    </message>
    <message>
        <source>&amp;Publish readings and alarms to an MQTT broker</source>
        <translation>Messwerte und Alarme an einen MQTT-Broker &amp;veröffentlichen</translation>
    </message>
    <message>
        <source>mqtt://[user[:password]@]host[:port], or mqtts:// for TLS</source>
        <translation>mqtt://[Benutzer[:Passwort]@]Host[:Port] oder mqtts:// für TLS</translation>
    </message>
    <message>
        <source>Readings go to TOPIC/reading, alarms to TOPIC/alarm, and TOPIC/status says online, waiting or offline</source>
        <translation>Messwerte gehen an TOPIC/reading, Alarme an TOPIC/alarm, und TOPIC/status meldet online, waiting oder offline</translation>
    </message>
    <message>
        <source>&amp;Broker URL:</source>
        <translation>&amp;Broker-URL:</translation>
    </message>
    <message>
        <source>&amp;Topic:</source>
        <translation>&amp;Thema:</translation>
    </message>
</context>
<context>
    <name>ReportPrinter</name>
    <message>
        <source>The report has pages 1 to %1 only.</source>
        <translation>Der Bericht hat nur die Seiten 1 bis %1.</translation>
    </message>
    <message>
        <source>Cannot write %1.</source>
        <translation>%1 kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Could not start print job.</source>
        <translation>Der Druckauftrag konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>The printer stopped after page %1.</source>
        <translation>Der Drucker hat nach Seite %1 angehalten.</translation>
    </message>
    <message>
        <source>Could not finish the print job.</source>
        <translation>Der Druckauftrag konnte nicht beendet werden.</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>SilenceWatch</name>
    <message>
        <source>No readings from %1 for %2 s: is the instrument switched on, in its data mode, and on this port?</source>
        <translation>Seit %2 s keine Messwerte von %1: Ist das Gerät eingeschaltet, im Datenmodus und an diesem Anschluss?</translation>
    </message>
</context>
<context>
    <name>ValueScrollPanel</name>
    <message>
        <source>Value scroll bar</source>
        <translation>Bildlaufleiste der Werte</translation>
    </message>
    <message>
        <source>Value window of the graph</source>
        <translation>Wertebereich der Grafik</translation>
    </message>
</context>
<context>
    <name>WindowPublisher</name>
    <message>
        <source>Readings are not published: %1.</source>
        <translation>Die Messwerte werden nicht veröffentlicht: %1.</translation>
    </message>
    <message>
        <source>The broker %1 cannot be reached (%2). Readings wait until it is back.</source>
        <translation>Der Broker %1 ist nicht erreichbar (%2). Die Messwerte warten, bis er wieder da ist.</translation>
    </message>
    <message>
        <source>The broker %1 has been away so long that %2 readings wait for it; the oldest go.</source>
        <translation>Der Broker %1 ist so lange weg, dass %2 Messwerte auf ihn warten; die ältesten entfallen.</translation>
    </message>
</context>
<context>
    <name>YesNoBox</name>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
</context>
</TS>
