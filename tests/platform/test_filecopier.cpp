#include "platform/linux/filecopier_linux.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <memory>
#include <random>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray pattern(qint64 size, unsigned seed)
{
    QByteArray data(size, Qt::Uninitialized);
    std::mt19937 gen(seed);
    for (qint64 i = 0; i < size; ++i)
        data[i] = char(gen() & 0xFF);
    return data;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(data), data.size());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every name in the folder, hidden ones included: a leftover temporary file shows here.
QStringList entries(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

struct Recorder {
    QList<QPair<uint64_t, uint64_t>> reports;
    bool offThread = false;
    FileCopier::Progress routine()
    {
        return [this](uint64_t total, uint64_t done) {
            reports.append({total, done});
            if (QThread::currentThread() != QCoreApplication::instance()->thread())
                offThread = true;
            return 0;
        };
    }
};

class FileCopierTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    LinuxFileCopier copier;
    QString src(const QString& n = QStringLiteral("src")) { return dir.filePath(n); }
    QString dst() { return dir.filePath(QStringLiteral("out")); }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("out")));
    }
};

TEST_F(FileCopierTest, CopiesAreByteIdenticalAndProgressRisesToTheTotal)
{
    const qint64 sizes[] = {0, 1, (1 << 20) + 1, 20 * (1 << 20) + 12345};
    for (qint64 size : sizes) {
        SCOPED_TRACE(size);
        const QByteArray data = pattern(size, unsigned(size));
        writeFile(src(), data);
        const QString target = dst() + QStringLiteral("/copy.bin");
        QFile::remove(target);
        Recorder rec;
        const FileCopier::Result r = copier.copyFile(src(), target, rec.routine());
        ASSERT_TRUE(r.ok) << r.reason.toStdString();
        EXPECT_TRUE(copier.finishPending().isEmpty());
        EXPECT_EQ(r.error, 0);
        EXPECT_TRUE(r.reason.isEmpty());
        EXPECT_TRUE(readFile(target) == data);
        EXPECT_EQ(entries(dst()), QStringList{QStringLiteral("copy.bin")});

        ASSERT_FALSE(rec.reports.isEmpty());
        EXPECT_FALSE(rec.offThread);
        uint64_t last = 0;
        for (const auto& [total, done] : rec.reports) {
            EXPECT_EQ(total, uint64_t(size));
            EXPECT_GE(done, last);
            EXPECT_LE(done, total);
            last = done;
        }
        EXPECT_EQ(rec.reports.last().second, uint64_t(size));
        EXPECT_EQ(QFileInfo(target).lastModified(), QFileInfo(src()).lastModified());
    }
}

TEST_F(FileCopierTest, ReplacesAnExistingFileAndCopiesWithoutAProgressRoutine)
{
    writeFile(dst() + QStringLiteral("/a.mp3"), "old contents that are longer than the new ones");
    writeFile(src(), "new");
    const FileCopier::Result r = copier.copyFile(src(), dst() + QStringLiteral("/a.mp3"), {});
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_TRUE(copier.finishPending().isEmpty());
    EXPECT_EQ(readFile(dst() + QStringLiteral("/a.mp3")), QByteArray("new"));
    EXPECT_EQ(entries(dst()), QStringList{QStringLiteral("a.mp3")});
}

TEST_F(FileCopierTest, SourceThatIsTheDestinationIsLeftWhole)
{
    const QByteArray data = pattern(3 << 20, 7);
    const QString file = dst() + QStringLiteral("/song.mp3");
    writeFile(file, data);
    ASSERT_TRUE(QFile::link(dst(), dir.filePath(QStringLiteral("alias"))));
    ASSERT_EQ(::link(QFile::encodeName(file).constData(),
                     QFile::encodeName(dir.filePath(QStringLiteral("hard.mp3"))).constData()), 0);

    const QString sameFile[] = {file, dir.filePath(QStringLiteral("alias/song.mp3")),
                                dst() + QStringLiteral("/../out/song.mp3"), dir.filePath(QStringLiteral("hard.mp3"))};
    for (const QString& source : sameFile) {
        SCOPED_TRACE(source.toStdString());
        Recorder rec;
        const FileCopier::Result r = copier.copyFile(source, file, rec.routine());
        EXPECT_TRUE(r.ok) << r.reason.toStdString();
        EXPECT_TRUE(copier.finishPending().isEmpty());
        EXPECT_TRUE(readFile(file) == data);
        EXPECT_EQ(entries(dst()), QStringList{QStringLiteral("song.mp3")});
        ASSERT_FALSE(rec.reports.isEmpty());
        EXPECT_EQ(rec.reports.last(), qMakePair(uint64_t(data.size()), uint64_t(data.size())));
    }
}

TEST_F(FileCopierTest, FailuresAreReportedInPlainWordsAndLeaveNothingBehind)
{
    writeFile(src(), "data");
    ASSERT_TRUE(QDir(dst()).mkdir(QStringLiteral("taken")));
    struct Case {
        const char* what;
        QString source, dest;
        int error;
        const char* reason;
    } cases[] = {
        {"source missing", src(QStringLiteral("nothing")), dst() + QStringLiteral("/x"), ENOENT, "The source file is gone."},
        {"source is a folder", dst(), dir.filePath(QStringLiteral("x")), EISDIR, "The source is a folder, not a file."},
        {"destination folder missing", src(), dir.filePath(QStringLiteral("nowhere/x")), ENOENT,
         "The destination folder does not exist."},
        {"a folder holds the name", src(), dst() + QStringLiteral("/taken"), EISDIR, "A folder of that name is in the way."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FileCopier::Result r = copier.copyFile(c.source, c.dest, {});
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.reason.toStdString(), c.reason);
        EXPECT_EQ(entries(dst()), QStringList{QStringLiteral("taken")});
    }
}

// Root writes through file modes, so the folder is made immutable instead.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : path_(QFile::encodeName(path))
    {
        if (::geteuid() != 0) {
            ok_ = ::chmod(path_.constData(), 0555) == 0;
            return;
        }
        const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            ok_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0)
            ::close(fd);
    }
    ~ReadOnlyFolder()
    {
        if (::geteuid() != 0) {
            ::chmod(path_.constData(), 0755);
            return;
        }
        const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0)
            ::close(fd);
    }
    bool ok() const { return ok_; }

private:
    QByteArray path_;
    bool ok_ = false;
};

TEST_F(FileCopierTest, ReadOnlyDestinationFolderKeepsItsFile)
{
    writeFile(src(), "new");
    writeFile(dst() + QStringLiteral("/a.txt"), "old");
    ReadOnlyFolder lock(dst());
    if (!lock.ok())
        GTEST_SKIP() << "cannot make the folder read-only here";
    const FileCopier::Result r = copier.copyFile(src(), dst() + QStringLiteral("/a.txt"), {});
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error == EACCES || r.error == EPERM) << r.error;
    EXPECT_EQ(r.reason, QStringLiteral("The destination folder cannot be written: access is denied."));
    EXPECT_EQ(readFile(dst() + QStringLiteral("/a.txt")), QByteArray("old"));
    EXPECT_EQ(entries(dst()), QStringList{QStringLiteral("a.txt")});
}

TEST_F(FileCopierTest, LongestNamesStillGetATemporaryFile)
{
    // The temporary name adds a prefix and suffix; a 255-byte name must not overflow it.
    const QString name = QString(QStringLiteral("é")).repeated(120) + QString(15, QLatin1Char('n'));
    ASSERT_EQ(QFile::encodeName(name).size(), 255);
    writeFile(src(), "tune");
    const FileCopier::Result r = copier.copyFile(src(), dst() + QLatin1Char('/') + name, {});
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_TRUE(copier.finishPending().isEmpty());
    EXPECT_EQ(entries(dst()), QStringList{name});
}

QStringList hiddenTemps(const QString& folder)
{
    return entries(folder).filter(QRegularExpression(QStringLiteral("^\\..*\\.korvane-[A-Za-z0-9]{6}$")));
}

TEST_F(FileCopierTest, ACopyTakesItsNameOnlyWhenCommitted)
{
    EXPECT_TRUE(copier.finishPending().isEmpty()) << "nothing handed over yet";
    const QByteArray first = pattern(3 << 20, 11), second = pattern(5000, 12);
    writeFile(src(QStringLiteral("one")), first);
    writeFile(src(QStringLiteral("two")), second);
    writeFile(src(QStringLiteral("empty")), {});
    writeFile(dst() + QStringLiteral("/a.bin"), "old");

    copier.holdCommits(true);
    for (const auto& [from, to] : {std::pair{"one", "a.bin"}, {"empty", "b.bin"}, {"one", "c.bin"}, {"two", "c.bin"}}) {
        const FileCopier::Result r = copier.copyFile(src(QLatin1String(from)), dst() + QLatin1Char('/') + QLatin1String(to), {});
        ASSERT_TRUE(r.ok) << from << ": " << r.reason.toStdString();
    }
    EXPECT_EQ(readFile(dst() + QStringLiteral("/a.bin")), QByteArray("old"));
    QStringList visible = entries(dst());
    for (const QString& t : hiddenTemps(dst()))
        visible.removeOne(t);
    EXPECT_EQ(visible, QStringList{QStringLiteral("a.bin")}) << "no copy at its name before its commit";
    EXPECT_EQ(hiddenTemps(dst()).size(), 4);

    EXPECT_TRUE(copier.finishPending().isEmpty());
    EXPECT_TRUE(readFile(dst() + QStringLiteral("/a.bin")) == first);
    EXPECT_EQ(readFile(dst() + QStringLiteral("/b.bin")), QByteArray());
    EXPECT_TRUE(readFile(dst() + QStringLiteral("/c.bin")) == second) << "of two copies to one name the later wins";
    EXPECT_EQ(entries(dst()), (QStringList{QStringLiteral("a.bin"), QStringLiteral("b.bin"), QStringLiteral("c.bin")}));
}

TEST_F(FileCopierTest, CommitsLandInTheBackgroundWithoutAWaiter)
{
    // Batches gather for a moment; they must still be committed when no one asks.
    writeFile(src(), pattern(5000, 14));
    for (const char* name : {"x.bin", "y.bin"})
        ASSERT_TRUE(copier.copyFile(src(), dst() + QLatin1Char('/') + QLatin1String(name), {}).ok);
    QElapsedTimer waited;
    waited.start();
    while (entries(dst()) != QStringList{QStringLiteral("x.bin"), QStringLiteral("y.bin")} && waited.elapsed() < 10000)
        QThread::msleep(5);
    EXPECT_EQ(entries(dst()), (QStringList{QStringLiteral("x.bin"), QStringLiteral("y.bin")}));
    EXPECT_TRUE(readFile(dst() + QStringLiteral("/y.bin")) == readFile(src()));
    EXPECT_TRUE(copier.finishPending().isEmpty());
}

TEST_F(FileCopierTest, ACommitThatFailsIsReportedOnceByFinishPending)
{
    writeFile(src(), pattern(200000, 13));
    enum class Fault { FolderRemoved, FolderReadOnly };
    struct Case {
        const char* what;
        Fault fault;
        const char* reason;
    } cases[] = {
        {"folder removed", Fault::FolderRemoved, "The destination folder does not exist."},
        {"folder made read-only", Fault::FolderReadOnly, "The destination folder cannot be written: access is denied."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString sub = dst() + QStringLiteral("/sub");
        ASSERT_TRUE(QDir(dst()).mkpath(QStringLiteral("sub")));
        const QString target = sub + QStringLiteral("/a.bin");
        writeFile(target, "old");
        QFile::remove(dst() + QStringLiteral("/fine.bin"));

        copier.holdCommits(true);
        ASSERT_TRUE(copier.copyFile(src(), target, {}).ok);
        ASSERT_TRUE(copier.copyFile(src(), dst() + QStringLiteral("/fine.bin"), {}).ok);
        std::unique_ptr<ReadOnlyFolder> lock;
        if (c.fault == Fault::FolderRemoved) {
            ASSERT_TRUE(QDir(sub).removeRecursively());
        } else {
            lock = std::make_unique<ReadOnlyFolder>(sub);
            if (!lock->ok()) {
                copier.finishPending();
                GTEST_SKIP() << "cannot make the folder read-only here";
            }
        }
        const QList<FileCopier::Late> late = copier.finishPending();
        ASSERT_EQ(late.size(), 1);
        EXPECT_EQ(late[0].sourceNative, src());
        EXPECT_EQ(late[0].destNative, target);
        EXPECT_FALSE(late[0].result.ok);
        EXPECT_EQ(late[0].result.reason.toStdString(), c.reason);
        if (c.fault == Fault::FolderRemoved) {
            EXPECT_EQ(late[0].result.error, ENOENT);
        } else {
            EXPECT_TRUE(late[0].result.error == EACCES || late[0].result.error == EPERM) << late[0].result.error;
            EXPECT_EQ(readFile(target), QByteArray("old"));
        }
        EXPECT_TRUE(readFile(dst() + QStringLiteral("/fine.bin")) == readFile(src()));
        EXPECT_TRUE(copier.finishPending().isEmpty()) << "a failure is told once";
        lock.reset();
        QDir(sub).removeRecursively();
    }
}

// Big enough that the copy is still running at its first report.
constexpr qint64 kSlowSize = qint64(160) << 20;

TEST_F(FileCopierTest, WindowEventsRunOnTheCallingThreadDuringALongCopy)
{
    writeFile(src(), pattern(kSlowSize, 3));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    const FileCopier::Result r = copier.copyFile(src(), dst() + QStringLiteral("/big"), {});
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_GT(ticks, 0);
}

TEST_F(FileCopierTest, StoppedOrShrinkingCopyKeepsTheOldFile)
{
    const QByteArray data = pattern(kSlowSize, 5);
    const QString target = dst() + QStringLiteral("/a.bin");
    struct Case {
        const char* what;
        int error;
        const char* reason;
        bool cutSource;
    } cases[] = {
        {"routine asks to stop", ECANCELED, "The copy was stopped.", false},
        {"source cut short", EIO, "The source file changed while it was being copied.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(src(), data);
        writeFile(target, "old");
        bool acted = false;
        const FileCopier::Result r = copier.copyFile(src(), target, [&](uint64_t total, uint64_t done) {
            if (done == total || acted)
                return 0;
            acted = true;
            if (!c.cutSource)
                return 1;
            EXPECT_EQ(::truncate(QFile::encodeName(src()).constData(), 1000), 0);
            return 0;
        });
        if (!acted)
            GTEST_SKIP() << "the copy finished before its first report";
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.reason.toStdString(), c.reason);
        EXPECT_EQ(readFile(target), QByteArray("old"));
        EXPECT_EQ(entries(dst()), QStringList{QStringLiteral("a.bin")});
    }
}

// A small tmpfs fills half-way through the copy: the write itself fails, not a pre-check.
TEST_F(FileCopierTest, FullDriveHalfWayKeepsTheOldFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    const QString mnt = dir.filePath(QStringLiteral("small"));
    ASSERT_TRUE(QDir().mkpath(mnt));
    ASSERT_EQ(QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                          QStringLiteral("-o"), QStringLiteral("size=2m"),
                                                          QStringLiteral("korvane-test"), mnt}), 0);
    struct Unmount {
        QString at;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {at}); }
    } unmount{mnt};

    writeFile(mnt + QStringLiteral("/a.bin"), "old");
    writeFile(src(), pattern(4 << 20, 9));
    Recorder rec;
    const FileCopier::Result r = copier.copyFile(src(), mnt + QStringLiteral("/a.bin"), rec.routine());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, ENOSPC);
    EXPECT_EQ(r.reason, QStringLiteral("The drive is full."));
    EXPECT_EQ(readFile(mnt + QStringLiteral("/a.bin")), QByteArray("old"));
    EXPECT_EQ(entries(mnt), QStringList{QStringLiteral("a.bin")});
}

}  // namespace
