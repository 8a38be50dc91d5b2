#pragma once

#include "model/config.h"
#include "support/testsupport.h"
#include "ui/settings/playlistsettingsview.h"
#include "ui/settings/tracktablemodel.h"
#include "ui/settings/tracktableview.h"

#include <QAbstractItemModelTester>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace settingstest {

inline QList<Track> tracksNamed(const QStringList& names)
{
    QList<Track> tracks;
    for (const QString& name : names)
        tracks.append({QUuid::createUuid(), "file:///music/" + name + ".mp3", name, "By " + name});
    return tracks;
}

inline QStringList namesOf(const QList<Track>& tracks)
{
    QStringList names;
    for (const Track& track : tracks)
        names.append(track.trackName);
    return names;
}

// A private home and its Config, sounds off.
struct Home {
    testsupport::TempHome home;
    Config config;
    Home() { config.setPlaysSounds(false); }
    // the settings file becomes a marker that reads as empty until something writes it again
    void markSettings() { testsupport::writeFile(home.settingsFile(), "-"); }
    QJsonObject settings() const
    {
        return QJsonDocument::fromJson(testsupport::readFile(home.settingsFile())).object();
    }
};

// The playlist editor on a private home, its table model checked for inconsistent signals.
struct Editor : Home {
    std::unique_ptr<PlaylistSettingsView> view = std::make_unique<PlaylistSettingsView>(&config);
    std::unique_ptr<QAbstractItemModelTester> tester = std::make_unique<QAbstractItemModelTester>(
        view->trackModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);

    // shown as when its tab comes into view: the catalogue and the file are read again
    bool open()
    {
        view->resize(640, 480);
        view->show();
        return QTest::qWaitForWindowExposed(view.get());
    }
    QUuid shown() const { return *view->effectivePlaylistID(); }
    QStringList rows() const { return namesOf(view->selectedTracks()); }
    QList<Track> stored(const QUuid& id) const { return config.loadTracks(Playlist{id, {}}); }
    QStringList storedNames(const QUuid& id) const { return namesOf(stored(id)); }
    // the shown playlist's file holds these tracks, and so the table
    void fill(const QStringList& names) { config.savePlaylist(shown(), tracksNamed(names)); }
};

} // namespace settingstest
