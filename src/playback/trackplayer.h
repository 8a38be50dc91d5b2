#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QUrl>

#include "playback/replaygain.h"

#include <optional>

// The cover picture of one file, tagged with the file it was read from: the image, and the
// same picture as a PNG file for the desktop's media controls (empty without a picture, or
// when it could not be written).
struct Cover {
    QUrl url;
    QImage image;
    QString file;
    bool operator==(const Cover& other) const
    {
        return url == other.url && file == other.file && image.cacheKey() == other.image.cacheKey();
    }
};
Q_DECLARE_METATYPE(Cover)

// The audio player as the rest of the program sees it: the controller, the skin, the "Player"
// menu, MPRIS and the accessibility code depend on this alone. AudioPlayer is the real one;
// tests drive stand-ins without a sound server.
class TrackPlayer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(double duration READ duration NOTIFY durationChanged)
    Q_PROPERTY(double currentTime READ currentTime NOTIFY seeked)
    Q_PROPERTY(QUrl url READ url NOTIFY urlChanged)
    Q_PROPERTY(QImage albumArt READ albumArt NOTIFY albumArtChanged)
    Q_PROPERTY(Cover cover READ cover NOTIFY coverChanged)

public:
    using QObject::QObject;
    Q_DISABLE_COPY_MOVE(TrackPlayer)

    // The file URL a play of this URL loads, without looking at the file system: a URL
    // without a scheme (a plain path, "#" and all) becomes a file URL; nothing for a URL that
    // names no local file.
    static std::optional<QUrl> fileURL(const QUrl& url);

    virtual void play(const QUrl& url) = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    // A file is loaded (playing, paused or stopped); volume and position need one.
    virtual bool hasPlayer() const = 0;
    // The loaded file is still opening: its length is not known yet.
    virtual bool isLoading() const = 0;
    // The loaded file (empty before the first load).
    virtual QUrl url() const = 0;
    // Length in seconds, 1.0 while unknown.
    virtual double duration() const = 0;
    // The played fraction, as the scrubber draws it.
    virtual double progress() const = 0;
    // Seeks to a fraction of the loaded file, clamped to 0...1.
    virtual void seek(double fraction) = 0;
    virtual double currentTime() const = 0;
    virtual void setCurrentTime(double seconds) = 0;
    virtual float volume() const = 0;
    virtual void setVolume(float volume) = 0;

    // The cover of the last file whose picture was read; its url says which file that was.
    virtual Cover cover() const = 0;
    QImage albumArt() const { return cover().image; }

    // The progress timer: the scrubber stops it during a drag and starts a new one after.
    virtual bool hasTimer() const = 0;
    virtual void invalidateTimer() = 0;
    virtual void startTimer() = 0;

    // The file to follow the loaded one without a gap (empty for none), handed over ahead of
    // time; a newly loaded file starts without one.
    virtual void setNextURL(const QUrl& url) = 0;

    // How files are levelled from their loudness tags, apart from the volume; off at first.
    virtual void setLoudness(Loudness loudness) { Q_UNUSED(loudness) }

    // The smallest change of progress anyone draws (the scrubber's device pixel): ticks that
    // cannot move it by that much are skipped, the others still fall on the 0.1 s beat, so
    // progress is never further than this behind. 0, at first, ticks every 0.1 s.
    virtual void setProgressStep(double fraction) { Q_UNUSED(fraction) }

signals:
    void progressChanged(double progress);
    void durationChanged(double duration);
    void isPlayingChanged(bool isPlaying);
    void albumArtChanged();
    // The cover changed: its picture, its file or the file it belongs to.
    void coverChanged();
    // A different file was handed over (not emitted on resume); also when a failed open puts
    // the previous file back, and with an empty URL when nothing is left loaded.
    void urlChanged(const QUrl& url);
    void volumeChanged(float volume);
    // A seek moved the position to these seconds (not emitted by the progress ticks).
    void seeked(double seconds);
    // A newly loaded file has opened and sounds (or is ready to, when paused meanwhile).
    void opened(const QUrl& url);
    // The file has played to its end.
    void trackFinished();
    // The file handed over by setNextURL is heard from now on, and url() already says so.
    void nextTrackStarted(const QUrl& url);
};
