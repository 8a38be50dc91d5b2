// The skin's elements as a screen reader sees them: names, roles, actions and the scrubber's
// value, against the real audio player.
#include "control/playercontroller.h"
#include "model/config.h"
#include "playback/audioplayer.h"
#include "support/audiotest.h"
#include "support/testsupport.h"
#include "ui/player/contentview.h"
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

void press(QAccessibleInterface* button)
{
    QVERIFY(button && button->actionInterface());
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

} // namespace

class TestSkinAccessible : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installSkinAccessibility(); }

    void namesRolesPressAndSeek()
    {
        testsupport::TempHome home;
        QTemporaryDir music;
        Config config;
        config.setPlaysSounds(false);
        AudioPlayer player;
        PlayerController controller(&config, &player);
        ContentView view(&config, &player, &controller);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QAccessibleInterface* skin = QAccessible::queryAccessibleInterface(&view);
        QVERIFY(skin);

        // nothing plays: no knob, and the empty playlist shows no texts
        auto children = childrenByName(skin);
        const QList<std::pair<QString, QAccessible::Role>> expected = {
            {"Close", QAccessible::Button},          {"Minimise", QAccessible::Button},
            {"Previous track", QAccessible::Button}, {"Play", QAccessible::Button},
            {"Next track", QAccessible::Button},     {"Playlists", QAccessible::ButtonMenu},
            {"Tracks", QAccessible::ButtonMenu},     {"Album art", QAccessible::Graphic}};
        QCOMPARE(skin->childCount(), expected.size());
        for (const auto& [name, role] : expected) {
            QVERIFY2(children.contains(name), qPrintable(name));
            QCOMPARE(children[name]->role(), role);
            QCOMPARE(children[name]->parent(), skin);
        }
        const QPoint centre = children["Play"]->rect().center();
        QCOMPARE(skin->childAt(centre.x(), centre.y()), children["Play"]);

        // pressed, Play plays; the track's texts and the knob appear, and the knob seeks
        audiotest::ToneFile tone;
        tone.secondsEach = 20;
        const QString path = audiotest::makeToneFile(music.path(), "tone", tone);
        config.savePlaylist(config.playlists().first().id,
                            {Track{QUuid::createUuid(), QUrl::fromLocalFile(path).toString(), "Tone", "Sine"}});
        press(childrenByName(skin).value("Play"));
        QTRY_VERIFY_WITH_TIMEOUT(player.isPlaying(), 15000);
        children = childrenByName(skin);
        QVERIFY(children.contains("Tone") && children.contains("Sine") && children.contains("Pause"));
        QAccessibleInterface* position = children.value("Position");
        QVERIFY(position && position->valueInterface());
        QCOMPARE(position->role(), QAccessible::Slider);
        position->valueInterface()->setCurrentValue(50.0);
        QCOMPARE(player.progress(), 0.5);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(player.currentTime() - 10) < 1.5, 10000);
        press(children.value("Pause"));
        QVERIFY(!player.isPlaying());

        // a theme without minimise button and menus has no such children
        config.setMinWidth(0);
        config.setTrackMenuWidth(0);
        children = childrenByName(skin);
        QVERIFY(!children.contains("Minimise") && !children.contains("Tracks"));
    }
};

QTEST_MAIN(TestSkinAccessible)
#include "tst_skinaccessible.moc"
