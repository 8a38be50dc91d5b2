<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>Un piccolo lettore musicale con temi. I file indicati vengono aggiunti alla fine della playlist corrente e viene riprodotto il primo; se Lindenfold è già in esecuzione, vengono passati al lettore già aperto.</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>Prova «lindenfold --help».</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>File audio, cartelle, playlist (M3U, M3U8, PLS, XSPF) o URI di file.</translation>
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
        <translation>Senza titolo</translation>
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
        <translation>Modifica playlist</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Riduci a icona</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>Brano precedente</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Riproduci</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>Brano successivo</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Playlist</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Brani</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Posizione</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>Copertina</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>Cerca brano</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>Titolo o artista</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Theme</source>
        <translation>Tema</translation>
    </message>
    <message>
        <source>Play sounds</source>
        <translation>Suoni dell&apos;interfaccia</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>Dimensione grande</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>Finestra sempre in primo piano</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Ripeti i brani</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Riproduzione casuale</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Ascolto</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>Anteprima del tema</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>Riprendi da dove mi ero fermato</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Disattivato</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>Per brano</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>Per album</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>Automatica (album in ordine, brano in riproduzione casuale)</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>Normalizza il volume</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>Mostra notifiche</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>Lettore</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Riproduci</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Ripeti i brani</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Riproduzione casuale</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>Alza il volume</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>Abbassa il volume</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Playlist</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Brani</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Impostazioni…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>Ferma dopo questo brano</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>Cerca brano…</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>Nuova playlist</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>Aggiungi brani…</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>Esporta playlist…</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>Elimina playlist…</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>Aggiungi brani alla playlist</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>Esporta playlist</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>Playlist M3U8 (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>Impossibile scrivere la playlist in %1: %2</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Eliminare davvero?</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>Lindenfold non è riuscito a salvare le modifiche: %1.
Vengono mantenute finché resta aperto e salvate di nuovo alla prossima modifica.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Generale</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Playlist</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>Brano</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>Artista sconosciuto</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>Trascina per riordinare</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>Elimina brano</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Artista</translation>
    </message>
</context>
</TS>
