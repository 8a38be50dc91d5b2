<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>スキンを着せ替えられる小さな音楽プレーヤーです。指定したファイルは現在のプレイリストの末尾に追加され、その最初のファイルが再生されます。Lindenfold がすでに起動している場合は、起動中のプレーヤーに渡されます。</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>「lindenfold --help」を参照してください。</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>音声ファイル、フォルダー、プレイリスト (M3U、M3U8、PLS、XSPF)、またはファイル URI。</translation>
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
        <translation>無題</translation>
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
        <translation>プレイリストを編集</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>前のトラック</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>次のトラック</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>プレイリスト</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>トラック</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>再生位置</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>アルバムアート</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>トラックを検索</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>タイトルまたはアーティスト</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Theme</source>
        <translation>テーマ</translation>
    </message>
    <message>
        <source>Play sounds</source>
        <translation>操作音を鳴らす</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>大きいサイズ</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>常に手前に表示</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>トラックをリピート</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>シャッフル再生</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>再生オプション</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>テーマのプレビュー</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>停止した位置から再開</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>オフ</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>トラックごと</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>アルバムごと</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>自動 (順番どおりはアルバム、シャッフル時はトラック)</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>音量を均一化</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>通知を表示</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>プレーヤー</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>トラックをリピート</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>シャッフル再生</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>音量を上げる</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>音量を下げる</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>プレイリスト</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>トラック</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>設定…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>このトラックの後で停止</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>トラックを検索…</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>新規プレイリスト</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>トラックを追加…</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>プレイリストを書き出す…</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>プレイリストを削除…</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>プレイリストにトラックを追加</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>プレイリストの書き出し</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>M3U8 プレイリスト (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>プレイリストを %1 に書き込めませんでした: %2</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>本当に削除しますか？</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>Lindenfold は変更を保存できませんでした: %1。
変更は実行中は保持され、次に変更したときに改めて保存されます。</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>General</source>
        <translation>一般</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>プレイリスト</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>トラック</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>不明なアーティスト</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>ドラッグして並べ替え</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>トラックを削除</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>アーティスト</translation>
    </message>
</context>
</TS>
