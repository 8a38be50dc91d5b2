// The settings decoder on any bytes: it decodes or gives an error, and what it decodes
// encodes to a file that decodes to the same record.
#include "model/codec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto decoded = codec::decodeSettings(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (const auto* settings = std::get_if<SettingsData>(&decoded)) {
        const auto again = codec::decodeSettings(codec::encodeSettings(*settings));
        const auto* back = std::get_if<SettingsData>(&again);
        if (!back || codec::encodeSettings(*back) != codec::encodeSettings(*settings))
            std::abort();
    }
    return 0;
}
