<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="cs" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>Nastavení</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>Malý hudební přehrávač s motivy vzhledu. Zadané soubory se přidají na konec aktuálního seznamu skladeb a první z nich se přehraje; pokud Lindenfold už běží, předají se spuštěnému přehrávači.</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>Zkuste „lindenfold --help“.</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>Zvukové soubory, složky, seznamy skladeb (M3U, M3U8, PLS, XSPF) nebo URI souborů.</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>Playlists</source>
        <translation>Playlists</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Bez názvu</translation>
    </message>
    <message>
        <source>Themes</source>
        <translation>Themes</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Edit playlists</source>
        <translation>Upravit seznamy skladeb</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zavřít</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Minimalizovat</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>Předchozí skladba</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pozastavit</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Přehrát</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>Další skladba</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Seznamy skladeb</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Skladby</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Pozice</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>Obal alba</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>Najít skladbu</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>Název nebo interpret</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Theme</source>
        <translation>Motiv</translation>
    </message>
    <message>
        <source>Play sounds</source>
        <translation>Zvuky rozhraní</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>Zvětšené zobrazení</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>Okno vždy navrchu</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Opakovat skladby</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Náhodné pořadí</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Poslech</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>Náhled motivu</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>Pokračovat tam, kde jsem skončil</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Vypnuto</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>Podle skladby</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>Podle alba</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>Automaticky (album při přehrávání popořadě, skladba při náhodném)</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>Normalizovat hlasitost</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>Zobrazovat oznámení</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>Přehrávač</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Přehrát</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Opakovat skladby</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Náhodné pořadí</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>Zesílit</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>Zeslabit</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Seznamy skladeb</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Skladby</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Nastavení…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Ukončit</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pozastavit</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>Zastavit po této skladbě</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>Najít skladbu…</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>Nový seznam skladeb</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>Přidat skladby…</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>Exportovat seznam skladeb…</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>Smazat seznam skladeb…</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>Přidat skladby do seznamu</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>Exportovat seznam skladeb</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>Seznam skladeb M3U8 (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>Seznam skladeb nelze zapsat do %1: %2</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Opravdu smazat?</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>Lindenfold nemohl uložit vaše změny: %1.
Zůstávají zachovány, dokud program běží, a uloží se znovu při vaší další změně.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Nastavení</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Obecné</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Seznamy skladeb</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>Skladba</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>Neznámý interpret</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>Přetažením změníte pořadí</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>Smazat skladbu</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Název</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Interpret</translation>
    </message>
</context>
</TS>
