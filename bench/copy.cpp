// Throughput of the file copier against `cp` + `sync -f`, and the longest stretch the
// calling thread went without a pass of events, on three datasets and up to two drives.
//
//   bench_copy [--rounds N] [--big-rounds N] [--only album|big|many] [--keep]
//
// As root it also loop-mounts an exFAT image through FUSE, as a stick would be.
#include "platform/linux/filecopier_linux.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

struct Dataset {
    QString name;
    QStringList files;
    qint64 bytes = 0;
};

struct Destination {
    QString name;
    QString folder;
    QString device;  // flushed after `sync -f` when the mount may not pass a sync on
};

void fill(const QString& path, qint64 size, std::mt19937_64& gen)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    std::vector<quint64> block(1 << 17);
    for (qint64 left = size; left > 0;) {
        for (auto& w : block)
            w = gen();
        const qint64 n = std::min<qint64>(left, qint64(block.size() * sizeof(quint64)));
        f.write(reinterpret_cast<const char*>(block.data()), n);
        left -= n;
    }
}

Dataset make(const QString& root, const QString& name, int count, qint64 minSize, qint64 maxSize)
{
    Dataset d{name, {}, 0};
    const QString folder = root + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    std::mt19937_64 gen(count * 7919 + minSize);
    std::uniform_int_distribution<qint64> size(minSize, maxSize);
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/%2-%3.bin").arg(folder, name).arg(i, 4, 10, QLatin1Char('0'));
        const qint64 s = size(gen);
        fill(path, s, gen);
        d.files << path;
        d.bytes += s;
    }
    return d;
}

int run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    if (!p.waitForFinished(-1))
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QString output(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(-1);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

void empty(const QString& folder)
{
    QDir d(folder);
    for (const QString& n : d.entryList(QDir::Files | QDir::Hidden | QDir::System))
        d.remove(n);
    run(QStringLiteral("sync"), {QStringLiteral("-f"), folder});
}

struct EngineRun {
    double seconds = 0;
    double worstGapMs = 0;
    int failures = 0;
};

// Copies like the copy run: one file at a time, a cheap progress routine, events after each file.
EngineRun engine(FileCopier& copier, const Dataset& d, const QString& dest)
{
    QElapsedTimer sinceTick;
    qint64 worstNs = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        worstNs = std::max(worstNs, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    float shown = 0;
    auto progress = [&](uint64_t total, uint64_t done) {
        shown = total ? float(double(done) / double(total) * 100.0) : 100.0f;
        return 0;
    };

    EngineRun r;
    QElapsedTimer clock;
    heartbeat.start(1);
    sinceTick.start();
    clock.start();
    for (const QString& f : d.files) {
        const FileCopier::Result res = copier.copyFile(f, dest + QLatin1Char('/') + QFileInfo(f).fileName(), progress);
        if (!res.ok) {
            ++r.failures;
            std::fprintf(stderr, "copy failed: %s: %s\n", qPrintable(f), qPrintable(res.reason));
        }
        QCoreApplication::processEvents();
    }
    // The run is done only once every copy is committed and on the device.
    for (const FileCopier::Late& late : copier.finishPending()) {
        ++r.failures;
        std::fprintf(stderr, "commit failed: %s: %s\n", qPrintable(late.destNative), qPrintable(late.result.reason));
    }
    r.seconds = clock.nsecsElapsed() / 1e9;
    heartbeat.stop();
    worstNs = std::max(worstNs, sinceTick.nsecsElapsed());
    r.worstGapMs = worstNs / 1e6;
    (void)shown;
    return r;
}

// The same heartbeat around a loop that only waits and lets events run, as the copier's
// loop does between reports: what the machine's scheduling alone costs.
double idleGapMs(int seconds)
{
    QElapsedTimer sinceTick, clock;
    qint64 worstNs = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        worstNs = std::max(worstNs, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    heartbeat.start(1);
    sinceTick.start();
    clock.start();
    while (clock.elapsed() < seconds * 1000) {
        ::usleep(10000);
        QCoreApplication::processEvents();
    }
    return worstNs / 1e6;
}

double reference(const Dataset& d, const QString& dest, const QString& device)
{
    QElapsedTimer clock;
    clock.start();
    if (run(QStringLiteral("cp"), QStringList(d.files) << dest) != 0)
        qFatal("cp failed");
    if (run(QStringLiteral("sync"), {QStringLiteral("-f"), dest}) != 0)
        qFatal("sync failed");
    // A FUSE mount may ignore a file-system sync: flush the device under it too.
    if (!device.isEmpty() && run(QStringLiteral("sync"), {device}) != 0)
        qFatal("sync of the device failed");
    return clock.nsecsElapsed() / 1e9;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// An exFAT image on a loop device, mounted through FUSE; removed again by its exact names.
class ExfatImage {
public:
    bool open(const QString& root, qint64 size)
    {
        image_ = root + QStringLiteral("/exfat.img");
        mount_ = root + QStringLiteral("/exfat");
        QDir().mkpath(mount_);
        if (run(QStringLiteral("truncate"), {QStringLiteral("-s"), QString::number(size), image_}) != 0)
            return false;
        device_ = output(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), image_});
        if (!device_.startsWith(QStringLiteral("/dev/loop")))
            return false;
        if (run(QStringLiteral("mkfs.exfat"), {QStringLiteral("-n"), QStringLiteral("BENCH"), device_}) != 0)
            return false;
        mounted_ = run(QStringLiteral("mount.exfat-fuse"), {device_, mount_}) == 0;
        return mounted_;
    }
    ~ExfatImage()
    {
        if (mounted_)
            run(QStringLiteral("umount"), {mount_});
        if (!device_.isEmpty()) {
            QFile backing(QStringLiteral("/sys/block/%1/loop/backing_file").arg(device_.mid(5)));
            if (backing.open(QIODevice::ReadOnly) && QString::fromLocal8Bit(backing.readAll()).trimmed() == image_)
                run(QStringLiteral("losetup"), {QStringLiteral("-d"), device_});
        }
    }
    QString folder() const { return mount_; }
    QString device() const { return device_; }

private:
    QString image_, mount_, device_;
    bool mounted_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int rounds = 5, bigRounds = 5;
    QString only;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--rounds") && i + 1 < args.size())
            rounds = args[++i].toInt();
        else if (args[i] == QLatin1String("--big-rounds") && i + 1 < args.size())
            bigRounds = args[++i].toInt();
        else if (args[i] == QLatin1String("--only") && i + 1 < args.size())
            only = args[++i];
    }

    // On the root file system, beside the destination folder, as a music folder would be.
    QTemporaryDir work(QStringLiteral("/var/tmp/korvane-bench-copy-XXXXXX"));
    if (!work.isValid())
        qFatal("no work folder");
    std::fprintf(stderr, "making datasets in %s\n", qPrintable(work.path()));
    std::vector<Dataset> sets;
    if (only.isEmpty() || only == QLatin1String("album"))
        sets.push_back(make(work.path(), QStringLiteral("album"), 12, 4'000'000, 10'000'000));
    if (only.isEmpty() || only == QLatin1String("big"))
        sets.push_back(make(work.path(), QStringLiteral("big"), 1, qint64(1) << 30, qint64(1) << 30));
    if (only.isEmpty() || only == QLatin1String("many"))
        sets.push_back(make(work.path(), QStringLiteral("many"), 2000, 20'000, 20'000));
    run(QStringLiteral("sync"), {});

    std::vector<Destination> dests;
    const QString local = work.path() + QStringLiteral("/dest");
    QDir().mkpath(local);
    dests.push_back({QStringLiteral("root fs (ext4)"), local, {}});
    ExfatImage exfat;
    if (::geteuid() != 0)
        std::fprintf(stderr, "not root: no exFAT image\n");
    else if (exfat.open(work.path(), qint64(3) << 30))
        dests.push_back({QStringLiteral("exFAT (FUSE, loop)"), exfat.folder(), exfat.device()});
    else
        std::fprintf(stderr, "could not make the exFAT image\n");

    LinuxFileCopier copier;
    std::printf("idle loop (10 ms waits, 5 s): largest gap %.1f ms; load average %s\n", idleGapMs(5),
                qPrintable(output(QStringLiteral("cut"), {QStringLiteral("-d "), QStringLiteral("-f1-3"),
                                                          QStringLiteral("/proc/loadavg")})));
    std::printf("%-8s %-20s %6s %12s %12s %7s %12s %12s\n", "dataset", "destination", "rounds", "engine MB/s",
                "cp+sync MB/s", "ratio", "gap max ms", "gap med ms");
    for (const Destination& dest : dests) {
        for (const Dataset& d : sets) {
            const int n = d.name == QLatin1String("big") ? bigRounds : rounds;
            std::vector<double> mine, theirs, ratios, gaps;
            int failures = 0;
            for (int i = 0; i < n; ++i) {
                // Alternate who goes first so neither always meets a warmer or colder device.
                double ours = 0, cp = 0;
                for (int turn = 0; turn < 2; ++turn) {
                    empty(dest.folder);
                    if ((turn == 0) == (i % 2 == 0)) {
                        const EngineRun r = engine(copier, d, dest.folder);
                        ours = d.bytes / r.seconds / 1e6;
                        gaps.push_back(r.worstGapMs);
                        failures += r.failures;
                    } else {
                        cp = d.bytes / reference(d, dest.folder, dest.device) / 1e6;
                    }
                }
                mine.push_back(ours);
                theirs.push_back(cp);
                ratios.push_back(ours / cp);
                std::fprintf(stderr, "%s -> %s round %d: engine %.1f MB/s, cp+sync %.1f MB/s, gap %.1f ms\n",
                             qPrintable(d.name), qPrintable(dest.name), i + 1, ours, cp, gaps.back());
            }
            empty(dest.folder);
            std::printf("%-8s %-20s %6d %12.1f %12.1f %7.2f %12.1f %12.1f%s\n", qPrintable(d.name),
                        qPrintable(dest.name), n, median(mine), median(theirs), median(ratios),
                        *std::max_element(gaps.begin(), gaps.end()), median(gaps),
                        failures ? qPrintable(QStringLiteral("  (%1 failed copies)").arg(failures)) : "");
            std::fflush(stdout);
        }
    }
    return 0;
}
