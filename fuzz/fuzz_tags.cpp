// An audio file of any bytes, read as the track import and the album art read it. The
// first byte picks the file name's extension, which decides how TagLib reads the rest.
#include "playback/albumart.h"
#include "ui/settings/trackimport.h"

#include "scratchfile.h"

#include <QFile>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const extensions[] = {"mp3", "flac", "ogg", "opus", "m4a", "wav"};
    const QString path = scratchFile(QStringLiteral("track.") + QLatin1String(extensions[data[0] % 6]), data + 1, size - 1);
    trackimport::readTrack(path, trackimport::Fallback::TagsOnly);
    albumart::readAlbumArt(path);
    QFile::remove(path);
    return 0;
}
