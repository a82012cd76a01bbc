// The file copier on real file systems, on loop devices this test makes and removes.
#include "platform/linux/filecopier_linux.h"
#include "platform/linux/filecopier_linux_fs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

int run(const QString& program, const QStringList& args, QString* out = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return -1;
    if (out)
        *out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool have(const QString& program)
{
    return run(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("command -v %1").arg(program)}) == 0;
}

// An image file on its own loop device, formatted and mounted; torn down by exact names only.
class LoopVolume {
public:
    LoopVolume(const QString& folder, qint64 size) : image_(folder + QStringLiteral("/volume.img")),
                                                     mount_(folder + QStringLiteral("/mnt"))
    {
        QDir().mkpath(mount_);
        if (run(QStringLiteral("truncate"), {QStringLiteral("-s"), QString::number(size), image_}) == 0)
            run(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), image_}, &device_);
        if (!device_.startsWith(QStringLiteral("/dev/loop")))
            device_.clear();
    }
    ~LoopVolume()
    {
        // A FUSE mount whose connection was cut is only let go lazily.
        if (mounted_ && run(QStringLiteral("umount"), {mount_}) != 0)
            run(QStringLiteral("umount"), {QStringLiteral("-l"), mount_});
        if (device_.isEmpty())
            return;
        QFile backing(QStringLiteral("/sys/block/%1/loop/backing_file").arg(device_.mid(5)));
        if (backing.open(QIODevice::ReadOnly) && QString::fromLocal8Bit(backing.readAll()).trimmed() == image_)
            run(QStringLiteral("losetup"), {QStringLiteral("-d"), device_});
    }
    bool format(const QString& mkfs, QStringList args)
    {
        args << device_;
        return !device_.isEmpty() && run(mkfs, args) == 0;
    }
    bool mount(const QString& program, const QStringList& args)
    {
        mounted_ = run(program, args) == 0;
        return mounted_;
    }
    QString device() const { return device_; }
    QString folder() const { return mount_; }

private:
    QString image_, mount_, device_;
    bool mounted_ = false;
};

class CopyVolumesTest : public ::testing::Test {
protected:
    QTemporaryDir dir{QStringLiteral("/var/tmp/korvane-copy-test-XXXXXX")};
    LinuxFileCopier copier;

    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "loop devices and mounts need root";
        if (::access("/dev/loop-control", F_OK) != 0)
            GTEST_SKIP() << "no loop devices on this machine";
        ASSERT_TRUE(dir.isValid());
    }

    QString source(const QString& name, qint64 size)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray data(size, Qt::Uninitialized);
        std::mt19937 gen{unsigned(size)};
        for (auto& c : data)
            c = char(gen());
        f.write(data);
        return path;
    }

    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    static QStringList entries(const QString& folder)
    {
        QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        names.sort();
        return names;
    }

    std::unique_ptr<LoopVolume> ext4(qint64 size)
    {
        auto v = std::make_unique<LoopVolume>(dir.path(), size);
        if (!v->format(QStringLiteral("mkfs.ext4"), {QStringLiteral("-q"), QStringLiteral("-F")})
            || !v->mount(QStringLiteral("mount"), {v->device(), v->folder()}))
            return nullptr;
        return v;
    }
};

TEST_F(CopyVolumesTest, FullExt4DriveReportsItAndKeepsTheOldFile)
{
    auto volume = ext4(8 << 20);
    ASSERT_TRUE(volume) << "could not make an ext4 image";
    const QString target = volume->folder() + QStringLiteral("/song.mp3");
    const QString small = source(QStringLiteral("small.mp3"), 100 << 10);
    ASSERT_TRUE(copier.copyFile(small, target, {}).ok);
    ASSERT_TRUE(copier.finishPending().isEmpty());
    ASSERT_TRUE(contents(target) == contents(small));

    const FileCopier::Result r = copier.copyFile(source(QStringLiteral("big.mp3"), 16 << 20), target, {});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, ENOSPC);
    EXPECT_EQ(r.reason, QStringLiteral("The drive is full."));
    EXPECT_TRUE(contents(target) == contents(small));
    EXPECT_EQ(entries(volume->folder()), (QStringList{QStringLiteral("lost+found"), QStringLiteral("song.mp3")}));
}

TEST_F(CopyVolumesTest, ReadOnlyRemountReportsWriteProtection)
{
    auto volume = ext4(8 << 20);
    ASSERT_TRUE(volume) << "could not make an ext4 image";
    ASSERT_EQ(run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), volume->folder()}), 0);
    const FileCopier::Result r = copier.copyFile(source(QStringLiteral("a.mp3"), 1000), volume->folder() + QStringLiteral("/a.mp3"), {});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, EROFS);
    EXPECT_EQ(r.reason, QStringLiteral("The drive is write-protected."));
    EXPECT_EQ(entries(volume->folder()), QStringList{QStringLiteral("lost+found")});
}

TEST_F(CopyVolumesTest, ExfatThroughFuseCopiesAndRefusesFatNames)
{
    if (!have(QStringLiteral("mkfs.exfat")) || !have(QStringLiteral("mount.exfat-fuse")))
        GTEST_SKIP() << "exFAT tools are not installed";
    LoopVolume volume(dir.path(), 64 << 20);
    ASSERT_TRUE(volume.format(QStringLiteral("mkfs.exfat"), {QStringLiteral("-n"), QStringLiteral("STICK")}));
    ASSERT_TRUE(volume.mount(QStringLiteral("mount.exfat-fuse"), {volume.device(), volume.folder()}));

    const int folder = ::open(QFile::encodeName(volume.folder()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    const copier::DestinationFs fs = copier::probeDestination(folder);
    ::close(folder);
    EXPECT_EQ(fs.type, QByteArray("exfat"));
    EXPECT_EQ(fs.largestFile, UINT64_MAX);

    // Across file systems the kernel refuses copy_file_range: the plain path must carry the data.
    const QString song = source(QStringLiteral("song.mp3"), (3 << 20) + 17);
    const QString target = volume.folder() + QStringLiteral("/song.mp3");
    for (int pass = 0; pass < 2; ++pass) {
        const FileCopier::Result r = copier.copyFile(song, target, {});
        ASSERT_TRUE(r.ok) << r.reason.toStdString();
        EXPECT_TRUE(copier.finishPending().isEmpty());
        EXPECT_TRUE(contents(target) == contents(song));
    }

    const FileCopier::Result bad = copier.copyFile(song, volume.folder() + QStringLiteral("/what?.mp3"), {});
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.error, EINVAL);
    EXPECT_EQ(bad.reason, QStringLiteral("The name holds characters the drive's file system does not allow."));

    // A stick that fills up half-way: the write fails, nothing is reserved up front on FUSE.
    const FileCopier::Result full = copier.copyFile(source(QStringLiteral("huge.bin"), 80 << 20), target, {});
    EXPECT_FALSE(full.ok);
    EXPECT_EQ(full.error, ENOSPC);
    EXPECT_EQ(full.reason, QStringLiteral("The drive is full."));
    EXPECT_TRUE(contents(target) == contents(song));
    EXPECT_EQ(entries(volume.folder()), QStringList{QStringLiteral("song.mp3")});
}

// Cutting the FUSE connection is what a stick pulled out mid-copy looks like to the copier.
TEST_F(CopyVolumesTest, DriveGoneDuringACopyIsReportedAsRemoved)
{
    if (!have(QStringLiteral("mkfs.exfat")) || !have(QStringLiteral("mount.exfat-fuse")))
        GTEST_SKIP() << "exFAT tools are not installed";
    LoopVolume volume(dir.path(), 128 << 20);
    ASSERT_TRUE(volume.format(QStringLiteral("mkfs.exfat"), {QStringLiteral("-n"), QStringLiteral("STICK")}));
    ASSERT_TRUE(volume.mount(QStringLiteral("mount.exfat-fuse"), {volume.device(), volume.folder()}));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(volume.folder()).constData(), &st), 0);
    const QString control = QStringLiteral("/sys/fs/fuse/connections");
    struct Control {
        QString at;
        bool ours = false;
        ~Control()
        {
            if (ours)
                run(QStringLiteral("umount"), {at});
        }
    } fusectl{control};
    // Connections are named by the kernel's own device number: major << 20 | minor.
    const QString abort = QStringLiteral("%1/%2/abort").arg(control).arg((quint64(major(st.st_dev)) << 20) | minor(st.st_dev));
    if (!QFile::exists(abort))
        fusectl.ours = run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("fusectl"), QStringLiteral("fusectl"), control}) == 0;
    if (!QFile::exists(abort))
        GTEST_SKIP() << "the FUSE control file system cannot be mounted";

    const QString big = source(QStringLiteral("big.bin"), 96 << 20);
    bool pulled = false;
    const FileCopier::Result r = copier.copyFile(big, volume.folder() + QStringLiteral("/big.bin"),
                                                 [&](uint64_t total, uint64_t done) {
        if (!pulled && done < total) {
            QFile f(abort);
            pulled = f.open(QIODevice::WriteOnly) && f.write("1") == 1;
        }
        return 0;
    });
    if (!pulled)
        GTEST_SKIP() << "the copy finished before its first report";
    EXPECT_FALSE(r.ok);
    // A request in flight is aborted, later ones find no connection.
    EXPECT_TRUE(r.error == ENOTCONN || r.error == ECONNABORTED) << r.error;
    EXPECT_EQ(r.reason.toStdString(), "The drive was removed.");
}

TEST_F(CopyVolumesTest, FileOfFourGibibytesIsRefusedByFat)
{
    const QString huge = dir.filePath(QStringLiteral("movie.mkv"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize((qint64(4) << 30) + 1));  // sparse: costs no space
    }
    LoopVolume volume(dir.path(), 64 << 20);
    const bool mounted = have(QStringLiteral("fusefat"))
        && volume.format(QStringLiteral("mkfs.vfat"), {QStringLiteral("-F"), QStringLiteral("32")})
        && volume.mount(QStringLiteral("fusefat"), {QStringLiteral("-o"), QStringLiteral("rw+,blkdev,fsname=") + volume.device(),
                                                    volume.device(), volume.folder()});
    if (!mounted)
        GTEST_SKIP() << "no FAT file system can be mounted here";

    const int folder = ::open(QFile::encodeName(volume.folder()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    const copier::DestinationFs fs = copier::probeDestination(folder);
    ::close(folder);
    EXPECT_EQ(fs.type, QByteArray("vfat"));
    EXPECT_EQ(fs.largestFile, 0xFFFFFFFFull);

    const FileCopier::Result r = copier.copyFile(huge, volume.folder() + QStringLiteral("/movie.mkv"), {});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, EFBIG);
    EXPECT_EQ(r.reason, QStringLiteral("The file is too large for the drive's file system (4 GiB or more on FAT32)."));
    const FileCopier::Result name = copier.copyFile(huge, volume.folder() + QStringLiteral("/a:b.mkv"), {});
    EXPECT_EQ(name.error, EINVAL);
    EXPECT_EQ(entries(volume.folder()), QStringList{});
}

}  // namespace
