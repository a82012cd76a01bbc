#include "platform/linux/drivemap.h"

#include "platform/volumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool isNetworkFs(const QString& fs)
{
    static const QSet<QString> kinds = {
        QStringLiteral("nfs"),       QStringLiteral("nfs4"),       QStringLiteral("cifs"),
        QStringLiteral("smb3"),      QStringLiteral("smbfs"),      QStringLiteral("ncpfs"),
        QStringLiteral("afs"),       QStringLiteral("9p"),         QStringLiteral("ceph"),
        QStringLiteral("glusterfs"), QStringLiteral("davfs"),      QStringLiteral("fuse.sshfs"),
        QStringLiteral("fuse.rclone"), QStringLiteral("fuse.s3fs"), QStringLiteral("fuse.glusterfs"),
        QStringLiteral("fuse.davfs2"), QStringLiteral("fuse.cephfs"),
    };
    return kinds.contains(fs);
}

// File systems people put on sticks, cards and player disks.
bool isRemovableMediaFs(const QString& fs)
{
    static const QSet<QString> kinds = {
        QStringLiteral("vfat"), QStringLiteral("msdos"), QStringLiteral("exfat"), QStringLiteral("ntfs"),
        QStringLiteral("ntfs3"), QStringLiteral("fuseblk"), QStringLiteral("ext2"), QStringLiteral("ext3"),
        QStringLiteral("ext4"), QStringLiteral("btrfs"), QStringLiteral("xfs"), QStringLiteral("f2fs"),
        QStringLiteral("hfsplus"), QStringLiteral("hfs"), QStringLiteral("udf"),
    };
    return kinds.contains(fs);
}

QByteArray readSmall(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(4096).trimmed();
}

bool underFolder(const QString& path, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    if (folder == QLatin1String("/"))
        return true;
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

DriveMap::DriveMap(Config config) : config_(std::move(config))
{
    while (config_.rootPrefix.endsWith(QLatin1Char('/')))
        config_.rootPrefix.chop(1);
}

bool DriveMap::userVisible(const QString& mp) const
{
    if (underFolder(mp, QStringLiteral("/media")) || underFolder(mp, QStringLiteral("/run/media")))
        return true;
    const QString home = QDir::cleanPath(config_.homeDir);
    return !config_.homeDir.isEmpty() && home != QLatin1String("/") && mp.startsWith(home + QLatin1Char('/'));
}

QString DriveMap::sysBlockDir(const MountEntry& m) const
{
    const QString sys = config_.rootPrefix + QStringLiteral("/sys");
    if (m.major != 0) {
        const QFileInfo fi(sys + QStringLiteral("/dev/block/%1:%2").arg(m.major).arg(m.minor));
        if (fi.exists())
            return fi.canonicalFilePath();
    }
    // FUSE and btrfs mounts may carry an anonymous device number; the source names the device.
    if (m.source.startsWith(QLatin1String("/dev/"))) {
        QString name = m.source.mid(5);
        if (name.contains(QLatin1Char('/'))) {
            const QString target = QFileInfo(config_.rootPrefix + m.source).canonicalFilePath();
            name = QFileInfo(target).fileName();
        }
        const QFileInfo fi(sys + QStringLiteral("/class/block/") + name);
        if (!name.isEmpty() && fi.exists())
            return fi.canonicalFilePath();
    }
    return {};
}

bool DriveMap::onHotplugBus(const QString& deviceDir) const
{
    static const QSet<QString> buses = {QStringLiteral("usb"), QStringLiteral("mmc"), QStringLiteral("ieee1394"),
                                        QStringLiteral("firewire"), QStringLiteral("memstick")};
    const QString top = config_.rootPrefix + QStringLiteral("/sys/devices");
    QString dir = deviceDir;
    while (dir.startsWith(top + QLatin1Char('/'))) {
        const QFileInfo link(dir + QStringLiteral("/subsystem"));
        if (link.isSymLink() && buses.contains(QFileInfo(link.symLinkTarget()).fileName()))
            return true;
        dir = QFileInfo(dir).path();
    }
    return false;
}

DriveMap::Class DriveMap::classify(const MountEntry& m) const
{
    Class c;
    const QString& fs = m.fsType;
    const QString mountKey = QStringLiteral("mnt:") + m.mountPoint;
    if (fs == QLatin1String("squashfs") || fs == QLatin1String("erofs"))
        return c;  // package images, never a drive of the person's
    if (isNetworkFs(fs)) {
        c = {true, Volumes::Remote, mountKey, {}, {}, {}};
    } else if (fs == QLatin1String("tmpfs") || fs == QLatin1String("ramfs")) {
        if (m.mountPoint == QLatin1String("/tmp") || userVisible(m.mountPoint)
            || underFolder(m.mountPoint, QStringLiteral("/mnt")))
            c = {true, Volumes::RamDisk, mountKey, {}, {}, {}};
    } else {
        const QString dir = sysBlockDir(m);
        if (!dir.isEmpty()) {
            c.letter = true;
            c.blockName = QFileInfo(dir).fileName();
            c.key = QStringLiteral("blk:") + c.blockName;
            const QString diskDir = QFileInfo::exists(dir + QStringLiteral("/partition")) ? QFileInfo(dir).path() : dir;
            c.diskName = QFileInfo(diskDir).fileName();
            c.backingFile = QString::fromUtf8(readSmall(diskDir + QStringLiteral("/loop/backing_file")));
            if (c.diskName.startsWith(QLatin1String("sr")) || fs == QLatin1String("iso9660"))
                c.type = Volumes::CdRom;
            else if (readSmall(diskDir + QStringLiteral("/removable")) == "1" || onHotplugBus(diskDir))
                c.type = Volumes::Removable;
            else if (!c.backingFile.isEmpty() && isRemovableMediaFs(fs) && userVisible(m.mountPoint))
                c.type = Volumes::Removable;
            else
                c.type = Volumes::Fixed;
        }
    }
    if (m.mountPoint == QLatin1String("/")) {
        c.letter = true;
        c.type = Volumes::Fixed;
        if (c.key.isEmpty())
            c.key = mountKey;
    }
    return c;
}

static QString cacheKey(const MountEntry& m)
{
    return QStringLiteral("%1 %2:%3 ").arg(m.mountId).arg(m.major).arg(m.minor) + m.fsType + QLatin1Char(' ')
           + m.source + QLatin1Char(' ') + m.mountPoint;
}

const DriveMap::Class& DriveMap::classifyCached(const MountEntry& m) const
{
    const QString k = cacheKey(m);
    auto it = classCache_.find(k);
    if (it == classCache_.end())
        it = classCache_.insert(k, classify(m));
    return *it;
}

void DriveMap::update(const QList<MountEntry>& mounts)
{
    mounts_ = mounts;
    {
        QSet<QString> present;
        for (const MountEntry& m : mounts)
            present.insert(cacheKey(m));
        for (auto it = classCache_.begin(); it != classCache_.end();)
            it = present.contains(it.key()) ? std::next(it) : classCache_.erase(it);
    }
    // Of mounts stacked on one mount point only the last is visible.
    QHash<QString, qsizetype> lastAt;
    for (qsizetype i = 0; i < mounts.size(); ++i)
        lastAt.insert(mounts.at(i).mountPoint, i);

    struct Candidate {
        Class c;
        MountEntry m;
    };
    QList<Candidate> cands;
    QHash<QString, qsizetype> byKey;
    QString rootKey;
    for (qsizetype i = 0; i < mounts.size(); ++i) {
        const MountEntry& m = mounts.at(i);
        if (lastAt.value(m.mountPoint) != i)
            continue;
        const Class& c = classifyCached(m);
        if (!c.letter)
            continue;
        if (m.mountPoint == QLatin1String("/")) {
            rootKey = c.key;
            rootBlock_ = c.blockName;
            rootDisk_ = c.diskName;
        }
        const auto seen = byKey.constFind(c.key);
        if (seen != byKey.cend()) {
            // A device mounted twice: its letter goes to "/", else to the whole file system
            // (a btrfs "/" is a subvolume; its top level mounted elsewhere must not take C).
            Candidate& old = cands[*seen];
            if (old.m.mountPoint != QLatin1String("/")
                && (m.mountPoint == QLatin1String("/") || (old.m.root != QLatin1String("/") && m.root == QLatin1String("/"))))
                old = {c, m};
            continue;
        }
        byKey.insert(c.key, cands.size());
        cands.append({c, m});
    }
    if (rootKey.isEmpty())
        rootBlock_.clear(), rootDisk_.clear();

    QHash<QString, QChar> next;
    uint32_t used = 0b111;  // A and B are never given; C belongs to "/"
    auto bit = [](QChar l) { return 1u << (l.unicode() - 'A'); };
    if (!rootKey.isEmpty())
        next.insert(rootKey, QLatin1Char('C'));
    for (const QString& k : std::as_const(held_)) {
        const auto it = letters_.constFind(k);
        if (it != letters_.cend() && k != rootKey && *it != QLatin1Char('C')) {
            next.insert(k, *it);
            used |= bit(*it);
        }
    }
    for (const Candidate& cand : std::as_const(cands)) {
        const auto it = letters_.constFind(cand.c.key);
        if (cand.c.key != rootKey && it != letters_.cend() && *it != QLatin1Char('C') && !(used & bit(*it))) {
            next.insert(cand.c.key, *it);
            used |= bit(*it);
        }
    }
    for (const Candidate& cand : std::as_const(cands)) {
        if (next.contains(cand.c.key))
            continue;
        const bool removable = cand.c.type == Volumes::Removable;
        for (int i = 0; i < 23; ++i) {
            const QChar l(char16_t(removable ? 'D' + i : 'Z' - i));
            if (!(used & bit(l))) {
                next.insert(cand.c.key, l);
                used |= bit(l);
                break;
            }
        }
    }
    letters_ = next;

    drives_.clear();
    mask_ = 0;
    for (const Candidate& cand : std::as_const(cands)) {
        const auto it = next.constFind(cand.c.key);
        if (it == next.cend())
            continue;  // out of letters
        MappedDrive d;
        d.letter = *it;
        d.type = cand.c.type;
        d.key = cand.c.key;
        d.blockName = cand.c.blockName;
        d.diskName = cand.c.diskName;
        d.backingFile = cand.c.backingFile;
        if (!d.blockName.isEmpty())
            d.deviceNode = config_.rootPrefix + QStringLiteral("/dev/") + d.blockName;
        d.mount = cand.m;
        drives_.append(d);
        mask_ |= bit(d.letter);
    }
}

const MappedDrive* DriveMap::byLetter(QChar letter) const
{
    const QChar l = letter.toUpper();
    for (const MappedDrive& d : drives_)
        if (d.letter == l)
            return &d;
    return nullptr;
}

const MappedDrive* DriveMap::byRoot(const QString& root) const
{
    if (root.size() < 2 || root.at(1) != QLatin1Char(':'))
        return nullptr;
    return byLetter(root.at(0));
}

const MappedDrive* DriveMap::byKey(const QString& key) const
{
    for (const MappedDrive& d : drives_)
        if (d.key == key)
            return &d;
    return nullptr;
}

QList<MountEntry> DriveMap::mountsOf(const QString& blockName) const
{
    QList<MountEntry> out;
    if (blockName.isEmpty())
        return out;
    for (const MountEntry& m : mounts_) {
        if (classifyCached(m).blockName == blockName)
            out.append(m);
    }
    return out;
}

QString DriveMap::toNative(const QString& letterPath) const
{
    const MappedDrive* d = byRoot(letterPath);
    if (!d)
        return {};
    QString rest = letterPath.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // ".." never climbs off the drive, as at a drive's root on the letter side.
    QStringList parts;
    for (const QString& part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
        {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (part != QLatin1String(".")) {
            parts.append(part);
        }
    }
    const QString inner = QLatin1Char('/') + parts.join(QLatin1Char('/'));
    const QString& base = d->mount.mountPoint;
    if (inner == QLatin1String("/"))
        return base;
    return (base == QLatin1String("/") ? QString() : base) + inner;
}

QString DriveMap::toLetter(const QString& nativePath) const
{
    if (nativePath.contains(QLatin1Char('\\')) || !nativePath.startsWith(QLatin1Char('/')))
        return {};
    const QString path = QDir::cleanPath(nativePath);
    const MappedDrive* best = nullptr;
    for (const MappedDrive& d : drives_) {
        const QString& mp = d.mount.mountPoint;
        if (underFolder(path, mp) && (!best || mp.size() > best->mount.mountPoint.size()))
            best = &d;
    }
    if (!best)
        return {};
    const QString& mp = best->mount.mountPoint;
    QString rest = mp == QLatin1String("/") ? path.mid(1) : path.mid(mp.size() + 1);
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return QString(best->letter) + QStringLiteral(":\\") + rest;
}
