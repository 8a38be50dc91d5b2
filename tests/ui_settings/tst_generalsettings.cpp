#include "playback/soundplayer.h"
#include "settingstest.h"
#include "ui/settings/generalsettingsview.h"
#include "ui/settings/settingsview.h"
#include "ui/settings/trackdropdelegate.h"

#include <QCheckBox>
#include <QComboBox>

using namespace settingstest;

// The settings window and its General tab. Sounds are checked by the name asked for, without an
// audio server: that a sound is heard is the sound player's test.
class TestGeneralSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<Home> h;
    std::unique_ptr<SettingsView> m_view;

    QComboBox* picker() const { return m_view->generalView()->themePicker(); }
    QStringList soundsDuring(const std::function<void()>& action)
    {
        QSignalSpy started(h->config.soundPlayer(), &SoundPlayer::soundStarted);
        action();
        QStringList names;
        for (const QList<QVariant>& args : std::as_const(started))
            names.append(args.first().toString());
        return names;
    }

private slots:
    void init()
    {
        h = std::make_unique<Home>();
        m_view = std::make_unique<SettingsView>(&h->config);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }
    void cleanup()
    {
        m_view.reset();
        h.reset();
    }

    // Each toggle shows its field, also when the Player menu changes it, and every real change
    // is written at once.
    void togglesFollowAndWriteEachChange()
    {
        const QList<QCheckBox*> toggles = m_view->generalView()->toggles();
        const QStringList keys{"playsSounds", "superSized", "isFloating", "loopTracks",
                               "shuffleTracks"};
        QCOMPARE(toggles.size(), keys.size());
        for (int i = 0; i < keys.size(); ++i) {
            const QByteArray key = keys[i].toLatin1();
            const bool before = h->config.property(key).toBool();
            QCOMPARE(toggles[i]->isChecked(), before);
            h->markSettings();
            QTest::mouseClick(toggles[i], Qt::LeftButton);
            QCOMPARE(h->settings()[keys[i]].toBool(), !before);
            h->markSettings();
            h->config.setProperty(key, before);
            QVERIFY(toggles[i]->isChecked() == before && h->settings()[keys[i]].toBool() == before);
            h->markSettings();
            h->config.setProperty(key, before); // no change: nothing written
            QVERIFY(h->settings().isEmpty());
        }
    }

    // The picker follows the catalogue and the current theme, also when chosen elsewhere. A
    // chosen theme is written, then its geometry loaded; choosing the current one does neither
    // (its file now says otherwise); a theme without a directory is saved but keeps the
    // geometry of the one before.
    void choosingAThemeWritesThenLoadsIt()
    {
        const QString current = h->config.currentTheme();
        const double before = h->config.playerWidth();
        QCOMPARE(picker()->currentText(), current);
        const QString file = h->config.themeDirectory(current) + "/theme.json";
        QJsonObject theme = QJsonDocument::fromJson(testsupport::readFile(file)).object();
        QVERIFY(theme.contains("playerWidth"));
        for (const auto& [name, width] : {std::pair{QString("wide"), 301}, {current, 999}}) {
            theme["playerWidth"] = width;
            testsupport::writeFile(h->config.themeDirectory(name) + "/theme.json",
                                   QJsonDocument(theme).toJson());
        }
        h->config.setAvailableThemes({current, "wide", "gone"});
        QVERIFY(picker()->count() == 3 && picker()->itemText(2) == "gone");
        for (const auto& [name, saved, width] : {std::tuple{current, QString(), before},
                                                 {"wide", "wide", 301.0},
                                                 {"gone", "gone", 301.0}}) {
            h->markSettings();
            picker()->setCurrentIndex(picker()->findText(name));
            emit picker()->activated(picker()->currentIndex());
            QCOMPARE(h->settings()["currentTheme"].toString(), saved);
            QCOMPARE(h->config.playerWidth(), width);
        }
        h->config.setCurrentTheme(current);
        QCOMPARE(picker()->currentIndex(), 0);
    }

    // A dropped row plays "drag" before the list is written, only with sounds on; the editor's
    // tab was never shown, so the first playlist stands in for the chosen one. Each opening of
    // the window pops, until "Play sounds" is switched off.
    void soundsOnDropAndOpening()
    {
        PlaylistSettingsView* editor = m_view->playlistView();
        h->config.createPlaylist();
        QCOMPARE(editor->effectivePlaylistID(), h->config.playlists().first().id);
        h->config.savePlaylist(*editor->effectivePlaylistID(), tracksNamed({"A", "B"}));
        QStringList played;
        connect(&h->config, &Config::playlistSaved, this,
                [&] { played << h->config.soundPlayer()->lastSound(); });
        for (bool sounds : {false, true}) {
            h->config.setPlaysSounds(sounds);
            delete editor->beginTrackDrag(0);
            editor->dropDelegate(1).dropEntered();
            QVERIFY(editor->dropDelegate(1).performDrop());
        }
        QCOMPARE(played, (QStringList{"", "drag"}));
        m_view->hide();
        QCOMPARE(soundsDuring([&] { m_view->show(); }), QStringList{"pop"});
        QCOMPARE(soundsDuring([&] { m_view->raise(); }), QStringList{});
        m_view->generalView()->toggles().first()->click();
        m_view->hide();
        QCOMPARE(soundsDuring([&] { m_view->show(); }), QStringList{});
    }
};

QTEST_MAIN(TestGeneralSettings)
#include "tst_generalsettings.moc"
