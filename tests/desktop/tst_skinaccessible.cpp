// The skin's elements as a screen reader sees them: names, roles, actions and the scrubber's
// value, against the real audio player.
#include "model/config.h"
#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
#include "control/playercontroller.h"
#include "ui/player/skinaccessible.h"

#include <QAccessible>
#include <QtTest>

namespace {

QMap<QString, QAccessibleInterface*> childrenByName(QAccessibleInterface* skin)
{
    QMap<QString, QAccessibleInterface*> map;
    for (int i = 0; i < skin->childCount(); ++i)
        map.insert(skin->child(i)->text(QAccessible::Name), skin->child(i));
    return map;
}

} // namespace

class TestSkinAccessible : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempHome> m_home;
    QTemporaryDir m_music;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<AudioPlayer> m_audioPlayer;
    std::unique_ptr<PlayerController> m_controller;
    std::unique_ptr<ContentView> m_view;

private slots:
    void init()
    {
        installSkinAccessibility();
        m_home = std::make_unique<testsupport::TempHome>();
        m_config = std::make_unique<Config>();
        m_config->setPlaysSounds(false);
        m_audioPlayer = std::make_unique<AudioPlayer>();
        m_controller = std::make_unique<PlayerController>(m_config.get(), m_audioPlayer.get());
        m_view = std::make_unique<ContentView>(m_config.get(), m_audioPlayer.get(), m_controller.get());
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup()
    {
        m_view.reset();
        m_controller.reset();
        m_audioPlayer.reset();
        m_config.reset();
        m_home.reset();
    }

    void namesAndRoles()
    {
        QAccessibleInterface* skin = QAccessible::queryAccessibleInterface(m_view.get());
        QVERIFY(skin);
        const auto children = childrenByName(skin);
        const QList<std::pair<QString, QAccessible::Role>> expected = {
            {"Close", QAccessible::Button},         {"Minimise", QAccessible::Button},
            {"Previous track", QAccessible::Button}, {"Play", QAccessible::Button},
            {"Next track", QAccessible::Button},     {"Playlists", QAccessible::ButtonMenu},
            {"Tracks", QAccessible::ButtonMenu},     {"Album art", QAccessible::Graphic}};
        for (const auto& [name, role] : expected) {
            QVERIFY2(children.contains(name), qPrintable(name));
            QCOMPARE(children[name]->role(), role);
            QCOMPARE(children[name]->parent(), skin);
        }
        // nothing plays: no knob, and the empty playlist shows no texts
        QVERIFY(!children.contains("Position"));
        QCOMPARE(skin->childCount(), expected.size());
        const QRect play = children["Play"]->rect();
        QCOMPARE(skin->childAt(play.center().x(), play.center().y()), children["Play"]);

        // a theme without minimise button and menus has no such children
        m_config->setMinWidth(0);
        m_config->setTrackMenuWidth(0);
        const auto fewer = childrenByName(skin);
        QVERIFY(!fewer.contains("Minimise"));
        QVERIFY(!fewer.contains("Tracks"));
    }

    void pressPlayAndSeek()
    {
        audiotest::ToneFile tone;
        tone.secondsEach = 20;
        const QString path = audiotest::makeToneFile(m_music.path(), "tone", tone);
        QVERIFY(!path.isEmpty());
        m_config->savePlaylist(m_config->playlists().first().id,
                               {Track{QUuid::createUuid(), QUrl::fromLocalFile(path).toString(), "Tone", "Sine"}});

        QAccessibleInterface* skin = QAccessible::queryAccessibleInterface(m_view.get());
        QAccessibleInterface* play = childrenByName(skin).value("Play");
        QVERIFY(play);
        QAccessibleActionInterface* action = play->actionInterface();
        QVERIFY(action);
        action->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY_WITH_TIMEOUT(m_audioPlayer->isPlaying(), 15000);

        const auto playing = childrenByName(skin);
        QVERIFY(playing.contains("Pause"));
        QVERIFY(playing.contains("Tone"));
        QVERIFY(playing.contains("Sine"));
        QAccessibleInterface* position = playing.value("Position");
        QVERIFY(position);
        QCOMPARE(position->role(), QAccessible::Slider);
        QAccessibleValueInterface* value = position->valueInterface();
        QVERIFY(value);
        value->setCurrentValue(50.0);
        QCOMPARE(m_audioPlayer->progress(), 0.5);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(m_audioPlayer->currentTime() - 10) < 1.5, 10000);

        playing.value("Pause")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(!m_audioPlayer->isPlaying());
    }
};

QTEST_MAIN(TestSkinAccessible)
#include "tst_skinaccessible.moc"
