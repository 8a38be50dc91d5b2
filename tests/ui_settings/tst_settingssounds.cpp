#include "playback/soundplayer.h"
#include "settingstest.h"
#include "ui/settings/generalsettingsview.h"
#include "ui/settings/playlistsettingsview.h"
#include "ui/settings/settingsview.h"
#include "ui/settings/trackdropdelegate.h"

#include <QCheckBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

using settingstest::tracksNamed;

class TestSettingsSounds : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempHome> m_home;
    std::unique_ptr<Config> m_config;
    std::unique_ptr<SettingsView> m_view;

    QStringList soundsDuring(const std::function<void()>& action)
    {
        QSignalSpy started(m_config->soundPlayer(), &SoundPlayer::soundStarted);
        action();
        QStringList names;
        for (const QList<QVariant>& args : std::as_const(started))
            names.append(args.first().toString());
        return names;
    }

private slots:
    void init()
    {
        m_home = std::make_unique<testsupport::TempHome>();
        m_config = std::make_unique<Config>();
        m_view = std::make_unique<SettingsView>(m_config.get());
    }
    void cleanup()
    {
        m_view.reset();
        m_config.reset();
        m_home.reset();
    }

    void popsEachTimeTheWindowOpens()
    {
        QCOMPARE(soundsDuring([&] { m_view->show(); }), QStringList{"pop"});
        QCOMPARE(soundsDuring([&] { m_view->raise(); }), QStringList{});
        m_view->hide();
        QCOMPARE(soundsDuring([&] { m_view->show(); }), QStringList{"pop"});
    }

    void switchingSoundsOffSilencesTheNextOpening()
    {
        m_view->show();
        m_view->generalView()->toggles().first()->click();
        QVERIFY(!m_config->playsSounds());
        m_view->hide();
        QCOMPARE(soundsDuring([&] { m_view->show(); }), QStringList{});
    }

    void dropPlaysDragWhenSoundsAreOn_data()
    {
        QTest::addColumn<bool>("sounds");
        QTest::newRow("sounds on") << true;
        QTest::newRow("sounds off") << false;
    }
    void dropPlaysDragWhenSoundsAreOn()
    {
        QFETCH(bool, sounds);
        m_config->setPlaysSounds(sounds);
        PlaylistSettingsView* editor = m_view->playlistView();
        editor->refreshEditor();
        m_config->savePlaylist(*editor->effectivePlaylistID(), tracksNamed({"A", "B"}));
        editor->reloadTracks();
        delete editor->beginTrackDrag(0);
        editor->dropDelegate(1).dropEntered();
        QSignalSpy written(m_config.get(), &Config::playlistSaved);
        QStringList played;
        // the sound starts before the file is written
        connect(m_config.get(), &Config::playlistSaved, this,
                [&] { played.append(m_config->soundPlayer()->lastSound()); });
        const QStringList heard =
            soundsDuring([&] { QVERIFY(editor->dropDelegate(1).performDrop()); });
        QCOMPARE(heard, sounds ? QStringList{"drag"} : QStringList{});
        QCOMPARE(written.count(), 1);
        QCOMPARE(played, QStringList{sounds ? "drag" : ""});
    }
};

QTEST_MAIN(TestSettingsSounds)
#include "tst_settingssounds.moc"
