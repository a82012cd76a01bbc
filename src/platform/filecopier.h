#pragma once
#include <QString>
#include <cstdint>
#include <functional>

// Copies one file. The destination appears only as a complete, flushed copy.
class FileCopier {
public:
    // Called on the user-interface thread between chunks with the file's total size
    // and the bytes copied so far; returning 0 lets the copy go on.
    using Progress = std::function<int(uint64_t totalSize, uint64_t transferred)>;

    struct Result {
        bool ok = true;
        int error = 0;     // errno-style code of the failure, 0 on success
        QString reason;    // the failure in plain words, empty on success
    };

    virtual ~FileCopier() = default;
    // Returns when the file is copied or the copy has failed. An existing
    // destination is replaced only by a complete copy; a failure leaves no partial file.
    virtual Result copyFile(const QString& sourceNative, const QString& destNative,
                            const Progress& progress) = 0;
};
