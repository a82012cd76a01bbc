#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <unistd.h>

// A folder of this process's own where the readers under test find their input;
// scripts/fuzz points TMPDIR at a scratch folder it removes afterwards.
inline QString fuzzFolder()
{
    static const QString folder = [] {
        const QString f = QDir::tempPath() + QStringLiteral("/korvane-fuzz-%1").arg(::getpid());
        QDir().mkpath(f + QStringLiteral("/Data"));
        return f;
    }();
    return folder;
}

inline QString writeInput(const QString& relative, const QByteArray& data)
{
    const QString path = fuzzFolder() + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size()) {
        // A fixture that cannot be written would make every later run meaningless.
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

inline QString writeInput(const QString& relative, const uint8_t* data, size_t size)
{
    return writeInput(relative, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
}

// Stops the run on a broken promise of the reader, naming it.
#define FUZZ_CHECK(cond)                                                                    \
    do {                                                                                    \
        if (!(cond)) {                                                                      \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);   \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)
