#include "support/fakevolumes.h"

#include <QDir>

FakeVolumes::FakeVolumes()
{
    Drive c;
    c.type = Fixed;
    c.folder = QStringLiteral("/");
    setCapacity(c, 100ull << 30, 50ull << 30);
    drives_.insert(QLatin1Char('C'), c);
}

void FakeVolumes::setCapacity(Drive& d, uint64_t total, uint64_t available, uint64_t totalFree)
{
    if (totalFree < available)
        totalFree = available;
    d.space = {available, total, totalFree};
    d.clusters.sectorsPerCluster = 8;
    d.clusters.bytesPerSector = 512;
    d.clusters.totalClusters = total / 4096;
    d.clusters.freeClusters = available / 4096;
}

FakeVolumes::Drive& FakeVolumes::add(QChar letter, const Drive& drive)
{
    return drives_[letter.toUpper()] = drive;
}

FakeVolumes::Drive& FakeVolumes::add(QChar letter, int type, const QString& folder, const QString& label,
                                     uint64_t total, uint64_t available)
{
    Drive d;
    d.type = type;
    d.folder = folder;
    d.label = label;
    setCapacity(d, total, available);
    return add(letter, d);
}

void FakeVolumes::remove(QChar letter)
{
    drives_.remove(letter.toUpper());
}

FakeVolumes::Drive* FakeVolumes::drive(QChar letter)
{
    auto it = drives_.find(letter.toUpper());
    return it == drives_.end() ? nullptr : &it.value();
}

FakeVolumes::Drive* FakeVolumes::forRoot(const QString& root)
{
    if (root.size() < 2 || root.at(1) != QLatin1Char(':'))
        return nullptr;
    return drive(root.at(0));
}

uint32_t FakeVolumes::logicalDrives()
{
    ++logicalDrivesCalls;
    uint32_t mask = 0;
    for (auto it = drives_.cbegin(); it != drives_.cend(); ++it) {
        const int n = it.key().unicode() - 'A';
        if (n >= 0 && n < 26)
            mask |= 1u << n;
    }
    return mask;
}

int FakeVolumes::driveType(const QString& root)
{
    const Drive* d = forRoot(root);
    return d ? d->type : NoRootDir;
}

bool FakeVolumes::clusterFigures(const QString& root, ClusterFigures* out)
{
    *out = {};
    const Drive* d = forRoot(root);
    if (!d || !d->readable)
        return false;
    *out = d->clusters;
    return true;
}

bool FakeVolumes::spaceCounts(const QString& root, SpaceCounts* out)
{
    spaceQueries.append(root);
    *out = {};
    const Drive* d = forRoot(root);
    if (!d || !d->readable)
        return false;
    *out = d->space;
    return true;
}

bool FakeVolumes::volumeLabel(const QString& root, QString* label)
{
    label->clear();
    const Drive* d = forRoot(root);
    if (!d || !d->labelReadable)
        return false;
    *label = d->label;
    return true;
}

bool FakeVolumes::setVolumeLabel(const QString& root, const QString& label, QString* why)
{
    setLabelCalls.append({root, label});
    Drive* d = forRoot(root);
    if (!d) {
        if (why)
            *why = QStringLiteral("The drive is not there.");
        return false;
    }
    if (!d->refuseLabelWhy.isEmpty()) {
        if (why)
            *why = d->refuseLabelWhy;
        return false;
    }
    d->label = label;
    return true;
}

QString FakeVolumes::toNative(const QString& letterPath)
{
    const Drive* d = forRoot(letterPath);
    if (!d)
        return {};
    QString rest = letterPath.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    QString base = d->folder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    QString native = base + rest;
    if (native.size() > 1 && native.endsWith(QLatin1Char('/')) && !rest.isEmpty())
        native.chop(1);
    return native;
}

QString FakeVolumes::toLetter(const QString& nativePath)
{
    if (onToLetter)
        onToLetter();
    if (nativePath.contains(QLatin1Char('\\')))
        return {};
    const QString path = QDir::cleanPath(nativePath);
    QChar best;
    int bestLen = -1;
    for (auto it = drives_.cbegin(); it != drives_.cend(); ++it) {
        const QString f = QDir::cleanPath(it->folder);
        const bool inside = f == QLatin1String("/") || path == f || path.startsWith(f + QLatin1Char('/'));
        if (inside && f.size() > bestLen) {
            best = it.key();
            bestLen = int(f.size());
        }
    }
    if (bestLen < 0)
        return {};
    const QString f = QDir::cleanPath(drives_.value(best).folder);
    QString rest = f == QLatin1String("/") ? path.mid(1) : path.mid(f.size() + 1);
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return QString(best) + QStringLiteral(":\\") + rest;
}
