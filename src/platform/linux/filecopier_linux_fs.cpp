#include "platform/linux/filecopier_linux_fs.h"

#include "platform/linux/blockprobe.h"
#include "platform/linux/mounttable.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <map>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace copier {

namespace {

constexpr uint64_t kFatLargestFile = 0xFFFFFFFFull;  // 4 GiB - 1
constexpr long kFuseMagic = 0x65735546;
constexpr long kExfatMagic = 0x2011BAB0;

DestinationFs forType(const QByteArray& type)
{
    DestinationFs fs;
    fs.type = type;
    if (type == "vfat" || type == "msdos" || type == "fat" || type.endsWith(".fusefat")) {
        fs.largestFile = kFatLargestFile;
        fs.fatNames = true;
    } else if (type == "exfat" || type.endsWith(".exfat")) {
        fs.fatNames = true;
    }
    return fs;
}

// Mount IDs that are never reused (Linux 6.8 and later); 0 where the kernel has none.
uint64_t uniqueMountId(int fd)
{
    constexpr unsigned kMountIdUnique = 0x4000;  // STATX_MNT_ID_UNIQUE
    struct statx sx {};
    if (::statx(fd, "", AT_EMPTY_PATH, kMountIdUnique, &sx) != 0 || !(sx.stx_mask & kMountIdUnique))
        return 0;
    return sx.stx_mnt_id;
}

}  // namespace

bool findMount(dev_t dev, QByteArray* type, QByteArray* source)
{
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    for (const MountEntry& m : parseMountInfo(f.readAll())) {
        if (m.major == major(dev) && m.minor == minor(dev)) {
            *type = m.fsType.toUtf8();
            *source = QFile::encodeName(m.source);
            return true;
        }
    }
    return false;
}

namespace {

// Nothing when the file system cannot be asked; that is not kept.
std::optional<DestinationFs> probeUncached(int dirFd)
{
    struct statfs sfs {};
    if (::fstatfs(dirFd, &sfs) != 0)
        return std::nullopt;
    switch (long(sfs.f_type)) {
    case MSDOS_SUPER_MAGIC:
        return forType("vfat");
    case kExfatMagic:
        return forType("exfat");
    case TMPFS_MAGIC: {
        DestinationFs fs = forType("tmpfs");
        fs.writeBehind = false;  // nothing to write back, and the calls cost
        fs.syncfsFlushes = false;  // and nothing to flush, so spare the other files' flush
        return fs;
    }
    case kFuseMagic: {
        DestinationFs fs = forType("fuse");
        struct stat st {};
        QByteArray type, source;
        if (::fstat(dirFd, &st) == 0 && findMount(st.st_dev, &type, &source)) {
            ProbedFs onDevice;
            if (type == "fuseblk")
                probeBlockDevice(QFile::decodeName(source), &onDevice);
            fs = forType(onDevice.type.isEmpty() ? type : onDevice.type.toUtf8());
        }
        fs.writeBehind = false;  // the daemon decides when data reaches the device
        fs.syncfsFlushes = false;  // the kernel's syncfs never asks the daemon
        return fs;
    }
    case EXT4_SUPER_MAGIC:
        return forType("ext4");
    default:
        return forType("other");
    }
}

}  // namespace

DestinationFs probeDestination(int dirFd)
{
    // Once per mount: through FUSE even the statfs is a round trip to the daemon, paid
    // for every small file, and the type of a mount never changes.
    static std::mutex lock;
    static std::map<uint64_t, DestinationFs> known;
    const uint64_t mountId = uniqueMountId(dirFd);
    if (mountId) {
        std::lock_guard<std::mutex> g(lock);
        if (auto it = known.find(mountId); it != known.end())
            return it->second;
    }
    const std::optional<DestinationFs> fs = probeUncached(dirFd);
    if (!fs)
        return {};
    if (mountId) {
        std::lock_guard<std::mutex> g(lock);
        known[mountId] = *fs;
    }
    return *fs;
}

bool fatNameAllowed(const QByteArray& name)
{
    for (unsigned char c : name) {
        if (c < 0x20 || std::strchr("\"*/:<>?\\|", c))
            return false;
    }
    return true;
}

QString failureReason(int error, Side side)
{
    const bool source = side == Side::Source;
    switch (error) {
    case ECANCELED:
        return QStringLiteral("The copy was stopped.");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("The drive is full.");
    case EROFS:
        return QStringLiteral("The drive is write-protected.");
    case EFBIG:
        return QStringLiteral("The file is too large for the drive's file system (4 GiB or more on FAT32).");
    case ENOTCONN:
    case ECONNABORTED:  // a FUSE request cut off as its daemon went away
    case ENODEV:
    case ENXIO:
    case ESHUTDOWN:
        return QStringLiteral("The drive was removed.");
    case ENOENT:
    case ENOTDIR:
        if (source)
            return QStringLiteral("The source file is gone.");
        return QStringLiteral("The destination folder does not exist.");
    case EACCES:
    case EPERM:
        if (source)
            return QStringLiteral("The source file cannot be read: access is denied.");
        return QStringLiteral("The destination folder cannot be written: access is denied.");
    case EISDIR:
        if (source)
            return QStringLiteral("The source is a folder, not a file.");
        return QStringLiteral("A folder of that name is in the way.");
    case ENAMETOOLONG:
        return QStringLiteral("The name is too long for the drive's file system.");
    case EILSEQ:
        return QStringLiteral("The name holds characters the drive's file system does not allow.");
    case EINVAL:
        if (side == Side::Create)
            return QStringLiteral("The name holds characters the drive's file system does not allow.");
        break;
    case EIO:
        if (source)
            return QStringLiteral("The source file could not be read.");
        return QStringLiteral("The drive could not be written (it may have been removed).");
    default:
        break;
    }
    const QString why = QString::fromLocal8Bit(std::strerror(error));
    return source ? QStringLiteral("The source file could not be read: %1.").arg(why)
                  : QStringLiteral("The file could not be written: %1.").arg(why);
}

}  // namespace copier
