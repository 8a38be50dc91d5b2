#include "model/config.h"
#include "playback/audioplayer.h"
#include "ui/player/contentview.h"
#include "control/playercontroller.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

// Renders the skin of each theme family into <dir>/skin-<theme>-<full|enlarged|minimised>.png,
// with a made-up current track, in a throw-away documents directory.
int main(int argc, char* argv[])
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(out);

    Config config;
    AudioPlayer player;
    PlayerController controller(&config, &player);
    config.savePlaylist(config.playlists().first().id,
                        {Track{QUuid::createUuid(), QUrl::fromLocalFile("/nowhere.m4a").toString(),
                               QStringLiteral("Linden Leaves in Autumn Wind"),
                               QStringLiteral("The Fold Quartet")}});
    for (const char* theme : {"nano-graphite", "neo-blueberry", "mini-graphite", "max-graphite"}) {
        config.setCurrentTheme(QLatin1String(theme));
        config.loadTheme();
        for (const char* variant : {"full", "enlarged", "minimised"}) {
            config.setSuperSized(qstrcmp(variant, "enlarged") == 0);
            ContentView view(&config, &player, &controller);
            view.setMinimized(qstrcmp(variant, "minimised") == 0);
            const QString family = QString::fromLatin1(theme).section(QLatin1Char('-'), 0, 0);
            const QString file = QStringLiteral("%1/skin-%2-%3.png").arg(out, family, variant);
            if (!view.grab().save(file)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                return 1;
            }
            std::printf("%s %dx%d\n", qPrintable(file), view.width(), view.height());
        }
    }
    return 0;
}
