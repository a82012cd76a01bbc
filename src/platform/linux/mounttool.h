#pragma once
#include "platform/linux/mounttable.h"

#include <QString>
#include <QStringList>

// Running the system's own programs: label tools, mkfs, mount helpers.
struct ToolRun {
    bool started = false;
    int exitCode = -1;
    QString output;  // standard output and error together
    bool ok() const { return started && exitCode == 0; }
};

// Looks in PATH and the sbin folders, where mkfs and label tools live.
QString findTool(const QString& name);
ToolRun runTool(const QStringList& command, int timeoutMs = 120000);

// Unmounts exactly this mount (never lazily). False with a reason; a busy drive says so.
bool unmountEntry(const MountEntry& mount, QString* why);
// Waits until nothing holds the device open any more (a FUSE daemon lingers for a moment).
bool waitDeviceFree(const QString& deviceNode, int timeoutMs = 5000);

// Mounts `device`, holding file system `fsType` (libblkid's name), at `mountPoint`
// with the flags and owner of `was`: the kernel's driver where it has one,
// else the file system's FUSE helper.
bool mountDevice(const QString& device, const QString& fsType, const QString& mountPoint, const MountEntry& was,
                 const QString& rootPrefix, QString* why);
