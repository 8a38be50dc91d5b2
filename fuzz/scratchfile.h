#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>
#include <unistd.h>

// Writes the input to a file of the given name in a private directory under /tmp (made
// once per process) and gives its path.
inline QString scratchFile(const QString& name, const uint8_t* data, size_t size)
{
    static const QString dir = [] {
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/lindenfold-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return QString::fromLocal8Bit(pattern);
    }();
    const QString path = dir + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}
