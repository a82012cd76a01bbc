#include "download/filelisting.h"

#include <QDir>
#include <QDirIterator>
#include <algorithm>
#include <numeric>
#include <vector>

bool listOrdinaryFiles(const QString& nativeFolder, QFileInfoList* files, const std::function<void()>& pass)
{
    files->clear();
    const QFileInfo folder(nativeFolder);
    if (nativeFolder.isEmpty() || !folder.isDir() || !folder.isReadable())
        return false;
    // Without QDir::Hidden and QDir::System, dot-files and special files stay out.
    QDirIterator it(nativeFolder, QDir::Files | QDir::NoDotAndDotDot);
    QFileInfoList found;
    QStringList names;
    while (it.hasNext()) {
        it.next();
        const QFileInfo fi = it.fileInfo();
        if (fi.isFile() && !fi.fileName().startsWith(QLatin1Char('.'))) {
            fi.size();  // read now, while the entry is fresh, and kept with it
            found.append(fi);
            names.append(fi.fileName());
        }
        if (pass)
            pass();
    }
    std::vector<qsizetype> order(size_t(found.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const QString& x = names.at(a);
        const QString& y = names.at(b);
        const int c = x.compare(y, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : x < y;
    });
    files->reserve(found.size());
    for (qsizetype i : order)
        files->append(found.at(i));
    return true;
}

bool listOrdinaryFiles(const QString& nativeFolder, QStringList* names)
{
    names->clear();
    QFileInfoList files;
    if (!listOrdinaryFiles(nativeFolder, &files))
        return false;
    for (const QFileInfo& fi : files)
        names->append(fi.fileName());
    return true;
}
