#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <unistd.h>

// A folder of this process's own, where the readers under test find their input.
inline QString fuzzFolder()
{
    static const QString folder = [] {
        const QString f = QDir::tempPath() + QStringLiteral("/korvane-fuzz-%1").arg(::getpid());
        QDir().mkpath(f + QStringLiteral("/Data"));
        return f;
    }();
    return folder;
}

inline QString writeInput(const QString& relative, const uint8_t* data, size_t size)
{
    const QString path = fuzzFolder() + relative;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}
