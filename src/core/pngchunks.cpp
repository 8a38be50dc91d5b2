#include "core/pngchunks.h"

#include <QByteArrayView>
#include <QtEndian>

namespace pngchunks {

bool fit(const QByteArray& bytes)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (!bytes.startsWith(QByteArrayView(signature, 8)))
        return true;
    qsizetype at = 8;
    // each chunk: its length, its type, the data and a CRC
    while (bytes.size() - at >= 12) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (length > quint64(bytes.size() - at - 12))
            return false;
        if (QByteArrayView(bytes.constData() + at + 4, 4) == "IEND")
            return true;
        at += 12 + qsizetype(length);
    }
    return true;
}

QByteArray signatureFormat(const QByteArray& bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QByteArrayLiteral("png");
    if (bytes.startsWith("\xff\xd8\xff"))
        return QByteArrayLiteral("jpeg");
    return {};
}

} // namespace pngchunks
