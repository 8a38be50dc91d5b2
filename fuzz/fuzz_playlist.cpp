// The playlist decoder on any bytes: it decodes or gives an error, and what it decodes
// encodes to a file that decodes to the same tracks.
#include "model/codec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto decoded = codec::decodePlaylist(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (const auto* playlist = std::get_if<PlaylistData>(&decoded)) {
        const auto again = codec::decodePlaylist(codec::encodePlaylist(*playlist));
        const auto* back = std::get_if<PlaylistData>(&again);
        if (!back || back->tracks != playlist->tracks)
            std::abort();
    }
    return 0;
}
