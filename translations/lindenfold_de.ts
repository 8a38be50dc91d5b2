<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>Ein kleiner Musikspieler mit Themen. Angegebene Dateien werden ans Ende der aktuellen Wiedergabeliste angefügt, und die erste davon wird abgespielt; läuft Lindenfold schon, gehen sie an den laufenden Spieler.</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>Audiodateien, Ordner, Wiedergabelisten (M3U, M3U8, PLS, XSPF) oder Datei-URIs.</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>Siehe &quot;lindenfold --help&quot;.</translation>
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
        <translation>Unbenannt</translation>
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
        <translation>Wiedergabelisten bearbeiten</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>Vorheriger Titel</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>Nächster Titel</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Wiedergabelisten</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>Albumcover</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>Titel suchen</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>Titel oder Interpret</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Theme</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>Play sounds</source>
        <translation>Klänge abspielen</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>Groß</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>Fenster im Vordergrund</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Titel wiederholen</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Zufällige Reihenfolge</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>Dort weitermachen, wo ich aufgehört habe</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>Benachrichtigungen anzeigen</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>Pro Titel</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>Pro Album</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>Automatisch (Album der Reihe nach, Titel bei Zufallswiedergabe)</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>Lautstärke angleichen</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>Designvorschau</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Titel wiederholen</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Zufällige Reihenfolge</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>Lauter</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>Leiser</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Wiedergabelisten</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>Nach diesem Titel anhalten</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>Titel suchen …</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>Neue Wiedergabeliste</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>Titel hinzufügen …</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>Wiedergabeliste löschen …</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>Titel zur Wiedergabeliste hinzufügen</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Wirklich löschen?</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>Wiedergabeliste exportieren …</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>Wiedergabeliste exportieren</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>M3U8-Wiedergabeliste (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>Die Wiedergabeliste konnte nicht nach %1 geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>Lindenfold konnte Ihre Änderungen nicht speichern: %1.
Sie bleiben erhalten, solange es läuft, und werden mit Ihrer nächsten Änderung erneut gespeichert.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Wiedergabelisten</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>Unbekannter Interpret</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>Zum Umsortieren ziehen</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>Titel löschen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Interpret</translation>
    </message>
</context>
</TS>
