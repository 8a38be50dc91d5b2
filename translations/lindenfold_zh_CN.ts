<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>A small skinned music player. Files given are added to the end of the current playlist and the first of them plays; when Lindenfold runs already, they go to the running player.</source>
        <translation>一款可换肤的小巧音乐播放器。指定的文件会添加到当前播放列表的末尾，并播放其中第一个；如果 Lindenfold 已在运行，这些文件会交给正在运行的播放器。</translation>
    </message>
    <message>
        <source>Try &quot;lindenfold --help&quot;.</source>
        <translation>请尝试“lindenfold --help”。</translation>
    </message>
    <message>
        <source>Audio files, folders, playlists (M3U, M3U8, PLS, XSPF) or file URIs.</source>
        <translation>音频文件、文件夹、播放列表（M3U、M3U8、PLS、XSPF）或文件 URI。</translation>
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
        <translation>未命名</translation>
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
        <translation>编辑播放列表</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Previous track</source>
        <translation>上一首</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Next track</source>
        <translation>下一首</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>播放列表</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>曲目</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>播放位置</translation>
    </message>
    <message>
        <source>Album art</source>
        <translation>专辑封面</translation>
    </message>
</context>
<context>
    <name>FindTrackWindow</name>
    <message>
        <source>Find track</source>
        <translation>查找曲目</translation>
    </message>
    <message>
        <source>Title or artist</source>
        <translation>标题或艺人</translation>
    </message>
</context>
<context>
    <name>GeneralSettingsView</name>
    <message>
        <source>Theme</source>
        <translation>主题</translation>
    </message>
    <message>
        <source>Play sounds</source>
        <translation>播放界面音效</translation>
    </message>
    <message>
        <source>Large-sized</source>
        <translation>大尺寸</translation>
    </message>
    <message>
        <source>Floating window</source>
        <translation>窗口置顶</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>循环播放</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>随机播放</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>收听</translation>
    </message>
    <message>
        <source>Theme preview</source>
        <translation>主题预览</translation>
    </message>
    <message>
        <source>Resume where I stopped</source>
        <translation>从上次停止处继续</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>By track</source>
        <translation>按曲目</translation>
    </message>
    <message>
        <source>By album</source>
        <translation>按专辑</translation>
    </message>
    <message>
        <source>Automatic (album in order, track when shuffled)</source>
        <translation>自动（顺序播放时按专辑，随机播放时按曲目）</translation>
    </message>
    <message>
        <source>Normalise loudness</source>
        <translation>音量均衡</translation>
    </message>
    <message>
        <source>Show notifications</source>
        <translation>显示通知</translation>
    </message>
</context>
<context>
    <name>PlayerMenu</name>
    <message>
        <source>Player</source>
        <translation>播放器</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Loop tracks</source>
        <translation>循环播放</translation>
    </message>
    <message>
        <source>Shuffle tracks</source>
        <translation>随机播放</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>增大音量</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>减小音量</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>播放列表</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>曲目</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>设置…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Stop after this track</source>
        <translation>播放完此曲目后停止</translation>
    </message>
    <message>
        <source>Find track...</source>
        <translation>查找曲目…</translation>
    </message>
</context>
<context>
    <name>PlaylistSettingsView</name>
    <message>
        <source>New playlist</source>
        <translation>新建播放列表</translation>
    </message>
    <message>
        <source>Add tracks...</source>
        <translation>添加曲目…</translation>
    </message>
    <message>
        <source>Export playlist...</source>
        <translation>导出播放列表…</translation>
    </message>
    <message>
        <source>Delete playlist...</source>
        <translation>删除播放列表…</translation>
    </message>
    <message>
        <source>Add track to playlist</source>
        <translation>将曲目添加到播放列表</translation>
    </message>
    <message>
        <source>Export playlist</source>
        <translation>导出播放列表</translation>
    </message>
    <message>
        <source>M3U8 playlist (*.m3u8)</source>
        <translation>M3U8 播放列表 (*.m3u8)</translation>
    </message>
    <message>
        <source>The playlist could not be written to %1: %2</source>
        <translation>无法将播放列表写入 %1：%2</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>确定删除吗？</translation>
    </message>
</context>
<context>
    <name>SaveNotice</name>
    <message>
        <source>Lindenfold could not save your changes: %1.
They are kept while it runs and saved again with your next change.</source>
        <translation>Lindenfold 无法保存您的更改：%1。
更改在程序运行期间会保留，并会在您下次更改时再次保存。</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>General</source>
        <translation>常规</translation>
    </message>
    <message>
        <source>Playlists</source>
        <translation>播放列表</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>Track</source>
        <translation>曲目</translation>
    </message>
    <message>
        <source>Unknown artist</source>
        <translation>未知艺术家</translation>
    </message>
</context>
<context>
    <name>TrackTableModel</name>
    <message>
        <source>Drag to reorder</source>
        <translation>拖动以重新排序</translation>
    </message>
    <message>
        <source>Delete track</source>
        <translation>删除曲目</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>艺术家</translation>
    </message>
</context>
</TS>
