#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace albumart {

// The embedded pictures of an audio file in their stored order (ID3v2 APIC frames, FLAC
// picture blocks, Xiph METADATA_BLOCK_PICTURE, MP4 "covr"); empty when the file cannot be read.
QList<QByteArray> embeddedPictures(const QString& path);

// Decodes one picture, bounded in memory; a null image for bytes that are not an image.
QImage decodePicture(const QByteArray& bytes);

// The first embedded picture that decodes; a null image for none. Safe on any thread.
QImage readAlbumArt(const QString& path);

} // namespace albumart
