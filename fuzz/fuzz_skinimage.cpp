// A skin image file of any bytes, decoded as the player decodes it: never larger than the
// size it is asked for, or the built-in fallback.
#include "theme/skinimages.h"

#include "scratchfile.h"

#include <QFileInfo>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = scratchFile(QStringLiteral("player.png"), data, size);
    const QSize limit(96, 64);
    const QImage image = theme::skinImage(QFileInfo(path).path(), QStringLiteral("player"), limit);
    // the built-in fallback is the one image that is not the file's
    if (image.width() > limit.width() && image.height() > limit.height()
        && image != theme::fallbackImage(QStringLiteral("player")))
        std::abort();
    return 0;
}
