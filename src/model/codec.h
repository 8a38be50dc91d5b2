#pragma once

#include "model/records.h"

#include <QByteArray>
#include <QString>

#include <variant>

// JSON encoding and decoding of the settings and playlist files. Decoders are strict:
// a missing or null required key or a value of the wrong JSON type rejects the whole
// file, and the error text names the failing key (with its array index).
namespace codec {

struct DecodeError {
    QString message;
};

template <typename T> using Decoded = std::variant<T, DecodeError>;

QByteArray encodeSettings(const SettingsData& data);
Decoded<SettingsData> decodeSettings(const QByteArray& bytes);

QByteArray encodePlaylist(const PlaylistData& data);
// Takes the bytes by value so that a moved-in file is freed before the tracks are built.
Decoded<PlaylistData> decodePlaylist(QByteArray bytes);

// Playlists sorted by name: code point order after canonical normalisation, no locale,
// no case folding, stable for equal names.
QList<Playlist> sortedByName(QList<Playlist> playlists);

} // namespace codec
