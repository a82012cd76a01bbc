#pragma once
#include "platform/filecopier.h"

#include <QByteArray>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <sys/types.h>
#include <thread>

namespace copier {

// A copy whose data is all in its temporary file, waiting to be flushed and renamed.
struct PendingCommit {
    QByteArray source, dest;  // as handed to copyFile, for the report
    int dirFd = -1;           // the destination folder; owned
    int fd = -1;              // the temporary file; owned
    QByteArray tempName, name;
    dev_t device = 0;
    ino_t folderInode = 0;
    bool syncfsFlushes = true;  // one syncfs flushes every file on this file system
};

// Commits on a thread of its own, in batches, so that a file's flush overlaps the copy
// of the next and many small files share their flushes: first the data of every file
// in the batch, then the renames, then one flush per folder. A name therefore only
// ever appears for a complete copy whose data is on the device.
class CommitStage {
public:
    CommitStage();
    // Commits whatever is still queued.
    ~CommitStage();

    // Takes ownership of the descriptors; waits while too many commits are queued.
    void hand(PendingCommit pending);
    // Whether everything handed over is committed, waiting up to timeoutMs for it.
    bool waitIdle(int timeoutMs);
    // The commits that failed since the last call.
    QList<FileCopier::Late> takeFailures();
    // Holds commits back (queued ones wait) until resumed.
    void setPaused(bool paused);

private:
    void loop();
    QList<FileCopier::Late> commit(std::deque<PendingCommit>& batch);

    std::mutex lock_;
    std::condition_variable wake_, space_, idle_;
    std::deque<PendingCommit> queue_;
    bool busy_ = false, paused_ = false, stopping_ = false;
    int waiters_ = 0;  // in waitIdle
    std::chrono::steady_clock::time_point firstQueuedAt_;
    QList<FileCopier::Late> failures_;
    std::thread thread_;
};

}  // namespace copier
