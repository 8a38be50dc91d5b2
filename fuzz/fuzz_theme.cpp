// The theme decoder on any bytes: it decodes or gives an error, and a decoded theme
// (hostile numbers included) encodes to a file that decodes again.
#include "theme/themedata.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto decoded = theme::decodeTheme(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (const auto* t = std::get_if<ThemeData>(&decoded)) {
        if (!std::holds_alternative<ThemeData>(theme::decodeTheme(theme::encodeTheme(*t))))
            std::abort();
    }
    return 0;
}
