<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>Небольшой музыкальный проигрыватель с темами оформления. Указанные файлы добавляются в конец текущего плейлиста, и воспроизводится первый из них; если Lindenfold уже запущен, они передаются работающему проигрывателю.</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>Попробуйте «lindenfold --help».</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>Аудиофайлы, папки, плейлисты (M3U, M3U8, PLS, XSPF) или URI файлов.</translation>
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
        <translation>Без названия</translation>
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
        <translation>Изменить плейлисты</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Свернуть</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>Предыдущий трек</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Воспроизвести</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>Следующий трек</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Плейлисты</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Треки</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Позиция</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>Обложка альбома</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>Найти трек</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>Название или исполнитель</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Theme</source>
        <translation>Тема</translation>
    </message>
    <message>
        <source>Play sounds</source>
        <translation>Звуки интерфейса</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>Крупный размер</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>Поверх других окон</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Повторять треки</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Случайный порядок</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Прослушивание</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>Предпросмотр темы</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>Продолжать с места остановки</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Выкл.</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>По трекам</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>По альбомам</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>Автоматически (альбом по порядку, трек при перемешивании)</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>Выравнивать громкость</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>Показывать уведомления</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>Проигрыватель</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Воспроизвести</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>Повторять треки</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>Случайный порядок</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>Громче</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>Тише</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Плейлисты</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Треки</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Настройки…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>Остановить после этого трека</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>Найти трек…</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>Новый плейлист</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>Добавить треки…</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>Экспортировать плейлист…</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>Удалить плейлист…</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>Добавить треки в плейлист</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>Экспорт плейлиста</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>Плейлист M3U8 (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>Не удалось записать плейлист в %1: %2</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Точно удалить?</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>Программе Lindenfold не удалось сохранить изменения: %1.
Они сохраняются, пока программа работает, и будут записаны снова при следующем изменении.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Общие</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>Плейлисты</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>Трек</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>Неизвестный исполнитель</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>Перетащите, чтобы изменить порядок</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>Удалить трек</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Название</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Исполнитель</translation>
    </message>
</context>
</TS>
