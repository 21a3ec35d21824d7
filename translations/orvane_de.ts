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
    <message>
        <source>Lock</source>
        <translation>Sperre</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Bereich</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Anschluss</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Leitung</translation>
    </message>
    <message>
        <source>on</source>
        <translation>an</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>Clock</source>
        <translation>Uhr</translation>
    </message>
    <message>
        <source>DataInput</source>
        <translation>Dateneingang</translation>
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
    <message>
        <source>Another program reads %1 too%2: the readings it takes are missing from this recording. Close that program.</source>
        <translation>Ein anderes Programm liest %1 ebenfalls%2: Die Messwerte, die es nimmt, fehlen in dieser Aufzeichnung. Schließen Sie dieses Programm.</translation>
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
    <message>
        <source>More buttons</source>
        <translation>Weitere Schaltflächen</translation>
    </message>
    <message>
        <source>Resize the window</source>
        <translation>Die Fenstergröße ändern</translation>
    </message>
    <message>
        <source>AlarmHI %1 is below Lo %2: they are taken the other way round, high %2 and low %1.</source>
        <translation>AlarmHI %1 liegt unter Lo %2: Sie werden umgekehrt genommen, oben %2 und unten %1.</translation>
    </message>
    <message>
        <source>Above the high alarm limit</source>
        <translation>Über der oberen Alarmgrenze</translation>
    </message>
    <message>
        <source>Below the low alarm limit</source>
        <translation>Unter der unteren Alarmgrenze</translation>
    </message>
    <message>
        <source>Back within the alarm limits</source>
        <translation>Wieder innerhalb der Alarmgrenzen</translation>
    </message>
    <message>
        <source>%1 %2 at %3 (limit %4 %2)</source>
        <translation>%1 %2 um %3 (Grenze %4 %2)</translation>
    </message>
    <message>
        <source>View Recordings</source>
        <translation>Aufzeichnungen ansehen</translation>
    </message>
    <message>
        <source>Recordings (*.DovDat *.dovdat *.csv *.CSV);;All files (*)</source>
        <translation>Aufzeichnungen (*.DovDat *.dovdat *.csv *.CSV);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Recording goes on from COM %1; On/Off moves to COM %2.</source>
        <translation>Die Aufzeichnung geht von COM %1 weiter; Ein/Aus wechselt zu COM %2.</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>Records, converts and summarises readings of the Orvane infrared thermometer
without a window.

Commands:
  record   Record from a serial device (or the built-in simulated instrument)
           into a data file, its text export and, if asked, a CSV file.
  recover  Turn the recording a journal kept (after a crash or a power cut)
           into a data file and its text export.
  convert  Write a data file as its text export or as CSV.
  info     Show what a data file holds.
  stats    The statistics and alarm episodes of recordings over a period.
  ports    List the serial devices and their COM numbers.

Type &apos;orvane-cli COMMAND --help&apos; for the options of a command.</source>
        <translation>Zeichnet Messwerte des Orvane-Infrarotthermometers ohne Fenster auf, wandelt sie
um und fasst sie zusammen.

Befehle:
  record   Von einem seriellen Gerät (oder dem eingebauten simulierten Gerät) in
           eine Datendatei, ihren Textexport und auf Wunsch eine CSV-Datei
           aufzeichnen.
  recover  Die Aufzeichnung, die ein Journal (nach einem Absturz oder
           Stromausfall) bewahrt hat, in eine Datendatei und ihren Textexport
           schreiben.
  convert  Eine Datendatei als Textexport oder als CSV schreiben.
  info     Zeigen, was eine Datendatei enthält.
  stats    Die Statistik und die Alarmepisoden von Aufzeichnungen über einen
           Zeitraum.
  ports    Die seriellen Geräte und ihre COM-Nummern auflisten.

&apos;orvane-cli BEFEHL --help&apos; zeigt die Optionen eines Befehls.</translation>
    </message>
    <message>
        <source>The data file (default: named after the time of saving, in the current folder). A file is never replaced: where FILE.DovDat is taken, the next free of FILE-2.DovDat, FILE-3.DovDat, ... is written.</source>
        <translation>Die Datendatei (Vorgabe: nach der Zeit des Speicherns benannt, im aktuellen Ordner). Eine Datei wird nie ersetzt: Ist FILE.DovDat vergeben, wird die nächste freie von FILE-2.DovDat, FILE-3.DovDat, ... geschrieben.</translation>
    </message>
    <message>
        <source>Shows this help.</source>
        <translation>Zeigt diese Hilfe.</translation>
    </message>
    <message>
        <source>--%1 wants a number, not &apos;%2&apos;</source>
        <translation>--%1 erwartet eine Zahl, nicht &apos;%2&apos;</translation>
    </message>
    <message>
        <source>How the CSV writes times: local (the default), 2026-12-07 14:03:51 in local time with the UTC offset in a column of its own (number,time,utc_offset,value,unit,log), which spreadsheets read as a date and time; or iso, 2026-12-07T14:03:51+01:00 in one column (number,time,value,unit,log).</source>
        <translation>Wie die CSV-Datei Zeiten schreibt: local (die Vorgabe), 2026-12-07 14:03:51 in Ortszeit mit dem UTC-Versatz in einer eigenen Spalte (number,time,utc_offset,value,unit,log), was Tabellenkalkulationen als Datum und Uhrzeit lesen; oder iso, 2026-12-07T14:03:51+01:00 in einer Spalte (number,time,value,unit,log).</translation>
    </message>
    <message>
        <source>Writes a data file as its text export (the default) or as CSV, onto
the standard output or into OUT.</source>
        <translation>Schreibt eine Datendatei als Textexport (die Vorgabe) oder als CSV auf die
Standardausgabe oder in OUT.</translation>
    </message>
    <message>
        <source>CSV: number,time,utc_offset,value,unit,log. A data file does not keep the log mark: the log field is left empty.</source>
        <translation>CSV: number,time,utc_offset,value,unit,log. Eine Datendatei bewahrt die Log-Markierung nicht: Das Feld log bleibt leer.</translation>
    </message>
    <message>
        <source>The text export, as Save writes it.</source>
        <translation>Der Textexport, wie Speichern ihn schreibt.</translation>
    </message>
    <message>
        <source>Write OUT (replaced whole) instead of the standard output.</source>
        <translation>OUT (ganz ersetzt) statt der Standardausgabe schreiben.</translation>
    </message>
    <message>
        <source>The data file to convert (-: the standard input).</source>
        <translation>Die umzuwandelnde Datendatei (-: die Standardeingabe).</translation>
    </message>
    <message>
        <source>Shows how many samples a data file holds, the first and last time, the
lowest and highest value, and how many samples lie above H or below L.</source>
        <translation>Zeigt, wie viele Messwerte eine Datendatei enthält, die erste und letzte Zeit,
den kleinsten und größten Wert und wie viele Messwerte über H oder unter L liegen.</translation>
    </message>
    <message>
        <source>Count the samples above H.</source>
        <translation>Die Messwerte über H zählen.</translation>
    </message>
    <message>
        <source>Count the samples below L.</source>
        <translation>Die Messwerte unter L zählen.</translation>
    </message>
    <message>
        <source>The data file to read (-: the standard input).</source>
        <translation>Die zu lesende Datendatei (-: die Standardeingabe).</translation>
    </message>
    <message>
        <source>The recording journal (default: %1).</source>
        <translation>Das Aufzeichnungsjournal (Vorgabe: %1).</translation>
    </message>
    <message>
        <source>Writes the recording the journal kept (after a crash, a kill or a power cut) as
a data file and its text export, as Save does, then sets the journal aside under
a dated name beside it. Every journal of the set (recording.journal,
recording-2.journal, ... of runs at the same time) that keeps an unsaved
recording is recovered, one after the other. Exits with 1 when there is nothing
to recover or another process is recording with the journal.</source>
        <translation>Schreibt die Aufzeichnung, die das Journal (nach einem Absturz, einem kill oder
einem Stromausfall) bewahrt hat, wie Speichern als Datendatei und Textexport und
legt das Journal dann unter einem Namen mit Datum daneben ab. Jedes Journal der
Reihe (recording.journal, recording-2.journal, ... gleichzeitiger Läufe) mit
einer nicht gespeicherten Aufzeichnung wird wiederhergestellt, eines nach dem
anderen. Endet mit 1, wenn nichts wiederherzustellen ist oder ein anderer
Prozess mit dem Journal aufzeichnet.</translation>
    </message>
    <message>
        <source>Recovers an unsaved recording.</source>
        <translation>Stellt eine nicht gespeicherte Aufzeichnung wieder her.</translation>
    </message>
    <message>
        <source>The serial device (or pseudo-terminal) the instrument is on.</source>
        <translation>Das serielle Gerät (oder Pseudo-Terminal), an dem das Gerät hängt.</translation>
    </message>
    <message>
        <source>Record from a built-in simulated instrument.</source>
        <translation>Von einem eingebauten simulierten Gerät aufzeichnen.</translation>
    </message>
    <message>
        <source>auto (every reading, the default) or the latest reading once per interval: %1.</source>
        <translation>auto (jeder Messwert, die Vorgabe) oder der jüngste Messwert einmal je Intervall: %1.</translation>
    </message>
    <message>
        <source>Also write every sample into FILE.csv as it comes.</source>
        <translation>Jeden Messwert auch gleich in FILE.csv schreiben.</translation>
    </message>
    <message>
        <source>Stop after N samples.</source>
        <translation>Nach N Messwerten aufhören.</translation>
    </message>
    <message>
        <source>Stop after this long, e.g. 90s, 2min, 1h30m.</source>
        <translation>Nach dieser Dauer aufhören, z. B. 90s, 2min, 1h30m.</translation>
    </message>
    <message>
        <source>At the data file&apos;s limit of 4000 samples, write it and go on into the next file: FILE.DovDat, FILE-2.DovDat, ... (or the time-stamped names); a name taken already is passed over.</source>
        <translation>Bei der Grenze der Datendatei von 4000 Messwerten diese schreiben und in der nächsten Datei weitermachen: FILE.DovDat, FILE-2.DovDat, ... (oder die Namen mit Zeitstempel); ein schon vergebener Name wird übersprungen.</translation>
    </message>
    <message>
        <source>No line per sample (nor a status line on a terminal); warnings, alarms and the end are still said on the standard error.</source>
        <translation>Keine Zeile je Messwert (und keine Statuszeile auf einem Terminal); Warnungen, Alarme und das Ende werden weiter auf der Standardfehlerausgabe gemeldet.</translation>
    </message>
    <message>
        <source>The high alarm limit, in degrees of the readings (default: the window&apos;s, now %1).</source>
        <translation>Die obere Alarmgrenze in Grad der Messwerte (Vorgabe: die des Fensters, jetzt %1).</translation>
    </message>
    <message>
        <source>The low alarm limit (default: the window&apos;s, now %1).</source>
        <translation>Die untere Alarmgrenze (Vorgabe: die des Fensters, jetzt %1).</translation>
    </message>
    <message>
        <source>Run CMD through /bin/sh on every change of the alarm state, with ORVANE_ALARM (high, low or normal), ORVANE_VALUE, ORVANE_UNIT, ORVANE_LIMIT, ORVANE_TIME and ORVANE_DEVICE set. Recording never waits for it. One command runs at a time: a change that comes while it runs waits for it, and a later change replaces the one waiting. At the end it has 5 s, then it and all it started are ended; of its output the last 4 KiB are shown when it fails.</source>
        <translation>CMD bei jeder Änderung des Alarmzustands über /bin/sh ausführen, mit ORVANE_ALARM (high, low oder normal), ORVANE_VALUE, ORVANE_UNIT, ORVANE_LIMIT, ORVANE_TIME und ORVANE_DEVICE gesetzt. Die Aufzeichnung wartet nie darauf. Es läuft immer nur ein Befehl: Eine Änderung, die währenddessen kommt, wartet auf ihn, und eine spätere ersetzt die wartende. Am Ende hat er 5 s, dann werden er und alles, was er gestartet hat, beendet; von seiner Ausgabe werden die letzten 4 KiB gezeigt, wenn er fehlschlägt.</translation>
    </message>
    <message>
        <source>Publish to this MQTT broker (QoS 1): mqtt://[USER@]HOST[:PORT]/TOPIC, mqtts:// for TLS (port 8883).</source>
        <translation>An diesen MQTT-Broker veröffentlichen (QoS 1): mqtt://[USER@]HOST[:PORT]/TOPIC, mqtts:// für TLS (Port 8883).</translation>
    </message>
    <message>
        <source>The user name for the broker.</source>
        <translation>Der Benutzername für den Broker.</translation>
    </message>
    <message>
        <source>Records from the instrument.</source>
        <translation>Zeichnet vom Gerät auf.</translation>
    </message>
    <message>
        <source>The statistics of recordings over a period: how many samples, the first and last
time, the lowest and highest value with their times, the mean, the standard
deviation, samples without a value, gaps, the time above the high limit and below
the low one, and every alarm episode. The files of a chain, several runs, CSV
files and folders are taken together, ordered by time. Each sample counts as
holding until the next one, never across a gap (longer than 10 s and ten times
the usual interval) or past a sample without a value; the last one of the
period holds nothing. Times are ISO 8601 with the offset from UTC.</source>
        <translation>Die Statistik von Aufzeichnungen über einen Zeitraum: wie viele Messwerte, die
erste und letzte Zeit, der kleinste und größte Wert mit ihren Zeiten, der
Mittelwert, die Standardabweichung, Messwerte ohne Wert, Lücken, die Zeit über der
oberen und unter der unteren Grenze und jede Alarmepisode. Die Dateien einer
Kette, mehrere Läufe, CSV-Dateien und Ordner werden zusammen genommen, nach der
Zeit geordnet. Jeder Messwert gilt bis zum nächsten, nie über eine Lücke (länger
als 10 s und das Zehnfache des üblichen Abstands) oder über einen Messwert ohne
Wert hinweg; der letzte des Zeitraums gilt für keine Zeit. Zeiten sind ISO 8601
mit dem Versatz zu UTC.</translation>
    </message>
    <message>
        <source>Only samples at or after TIME (2026-12-07T22:00, local time unless an offset follows).</source>
        <translation>Nur Messwerte ab TIME (2026-12-07T22:00, Ortszeit, wenn kein Versatz folgt).</translation>
    </message>
    <message>
        <source>Only samples at or before TIME.</source>
        <translation>Nur Messwerte bis TIME.</translation>
    </message>
    <message>
        <source>The high limit (default: the window&apos;s, now %1).</source>
        <translation>Die obere Grenze (Vorgabe: die des Fensters, jetzt %1).</translation>
    </message>
    <message>
        <source>The low limit (default: the window&apos;s, now %1).</source>
        <translation>Die untere Grenze (Vorgabe: die des Fensters, jetzt %1).</translation>
    </message>
    <message>
        <source>JSON for scripts, with the keys samples, first, last, unit, min, min_time, max, max_time, mean, stddev, no_value, gaps, above_seconds, below_seconds and episodes (a list of start, end, limit and extreme).</source>
        <translation>JSON für Skripte, mit den Schlüsseln samples, first, last, unit, min, min_time, max, max_time, mean, stddev, no_value, gaps, above_seconds, below_seconds und episodes (eine Liste aus start, end, limit und extreme).</translation>
    </message>
    <message>
        <source>Data files, CSV files or folders of them.</source>
        <translation>Datendateien, CSV-Dateien oder Ordner mit solchen.</translation>
    </message>
    <message>
        <source>Lists the serial devices on this computer with the COM number the window&apos;s
Select COM reaches each one by (the [COMDevices] section of its configuration
file may give more). record takes the device&apos;s path with --device.</source>
        <translation>Listet die seriellen Geräte dieses Computers mit der COM-Nummer, unter der „COM
wählen“ im Fenster jedes erreicht (der Abschnitt [COMDevices] seiner
Konfigurationsdatei kann weitere angeben). record nimmt den Pfad des Geräts mit
--device.</translation>
    </message>
    <message>
        <source>Lists the serial devices.</source>
        <translation>Listet die seriellen Geräte auf.</translation>
    </message>
    <message>
        <source>record, recover, convert, info, stats or ports.</source>
        <translation>record, recover, convert, info, stats oder ports.</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>Argumente:</translation>
    </message>
    <message>
        <source>Usage: %1 [options] %2</source>
        <translation>Aufruf: %1 [Optionen] %2</translation>
    </message>
    <message>
        <source>Read the broker&apos;s password from the first line of FILE, a regular file only you can read (a password in the URL is seen by every user of this computer).</source>
        <translation>Das Passwort für den Broker aus der ersten Zeile von FILE lesen, einer regulären Datei, die nur Sie lesen können (ein Passwort in der URL sieht jeder Benutzer dieses Computers).</translation>
    </message>
    <message>
        <source>Records the instrument&apos;s readings until COUNT samples, the DURATION, the data
file&apos;s limit of 4000 samples, Ctrl+C or SIGTERM, then writes the data file and
its text export as Save does. Prints a line per sample (number, value, unit,
time), or a status line on a terminal; neither with --quiet.
With --split a full data file is written and the recording goes on into the
next one. With --csv and neither --out nor --split only the CSV file is written,
and the run goes on past 4000 samples.
Exit status: 0 when it stopped as asked (COUNT, DURATION, Ctrl+C or SIGTERM),
3 when it ended early (the limit without --split) or recorded nothing, 1 when a
device or a file failed, 2 for a wrong command line.
A file the disk does not take is kept in memory and written when there is room,
tried every 10 s; a stopped run waits for it, and a second Ctrl+C ends it without.
Prints an &quot;alarm:&quot; line (state, value, unit, limit, time) on the standard
error whenever the readings go above the high limit, below the low limit, or
back between them.
With --mqtt every sample goes to the broker as JSON on TOPIC/reading, every
change of the alarm state on TOPIC/alarm, and TOPIC/status says online,
waiting (the line is lost) or offline; while the broker is away the readings
wait (an hour of them and more) and follow in order when it is back. TOPIC/alarm
is retained and holds the current state from the start. A broker that refuses
the user name or password is not asked again; the exit status is then 1 when
nothing was published.</source>
        <translation>Zeichnet die Messwerte des Geräts bis COUNT Messwerte, DURATION, die Grenze der
Datendatei von 4000 Messwerten, Strg+C oder SIGTERM auf und schreibt dann die
Datendatei und ihren Textexport wie Speichern. Gibt eine Zeile je Messwert aus
(Nummer, Wert, Einheit, Zeit) oder auf einem Terminal eine Statuszeile; mit
--quiet keines von beiden.
Mit --split wird eine volle Datendatei geschrieben und die Aufzeichnung geht in
die nächste weiter. Mit --csv und weder --out noch --split wird nur die
CSV-Datei geschrieben, und der Lauf geht über 4000 Messwerte hinaus.
Endestatus: 0, wenn wie verlangt beendet (COUNT, DURATION, Strg+C oder SIGTERM),
3, wenn vorzeitig beendet (die Grenze ohne --split) oder nichts aufgezeichnet,
1, wenn ein Gerät oder eine Datei versagte, 2 bei falscher Befehlszeile.
Eine Datei, die der Datenträger nicht aufnimmt, bleibt im Speicher und wird
geschrieben, sobald Platz ist (alle 10 s versucht); ein beendeter Lauf wartet
darauf, ein zweites Strg+C beendet ihn ohne sie.
Gibt eine &quot;alarm:&quot;-Zeile (Zustand, Wert, Einheit, Grenze, Zeit) auf der
Standardfehlerausgabe aus, sobald die Messwerte über die obere Grenze, unter die
untere Grenze oder zwischen beide zurück gehen.
Mit --mqtt geht jeder Messwert als JSON an TOPIC/reading zum Broker, jede
Änderung des Alarmzustands an TOPIC/alarm, und TOPIC/status meldet online,
waiting (die Leitung ist verloren) oder offline; ist der Broker weg, warten die
Messwerte (eine Stunde und mehr) und folgen der Reihe nach, wenn er zurück ist.
TOPIC/alarm wird gehalten (retained) und hält den aktuellen Zustand von Anfang an.
Ein Broker, der Benutzername oder Passwort ablehnt, wird nicht erneut gefragt;
der Endestatus ist dann 1, wenn nichts veröffentlicht wurde.</translation>
    </message>
    <message>
        <source>How far back inside its limit a reading must be before an alarm ends, in degrees, so that a reading hovering at a limit does not chatter (default: the window&apos;s, now %1).</source>
        <translation>Wie weit ein Messwert wieder innerhalb seiner Grenze liegen muss, bevor ein Alarm endet, in Grad, damit ein Messwert an einer Grenze nicht hin und her springt (Vorgabe: die des Fensters, jetzt %1).</translation>
    </message>
    <message>
        <source>samples</source>
        <translation>Messwerte</translation>
    </message>
    <message>
        <source>first</source>
        <translation>erster</translation>
    </message>
    <message>
        <source>last</source>
        <translation>letzter</translation>
    </message>
    <message>
        <source>duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>lowest</source>
        <translation>kleinster</translation>
    </message>
    <message>
        <source>highest</source>
        <translation>größter</translation>
    </message>
    <message>
        <source>mean</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>std dev</source>
        <translation>Std.-Abw.</translation>
    </message>
    <message>
        <source>gaps</source>
        <translation>Lücken</translation>
    </message>
    <message>
        <source>above</source>
        <translation>über</translation>
    </message>
    <message>
        <source>below</source>
        <translation>unter</translation>
    </message>
    <message>
        <source>episodes</source>
        <translation>Episoden</translation>
    </message>
    <message>
        <source>%1 (%2 without a value)</source>
        <translation>%1 (%2 ohne Wert)</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%1 um %2</translation>
    </message>
    <message>
        <source>%1, %2 in all</source>
        <translation>%1, insgesamt %2</translation>
    </message>
    <message>
        <source>%1 (limit %2)</source>
        <translation>%1 (Grenze %2)</translation>
    </message>
    <message>
        <source>%1 to %2  %3  extreme %4</source>
        <translation>%1 bis %2  %3  Extremwert %4</translation>
    </message>
    <message>
        <source>  (the first %1 listed)</source>
        <translation>  (die ersten %1 aufgeführt)</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the data file was written, without its text export</source>
        <translation>die Datendatei wurde ohne ihren Textexport geschrieben</translation>
    </message>
    <message>
        <source>The data file will be %1.</source>
        <translation>Die Datendatei wird %1.</translation>
    </message>
    <message>
        <source>The data file will be %1: %2 is taken.</source>
        <translation>Die Datendatei wird %1: %2 ist vergeben.</translation>
    </message>
    <message>
        <source>the broker has been away so long that %1 readings wait for it; the oldest go</source>
        <translation>der Broker ist so lange weg, dass %1 Messwerte auf ihn warten; die ältesten entfallen</translation>
    </message>
    <message>
        <source>Publishing to %1.</source>
        <translation>Veröffentlichung an %1.</translation>
    </message>
    <message>
        <source>%1 messages were not published: the broker %2 refused the user name or password</source>
        <translation>%1 Nachrichten wurden nicht veröffentlicht: Der Broker %2 hat Benutzername oder Passwort abgelehnt</translation>
    </message>
    <message>
        <source>%1 messages were not published: the broker %2 is away</source>
        <translation>%1 Nachrichten wurden nicht veröffentlicht: Der Broker %2 ist weg</translation>
    </message>
    <message>
        <source>the broker %1 refused the user name or password (%2); nothing more is published this run</source>
        <translation>der Broker %1 hat Benutzername oder Passwort abgelehnt (%2); in diesem Lauf wird nichts mehr veröffentlicht</translation>
    </message>
    <message>
        <source>broker refused the login</source>
        <translation>Broker hat die Anmeldung abgelehnt</translation>
    </message>
    <message>
        <source>the broker %1 cannot be reached (%2); readings wait until it is back</source>
        <translation>der Broker %1 ist nicht erreichbar (%2); die Messwerte warten, bis er wieder da ist</translation>
    </message>
    <message>
        <source>broker away</source>
        <translation>Broker weg</translation>
    </message>
    <message>
        <source>Connected to %1 again.</source>
        <translation>Wieder mit %1 verbunden.</translation>
    </message>
    <message>
        <source>Readings from %1 again.</source>
        <translation>Wieder Messwerte von %1.</translation>
    </message>
    <message>
        <source>--split needs a file for --out, not a pipe or a device: %1</source>
        <translation>--split braucht für --out eine Datei, keine Pipe und kein Gerät: %1</translation>
    </message>
    <message>
        <source>into the current folder</source>
        <translation>in den aktuellen Ordner</translation>
    </message>
    <message>
        <source>it is in use by %1</source>
        <translation>es wird von %1 benutzt</translation>
    </message>
    <message>
        <source>Recording from %1; Ctrl+C stops.</source>
        <translation>Aufzeichnung von %1; Strg+C beendet sie.</translation>
    </message>
    <message>
        <source>waiting for readings from %1</source>
        <translation>warte auf Messwerte von %1</translation>
    </message>
    <message>
        <source>The standard output was closed (%1); the recording goes on without printing its samples.</source>
        <translation>Die Standardausgabe wurde geschlossen (%1); die Aufzeichnung geht weiter, ohne ihre Messwerte auszugeben.</translation>
    </message>
    <message>
        <source>1 sample, %1 of %2 in this file</source>
        <translation>1 Messwert, %1 von %2 in dieser Datei</translation>
    </message>
    <message>
        <source>%1 samples, %2 of %3 in this file</source>
        <translation>%1 Messwerte, %2 von %3 in dieser Datei</translation>
    </message>
    <message>
        <source>%1; last %2 %3 at %4</source>
        <translation>%1; zuletzt %2 %3 um %4</translation>
    </message>
    <message>
        <source>the %1 samples of the full file are kept in memory and written as soon as there is room, tried every %2 s; the recording goes on</source>
        <translation>die %1 Messwerte der vollen Datei bleiben im Speicher und werden geschrieben, sobald Platz ist (alle %2 s versucht); die Aufzeichnung geht weiter</translation>
    </message>
    <message>
        <source>The data file&apos;s limit of %1 samples is reached; --split goes on into the next file.</source>
        <translation>Die Grenze der Datendatei von %1 Messwerten ist erreicht; --split macht in der nächsten Datei weiter.</translation>
    </message>
    <message>
        <source>Waiting for %1 to come back (Ctrl+C stops).</source>
        <translation>Es wird gewartet, bis %1 wieder da ist (Strg+C beendet).</translation>
    </message>
    <message>
        <source>%1 samples were not written</source>
        <translation>%1 Messwerte wurden nicht geschrieben</translation>
    </message>
    <message>
        <source>Recorded 1 sample.</source>
        <translation>1 Messwert aufgezeichnet.</translation>
    </message>
    <message>
        <source>Recorded %1 samples.</source>
        <translation>%1 Messwerte aufgezeichnet.</translation>
    </message>
    <message>
        <source>the recording is kept in memory and written as soon as there is room, tried every %1 s; Ctrl+C again ends the run without it</source>
        <translation>die Aufzeichnung bleibt im Speicher und wird geschrieben, sobald Platz ist (alle %1 s versucht); ein weiteres Strg+C beendet den Lauf ohne sie</translation>
    </message>
    <message>
        <source>a file that was not a recording journal this program can read was kept as %1</source>
        <translation>eine Datei, die kein für dieses Programm lesbares Aufzeichnungsjournal war, wurde als %1 aufbewahrt</translation>
    </message>
    <message>
        <source>an unsaved recording of %1 samples (%2 to %3) was found in %4; &apos;%5&apos; turns it into a data file</source>
        <translation>eine nicht gespeicherte Aufzeichnung mit %1 Messwerten (%2 bis %3) wurde in %4 gefunden; &apos;%5&apos; macht daraus eine Datendatei</translation>
    </message>
    <message>
        <source>no recording journal (%1); the recording is kept in memory only until it is saved</source>
        <translation>kein Aufzeichnungsjournal (%1); die Aufzeichnung bleibt nur im Speicher, bis sie gespeichert ist</translation>
    </message>
    <message>
        <source>the recording journal %1 is kept for recover; this recording is journalled in %2</source>
        <translation>das Aufzeichnungsjournal %1 wird für recover aufbewahrt; diese Aufzeichnung wird in %2 protokolliert</translation>
    </message>
    <message>
        <source>the recording journal %1 is in use by another process; this recording is journalled in %2</source>
        <translation>das Aufzeichnungsjournal %1 wird von einem anderen Prozess benutzt; diese Aufzeichnung wird in %2 protokolliert</translation>
    </message>
    <message>
        <source>%1; the recording goes on in memory</source>
        <translation>%1; die Aufzeichnung läuft im Speicher weiter</translation>
    </message>
    <message>
        <source>The recording stays in the journal %1; &apos;%2&apos; turns it into a data file.</source>
        <translation>Die Aufzeichnung bleibt im Journal %1; &apos;%2&apos; macht daraus eine Datendatei.</translation>
    </message>
    <message>
        <source>Wrote %1.</source>
        <translation>%1 geschrieben.</translation>
    </message>
    <message>
        <source>Nothing was recorded, so no data file was written.</source>
        <translation>Es wurde nichts aufgezeichnet, daher wurde keine Datendatei geschrieben.</translation>
    </message>
    <message>
        <source>The recording was kept in %1 instead.</source>
        <translation>Die Aufzeichnung wurde stattdessen in %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>1 message was not published: the broker %1 refused the user name or password</source>
        <translation>1 Nachricht wurde nicht veröffentlicht: Der Broker %1 hat Benutzername oder Passwort abgelehnt</translation>
    </message>
    <message>
        <source>1 message was not published: the broker %1 is away</source>
        <translation>1 Nachricht wurde nicht veröffentlicht: Der Broker %1 ist weg</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>the alarm command (process %1) was still running at the end and could not be stopped</source>
        <translation>der Alarmbefehl (Prozess %1) lief am Ende noch und konnte nicht beendet werden</translation>
    </message>
    <message>
        <source>the alarm command was still running at the end and was stopped</source>
        <translation>der Alarmbefehl lief am Ende noch und wurde beendet</translation>
    </message>
    <message>
        <source>the change to %1 at %2 was not passed to the alarm command: the run ended first</source>
        <translation>der Wechsel zu %1 um %2 wurde nicht an den Alarmbefehl gegeben: der Lauf endete vorher</translation>
    </message>
    <message>
        <source>the alarm command could not be started: %1</source>
        <translation>der Alarmbefehl konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>the alarm command was ended by a signal</source>
        <translation>der Alarmbefehl wurde durch ein Signal beendet</translation>
    </message>
    <message>
        <source>the alarm command exited with status %1</source>
        <translation>der Alarmbefehl endete mit Status %1</translation>
    </message>
    <message>
        <source>[the last %1 bytes of its output]</source>
        <translation>[die letzten %1 Bytes seiner Ausgabe]</translation>
    </message>
    <message>
        <source>Try &apos;%1&apos;.</source>
        <translation>Siehe &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>not a data file (%1)</source>
        <translation>keine Datendatei (%1)</translation>
    </message>
    <message>
        <source>cannot convert %1: the time &quot;%2&quot; of sample %3 is not of the form mm-dd-yy/HH:MM:SS</source>
        <translation>%1 kann nicht umgewandelt werden: die Zeit &quot;%2&quot; von Messwert %3 hat nicht die Form mm-dd-yy/HH:MM:SS</translation>
    </message>
    <message>
        <source>cannot write the standard output: %1</source>
        <translation>die Standardausgabe kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unerwartetes Argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--time is local or iso, not &apos;%1&apos;</source>
        <translation>--time ist local oder iso, nicht &apos;%1&apos;</translation>
    </message>
    <message>
        <source>give the data file to read</source>
        <translation>die zu lesende Datendatei angeben</translation>
    </message>
    <message>
        <source>give one data file, not %1</source>
        <translation>eine Datendatei angeben, nicht %1</translation>
    </message>
    <message>
        <source>give --csv or --txt, not both</source>
        <translation>--csv oder --txt angeben, nicht beide</translation>
    </message>
    <message>
        <source>--journal and -o want a file name</source>
        <translation>--journal und -o erwarten einen Dateinamen</translation>
    </message>
    <message>
        <source>no folder for the recording journal: set HOME or give --journal</source>
        <translation>kein Ordner für das Aufzeichnungsjournal: HOME setzen oder --journal angeben</translation>
    </message>
    <message>
        <source>give --device PATH or --simulator</source>
        <translation>--device PFAD oder --simulator angeben</translation>
    </message>
    <message>
        <source>--device wants the path of a serial device</source>
        <translation>--device erwartet den Pfad eines seriellen Geräts</translation>
    </message>
    <message>
        <source>--interval is one of %1, not &apos;%2&apos;</source>
        <translation>--interval ist eines von %1, nicht &apos;%2&apos;</translation>
    </message>
    <message>
        <source>--count wants a whole number of at least 1, not &apos;%1&apos;</source>
        <translation>--count erwartet eine ganze Zahl ab 1, nicht &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--duration wants a time such as 90s, 2min or 1h30m, not &apos;%1&apos;</source>
        <translation>--duration erwartet eine Dauer wie 90s, 2min oder 1h30m, nicht &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--out and --csv want a file name</source>
        <translation>--out und --csv erwarten einen Dateinamen</translation>
    </message>
    <message>
        <source>--out and --csv name the same file</source>
        <translation>--out und --csv nennen dieselbe Datei</translation>
    </message>
    <message>
        <source>--journal wants a file name</source>
        <translation>--journal erwartet einen Dateinamen</translation>
    </message>
    <message>
        <source>--%1 wants a whole number of degrees, not &apos;%2&apos;</source>
        <translation>--%1 erwartet eine ganze Zahl von Grad, nicht &apos;%2&apos;</translation>
    </message>
    <message>
        <source>the high limit %1 is below the low limit %2 (--high and --low)</source>
        <translation>die obere Grenze %1 liegt unter der unteren Grenze %2 (--high und --low)</translation>
    </message>
    <message>
        <source>--deadband wants a number of degrees of at least 0, not &apos;%1&apos;</source>
        <translation>--deadband erwartet eine Gradzahl ab 0, nicht &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--on-alarm wants a command</source>
        <translation>--on-alarm erwartet einen Befehl</translation>
    </message>
    <message>
        <source>--mqtt-user and --mqtt-password-file go with --mqtt</source>
        <translation>--mqtt-user und --mqtt-password-file gehören zu --mqtt</translation>
    </message>
    <message>
        <source>other users of this computer may read the password file %1 (chmod 600 keeps it yours)</source>
        <translation>andere Benutzer dieses Computers können die Passwortdatei %1 lesen (chmod 600 macht sie zu Ihrer)</translation>
    </message>
    <message>
        <source>the password in the URL is seen by every user of this computer; --mqtt-password-file keeps it out of sight</source>
        <translation>das Passwort in der URL sieht jeder Benutzer dieses Computers; --mqtt-password-file hält es verborgen</translation>
    </message>
    <message>
        <source>cannot catch Ctrl+C: %1</source>
        <translation>Strg+C kann nicht abgefangen werden: %1</translation>
    </message>
    <message>
        <source>the simulated instrument could not start: %1</source>
        <translation>das simulierte Gerät konnte nicht starten: %1</translation>
    </message>
    <message>
        <source>give the recordings to read</source>
        <translation>die zu lesenden Aufzeichnungen angeben</translation>
    </message>
    <message>
        <source>--%1 wants a time such as 2026-12-07T22:00, not &apos;%2&apos;</source>
        <translation>--%1 erwartet eine Zeit wie 2026-12-07T22:00, nicht &apos;%2&apos;</translation>
    </message>
    <message>
        <source>the high limit is below the low limit</source>
        <translation>die obere Grenze liegt unter der unteren Grenze</translation>
    </message>
    <message>
        <source>give a command: record, recover, convert, info, stats or ports</source>
        <translation>einen Befehl angeben: record, recover, convert, info, stats oder ports</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos; (record, recover, convert, info, stats or ports)</source>
        <translation>unbekannter Befehl &apos;%1&apos; (record, recover, convert, info, stats oder ports)</translation>
    </message>
    <message>
        <source>nothing to recover: %1: %2</source>
        <translation>nichts wiederherzustellen: %1: %2</translation>
    </message>
    <message>
        <source>the recording journal %1 is in use by another process that is recording; recover it once that recording has ended</source>
        <translation>das Aufzeichnungsjournal %1 wird von einem anderen Prozess benutzt, der aufzeichnet; stellen Sie es wieder her, wenn diese Aufzeichnung beendet ist</translation>
    </message>
    <message>
        <source>nothing to recover: %1 is not a recording journal this program can read; it was kept as %2</source>
        <translation>nichts wiederherzustellen: %1 ist kein für dieses Programm lesbares Aufzeichnungsjournal; es wurde als %2 aufbewahrt</translation>
    </message>
    <message>
        <source>nothing to recover: the recording journal %1 holds no samples</source>
        <translation>nichts wiederherzustellen: das Aufzeichnungsjournal %1 enthält keine Messwerte</translation>
    </message>
    <message>
        <source>nothing to recover: no recording journal beside %1 keeps an unsaved recording</source>
        <translation>nichts wiederherzustellen: kein Aufzeichnungsjournal neben %1 enthält eine nicht gespeicherte Aufzeichnung</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot write the statistics: %1</source>
        <translation>die Statistik kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>%1 %2 (sample %3)</source>
        <translation>%1 %2 (Messwert %3)</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Datei:</translation>
    </message>
    <message>
        <source>Samples:</source>
        <translation>Messwerte:</translation>
    </message>
    <message>
        <source>No value:</source>
        <translation>Ohne Wert:</translation>
    </message>
    <message>
        <source>First:</source>
        <translation>Erster:</translation>
    </message>
    <message>
        <source>Last:</source>
        <translation>Letzter:</translation>
    </message>
    <message>
        <source>Units:</source>
        <translation>Einheiten:</translation>
    </message>
    <message>
        <source>Minimum:</source>
        <translation>Minimum:</translation>
    </message>
    <message>
        <source>Maximum:</source>
        <translation>Maximum:</translation>
    </message>
    <message>
        <source>Above %1:</source>
        <translation>Über %1:</translation>
    </message>
    <message>
        <source>Below %1:</source>
        <translation>Unter %1:</translation>
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
        <source>Clear All</source>
        <translation>Alles löschen</translation>
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
    <message>
        <source>Clear &amp;All</source>
        <translation>&amp;Alles löschen</translation>
    </message>
    <message>
        <source>Alarm No&amp;tifications</source>
        <translation>Alarm&amp;meldungen</translation>
    </message>
    <message>
        <source>&amp;View Recordings...</source>
        <translation>Aufzeichnungen &amp;ansehen...</translation>
    </message>
    <message>
        <source>Show recordings of any length (data files, CSV files, folders) on a clock</source>
        <translation>Aufzeichnungen beliebiger Länge (Datendateien, CSV-Dateien, Ordner) auf einer Uhrzeitachse zeigen</translation>
    </message>
    <message>
        <source>&amp;Follow the Readings</source>
        <translation>Den Messwerten &amp;folgen</translation>
    </message>
    <message>
        <source>Move the graph&apos;s value window so that it shows the newest reading</source>
        <translation>Das Wertefenster der Grafik so verschieben, dass es den neuesten Messwert zeigt</translation>
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
    <message>
        <source>Scroll through the samples</source>
        <translation>Durch die Messwerte blättern</translation>
    </message>
    <message>
        <source>Scroll across the columns</source>
        <translation>Über die Spalten blättern</translation>
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
    <name>EpisodeList</name>
    <message>
        <source>Alarm episodes</source>
        <translation>Alarmepisoden</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Beginn</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Limit</source>
        <translation>Grenze</translation>
    </message>
    <message>
        <source>Extreme</source>
        <translation>Extremwert</translation>
    </message>
    <message>
        <source>above %1</source>
        <translation>über %1</translation>
    </message>
    <message>
        <source>below %1</source>
        <translation>unter %1</translation>
    </message>
    <message>
        <source>The first %1 of %2 episodes are listed.</source>
        <translation>Die ersten %1 von %2 Episoden sind aufgeführt.</translation>
    </message>
    <message>
        <source>1 alarm episode</source>
        <translation>1 Alarmepisode</translation>
    </message>
    <message>
        <source>%1 alarm episodes</source>
        <translation>%1 Alarmepisoden</translation>
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
    <message>
        <source>Messages</source>
        <translation>Meldungen</translation>
    </message>
    <message>
        <source>Close this message</source>
        <translation>Diese Meldung schließen</translation>
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
        <source>The simulated instrument could not start: %1</source>
        <translation>Das simulierte Gerät konnte nicht starten: %1</translation>
    </message>
    <message>
        <source>Show the files (data files, CSV files, folders of them) in the recording viewer, on a clock, whatever their length.</source>
        <translation>Die Dateien (Datendateien, CSV-Dateien, Ordner mit solchen) in der Aufzeichnungsansicht auf einer Uhrzeitachse zeigen, gleich wie lang sie sind.</translation>
    </message>
    <message>
        <source>A .DovDat data file to open; with --view, any number of recordings.</source>
        <translation>Eine zu öffnende .DovDat-Datendatei; mit --view beliebig viele Aufzeichnungen.</translation>
    </message>
    <message>
        <source>orvane: there is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); orvane-cli records without one.
</source>
        <translation>orvane: Es gibt keine Anzeige, auf der das Fenster erscheinen kann (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt); orvane-cli zeichnet ohne eine auf.
</translation>
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
    <message>
        <source>mqtt://[user@]host[:port], or mqtts:// for TLS</source>
        <translation>mqtt://[benutzer@]host[:port] oder mqtts:// für TLS</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keines</translation>
    </message>
    <message>
        <source>Kept in the desktop&apos;s keyring, or else in a file only you can read; never in the configuration file</source>
        <translation>Im Schlüsselbund des Desktops aufbewahrt, sonst in einer Datei, die nur Sie lesen können; nie in der Konfigurationsdatei</translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation>Pass&amp;wort:</translation>
    </message>
</context>
<context>
    <name>RecordingViewer</name>
    <message>
        <source>Recordings (*.DovDat *.dovdat *.csv *.CSV);;All files (*)</source>
        <translation>Aufzeichnungen (*.DovDat *.dovdat *.csv *.CSV);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... und %1 weitere</translation>
    </message>
    <message>
        <source>Orvane Recording Viewer</source>
        <translation>Orvane-Aufzeichnungsansicht</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Alarm Episodes</source>
        <translation>Alarmepisoden</translation>
    </message>
    <message>
        <source>Sample under the pointer</source>
        <translation>Messwert unter dem Zeiger</translation>
    </message>
    <message>
        <source>Samples in view</source>
        <translation>Sichtbare Messwerte</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View Recordings...</source>
        <translation>Aufzeichnungen &amp;ansehen...</translation>
    </message>
    <message>
        <source>Export the &amp;Visible Span as CSV...</source>
        <translation>&amp;Sichtbaren Abschnitt als CSV exportieren...</translation>
    </message>
    <message>
        <source>Export &amp;All as CSV...</source>
        <translation>&amp;Alles als CSV exportieren...</translation>
    </message>
    <message>
        <source>Save the &amp;Picture as PNG...</source>
        <translation>&amp;Bild als PNG speichern...</translation>
    </message>
    <message>
        <source>Export Alarm E&amp;pisodes as CSV...</source>
        <translation>Alarm&amp;episoden als CSV exportieren...</translation>
    </message>
    <message>
        <source>P&amp;rint Report...</source>
        <translation>Bericht &amp;drucken...</translation>
    </message>
    <message>
        <source>Save Report as P&amp;DF...</source>
        <translation>Bericht als P&amp;DF speichern...</translation>
    </message>
    <message>
        <source>Report with the Sample &amp;Table</source>
        <translation>Bericht mit der Messwert&amp;tabelle</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Schl&amp;ießen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Show &amp;Everything</source>
        <translation>Alles &amp;zeigen</translation>
    </message>
    <message>
        <source>&amp;Back One Step</source>
        <translation>Einen Schritt &amp;zurück</translation>
    </message>
    <message>
        <source>&amp;Value Range...</source>
        <translation>&amp;Wertebereich...</translation>
    </message>
    <message>
        <source>&amp;Alarm Limits...</source>
        <translation>Alarm&amp;grenzen...</translation>
    </message>
    <message>
        <source>Reading the recordings...</source>
        <translation>Die Aufzeichnungen werden gelesen...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>These were left out:
</source>
        <translation>Diese wurden weggelassen:
</translation>
    </message>
    <message>
        <source>Parts of these could not be read and were left out:
</source>
        <translation>Teile davon konnten nicht gelesen werden und wurden weggelassen:
</translation>
    </message>
    <message>
        <source>There are no samples to show.</source>
        <translation>Es gibt keine Messwerte zum Zeigen.</translation>
    </message>
    <message>
        <source>no recording</source>
        <translation>keine Aufzeichnung</translation>
    </message>
    <message>
        <source> and %1 more</source>
        <translation> und %1 weitere</translation>
    </message>
    <message>
        <source> (%1 to %2)</source>
        <translation> (%1 bis %2)</translation>
    </message>
    <message>
        <source> - Orvane Recording Viewer</source>
        <translation> - Orvane-Aufzeichnungsansicht</translation>
    </message>
    <message>
        <source>%1 of %2 samples in view</source>
        <translation>%1 von %2 Messwerten sichtbar</translation>
    </message>
    <message>
        <source>View Recordings</source>
        <translation>Aufzeichnungen ansehen</translation>
    </message>
    <message>
        <source>Writing %1...</source>
        <translation>%1 wird geschrieben...</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
    <message>
        <source>Value Range</source>
        <translation>Wertebereich</translation>
    </message>
    <message>
        <source>&amp;Fit to the samples in view</source>
        <translation>An die sichtbaren Messwerte &amp;anpassen</translation>
    </message>
    <message>
        <source>Lowest value</source>
        <translation>Kleinster Wert</translation>
    </message>
    <message>
        <source>Highest value</source>
        <translation>Größter Wert</translation>
    </message>
    <message>
        <source>&amp;Highest:</source>
        <translation>&amp;Größter:</translation>
    </message>
    <message>
        <source>&amp;Lowest:</source>
        <translation>&amp;Kleinster:</translation>
    </message>
    <message>
        <source>Alarm Limits</source>
        <translation>Alarmgrenzen</translation>
    </message>
    <message>
        <source>&amp;High limit:</source>
        <translation>&amp;Obere Grenze:</translation>
    </message>
    <message>
        <source>&amp;Low limit:</source>
        <translation>&amp;Untere Grenze:</translation>
    </message>
    <message>
        <source>There are no alarm episodes to export.</source>
        <translation>Es gibt keine Alarmepisoden zum Exportieren.</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>no samples</source>
        <translation>keine Messwerte</translation>
    </message>
    <message>
        <source>The table of samples holds at most %1 samples; %2 are in view. Zoom in, or turn off Report with the Sample Table.</source>
        <translation>Die Messwerttabelle fasst höchstens %1 Messwerte; %2 sind sichtbar. Vergrößern Sie oder schalten Sie „Bericht mit der Messwerttabelle“ aus.</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF-Dokumente (*.pdf)</translation>
    </message>
    <message>
        <source>nothing to print</source>
        <translation>nichts zu drucken</translation>
    </message>
    <message>
        <source>The report could not be printed.</source>
        <translation>Der Bericht konnte nicht gedruckt werden.</translation>
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
    <name>ReportText</name>
    <message>
        <source>Orvane recording report</source>
        <translation>Orvane-Aufzeichnungsbericht</translation>
    </message>
    <message>
        <source>Files: %1</source>
        <translation>Dateien: %1</translation>
    </message>
    <message>
        <source>Period: %1</source>
        <translation>Zeitraum: %1</translation>
    </message>
    <message>
        <source>Unit: %1</source>
        <translation>Einheit: %1</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Limits: high %1, low %2</source>
        <translation>Grenzen: oben %1, unten %2</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Alarm episodes: %1</source>
        <translation>Alarmepisoden: %1</translation>
    </message>
    <message>
        <source>(the first %1 are listed)</source>
        <translation>(die ersten %1 sind aufgeführt)</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>Messwerte</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>no value</source>
        <translation>kein Wert</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
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
    <name>StatisticsPanel</name>
    <message>
        <source>Statistics of the samples in view</source>
        <translation>Statistik der sichtbaren Messwerte</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>Messwerte</translation>
    </message>
    <message>
        <source>First</source>
        <translation>Erster</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Letzter</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Lowest</source>
        <translation>Kleinster</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%1 um %2</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>Größter</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Mittelwert</translation>
    </message>
    <message>
        <source>Standard deviation</source>
        <translation>Standardabweichung</translation>
    </message>
    <message>
        <source>Without a value</source>
        <translation>Ohne Wert</translation>
    </message>
    <message>
        <source>Gaps</source>
        <translation>Lücken</translation>
    </message>
    <message>
        <source>%1, %2 in all</source>
        <translation>%1, insgesamt %2</translation>
    </message>
    <message>
        <source>Above %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Below %1</source>
        <translation>Unter %1</translation>
    </message>
    <message>
        <source>Alarm episodes</source>
        <translation>Alarmepisoden</translation>
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
    <name>ViewerOverview</name>
    <message>
        <source>Overview of the whole recording</source>
        <translation>Übersicht über die ganze Aufzeichnung</translation>
    </message>
    <message>
        <source>The part shown above is marked; press or drag here to move it.</source>
        <translation>Der oben gezeigte Teil ist markiert; hier klicken oder ziehen, um ihn zu verschieben.</translation>
    </message>
</context>
<context>
    <name>ViewerPlot</name>
    <message>
        <source>Recorded samples</source>
        <translation>Aufgezeichnete Messwerte</translation>
    </message>
    <message>
        <source>no value</source>
        <translation>kein Wert</translation>
    </message>
    <message>
        <source>%1   %2   %3, sample %4</source>
        <translation>%1   %2   %3, Messwert %4</translation>
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
    <message>
        <source>The broker %1 refused the user name or password (%2). Readings are not published; Tools &gt; Publish... takes others.</source>
        <translation>Der Broker %1 hat Benutzername oder Passwort abgelehnt (%2). Die Messwerte werden nicht veröffentlicht; unter Extras &gt; Veröffentlichen... lassen sich andere angeben.</translation>
    </message>
    <message>
        <source>the broker&apos;s password: %1</source>
        <translation>das Passwort für den Broker: %1</translation>
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
