#include "upload/pathini.h"

#include "app/programpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace PathIni {

namespace {
// read() takes at most this much of the first line, its line end included.
constexpr qint64 kLineLimit = 64 * 1024 - 1;
}  // namespace

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
    QByteArray line = file.readLine(kLineLimit + 1);
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

bool write(const QString& programFolder, const QString& destination)
{
    // A lone surrogate has no UTF-8 form and would come back as another character.
    if (destination.contains(QLatin1Char('\n')) || destination.contains(QLatin1Char('\r'))
        || !destination.isValidUtf16())
        return false;
    // Reading drops one leading byte order mark (an editor may have saved one), so a
    // name that begins with that character is given one more to lose.
    QByteArray bytes = destination.toUtf8() + "\r\n";
    if (destination.startsWith(QChar(0xFEFF)))
        bytes.prepend("\xEF\xBB\xBF");
    if (bytes.size() > kLineLimit)
        return false;
    const QString path = filePath(programFolder);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace PathIni
