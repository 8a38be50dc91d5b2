#include "playertestdata.h"

#include "support/audiotest.h"

#include <QUrl>

QList<Track> playertest::makeTracks(const QString& dir, int count, double seconds)
{
    QList<Track> tracks;
    for (int i = 0; i < count; ++i) {
        audiotest::ToneFile toneFile;
        toneFile.frequencies = {440.0 + 220.0 * i};
        toneFile.secondsEach = seconds;
        const QString path =
            audiotest::makeToneFile(dir, QStringLiteral("tone%1").arg(i), toneFile);
        tracks << Track{QUuid::createUuid(), QUrl::fromLocalFile(path).toString(),
                        QStringLiteral("Tone %1").arg(i + 1), QStringLiteral("Artist %1").arg(i + 1)};
    }
    return tracks;
}
