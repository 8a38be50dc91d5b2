<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>Instellingen</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>Een kleine muziekspeler met thema&apos;s. Opgegeven bestanden worden achteraan de huidige afspeellijst toegevoegd en het eerste ervan wordt afgespeeld; draait Lindenfold al, dan gaan ze naar de draaiende speler.</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>Probeer ‘lindenfold --help’.</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>Audiobestanden, mappen, afspeellijsten (M3U, M3U8, PLS, XSPF) of bestands-URI&apos;s.</translation>
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
        <translation>Naamloos</translation>
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
        <translation>Afspeellijsten bewerken</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Minimaliseren</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>Vorig nummer</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pauzeren</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Afspelen</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>Volgend nummer</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Afspeellijsten</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Nummers</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Positie</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>Albumhoes</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>Nummer zoeken</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>Titel of artiest</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Theme</source>
        <translation>Thema</translation>
    </message>
    <message>
        <source>Play sounds</source>
        <translation>Interfacegeluiden</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>Groot formaat</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>Altijd bovenop</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Nummers herhalen</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Willekeurige volgorde</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Luisteren</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>Voorbeeld van het thema</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>Verdergaan waar ik gestopt ben</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Uit</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>Per nummer</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>Per album</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>Automatisch (album op volgorde, nummer bij willekeurig)</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>Volume normaliseren</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>Meldingen tonen</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>Speler</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Afspelen</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Nummers herhalen</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Willekeurige volgorde</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>Volume omhoog</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>Volume omlaag</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Afspeellijsten</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Nummers</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Instellingen…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Afsluiten</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pauzeren</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>Stoppen na dit nummer</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>Nummer zoeken…</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>Nieuwe afspeellijst</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>Nummers toevoegen…</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>Afspeellijst exporteren…</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>Afspeellijst verwijderen…</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>Nummers aan afspeellijst toevoegen</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>Afspeellijst exporteren</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>M3U8-afspeellijst (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>De afspeellijst kon niet naar %1 worden geschreven: %2</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Echt verwijderen?</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>Lindenfold kon uw wijzigingen niet opslaan: %1.
Ze blijven bewaard zolang het programma draait en worden bij uw volgende wijziging opnieuw opgeslagen.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Instellingen</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Algemeen</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Afspeellijsten</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>Onbekende artiest</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>Sleep om de volgorde te wijzigen</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>Nummer verwijderen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Naam</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Artiest</translation>
    </message>
</context>
</TS>
