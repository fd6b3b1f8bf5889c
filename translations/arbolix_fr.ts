<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Arbolix version %1</source>
        <translation>Arbolix version %1</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 the Arbolix authors</source>
        <translation>Copyright (C) 2026 les auteurs d&apos;Arbolix</translation>
    </message>
    <message>
        <source>Licence: MIT</source>
        <translation>Licence&#xa0;: MIT</translation>
    </message>
    <message>
        <source>Browses the object directory of the control system: its stations, compounds and blocks. Double-click a compound or a block to open its display.</source>
        <translation>Parcourt le répertoire des objets du système de contrôle-commande&#xa0;: ses stations, composés et blocs. Double-cliquez sur un composé ou un bloc pour ouvrir sa vue.</translation>
    </message>
    <message>
        <source>Built with Qt %1</source>
        <translation>Compilé avec Qt %1</translation>
    </message>
    <message>
        <source>About Arbolix</source>
        <translation>À propos d&apos;Arbolix</translation>
    </message>
</context>
<context>
    <name>CArbolixDlg</name>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Chercher...</translation>
    </message>
</context>
<context>
    <name>CFindDlg</name>
    <message>
        <source>Find</source>
        <translation>Chercher</translation>
    </message>
    <message>
        <source>Station:</source>
        <translation>Station&#xa0;:</translation>
    </message>
    <message>
        <source>Compound:</source>
        <translation>Composé&#xa0;:</translation>
    </message>
    <message>
        <source>Block:</source>
        <translation>Bloc&#xa0;:</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Find station, compound or block</source>
        <translation>Chercher station, composé ou bloc</translation>
    </message>
</context>
<context>
    <name>CInitDlg</name>
    <message>
        <source>Initializing Arbolix...</source>
        <translation>Initialisation d&apos;Arbolix...</translation>
    </message>
    <message>
        <source>Initializing</source>
        <translation>Initialisation</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>&amp;About Arbolix...</source>
        <translation>À &amp;propos d&apos;Arbolix...</translation>
    </message>
    <message>
        <source>Search pattern not found!</source>
        <translation>Motif de recherche introuvable&#xa0;!</translation>
    </message>
    <message>
        <source>&amp;Copy Name</source>
        <translation>&amp;Copier le nom</translation>
    </message>
    <message>
        <source>&amp;Open Display</source>
        <translation>&amp;Ouvrir la vue</translation>
    </message>
    <message>
        <source>Object directory</source>
        <translation>Répertoire des objets</translation>
    </message>
    <message>
        <source>station</source>
        <translation>station</translation>
    </message>
    <message>
        <source>compound of station %1</source>
        <translation>composé de la station %1</translation>
    </message>
    <message>
        <source>block in compound %1 of station %2</source>
        <translation>bloc du composé %1 de la station %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>at most %1 characters</source>
        <translation>%1 caractères au plus</translation>
    </message>
    <message>
        <source>Object menu</source>
        <translation>Menu de l&apos;objet</translation>
    </message>
    <message>
        <source>Found %1, %2</source>
        <translation>Trouvé&#xa0;: %1, %2</translation>
    </message>
</context>
</TS>
