#include "platform/linux/mounttable.h"

#include <QStringList>

QString unescapeMountField(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size()) {
            const char a = field.at(i + 1), b = field.at(i + 2), d = field.at(i + 3);
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && d >= '0' && d <= '7') {
                out.append(char(((a - '0') << 6) | ((b - '0') << 3) | (d - '0')));
                i += 3;
                continue;
            }
        }
        out.append(c);
    }
    return QString::fromUtf8(out);
}

static bool parseLine(const QByteArray& line, MountEntry* e)
{
    const QList<QByteArray> f = line.split(' ');
    // id parent maj:min root mountpoint options [optional...] - fstype source superoptions
    qsizetype dash = -1;
    for (qsizetype i = 6; i < f.size(); ++i) {
        if (f.at(i) == "-") {
            dash = i;
            break;
        }
    }
    if (dash < 0 || dash + 1 >= f.size())
        return false;
    bool ok1 = false, ok2 = false;
    e->mountId = f.at(0).toInt(&ok1);
    e->parentId = f.at(1).toInt(&ok2);
    const QList<QByteArray> mm = f.at(2).split(':');
    if (!ok1 || !ok2 || mm.size() != 2)
        return false;
    e->major = mm.at(0).toUInt();
    e->minor = mm.at(1).toUInt();
    e->root = unescapeMountField(f.at(3));
    e->mountPoint = unescapeMountField(f.at(4));
    e->mountOptions = QString::fromUtf8(f.at(5));
    e->fsType = unescapeMountField(f.at(dash + 1));
    e->source = dash + 2 < f.size() ? unescapeMountField(f.at(dash + 2)) : QString();
    e->superOptions = dash + 3 < f.size() ? unescapeMountField(f.at(dash + 3)) : QString();
    return true;
}

QList<MountEntry> parseMountInfo(const QByteArray& text)
{
    QList<MountEntry> entries;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        MountEntry e;
        if (end > start && parseLine(text.mid(start, end - start), &e))
            entries.append(e);
        start = end + 1;
    }
    return entries;
}

static bool hasOption(const QString& list, const QString& opt)
{
    for (const QStringView o : QStringView(list).split(QLatin1Char(',')))
        if (o == opt)
            return true;
    return false;
}

bool MountEntry::readOnly() const
{
    return hasOption(mountOptions, QStringLiteral("ro")) || hasOption(superOptions, QStringLiteral("ro"));
}

QString MountEntry::superOption(const QString& key) const
{
    const QString prefix = key + QLatin1Char('=');
    for (const QString& o : superOptions.split(QLatin1Char(',')))
        if (o.startsWith(prefix))
            return o.mid(prefix.size());
    return {};
}

bool MountEntry::hasSuperOption(const QString& key) const
{
    return hasOption(superOptions, key);
}
