// Cost of the drive watch's tick (logicalDrives/CountDrives) with and without a
// mount change, and of a space query on a mounted image. As root it makes its own
// images (exFAT through FUSE, ext4) under /media and removes them again.
#include "devices/module2.h"
#include "platform/dialogs.h"
#include "platform/linux/linuxvolumes.h"
#include "platform/linux/mounttool.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {

class NoDialogs : public Dialogs {
public:
    Answer message(QWidget*, const QString&, const QString&, Icon, Buttons) override { return Answer::Ok; }
    QString input(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QStringList openFiles(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString browseFolder(QWidget*, const QString&, const QString&) override { return {}; }
};

template <typename F>
double nsPerCall(int n, F f)
{
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        f();
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(t1 - t0).count() / n;
}

struct Image {
    QTemporaryDir dir;
    QString file, device, mountPoint;
    bool make(const QStringList& mkfs, const QString& name)
    {
        file = dir.path() + QStringLiteral("/bench.img");
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || !f.resize(64 << 20))
            return false;
        f.close();
        if (!runTool(mkfs + QStringList{file}).ok())
            return false;
        const ToolRun r = runTool({"losetup", "-f", "--show", file});
        if (!r.ok())
            return false;
        device = r.output.trimmed();
        mountPoint = QStringLiteral("/media/kv-bench-%1-%2").arg(name).arg(getpid());
        return QDir().mkpath(mountPoint);
    }
    void release()
    {
        if (device.isEmpty())
            return;
        runTool({"umount", mountPoint});
        QDir().rmdir(mountPoint);
        waitDeviceFree(device);
        QFile backing(QStringLiteral("/sys/block/") + QFileInfo(device).fileName() + QStringLiteral("/loop/backing_file"));
        if (backing.open(QIODevice::ReadOnly) && QString::fromUtf8(backing.readAll()).trimmed() == file)
            runTool({"losetup", "-d", device});
        device.clear();
    }
    ~Image() { release(); }
};

void waitForNotifier(LinuxVolumes& v, uint32_t from)
{
    QElapsedTimer t;
    t.start();
    // Only events: logicalDrives itself would re-read the table.
    bool changed = false;
    auto c = QObject::connect(&v, &LinuxVolumes::mountsChanged, [&] { changed = true; });
    while (!changed && t.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::usleep(200);
    }
    QObject::disconnect(c);
    (void)from;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    LinuxVolumes::Config config;
    config.useUDisks = false;
    LinuxVolumes volumes(config);
    NoDialogs dialogs;
    Module2 m(volumes, dialogs);

    volatile uint32_t sink = 0;
    const int n = 2000000;
    std::printf("logicalDrives, nothing changed:  %8.1f ns/call\n", nsPerCall(n, [&] { sink = sink + volumes.logicalDrives(); }));
    std::printf("CountDrives, nothing changed:    %8.1f ns/call\n", nsPerCall(n, [&] { sink = sink + m.CountDrives(); }));
    std::printf("mount table re-read (forced):    %8.1f us/call\n",
                nsPerCall(2000, [&] { volumes.refresh(); sink = sink + volumes.logicalDrives(); }) / 1000);

    if (geteuid() != 0 || !QFileInfo::exists(QStringLiteral("/dev/loop-control"))) {
        std::printf("(not root or no loop devices: mount-change and space figures skipped)\n");
        return 0;
    }
    Image exfat, ext4;
    if (!exfat.make({"mkfs.exfat", "-L", "BENCH"}, QStringLiteral("exfat"))
        || !ext4.make({"mkfs.ext4", "-q", "-F", "-L", "BENCH"}, QStringLiteral("ext4"))) {
        std::printf("could not make the bench images\n");
        return 1;
    }

    // One CountDrives right after the kernel said the table changed, mount and unmount in turn.
    const int rounds = 20;
    double afterChange = 0;
    for (int i = 0; i < rounds; ++i) {
        const bool mountNow = i % 2 == 0;
        const uint32_t before = volumes.logicalDrives();
        if (mountNow)
            runTool({"mount", ext4.device, ext4.mountPoint});
        else
            runTool({"umount", ext4.mountPoint});
        waitForNotifier(volumes, before);
        afterChange += nsPerCall(1, [&] { sink = sink + m.CountDrives(); });
    }
    std::printf("CountDrives right after a change: %8.1f us/call (mean of %d)\n", afterChange / rounds / 1000, rounds);

    runTool({"mount", ext4.device, ext4.mountPoint});
    runTool({"mount.exfat-fuse", exfat.device, exfat.mountPoint});
    volumes.refresh();
    for (const Image* img : {&ext4, &exfat}) {
        const QString root = volumes.toLetter(img->mountPoint).left(3);
        Volumes::SpaceCounts s;
        const double ns = nsPerCall(2000, [&] { volumes.spaceCounts(root, &s); });
        std::printf("space query on %s (%s):%*s %8.1f us/call (total %llu bytes)\n", qPrintable(root),
                    img == &ext4 ? "ext4" : "exFAT/FUSE", img == &ext4 ? 7 : 1, "", ns / 1000,
                    static_cast<unsigned long long>(s.total));
    }
    std::printf("space routines (DriveSizeinMB):  %8.1f us/call\n",
                nsPerCall(2000, [&] { m.DriveSizeinMB(volumes.toLetter(ext4.mountPoint).left(3)); }) / 1000);
    return int(sink & 0);
}
