#include "upload/pathini.h"

#include "app/programpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace PathIni {

QString filePath(const QString& programFolder)
{
    return programFile(programFolder, QStringLiteral("/Data/Path.ini"));
}

QString read(const QString& programFolder)
{
    QFile file(filePath(programFolder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A folder path is short; a huge file is not ours and yields what fits.
    QByteArray line = file.readLine(64 * 1024);
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

bool write(const QString& programFolder, const QString& destination)
{
    if (destination.contains(QLatin1Char('\n')) || destination.contains(QLatin1Char('\r')))
        return false;
    const QString path = filePath(programFolder);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = destination.toUtf8() + "\r\n";
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace PathIni
