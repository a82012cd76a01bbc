#include "platform/linux/linuxvolumes.h"

#include "platform/linux/blockprobe.h"
#include "platform/linux/mounttool.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSocketNotifier>

#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/statvfs.h>
#include <unistd.h>

LinuxVolumes::LinuxVolumes(QObject* parent) : LinuxVolumes(Config{}, parent) {}

LinuxVolumes::LinuxVolumes(Config config, QObject* parent)
    : QObject(parent),
      config_(std::move(config)),
      map_({config_.rootPrefix, config_.homeDir.isEmpty() ? QDir::homePath() : config_.homeDir})
{
    const QByteArray path = QFile::encodeName(config_.rootPrefix + QStringLiteral("/proc/self/mountinfo"));
    fd_ = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ >= 0 && QCoreApplication::instance()) {
        // The kernel flags the open table as exceptional on every mount, remount and unmount.
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Exception, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            dirty_ = true;
            emit mountsChanged();
        });
    }
    reload();
}

LinuxVolumes::~LinuxVolumes()
{
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

QByteArray LinuxVolumes::readMountInfo()
{
    QByteArray text;
    if (fd_ < 0)
        return text;
    if (::lseek(fd_, 0, SEEK_SET) < 0)
        return text;
    char buf[16384];
    for (;;) {
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buf, n);
    }
    return text;
}

void LinuxVolumes::reload()
{
    dirty_ = false;
    map_.update(parseMountInfo(readMountInfo()));
}

void LinuxVolumes::refresh()
{
    if (fd_ >= 0) {
        pollfd p{fd_, POLLPRI, 0};
        ::poll(&p, 1, 0);  // takes the pending change, so the notifier does not re-read for it
    }
    reload();
}

void LinuxVolumes::ensureFresh()
{
    if (!dirty_ && fd_ >= 0) {
        pollfd p{fd_, POLLPRI, 0};
        if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLPRI | POLLERR)))
            dirty_ = true;
    }
    if (dirty_)
        reload();
}

uint32_t LinuxVolumes::logicalDrives()
{
    // The notifier marks the table stale; without a change this is one load and a test.
    if (dirty_)
        reload();
    return map_.mask();
}

int LinuxVolumes::driveType(const QString& root)
{
    ensureFresh();
    const MappedDrive* d = map_.byRoot(root);
    return d ? d->type : NoRootDir;
}

std::optional<MappedDrive> LinuxVolumes::drive(const QString& root)
{
    ensureFresh();
    const MappedDrive* d = map_.byRoot(root);
    if (!d)
        return std::nullopt;
    return *d;
}

UDisksClient* LinuxVolumes::udisks()
{
    if (!config_.useUDisks)
        return nullptr;
    if (!udisks_)
        udisks_ = std::make_unique<UDisksClient>();
    return udisks_->available() ? udisks_.get() : nullptr;
}

bool LinuxVolumes::statDrive(const MappedDrive& d, struct statvfs* st)
{
    const QByteArray path = QFile::encodeName(config_.rootPrefix + d.mount.mountPoint);
    const bool mayHang = d.mount.fsType.startsWith(QLatin1String("fuse")) || d.type == Remote;
    if (!mayHang)
        return ::statvfs(path.constData(), st) == 0;
    // A stopped FUSE daemon or a lost server blocks statvfs for ever: wait a while, then give up on it.
    struct Shared {
        std::mutex m;
        std::condition_variable cv;
        bool done = false;
        int rc = -1;
        struct statvfs st {};
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, path] {
        struct statvfs s {};
        const int rc = ::statvfs(path.constData(), &s);
        std::lock_guard lock(shared->m);
        shared->rc = rc;
        shared->st = s;
        shared->done = true;
        shared->cv.notify_all();
    }).detach();
    std::unique_lock lock(shared->m);
    if (!shared->cv.wait_for(lock, std::chrono::seconds(3), [&] { return shared->done; }))
        return false;
    *st = shared->st;
    return shared->rc == 0;
}

bool LinuxVolumes::clusterFigures(const QString& root, ClusterFigures* out)
{
    *out = {};
    ensureFresh();
    const MappedDrive* d = map_.byRoot(root);
    struct statvfs st {};
    if (!d || !statDrive(*d, &st))
        return false;
    const uint64_t unit = st.f_frsize ? st.f_frsize : st.f_bsize;
    out->bytesPerSector = unit % 512 == 0 ? 512 : unit;
    out->sectorsPerCluster = unit / out->bytesPerSector;
    out->totalClusters = st.f_blocks;
    out->freeClusters = st.f_bavail;
    return true;
}

bool LinuxVolumes::spaceCounts(const QString& root, SpaceCounts* out)
{
    *out = {};
    ensureFresh();
    const MappedDrive* d = map_.byRoot(root);
    struct statvfs st {};
    if (!d || !statDrive(*d, &st))
        return false;
    const uint64_t unit = st.f_frsize ? st.f_frsize : st.f_bsize;
    out->available = uint64_t(st.f_bavail) * unit;
    out->total = uint64_t(st.f_blocks) * unit;
    out->totalFree = uint64_t(st.f_bfree) * unit;
    return true;
}

QString LinuxVolumes::toNative(const QString& letterPath)
{
    ensureFresh();
    return map_.toNative(letterPath);
}

QString LinuxVolumes::toLetter(const QString& nativePath)
{
    ensureFresh();
    return map_.toLetter(nativePath);
}

bool LinuxVolumes::whileUnmounted(const MappedDrive& d, bool viaUDisks, const std::function<bool(QString*)>& work,
                                  QString* why)
{
    auto fail = [&](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    const QString busyText =
        QStringLiteral("The drive is in use. Close the files and programs that use it, then try again.");
    UDisksClient* ud = viaUDisks ? udisks() : nullptr;
    if (viaUDisks && !ud)
        return fail(QStringLiteral("The disk service is not running."));
    if (!ud && map_.mountsOf(d.blockName).size() > 1)
        return fail(busyText);

    map_.hold(d.key);
    const auto release = qScopeGuard([&] { map_.release(d.key); });
    QString reason;
    if (ud) {
        UDisksClient::Error e;
        if (!ud->unmount(d.blockName, &e))
            return fail(e.name.endsWith(QLatin1String("DeviceBusy")) ? busyText
                                                                     : QStringLiteral("The drive could not be unmounted: ")
                                                                           + e.message);
    } else {
        if (!unmountEntry(d.mount, &reason))
            return fail(reason);
        waitDeviceFree(d.deviceNode);
    }
    refresh();

    QString workWhy;
    const bool worked = work(&workWhy);

    QString mountWhy;
    bool mounted = false;
    if (ud) {
        UDisksClient::Error e;
        mounted = ud->mount(d.blockName, nullptr, &e);
        if (!mounted)
            mountWhy = QStringLiteral("The drive could not be mounted again: ") + e.message;
    } else {
        QString type = probedType(d);
        if (type.isEmpty())
            type = d.mount.fsType;
        mounted = mountDevice(d.deviceNode, type, d.mount.mountPoint, d.mount, config_.rootPrefix, &mountWhy);
    }
    refresh();
    if (!worked)
        return fail(mounted ? workWhy : workWhy + QLatin1Char(' ') + mountWhy);
    if (!mounted)
        return fail(mountWhy);
    return true;
}
