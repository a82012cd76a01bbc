#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <sys/types.h>

namespace copier {

// What a destination's file system allows, found from the folder that will hold the file.
struct DestinationFs {
    QByteArray type;                       // "vfat", "exfat", "ext4", "fuse", "tmpfs", ...
    uint64_t largestFile = UINT64_MAX;     // bytes
    bool fatNames = false;                 // refuses "*/:<>?\| and control characters
    bool writeBehind = true;               // starting writeback early helps here
    bool syncfsFlushes = true;             // syncfs reaches the device (not through FUSE)
};

// dirFd: an open folder on the destination. Never blocks on a healthy mount;
// unknown file systems get no limits.
DestinationFs probeDestination(int dirFd);

// Type and source of the mount whose device number is dev, from /proc/self/mountinfo.
bool findMount(dev_t dev, QByteArray* type, QByteArray* source);

// Whether a file name can be stored under the FAT and exFAT rules.
bool fatNameAllowed(const QByteArray& name);

enum class Side { Source, Folder, Create, Write };

// A failure in plain words for the person copying.
QString failureReason(int error, Side side);

}  // namespace copier
