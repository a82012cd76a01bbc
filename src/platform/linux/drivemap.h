#pragma once
#include "platform/linux/mounttable.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <cstdint>

// A mount that carries a drive letter.
struct MappedDrive {
    QChar letter;
    int type = 0;          // Volumes::DriveType
    QString key;           // what the letter belongs to: the block device, else the mount
    QString blockName;     // sysfs name ("sdb1", "loop3"); empty for network and RAM drives
    QString diskName;      // the whole disk holding it ("sdb"); equals blockName for a whole disk
    QString deviceNode;    // "/dev/sdb1" (under the root prefix)
    QString backingFile;   // loop devices: the image
    MountEntry mount;
};

// Reads sysfs under a root prefix and decides which mounts are drives, of which
// type, with which letter. Letters stay with their device while it stays mounted.
class DriveMap {
public:
    struct Config {
        QString rootPrefix;  // "" for the running system; a fixture tree in tests
        QString homeDir;     // the person's home: images mounted under it are removable
    };

    explicit DriveMap(Config config);

    // Takes a fresh mount table; keeps the letters of devices still mounted.
    void update(const QList<MountEntry>& mounts);

    uint32_t mask() const { return mask_; }
    const MappedDrive* byLetter(QChar letter) const;
    // "F:\", "F:/", "F:" or "f:\..." -> the drive; null when the letter is not in use.
    const MappedDrive* byRoot(const QString& root) const;
    const MappedDrive* byKey(const QString& key) const;
    const QList<MappedDrive>& drives() const { return drives_; }
    // Every mount (lettered or not) of the block device `blockName`.
    QList<MountEntry> mountsOf(const QString& blockName) const;
    // The sysfs name of the device that holds "/", and of its disk.
    QString rootBlock() const { return rootBlock_; }
    QString rootDisk() const { return rootDisk_; }

    QString toNative(const QString& letterPath) const;
    QString toLetter(const QString& nativePath) const;

    // While held, the key keeps its letter even when it is not mounted (a drive
    // being relabelled or formatted is unmounted for a moment).
    void hold(const QString& key) { held_.insert(key); }
    void release(const QString& key) { held_.remove(key); }

    // Classification of one mount, for tests and callers that need it alone.
    struct Class {
        bool letter = false;
        int type = 0;
        QString key, blockName, diskName, backingFile;
    };
    Class classify(const MountEntry& m) const;
    // The same, remembered per mount: a mount's id changes only when it is mounted anew.
    const Class& classifyCached(const MountEntry& m) const;

    const QString& rootPrefix() const { return config_.rootPrefix; }

private:
    QString sysBlockDir(const MountEntry& m) const;
    bool onHotplugBus(const QString& deviceDir) const;
    bool userVisible(const QString& mountPoint) const;

    Config config_;
    QList<MappedDrive> drives_;
    QHash<QString, QChar> letters_;  // key -> letter
    QSet<QString> held_;
    QList<MountEntry> mounts_;
    mutable QHash<QString, Class> classCache_;
    QString rootBlock_, rootDisk_;
    uint32_t mask_ = 0;
};
