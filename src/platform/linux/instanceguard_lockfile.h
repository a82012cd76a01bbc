#pragma once
#include "platform/instanceguard.h"

#include <QLockFile>
#include <QString>
#include <memory>

// One copy per user: a lock file in the user's runtime folder, held for the
// life of the process. A lock left by a crashed copy is taken over.
class LockFileInstanceGuard : public InstanceGuard {
public:
    // An empty path means the default file in the runtime folder.
    explicit LockFileInstanceGuard(const QString& lockPath = {});
    bool previousInstance() override;
    QString lockPath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    int answer_ = -1;
};
