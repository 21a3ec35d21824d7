<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CMSComm</name>
    <message>
        <source>COM%1 has no device. Choose another port with Select COM.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open %1: another program has this device open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection on %1 was lost: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source> Still waiting (On/Off stops waiting).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Readings from %1 again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recording journal cannot be written: %1. Recording goes on in memory.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Readings are simulated: no instrument is connected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The setting could not be kept: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An unsaved recording of %1 (%2 – %3) was found. Restore it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 sample</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 samples</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No recording journal (%1); recording goes on in memory.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Waiting for %1 to come back (On/Off stops waiting).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for COM %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connected to %1 again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings could not be kept.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrote %1; recording goes on in a new file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Folder for the new files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>No viewer and no web browser could show the help. Its pages are in the folder %1: open index.html there with any web browser.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot show the help file %1:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The help file %1 was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no viewer can be started, because the program xdg-open is not installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no viewer for compiled help files (.chm) is installed, and the help pages %1 are missing. Install a viewer, for example xchm or kchmviewer, and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the viewer could not be started (%1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageLine</name>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PublishDialog</name>
    <message>
        <source>Publish</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Publish readings and alarms to an MQTT broker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mqtt://[user[:password]@]host[:port], or mqtts:// for TLS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Readings go to TOPIC/reading, alarms to TOPIC/alarm, and TOPIC/status says online, waiting or offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Broker URL:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Topic:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WindowPublisher</name>
    <message>
        <source>Readings are not published: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The broker %1 cannot be reached (%2). Readings wait until it is back.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The broker %1 has been away so long that %2 readings wait for it; the oldest go.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
