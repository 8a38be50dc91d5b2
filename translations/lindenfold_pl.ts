<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>Ustawienia</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>Mały odtwarzacz muzyki z motywami. Podane pliki są dodawane na koniec bieżącej listy odtwarzania, a pierwszy z nich zostaje odtworzony; jeśli Lindenfold już działa, trafiają do uruchomionego odtwarzacza.</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>Spróbuj „lindenfold --help”.</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>Pliki dźwiękowe, foldery, listy odtwarzania (M3U, M3U8, PLS, XSPF) lub adresy URI plików.</translation>
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
        <translation>Bez tytułu</translation>
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
        <translation>Edytuj listy odtwarzania</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Zminimalizuj</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>Poprzedni utwór</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Wstrzymaj</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Odtwórz</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>Następny utwór</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Listy odtwarzania</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Utwory</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Pozycja</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>Okładka albumu</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>Znajdź utwór</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>Tytuł lub wykonawca</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Theme</source>
        <translation>Motyw</translation>
    </message>
    <message>
        <source>Play sounds</source>
        <translation>Dźwięki interfejsu</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>Duży rozmiar</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>Okno zawsze na wierzchu</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Powtarzaj utwory</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Losowa kolejność</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Słuchanie</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>Podgląd motywu</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>Wznów tam, gdzie skończyłem</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Wyłączone</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>Według utworu</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>Według albumu</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>Automatycznie (album po kolei, utwór przy losowaniu)</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>Normalizuj głośność</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>Pokazuj powiadomienia</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>Odtwarzacz</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Odtwórz</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Powtarzaj utwory</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Losowa kolejność</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>Zwiększ głośność</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>Zmniejsz głośność</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Listy odtwarzania</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Utwory</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Ustawienia…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Zakończ</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Wstrzymaj</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>Zatrzymaj po tym utworze</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>Znajdź utwór…</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>Nowa lista odtwarzania</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>Dodaj utwory…</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>Eksportuj listę odtwarzania…</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>Usuń listę odtwarzania…</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>Dodaj utwory do listy odtwarzania</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>Eksportuj listę odtwarzania</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>Lista odtwarzania M3U8 (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>Nie można zapisać listy odtwarzania w %1: %2</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Na pewno usunąć?</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>Lindenfold nie mógł zapisać zmian: %1.
Pozostają zachowane, dopóki program działa, i zostaną zapisane ponownie przy następnej zmianie.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Ustawienia</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Ogólne</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Listy odtwarzania</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>Utwór</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>Nieznany wykonawca</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>Przeciągnij, aby zmienić kolejność</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>Usuń utwór</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nazwa</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Wykonawca</translation>
    </message>
</context>
</TS>
