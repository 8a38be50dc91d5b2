#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace fileio {

enum class ReadFailure { Missing, Unreadable, TooLarge };

struct ReadError {
    ReadFailure kind = ReadFailure::Unreadable;
    QString message;
};

// The whole content of a regular file (symlinks followed) of at most maxBytes. A FIFO, a
// device or a directory is refused at once, never waited on or read without end.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes, ReadError* error);

// Replaces path with bytes completely or leaves the old file exactly as it was: every write,
// the flush to disk and the rename are checked.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// A plain write of a new file, every step checked; for files that a later rename of their
// directory makes visible.
bool writeNewFile(const QString& path, const QByteArray& bytes, QString* error);

// Puts everything written on the file system that holds path on the disk.
void syncFileSystem(const QString& path);

} // namespace fileio
