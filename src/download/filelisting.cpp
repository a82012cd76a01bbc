#include "download/filelisting.h"

#include <QCollator>
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
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(names->begin(), names->end(), collator);
    return true;
}
