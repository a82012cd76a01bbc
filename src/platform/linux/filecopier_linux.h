#pragma once
#include "platform/filecopier.h"

#include <memory>

namespace copier {
class CommitStage;
}

// Copies on a worker thread while the calling (user-interface) thread waits in a
// loop that reports progress and lets window events run, so a slow drive never
// freezes the window. Each file is written to a hidden temporary file beside the
// destination; a commit stage flushes it, renames it over the destination name and
// flushes the folder, in batches, while the next files copy.
class LinuxFileCopier : public FileCopier {
public:
    LinuxFileCopier();
    // Commits what is still pending first.
    ~LinuxFileCopier() override;

    Result copyFile(const QString& sourceNative, const QString& destNative,
                    const Progress& progress) override;
    QList<Late> finishPending() override;

    // Keeps handed-over copies from being committed until released (finishPending()
    // releases it too), so a test can act between a copy and its commit.
    void holdCommits(bool hold);

private:
    std::unique_ptr<copier::CommitStage> commits_;
    struct Worker;
    std::unique_ptr<Worker> worker_;
};
