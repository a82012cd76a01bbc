#pragma once
#include "platform/filecopier.h"

#include <memory>

// Copies on a worker thread while the calling (user-interface) thread waits in a
// loop that reports progress and lets window events run, so a slow drive never
// freezes the window. Each file is written to a hidden temporary file beside the
// destination, flushed, renamed over the destination name, and the folder is
// flushed before the call returns.
class LinuxFileCopier : public FileCopier {
public:
    LinuxFileCopier();
    ~LinuxFileCopier() override;

    Result copyFile(const QString& sourceNative, const QString& destNative,
                    const Progress& progress) override;

private:
    struct Worker;
    std::unique_ptr<Worker> worker_;
};
