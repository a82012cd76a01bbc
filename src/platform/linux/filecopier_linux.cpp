#include "platform/linux/filecopier_linux.h"

#include "platform/linux/filecopier_linux_commit.h"
#include "platform/linux/filecopier_linux_fs.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using copier::Side;
using Clock = std::chrono::steady_clock;

namespace {

// Longest the window goes without a pass of events while a file is copied.
constexpr auto kPassInterval = std::chrono::milliseconds(10);
// Chunks are sized by time so a slow drive still reports often; larger ones gained nothing.
constexpr size_t kFirstChunk = size_t(1) << 20;
constexpr size_t kSmallestChunk = size_t(128) << 10;
constexpr size_t kLargestChunk = size_t(4) << 20;
constexpr auto kChunkTime = std::chrono::milliseconds(15);
// Writeback in flight before the copy waits for it: deep enough to keep the device's queue
// full, shallow enough that dirty pages never pile up.
constexpr uint64_t kWriteBehindWindow = uint64_t(16) << 20;
// Keeps the temporary name within NAME_MAX whatever the destination name's length.
constexpr int kTempNameStem = 200;

struct Job {
    QByteArray source, dest;
    std::atomic<uint64_t> total{0}, transferred{0};
    std::atomic<bool> sized{false}, cancel{false};
    std::mutex lock;
    std::condition_variable finishedCv;
    bool finished = false;
    FileCopier::Result result;
};

FileCopier::Result failure(int error, Side side)
{
    return {false, error, copier::failureReason(error, side)};
}

FileCopier::Result failure(int error, const QString& reason)
{
    return {false, error, reason};
}

struct Fd {
    int fd = -1;
    explicit Fd(int f = -1) : fd(f) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The hidden file the copy is written to; removed unless handed to the commit stage.
struct TempFile {
    int dirFd = -1;
    QByteArray name;
    int fd = -1;
    ~TempFile()
    {
        if (fd >= 0)
            ::close(fd);
        if (!name.isEmpty())
            ::unlinkat(dirFd, name.constData(), 0);
    }
};

// Cuts a name to at most max bytes without splitting a UTF-8 sequence.
QByteArray utf8Prefix(const QByteArray& name, int max)
{
    if (name.size() <= max)
        return name;
    int n = max;
    while (n > 0 && (uchar(name[n]) & 0xC0) == 0x80)
        --n;
    return name.left(n);
}

ssize_t writeAll(int fd, const char* data, size_t size, off_t offset)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, offset + off_t(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        done += size_t(n);
    }
    return ssize_t(done);
}

}  // namespace

struct LinuxFileCopier::Worker {
    copier::CommitStage& commits;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<std::shared_ptr<Job>> jobs;
    bool stopping = false;
    std::thread thread;

    // Touched by the worker thread only.
    std::set<std::pair<dev_t, dev_t>> noCopyRange;
    std::vector<char> buffer;
    std::mt19937 random{std::random_device{}()};

    explicit Worker(copier::CommitStage& c) : commits(c), thread([this] { loop(); }) {}
    ~Worker()
    {
        {
            std::lock_guard<std::mutex> g(lock);
            stopping = true;
        }
        wake.notify_all();
        thread.join();
    }

    void submit(std::shared_ptr<Job> job)
    {
        {
            std::lock_guard<std::mutex> g(lock);
            jobs.push_back(std::move(job));
        }
        wake.notify_all();
    }

    void loop()
    {
        for (;;) {
            std::shared_ptr<Job> job;
            {
                std::unique_lock<std::mutex> l(lock);
                wake.wait(l, [this] { return stopping || !jobs.empty(); });
                if (jobs.empty())
                    return;
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            if (forgetLeftovers.exchange(false))
                leftovers.clear();
            FileCopier::Result r = copy(*job);
            // A failed copy may have left a temporary file that a pulled stick kept.
            if (!r.ok)
                leftovers.clear();
            {
                std::lock_guard<std::mutex> g(job->lock);
                job->result = std::move(r);
                job->finished = true;
            }
            job->finishedCv.notify_all();
        }
    }

    // True when this process still holds the file open: a copy in flight or awaiting its commit.
    static bool heldOpenHere(const struct stat& file)
    {
        DIR* fds = ::opendir("/proc/self/fd");
        if (!fds)
            return true;  // cannot tell: leave it
        bool held = false;
        while (const struct dirent* e = ::readdir(fds)) {
            struct stat st {};
            const QByteArray link = QByteArray("/proc/self/fd/") + e->d_name;
            if (e->d_name[0] != '.' && ::stat(link.constData(), &st) == 0 && st.st_dev == file.st_dev
                && st.st_ino == file.st_ino)
                held = true;
        }
        ::closedir(fds);
        return held;
    }

    // A copy cut short by a pulled stick could not delete its temporary file; the
    // next copy of that file clears it, as nothing else ever completes it. A folder
    // is read once and its leftovers remembered for a while: reading it for every
    // file would make a run of many small files quadratic.
    struct FolderLeftovers {
        std::chrono::steady_clock::time_point readAt;
        std::multimap<QByteArray, QByteArray> byStem;  // stem -> leftover name
    };
    std::map<std::pair<dev_t, ino_t>, FolderLeftovers> leftovers;
    // Set at the end of a run: the next run reads its folders afresh.
    std::atomic<bool> forgetLeftovers{false};

    static bool isTempName(const QByteArray& n, const char* alphabet)
    {
        static const QByteArray marker(".korvane-");
        return n.size() > marker.size() + 7 && n.startsWith('.')
               && n.mid(n.size() - 6 - marker.size(), marker.size()) == marker
               && std::all_of(n.end() - 6, n.end(), [&](char c) { return c && std::strchr(alphabet, c); });
    }

    FolderLeftovers* leftoversOf(int dirFd, const char* alphabet)
    {
        struct stat dirSt {};
        if (::fstat(dirFd, &dirSt) != 0)
            return nullptr;
        const auto now = std::chrono::steady_clock::now();
        auto key = std::make_pair(dirSt.st_dev, dirSt.st_ino);
        auto it = leftovers.find(key);
        if (it != leftovers.end() && now - it->second.readAt < std::chrono::seconds(10))
            return &it->second;
        FolderLeftovers fresh;
        fresh.readAt = now;
        const int fd = ::dup(dirFd);
        DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
        if (!dir) {
            if (fd >= 0)
                ::close(fd);
            return nullptr;
        }
        ::rewinddir(dir);
        while (const struct dirent* e = ::readdir(dir)) {
            const QByteArray n(e->d_name);
            if (isTempName(n, alphabet))
                fresh.byStem.emplace(n.left(n.size() - 6), n);
        }
        ::closedir(dir);
        return &(leftovers[key] = std::move(fresh));
    }

    void removeLeftovers(int dirFd, const QByteArray& stem, const char* alphabet)
    {
        FolderLeftovers* folder = leftoversOf(dirFd, alphabet);
        if (!folder)
            return;
        auto [first, last] = folder->byStem.equal_range(stem);
        for (auto it = first; it != last;) {
            struct stat st {};
            const QByteArray& n = it->second;
            if (::fstatat(dirFd, n.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                it = folder->byStem.erase(it);  // gone already
                continue;
            }
            if (S_ISREG(st.st_mode) && !heldOpenHere(st) && ::unlinkat(dirFd, n.constData(), 0) == 0) {
                it = folder->byStem.erase(it);
                continue;
            }
            ++it;
        }
    }

    bool createTemp(TempFile& temp, const QByteArray& name, mode_t mode)
    {
        static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        std::uniform_int_distribution<int> pick(0, int(sizeof(alphabet)) - 2);
        const QByteArray stem = '.' + utf8Prefix(name, kTempNameStem) + ".korvane-";
        removeLeftovers(temp.dirFd, stem, alphabet);
        for (int attempt = 0; attempt < 100; ++attempt) {
            QByteArray candidate = stem;
            for (int i = 0; i < 6; ++i)
                candidate += alphabet[pick(random)];
            const int fd = ::openat(temp.dirFd, candidate.constData(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                temp.fd = fd;
                temp.name = candidate;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        errno = EEXIST;
        return false;
    }

    FileCopier::Result copy(Job& job);
    FileCopier::Result copyData(Job& job, int src, int dst, const struct stat& srcStat,
                                const struct stat& dirStat, bool writeBehind);
};

FileCopier::Result LinuxFileCopier::Worker::copy(Job& job)
{
    Fd src(::open(job.source.constData(), O_RDONLY | O_CLOEXEC));
    if (src.fd < 0)
        return failure(errno, Side::Source);
    struct stat srcStat {};
    if (::fstat(src.fd, &srcStat) != 0)
        return failure(errno, Side::Source);
    if (S_ISDIR(srcStat.st_mode))
        return failure(EISDIR, Side::Source);
    if (!S_ISREG(srcStat.st_mode))
        return failure(EINVAL, QStringLiteral("The source is not a regular file."));
    const uint64_t total = uint64_t(srcStat.st_size);
    job.total = total;
    job.sized = true;

    const int slash = job.dest.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : job.dest.left(slash);
    const QByteArray name = job.dest.mid(slash + 1);
    if (name.isEmpty() || name == "." || name == "..")
        return failure(EISDIR, Side::Create);

    Fd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd < 0)
        return failure(errno, Side::Folder);
    struct stat dirStat {};
    if (::fstat(dir.fd, &dirStat) != 0)
        return failure(errno, Side::Folder);

    struct stat existing {};
    if (::fstatat(dir.fd, name.constData(), &existing, 0) == 0) {
        // The destination already is the source (same path, a link, another mount of it):
        // the content is in place, and writing it again could only risk it.
        if (existing.st_dev == srcStat.st_dev && existing.st_ino == srcStat.st_ino) {
            job.transferred = total;
            return {};
        }
        if (S_ISDIR(existing.st_mode))
            return failure(EISDIR, Side::Create);
    }

    const copier::DestinationFs fs = copier::probeDestination(dir.fd);
    if (fs.fatNames && !copier::fatNameAllowed(name))
        return failure(EINVAL, Side::Create);
    if (total > fs.largestFile)
        return failure(EFBIG, Side::Write);

    TempFile temp;
    temp.dirFd = dir.fd;
    if (!createTemp(temp, name, srcStat.st_mode & 0777))
        return failure(errno, Side::Create);

    // Reserving the space up front finds a full drive before gigabytes are written.
    if (total > kFirstChunk && fs.writeBehind && ::fallocate(temp.fd, FALLOC_FL_KEEP_SIZE, 0, off_t(total)) != 0) {
        if (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)
            return failure(errno, Side::Write);
    }

    // A file of one chunk is flushed right after it is written: starting early gains nothing.
    FileCopier::Result r = copyData(job, src.fd, temp.fd, srcStat, dirStat, fs.writeBehind && total > kFirstChunk);
    if (!r.ok)
        return r;

    const struct timespec times[2] = {srcStat.st_atim, srcStat.st_mtim};
    ::futimens(temp.fd, times);
    // The flush, the rename and the folder's flush happen in the commit stage.
    copier::PendingCommit pending;
    pending.source = job.source;
    pending.dest = job.dest;
    pending.dirFd = std::exchange(dir.fd, -1);
    pending.fd = std::exchange(temp.fd, -1);
    pending.tempName = std::exchange(temp.name, {});
    pending.name = name;
    pending.device = dirStat.st_dev;
    pending.folderInode = dirStat.st_ino;
    pending.syncfsFlushes = fs.syncfsFlushes;
    commits.hand(std::move(pending));
    return {};
}

FileCopier::Result LinuxFileCopier::Worker::copyData(Job& job, int src, int dst, const struct stat& srcStat,
                                                     const struct stat& dirStat, bool writeBehind)
{

    const uint64_t total = uint64_t(srcStat.st_size);
    const auto devices = std::make_pair(srcStat.st_dev, dirStat.st_dev);
    bool copyRange = !noCopyRange.count(devices);
    size_t chunk = kFirstChunk;
    uint64_t offset = 0;
    uint64_t waitedTo = 0;  // everything before this offset has reached the device

    ::posix_fadvise(src, 0, 0, POSIX_FADV_SEQUENTIAL);
    while (offset < total) {
        if (job.cancel)
            return failure(ECANCELED, Side::Write);
        const size_t want = size_t(std::min<uint64_t>(chunk, total - offset));
        const auto started = Clock::now();
        ssize_t n = -1;
        if (copyRange) {
            loff_t in = loff_t(offset), out = loff_t(offset);
            n = ::copy_file_range(src, &in, dst, &out, want, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                // Refused across file systems and by some drivers: the plain path works everywhere,
                // and it also tells a short source from a failing destination.
                if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP || errno == ENOSYS))
                    noCopyRange.insert(devices);
                copyRange = false;
                continue;
            }
        } else {
            if (buffer.size() < kLargestChunk)
                buffer.resize(kLargestChunk);
            n = ::pread(src, buffer.data(), want, off_t(offset));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return failure(errno, Side::Source);
            }
            if (n == 0)
                return failure(EIO, QStringLiteral("The source file changed while it was being copied."));
            if (writeAll(dst, buffer.data(), size_t(n), off_t(offset)) < 0)
                return failure(errno, Side::Write);
        }

        if (writeBehind) {
            // Start this chunk on its way and wait for what lies a window behind, so the flush
            // at the end finds little left.
            if (::sync_file_range(dst, off_t(offset), off_t(n), SYNC_FILE_RANGE_WRITE) != 0)
                return failure(errno, Side::Write);
            const uint64_t end = offset + uint64_t(n);
            if (end > waitedTo + kWriteBehindWindow) {
                const uint64_t upTo = end - kWriteBehindWindow;
                if (::sync_file_range(dst, off_t(waitedTo), off_t(upTo - waitedTo),
                                      SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER) != 0)
                    return failure(errno, Side::Write);
                waitedTo = upTo;
            }
        }
        offset += uint64_t(n);
        job.transferred = offset;

        const auto took = Clock::now() - started;
        if (took > kChunkTime && chunk > kSmallestChunk)
            chunk /= 2;
        else if (took < kChunkTime / 4 && chunk < kLargestChunk)
            chunk *= 2;
    }

    struct stat after {};
    if (::fstat(src, &after) == 0 && after.st_size != srcStat.st_size)
        return failure(EIO, QStringLiteral("The source file changed while it was being copied."));
    return {};
}

LinuxFileCopier::LinuxFileCopier()
    : commits_(std::make_unique<copier::CommitStage>()), worker_(std::make_unique<Worker>(*commits_))
{
}

LinuxFileCopier::~LinuxFileCopier()
{
    commits_->setPaused(false);
    worker_.reset();
    commits_.reset();
}

QList<FileCopier::Late> LinuxFileCopier::finishPending()
{
    commits_->setPaused(false);
    while (!commits_->waitIdle(int(kPassInterval.count()))) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
    worker_->forgetLeftovers = true;
    return commits_->takeFailures();
}

void LinuxFileCopier::holdCommits(bool hold)
{
    commits_->setPaused(hold);
}

FileCopier::Result LinuxFileCopier::copyFile(const QString& sourceNative, const QString& destNative,
                                             const Progress& progress)
{
    auto job = std::make_shared<Job>();
    job->source = QFile::encodeName(sourceNative);
    job->dest = QFile::encodeName(destNative);
    worker_->submit(job);

    uint64_t reported = UINT64_MAX;
    for (;;) {
        {
            std::unique_lock<std::mutex> l(job->lock);
            if (job->finishedCv.wait_for(l, kPassInterval, [&] { return job->finished; }))
                break;
        }
        if (job->sized) {
            const uint64_t now = job->transferred;
            if (now != reported) {
                reported = now;
                if (progress && progress(job->total, now) != 0)
                    job->cancel = true;
            }
        }
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
    if (job->result.ok && progress)
        progress(job->total, job->total);
    return job->result;
}
