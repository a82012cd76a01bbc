#include "app/programpaths.h"

QString programFile(const QString& programFolder, const QString& literal)
{
    QString rest = literal;
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    QString folder = programFolder;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder.endsWith(QLatin1Char('/')) ? folder + rest : folder + QLatin1Char('/') + rest;
}
