#include "platform/linux/filecopier_linux_commit.h"

#include "platform/linux/filecopier_linux_fs.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <set>
#include <unistd.h>
#include <utility>
#include <vector>

namespace copier {

namespace {

// Each queued commit holds two descriptors: bounded well below the usual limit of 1024.
constexpr size_t kMostQueued = 64;
// A batch gathers for this long unless it fills or someone waits for it. Where syncfs does
// not reach the device (FUSE) every file needs its own flush, and the flushes after the
// first of a batch find the device clean: on exFAT through FUSE 2,000 small files commit
// about three times faster in batches of 64 than one by one.
constexpr auto kGather = std::chrono::milliseconds(50);

bool flushUnsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

}  // namespace

CommitStage::CommitStage() : thread_([this] { loop(); }) {}

CommitStage::~CommitStage()
{
    {
        std::lock_guard<std::mutex> g(lock_);
        stopping_ = true;
        paused_ = false;
    }
    wake_.notify_all();
    thread_.join();
}

void CommitStage::hand(PendingCommit pending)
{
    {
        std::unique_lock<std::mutex> l(lock_);
        space_.wait(l, [this] { return queue_.size() < kMostQueued || paused_; });
        if (queue_.empty())
            firstQueuedAt_ = std::chrono::steady_clock::now();
        queue_.push_back(std::move(pending));
    }
    wake_.notify_all();
}

bool CommitStage::waitIdle(int timeoutMs)
{
    std::unique_lock<std::mutex> l(lock_);
    ++waiters_;
    wake_.notify_all();  // no more gathering: someone is waiting
    const bool done =
        idle_.wait_for(l, std::chrono::milliseconds(timeoutMs), [this] { return queue_.empty() && !busy_; });
    --waiters_;
    return done;
}

QList<FileCopier::Late> CommitStage::takeFailures()
{
    std::lock_guard<std::mutex> g(lock_);
    return std::exchange(failures_, {});
}

void CommitStage::setPaused(bool paused)
{
    {
        std::lock_guard<std::mutex> g(lock_);
        paused_ = paused;
    }
    wake_.notify_all();
    space_.notify_all();
}

void CommitStage::loop()
{
    std::unique_lock<std::mutex> l(lock_);
    for (;;) {
        wake_.wait(l, [this] { return (!queue_.empty() && !paused_) || (stopping_ && queue_.empty()); });
        if (queue_.empty())
            return;
        wake_.wait_until(l, firstQueuedAt_ + kGather, [this] {
            return paused_ || stopping_ || waiters_ > 0 || queue_.size() >= kMostQueued;
        });
        if (paused_)
            continue;
        std::deque<PendingCommit> batch;
        batch.swap(queue_);
        busy_ = true;
        l.unlock();
        space_.notify_all();
        QList<FileCopier::Late> failed = commit(batch);
        l.lock();
        failures_ += failed;
        busy_ = false;
        idle_.notify_all();
    }
}

QList<FileCopier::Late> CommitStage::commit(std::deque<PendingCommit>& batch)
{
    const size_t n = batch.size();
    std::vector<int> error(n, 0);
    std::vector<Side> side(n, Side::Write);
    std::vector<bool> renamed(n, false);

    // The data first, per file system: one syncfs costs one device flush for the whole batch,
    // and a failed writeback is still told per file by the wait on its own range.
    std::set<dev_t> flushed;
    for (size_t i = 0; i < n; ++i) {
        if (flushed.count(batch[i].device))
            continue;
        flushed.insert(batch[i].device);
        const bool whole = batch[i].syncfsFlushes && ::syncfs(batch[i].dirFd) == 0;
        for (size_t j = i; j < n; ++j) {
            if (batch[j].device != batch[i].device)
                continue;
            const int fd = batch[j].fd;
            const int r = whole ? ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE
                                                                  | SYNC_FILE_RANGE_WAIT_AFTER)
                                : ::fdatasync(fd);
            if (r != 0)
                error[j] = errno;
        }
    }
    for (size_t i = 0; i < n; ++i) {
        const int fd = std::exchange(batch[i].fd, -1);
        if (::close(fd) != 0 && !error[i])
            error[i] = errno;
    }

    // In the order handed over, so of two copies to one name the later one wins.
    for (size_t i = 0; i < n; ++i) {
        PendingCommit& p = batch[i];
        if (!error[i] && ::renameat(p.dirFd, p.tempName.constData(), p.dirFd, p.name.constData()) == 0) {
            renamed[i] = true;
            continue;
        }
        if (!error[i]) {
            error[i] = errno;
            side[i] = Side::Create;
        }
        ::unlinkat(p.dirFd, p.tempName.constData(), 0);
    }

    // The new names are only safe on the drive once their folders are flushed.
    std::set<std::pair<dev_t, ino_t>> folders;
    for (size_t i = 0; i < n; ++i) {
        if (!renamed[i] || !folders.insert({batch[i].device, batch[i].folderInode}).second)
            continue;
        if (::fsync(batch[i].dirFd) == 0 || flushUnsupported(errno))
            continue;
        const int e = errno;
        for (size_t j = i; j < n; ++j) {
            if (renamed[j] && batch[j].device == batch[i].device && batch[j].folderInode == batch[i].folderInode)
                error[j] = e;
        }
    }

    QList<FileCopier::Late> failed;
    for (size_t i = 0; i < n; ++i) {
        ::close(batch[i].dirFd);
        if (error[i]) {
            failed.append({QFile::decodeName(batch[i].source), QFile::decodeName(batch[i].dest),
                           {false, error[i], failureReason(error[i], side[i])}});
        }
    }
    return failed;
}

}  // namespace copier
