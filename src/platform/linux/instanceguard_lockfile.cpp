#include "platform/linux/instanceguard_lockfile.h"

#include <QDir>
#include <QStandardPaths>

LockFileInstanceGuard::LockFileInstanceGuard(const QString& lockPath) : path_(lockPath)
{
    if (path_.isEmpty()) {
        QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (dir.isEmpty())
            dir = QDir::tempPath();
        path_ = dir + QStringLiteral("/korvane-2.1.lock");
    }
}

bool LockFileInstanceGuard::previousInstance()
{
    if (answer_ >= 0)
        return answer_ == 1;
    lock_ = std::make_unique<QLockFile>(path_);
    // QLockFile checks the holder's pid and name itself: a dead holder's lock is
    // stale at once, a live holder's never, so no age limit is wanted.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        answer_ = 0;
    } else {
        // Only a live holder means another copy; a folder we cannot write does not.
        answer_ = lock_->error() == QLockFile::LockFailedError ? 1 : 0;
        lock_.reset();
    }
    return answer_ == 1;
}
