<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>Un petit lecteur de musique à thèmes. Les fichiers indiqués sont ajoutés à la fin de la liste de lecture en cours et le premier d&apos;entre eux est lu&#xa0;; si Lindenfold est déjà lancé, ils sont transmis au lecteur en cours d&apos;exécution.</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>Essayez «&#xa0;lindenfold --help&#xa0;».</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>Fichiers audio, dossiers, listes de lecture (M3U, M3U8, PLS, XSPF) ou URI de fichiers.</translation>
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
        <translation>Sans titre</translation>
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
        <translation>Modifier les listes de lecture</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>Piste précédente</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>Piste suivante</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Listes de lecture</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Pistes</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>Pochette</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>Rechercher une piste</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>Titre ou artiste</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Theme</source>
        <translation>Thème</translation>
    </message>
    <message>
        <source>Play sounds</source>
        <translation>Sons de l&apos;interface</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>Grande taille</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>Fenêtre au premier plan</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Répéter les pistes</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Lecture aléatoire</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Écoute</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>Aperçu du thème</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>Reprendre là où je me suis arrêté</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>Par piste</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>Par album</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>Automatique (album dans l’ordre, piste en lecture aléatoire)</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>Normaliser le volume</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>Afficher les notifications</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>Lecteur</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Répéter les pistes</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Lecture aléatoire</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>Augmenter le volume</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>Baisser le volume</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Listes de lecture</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Pistes</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Paramètres…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>Arrêter après cette piste</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>Rechercher une piste…</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>Nouvelle liste de lecture</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>Ajouter des pistes…</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>Exporter la liste de lecture…</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>Supprimer la liste de lecture…</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>Ajouter une piste à la liste de lecture</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>Exporter la liste de lecture</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>Liste de lecture M3U8 (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>Impossible d&apos;écrire la liste de lecture dans %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Vraiment supprimer&#xa0;?</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>Lindenfold n&apos;a pas pu enregistrer vos modifications&#xa0;: %1.
Elles sont conservées tant qu&apos;il est ouvert et seront enregistrées à votre prochaine modification.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Listes de lecture</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>Piste</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>Artiste inconnu</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>Faites glisser pour réordonner</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>Supprimer la piste</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Artiste</translation>
    </message>
</context>
</TS>
