#pragma once
#include <QList>
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

    // A copy that copyFile reported done but whose commit to its name failed.
    struct Late {
        QString sourceNative, destNative;
        Result result;
    };

    virtual ~FileCopier() = default;
    // Returns once the file's data is written, or the copy has failed. The copy may
    // take its name later, in the background: until finishPending() has returned it
    // is not yet safe on the drive. An existing destination is replaced only by a
    // complete copy; a failure leaves no partial file.
    virtual Result copyFile(const QString& sourceNative, const QString& destNative,
                            const Progress& progress) = 0;

    // Waits until every copy handed over so far is at its name and on the device,
    // letting window events run on the calling thread meanwhile. Returns the copies
    // whose commit failed; their destinations keep what they had. Call it before a
    // run reports completion, and before it ends any other way.
    virtual QList<Late> finishPending() { return {}; }
};
