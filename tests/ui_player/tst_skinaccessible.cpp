// The skin's elements as a screen reader sees them: names, roles, actions and the scrubber's
// value, on a player stand-in.
#include "control/playercontroller.h"
#include "model/config.h"
#include "support/faketrackplayer.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
#include "ui/player/skinaccessible.h"

#include <QAccessible>
#include <QtTest>

class TestSkinAccessible : public QObject {
    Q_OBJECT

private slots:
    void namesRolesPressAndSeek()
    {
        installSkinAccessibility();
        testsupport::TempHome home;
        Config config;
        config.setPlaysSounds(false);
        FakeTrackPlayer player;
        player.length = 20;
        PlayerController controller(&config, &player);
        ContentView view(&config, &player, &controller);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QAccessibleInterface* skin = QAccessible::queryAccessibleInterface(&view);
        QVERIFY(skin);
        const auto children = [skin] {
            QMap<QString, QAccessibleInterface*> byName;
            for (int i = 0; i < skin->childCount(); ++i)
                byName.insert(skin->child(i)->text(QAccessible::Name), skin->child(i));
            return byName;
        };
        const auto press = [](QAccessibleInterface* button) {
            QVERIFY(button && button->actionInterface());
            button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        };

        // nothing plays: no knob, and the empty playlist shows no texts
        QMap<QString, QAccessible::Role> roles;
        for (QAccessibleInterface* child : children()) {
            roles.insert(child->text(QAccessible::Name), child->role());
            QCOMPARE(child->parent(), skin);
        }
        using enum QAccessible::Role;
        QCOMPARE(roles, (QMap<QString, QAccessible::Role>{{"Close", Button},
                                                          {"Minimise", Button},
                                                          {"Previous track", Button},
                                                          {"Play", Button},
                                                          {"Next track", Button},
                                                          {"Playlists", ButtonMenu},
                                                          {"Tracks", ButtonMenu},
                                                          {"Album art", Graphic}}));
        QCOMPARE(skin->childCount(), roles.size());
        const QPoint centre = children()["Play"]->rect().center();
        QCOMPARE(skin->childAt(centre.x(), centre.y()), children()["Play"]);

        // pressed, Play plays; the track's texts and the knob appear, and the knob seeks
        config.savePlaylist(
            config.playlists().first().id,
            {Track{QUuid::createUuid(), "file:///music/tone.flac", "Tone", "Sine"}});
        press(children().value("Play"));
        QVERIFY(player.isPlaying());
        QVERIFY(children().contains("Tone") && children().contains("Sine"));
        QAccessibleInterface* position = children().value("Position");
        QVERIFY(position && position->valueInterface() && position->role() == Slider);
        position->valueInterface()->setCurrentValue(50.0);
        QCOMPARE(std::pair(player.progress(), player.currentTime()), std::pair(0.5, 10.0));
        press(children().value("Pause"));
        QVERIFY(!player.isPlaying());
        // a theme without minimise button and menus has no such children
        config.setMinWidth(0);
        config.setTrackMenuWidth(0);
        QVERIFY(!children().contains("Minimise") && !children().contains("Tracks"));
    }
};

QTEST_MAIN(TestSkinAccessible)
#include "tst_skinaccessible.moc"
