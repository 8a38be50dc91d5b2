#include "core/fileio.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {

namespace {

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool fail(ReadError* error, ReadFailure kind, const QString& message)
{
    if (error)
        *error = ReadError{kind, message};
    return false;
}

QString tooLargeText(qint64 maxBytes)
{
    return QStringLiteral("The file is larger than %1 MB, the most that is read for it.")
        .arg(maxBytes / (1024 * 1024));
}

struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::optional<FileStamp> fileStamp(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size,
                     qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     S_ISREG(st.st_mode)};
}

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes, ReadError* error)
{
    // non-blocking, so that opening a FIFO returns at once instead of waiting for a writer
    Descriptor file{
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0) {
        const int code = errno;
        fail(error, code == ENOENT ? ReadFailure::Missing : ReadFailure::Unreadable,
             errnoText(code));
        return std::nullopt;
    }
    struct stat st;
    if (::fstat(file.fd, &st) != 0) {
        fail(error, ReadFailure::Unreadable, errnoText(errno));
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        fail(error, ReadFailure::Unreadable, QStringLiteral("The file is not a regular file."));
        return std::nullopt;
    }
    if (st.st_size > maxBytes) {
        fail(error, ReadFailure::TooLarge, tooLargeText(maxBytes));
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.resize(qsizetype(st.st_size));
    qint64 filled = 0;
    for (;;) {
        // a file that grows while it is read may still not pass the limit
        if (filled == bytes.size()) {
            if (filled > maxBytes) {
                fail(error, ReadFailure::TooLarge, tooLargeText(maxBytes));
                return std::nullopt;
            }
            bytes.resize(qsizetype(std::min<qint64>(maxBytes + 1, filled + 65536)));
        }
        const ssize_t n = ::read(file.fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(error, ReadFailure::Unreadable, errnoText(errno));
            return std::nullopt;
        }
        if (n == 0)
            break;
        filled += n;
    }
    bytes.truncate(qsizetype(filled));
    return bytes;
}

namespace {

template <typename File> bool writeAll(File& file, const QByteArray& bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return file.flush();
}

} // namespace

bool writeNewFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) &&
                    writeAll(file, bytes);
    if (ok)
        file.close();
    if (ok && file.error() == QFileDevice::NoError)
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

void syncFileSystem(const QString& path)
{
    Descriptor dir{::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)};
    if (dir.fd >= 0)
        ::syncfs(dir.fd);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    // unbuffered: a buffered QSaveFile can commit after its final flush failed on a full
    // disk, replacing the old file with an empty one
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeAll(file, bytes)) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace fileio
