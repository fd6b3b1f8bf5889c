<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Arbolix version %1</source>
        <translation>Arbolix Version %1</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 the Arbolix authors</source>
        <translation>Copyright (C) 2026 die Autoren von Arbolix</translation>
    </message>
    <message>
        <source>Licence: MIT</source>
        <translation>Lizenz: MIT</translation>
    </message>
    <message>
        <source>Browses the object directory of the control system: its stations, compounds and blocks. Double-click a compound or a block to open its display.</source>
        <translation>Durchsucht das Objektverzeichnis des Leitsystems: seine Stationen, Verbunde und Bausteine. Ein Doppelklick auf einen Verbund oder Baustein öffnet dessen Anzeige.</translation>
    </message>
    <message>
        <source>Built with Qt %1</source>
        <translation>Erstellt mit Qt %1</translation>
    </message>
    <message>
        <source>About Arbolix</source>
        <translation>Über Arbolix</translation>
    </message>
</context>
<context>
    <name>CArbolixDlg</name>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Suchen...</translation>
    </message>
</context>
<context>
    <name>CFindDlg</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Station:</source>
        <translation>Station:</translation>
    </message>
    <message>
        <source>Compound:</source>
        <translation>Verbund:</translation>
    </message>
    <message>
        <source>Block:</source>
        <translation>Baustein:</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Find station, compound or block</source>
        <translation>Station, Verbund oder Baustein suchen</translation>
    </message>
</context>
<context>
    <name>CInitDlg</name>
    <message>
        <source>Initializing Arbolix...</source>
        <translation>Arbolix wird initialisiert...</translation>
    </message>
    <message>
        <source>Initializing</source>
        <translation>Initialisierung</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>&amp;About Arbolix...</source>
        <translation>Ü&amp;ber Arbolix...</translation>
    </message>
    <message>
        <source>Search pattern not found!</source>
        <translation>Suchmuster nicht gefunden!</translation>
    </message>
    <message>
        <source>&amp;Copy Name</source>
        <translation>Namen &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Open Display</source>
        <translation>Anzeige ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Object directory</source>
        <translation>Objektverzeichnis</translation>
    </message>
    <message>
        <source>station</source>
        <translation>Station</translation>
    </message>
    <message>
        <source>compound of station %1</source>
        <translation>Verbund der Station %1</translation>
    </message>
    <message>
        <source>block in compound %1 of station %2</source>
        <translation>Baustein im Verbund %1 der Station %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>at most %1 characters</source>
        <translation>höchstens %1 Zeichen</translation>
    </message>
    <message>
        <source>Object menu</source>
        <translation>Objektmenü</translation>
    </message>
    <message>
        <source>Found %1, %2</source>
        <translation>Gefunden: %1, %2</translation>
    </message>
</context>
</TS>
