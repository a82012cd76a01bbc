#pragma once
#include <QObject>
#include <QString>
#include <cstdint>

// Drives as the program speaks of them: letter roots such as "F:\" ("F:/" and
// "F:" are accepted too). The backend keeps the map between letters and the
// system's mounted volumes.
class Volumes {
public:
    enum DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

    struct ClusterFigures {
        uint64_t sectorsPerCluster = 0;
        uint64_t bytesPerSector = 0;
        uint64_t freeClusters = 0;   // clusters the user may still write
        uint64_t totalClusters = 0;
    };
    struct SpaceCounts {
        uint64_t available = 0;      // bytes the user may write
        uint64_t total = 0;
        uint64_t totalFree = 0;      // including any reserve
    };

    virtual ~Volumes() = default;

    // Bit n is set while letter 'A' + n is in use. Cheap enough to call every tick;
    // never blocks on a drive.
    virtual uint32_t logicalDrives() = 0;

    // Drive type code of a root; NoRootDir for a letter not in use.
    virtual int driveType(const QString& root) = 0;

    // False, with zeros, when the drive cannot be read.
    virtual bool clusterFigures(const QString& root, ClusterFigures* out) = 0;
    virtual bool spaceCounts(const QString& root, SpaceCounts* out) = 0;

    // The volume label; false (and an empty label) when it cannot be read.
    virtual bool volumeLabel(const QString& root, QString* label) = 0;

    // Gives the volume a new label. False, with a reason in plain words, when the
    // file system refuses the name or the label cannot be written; the label read
    // back afterwards is the one the drive really has.
    virtual bool setVolumeLabel(const QString& root, const QString& label, QString* why) = 0;

    // "F:\Music\a.mp3" -> native path; empty when the letter is not in use.
    virtual QString toNative(const QString& letterPath) = 0;

    // Native path -> letter form ("C:\..." when no better drive holds it); empty
    // when the path cannot be written in letter form (a name holding '\').
    virtual QString toLetter(const QString& nativePath) = 0;
};

// Formats removable drives.
class Formatter {
public:
    struct Options {
        QString fileSystem;   // "vfat", "exfat", "ntfs", "ext4"
        QString label;
        bool quick = true;
    };
    virtual ~Formatter() = default;
    // File systems this machine can make; a missing one comes with the reason.
    virtual bool canFormat(const QString& fileSystem, QString* why) = 0;
    // Formats the drive at root (unmounting and mounting it again, keeping its
    // letter). Blocks until done; false with a reason in plain words.
    virtual bool format(const QString& root, const Options& options, QString* why) = 0;
};
