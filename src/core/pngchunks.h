#pragma once

#include <QByteArray>

namespace pngchunks {

// Whether every chunk of a PNG fits in the bytes at hand. A chunk that claims more than the
// file holds marks it as damaged, and Qt's PNG decoder spends seconds and gigabytes on such a
// claim before it gives up, so such bytes are never handed to it. Bytes that are no PNG, or a
// PNG cut short between chunks, pass: the decoder tells what they are.
bool fit(const QByteArray& bytes);

// "png" or "jpeg" for bytes that open with that format's signature, else empty. A reader told
// the format goes straight to its decoder: the other image plugins are never loaded for it.
QByteArray signatureFormat(const QByteArray& bytes);

} // namespace pngchunks
