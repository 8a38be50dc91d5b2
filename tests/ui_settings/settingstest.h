#pragma once

#include "model/config.h"
#include "support/testsupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace settingstest {

// Replaces the settings file with a marker, so a test sees whether anything wrote it since.
class SettingsWatch {
public:
    explicit SettingsWatch(const QString& path) : m_path(path) { reset(); }
    void reset() { testsupport::writeFile(m_path, kMarker); }
    bool written() const { return testsupport::readFile(m_path) != kMarker; }
    QJsonObject json() const {
        return QJsonDocument::fromJson(testsupport::readFile(m_path)).object();
    }

private:
    static constexpr const char* kMarker = "not written";
    QString m_path;
};

inline QList<Track> tracksNamed(const QStringList& names) {
    QList<Track> tracks;
    for (const QString& name : names) {
        tracks.append(Track{QUuid::createUuid(), QStringLiteral("file:///music/%1.mp3").arg(name),
                            name, QStringLiteral("Artist ") + name});
    }
    return tracks;
}

inline QStringList namesOf(const QList<Track>& tracks) {
    QStringList names;
    for (const Track& track : tracks)
        names.append(track.trackName);
    return names;
}

inline QList<Track> storedTracks(const Config& config, const QUuid& id) {
    return config.loadTracks(Playlist{id, {}});
}

} // namespace settingstest
