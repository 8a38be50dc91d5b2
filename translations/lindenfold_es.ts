<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>Un pequeño reproductor de música con temas. Los archivos indicados se añaden al final de la lista de reproducción actual y se reproduce el primero de ellos; si Lindenfold ya está abierto, se envían al reproductor en ejecución.</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>Pruebe «lindenfold --help».</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>Archivos de audio, carpetas, listas de reproducción (M3U, M3U8, PLS, XSPF) o URI de archivos.</translation>
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
        <translation>Sin título</translation>
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
        <translation>Editar listas de reproducción</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>Pista anterior</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>Pista siguiente</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Listas de reproducción</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Pistas</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Posición</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>Carátula</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>Buscar pista</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>Título o artista</translation>
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
        <translation>Sonidos de la interfaz</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>Tamaño grande</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>Ventana siempre visible</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Repetir pistas</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Orden aleatorio</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Escucha</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>Vista previa del tema</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>Continuar donde lo dejé</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>Por pista</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>Por álbum</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>Automático (álbum en orden, pista en aleatorio)</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>Normalizar el volumen</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>Mostrar notificaciones</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>Reproductor</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Repetir pistas</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Orden aleatorio</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>Subir el volumen</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>Bajar el volumen</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Listas de reproducción</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Pistas</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Ajustes…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>Detener tras esta pista</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>Buscar pista…</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>Nueva lista de reproducción</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>Añadir pistas…</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>Exportar lista de reproducción…</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>Eliminar lista de reproducción…</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>Añadir pista a la lista de reproducción</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>Exportar lista de reproducción</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>Lista de reproducción M3U8 (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>No se pudo escribir la lista de reproducción en %1: %2</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>¿Eliminar de verdad?</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>Lindenfold no pudo guardar sus cambios: %1.
Se conservan mientras esté abierto y se guardarán de nuevo con su próximo cambio.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Listas de reproducción</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>Pista</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>Artista desconocido</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>Arrastre para reordenar</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>Eliminar pista</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Artista</translation>
    </message>
</context>
</TS>
