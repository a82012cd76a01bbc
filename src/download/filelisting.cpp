#include "download/filelisting.h"

#include <QDir>
#include <QFileInfo>

bool listOrdinaryFiles(const QString& nativeFolder, QStringList* names)
{
    names->clear();
    const QFileInfo folder(nativeFolder);
    if (nativeFolder.isEmpty() || !folder.isDir() || !folder.isReadable())
        return false;
    QDir dir(nativeFolder);
    // Without QDir::Hidden and QDir::System, dot-files and special files stay out.
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& fi : entries)
        if (fi.isFile() && !fi.fileName().startsWith(QLatin1Char('.')))
            names->append(fi.fileName());
    std::sort(names->begin(), names->end(), [](const QString& x, const QString& y) {
        const int c = x.compare(y, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : x < y;
    });
    return true;
}
