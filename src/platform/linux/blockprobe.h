#pragma once
#include <QString>

// What the device itself says, read straight from it (no cache), and the
// udev-made /dev/disk/by-label links as a last resort.
struct ProbedFs {
    QString type;   // "vfat", "exfat", "ext4" ...; empty when nothing was found
    QString label;
};

// False when the device cannot be opened or holds no file system.
bool probeBlockDevice(const QString& deviceNode, ProbedFs* out);

// The label whose by-label link (under rootPrefix/dev/disk/by-label) points at the device.
bool labelFromByLabel(const QString& rootPrefix, const QString& deviceNode, QString* label);
