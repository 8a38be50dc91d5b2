<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>Um pequeno reprodutor de música com temas. Os arquivos informados são adicionados ao final da playlist atual e o primeiro deles é reproduzido; se o Lindenfold já estiver aberto, eles vão para o reprodutor em execução.</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>Tente “lindenfold --help”.</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>Arquivos de áudio, pastas, playlists (M3U, M3U8, PLS, XSPF) ou URIs de arquivo.</translation>
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
        <translation>Sem título</translation>
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
        <translation>Editar playlists</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>Faixa anterior</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausar</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproduzir</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>Próxima faixa</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Playlists</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Faixas</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Posição</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>Capa do álbum</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>Localizar faixa</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>Título ou artista</translation>
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
        <translation>Sons da interface</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>Tamanho grande</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>Janela sempre visível</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Repetir faixas</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Ordem aleatória</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Audição</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>Prévia do tema</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>Continuar de onde parei</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Desativado</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>Por faixa</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>Por álbum</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>Automático (álbum em ordem, faixa no aleatório)</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>Normalizar o volume</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>Mostrar notificações</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>Reprodutor</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Reproduzir</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Repetir faixas</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Ordem aleatória</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>Aumentar volume</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>Diminuir volume</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Playlists</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Faixas</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Configurações…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausar</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>Parar após esta faixa</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>Localizar faixa…</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>Nova playlist</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>Adicionar faixas…</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>Exportar playlist…</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>Excluir playlist…</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>Adicionar faixas à playlist</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>Exportar playlist</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>Playlist M3U8 (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>Não foi possível gravar a playlist em %1: %2</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Excluir mesmo?</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>O Lindenfold não conseguiu salvar suas alterações: %1.
Elas ficam guardadas enquanto ele estiver aberto e são salvas de novo na sua próxima alteração.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Geral</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Playlists</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>Faixa</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>Artista desconhecido</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>Arraste para reordenar</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>Excluir faixa</translation>
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
