#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace albumart {

// The embedded pictures of an audio file (ID3v2 APIC frames, FLAC picture blocks, Xiph
// METADATA_BLOCK_PICTURE, MP4 "covr"): the front covers first, then the others, each in their
// stored order; empty when the file cannot be read.
QList<QByteArray> embeddedPictures(const QString& path);

// Decodes one picture, bounded in memory; a null image for bytes that are not an image.
QImage decodePicture(const QByteArray& bytes);

// The picture beside the file: the first of cover, folder, front, album (.jpg, .jpeg, .png,
// .webp, in any case) in its folder that decodes, or in the folder above when the file's
// folder is one disc of an album ("CD1", "Disc 2"); regular files only, bounded as embedded
// pictures are. A null image for none.
QImage folderCover(const QString& path);

// The first embedded picture that decodes, else the picture beside the file; a null image for
// none. Safe on any thread.
QImage readAlbumArt(const QString& path);

} // namespace albumart
