#pragma once
#include "platform/linux/mounttool.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

#include <gtest/gtest.h>
#include <ostream>
#include <unistd.h>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// Skips the running test where real drives cannot be made.
#define KV_REQUIRE_LOOP_DEVICES()                                                                  \
    do {                                                                                           \
        if (geteuid() != 0)                                                                        \
            GTEST_SKIP() << "needs root to attach and mount loop devices";                         \
        if (!QFileInfo::exists(QStringLiteral("/dev/loop-control")))                               \
            GTEST_SKIP() << "this machine has no loop devices (/dev/loop-control is missing)";     \
    } while (0)

inline bool isMounted(const QString& mountPoint)
{
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    for (const MountEntry& m : parseMountInfo(f.readAll()))
        if (m.mountPoint == mountPoint)
            return true;
    return false;
}

// An image file attached to a loop device and mounted under /media, all made by
// the test and removed again by exactly the names it made.
class LoopImage {
public:
    enum class Kind { Exfat, Fat, Ext4 };

    LoopImage(Kind kind, const QString& label, int megabytes = 64, bool readOnly = false) : kind_(kind)
    {
        image_ = dir_.path() + QStringLiteral("/drive.img");
        QFile f(image_);
        if (!f.open(QIODevice::WriteOnly) || !f.resize(qint64(megabytes) << 20))
            return;
        f.close();
        QStringList mkfs;
        switch (kind) {
        case Kind::Exfat: mkfs = {"mkfs.exfat", "-L", label}; break;
        case Kind::Fat: mkfs = {"mkfs.vfat", "-F", "32", "-n", label}; break;
        case Kind::Ext4: mkfs = {"mkfs.ext4", "-q", "-F", "-L", label}; break;
        }
        if (label.isEmpty())
            mkfs.remove(mkfs.size() - 2, 2);
        mkfs << image_;
        if (!runTool(mkfs).ok())
            return;
        QStringList attach{"losetup", "-f", "--show"};
        if (readOnly)
            attach << "-r";
        const ToolRun r = runTool(attach << image_);
        if (r.ok())
            device_ = r.output.trimmed();
    }

    ~LoopImage()
    {
        unmount();
        if (!mountPoint_.isEmpty())
            QDir().rmdir(mountPoint_);
        detach();
    }

    bool attached() const { return !device_.isEmpty(); }
    const QString& device() const { return device_; }
    const QString& image() const { return image_; }
    const QString& mountPoint() const { return mountPoint_; }

    // Mounts under /media/<name>, as the desktop would show it.
    bool mount(const QString& name)
    {
        mountPoint_ = QStringLiteral("/media/") + name + QStringLiteral("-%1").arg(getpid());
        QDir().mkpath(mountPoint_);
        ToolRun r;
        switch (kind_) {
        case Kind::Exfat: r = runTool({"mount.exfat-fuse", device_, mountPoint_}); break;
        case Kind::Fat:
            r = runTool({"fusefat", "-o", QStringLiteral("%1,blkdev,fsname=%2").arg(readOnlyMount_ ? "ro" : "rw+", device_),
                         device_, mountPoint_});
            break;
        case Kind::Ext4: r = runTool({"mount", device_, mountPoint_}); break;
        }
        return r.ok() && isMounted(mountPoint_);
    }
    void setReadOnlyMount(bool ro) { readOnlyMount_ = ro; }

    void unmount()
    {
        // The code under test may have mounted it again where it was.
        for (int i = 0; i < 5 && !mountPoint_.isEmpty() && isMounted(mountPoint_); ++i)
            runTool({"umount", mountPoint_});
        // A FUSE mount whose daemon has gone may still be held open by a test's files.
        if (!mountPoint_.isEmpty() && isMounted(mountPoint_))
            runTool({"umount", "-l", mountPoint_});
    }

    bool remountReadOnly() { return runTool({"mount", "-o", "remount,ro", mountPoint_}).ok(); }

    // The exFAT daemon serving this mount (started by mount() for this device and
    // folder only), or 0.
    pid_t fuseDaemon() const
    {
        if (kind_ != Kind::Exfat || mountPoint_.isEmpty())
            return 0;
        // The tool may have been started by its full path.
        const QByteArray args = QByteArray(1, '\0') + device_.toUtf8() + '\0' + mountPoint_.toUtf8() + '\0';
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool numeric = false;
            const pid_t n = pid.toInt(&numeric);
            QFile cmd(QStringLiteral("/proc/%1/cmdline").arg(pid));
            if (!numeric || !cmd.open(QIODevice::ReadOnly))
                continue;
            const QByteArray line = cmd.readAll();
            const qsizetype end = line.indexOf('\0');
            if (end > 0 && line.mid(end) == args && line.left(end).split('/').last() == "mount.exfat-fuse")
                return n;
        }
        return 0;
    }

    // What a stick pulled out mid-write looks like to a writer: every later call on
    // the mount fails with ENOTCONN.
    bool killFuseDaemon()
    {
        const pid_t pid = fuseDaemon();
        if (pid <= 0 || ::kill(pid, SIGKILL) != 0)
            return false;
        QElapsedTimer t;
        t.start();
        // Gone, or a zombie nobody reaps here (its command line reads empty).
        while (fuseDaemon() == pid && t.elapsed() < 5000)
            QThread::msleep(5);
        return true;
    }

private:
    void detach()
    {
        if (device_.isEmpty())
            return;
        waitDeviceFree(device_);
        // Only the device still backed by our image: the number may have been reused.
        const QString name = QFileInfo(device_).fileName();
        QFile backing(QStringLiteral("/sys/block/") + name + QStringLiteral("/loop/backing_file"));
        if (backing.open(QIODevice::ReadOnly) && QString::fromUtf8(backing.readAll()).trimmed() == image_)
            runTool({"losetup", "-d", device_});
        device_.clear();
    }

    Kind kind_;
    QTemporaryDir dir_;
    QString image_, device_, mountPoint_;
    bool readOnlyMount_ = false;
};

// Lets the mount-table notifier run until `done` holds or time runs out.
template <typename Pred>
bool waitFor(Pred done, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}
