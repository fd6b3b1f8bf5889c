<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Arbolix version %1</source>
        <translation>Arbolix versión %1</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 the Arbolix authors</source>
        <translation>Copyright (C) 2026 los autores de Arbolix</translation>
    </message>
    <message>
        <source>Licence: MIT</source>
        <translation>Licencia: MIT</translation>
    </message>
    <message>
        <source>Browses the object directory of the control system: its stations, compounds and blocks. Double-click a compound or a block to open its display.</source>
        <translation>Recorre el directorio de objetos del sistema de control: sus estaciones, compuestos y bloques. Haga doble clic en un compuesto o un bloque para abrir su pantalla.</translation>
    </message>
    <message>
        <source>Built with Qt %1</source>
        <translation>Compilado con Qt %1</translation>
    </message>
    <message>
        <source>About Arbolix</source>
        <translation>Acerca de Arbolix</translation>
    </message>
</context>
<context>
    <name>CArbolixDlg</name>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Buscar...</translation>
    </message>
</context>
<context>
    <name>CFindDlg</name>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Station:</source>
        <translation>Estación:</translation>
    </message>
    <message>
        <source>Compound:</source>
        <translation>Compuesto:</translation>
    </message>
    <message>
        <source>Block:</source>
        <translation>Bloque:</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Find station, compound or block</source>
        <translation>Buscar estación, compuesto o bloque</translation>
    </message>
</context>
<context>
    <name>CInitDlg</name>
    <message>
        <source>Initializing Arbolix...</source>
        <translation>Inicializando Arbolix...</translation>
    </message>
    <message>
        <source>Initializing</source>
        <translation>Inicialización</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>&amp;About Arbolix...</source>
        <translation>&amp;Acerca de Arbolix...</translation>
    </message>
    <message>
        <source>Search pattern not found!</source>
        <translation>¡No se encontró el patrón de búsqueda!</translation>
    </message>
    <message>
        <source>&amp;Copy Name</source>
        <translation>&amp;Copiar nombre</translation>
    </message>
    <message>
        <source>&amp;Open Display</source>
        <translation>&amp;Abrir pantalla</translation>
    </message>
    <message>
        <source>Object directory</source>
        <translation>Directorio de objetos</translation>
    </message>
    <message>
        <source>station</source>
        <translation>estación</translation>
    </message>
    <message>
        <source>compound of station %1</source>
        <translation>compuesto de la estación %1</translation>
    </message>
    <message>
        <source>block in compound %1 of station %2</source>
        <translation>bloque del compuesto %1 de la estación %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>at most %1 characters</source>
        <translation>como máximo %1 caracteres</translation>
    </message>
    <message>
        <source>Object menu</source>
        <translation>Menú del objeto</translation>
    </message>
    <message>
        <source>Found %1, %2</source>
        <translation>Encontrado: %1, %2</translation>
    </message>
</context>
</TS>
