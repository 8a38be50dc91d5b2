#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/types.h>

namespace fileio {

// What identifies one version of a file: replacing or rewriting it changes at least one field.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    qint64 modifiedNs = 0;
    bool regular = false;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of what is at path now (symlinks followed), or nothing when nothing is there.
std::optional<FileStamp> fileStamp(const QString& path);

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
