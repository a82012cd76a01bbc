#pragma once
#include <QString>
#include <QStringList>

// What each file system allows, in one place: label rules, how a label is
// written, how the file system is made and mounted again.
struct FsRules {
    QString type;              // as libblkid names it: "vfat", "exfat", "ntfs", "ext4", ...
    QString displayName;       // "FAT32", "exFAT", "NTFS", "ext4"
    int maxLabel = 0;          // characters, or bytes when labelInBytes
    bool labelInBytes = false; // ext: 16 bytes of UTF-8
    bool asciiOnly = false;
    QString forbidden;         // characters a label may not hold
    bool relabelMounted = false; // the label tool works while mounted
    QString labelTool;         // writes the label: TOOL DEVICE LABEL
    QString mkfsTool;
    QString fuseHelper;        // mounts it where the kernel lacks a driver
    bool ownerOptions = false; // takes uid=/gid= when mounted (no owners of its own)

    // True when `label` is a name this file system takes; otherwise the reason.
    bool checkLabel(const QString& label, QString* why) const;
    // Command line (program first) that writes `label` onto `device`.
    QStringList labelCommand(const QString& device, const QString& label) const;
    // Command line that makes the file system on `device`. `owner` is "uid:gid"
    // for file systems that keep owners, so the person can write to the new root.
    QStringList mkfsCommand(const QString& device, const QString& label, bool quick, const QString& owner) const;
};

// Rules of a file system by its libblkid type; also takes "fat32", "FAT", "ext3" ...
// Null for one this program cannot rename or make.
const FsRules* fsRules(const QString& type);

// The file systems the format dialog offers, in order.
QStringList formattableFileSystems();
