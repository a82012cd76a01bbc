#pragma once
#include "platform/linux/drivemap.h"
#include "platform/linux/udisksclient.h"
#include "platform/volumes.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class QSocketNotifier;

// Drive letters over the mounted volumes of this computer. The mount table is
// re-read only when the kernel says it changed, so logicalDrives() costs next to
// nothing and never touches a drive.
class LinuxVolumes : public QObject, public Volumes {
    Q_OBJECT
public:
    struct Config {
        QString rootPrefix;   // "" for the running system; a fixture tree with proc/ and sys/ in tests
        QString homeDir;      // empty: the person's home
        bool useUDisks = true;
    };

    explicit LinuxVolumes(QObject* parent = nullptr);
    explicit LinuxVolumes(Config config, QObject* parent = nullptr);
    ~LinuxVolumes() override;

    uint32_t logicalDrives() override;
    int driveType(const QString& root) override;
    bool clusterFigures(const QString& root, ClusterFigures* out) override;
    bool spaceCounts(const QString& root, SpaceCounts* out) override;
    bool volumeLabel(const QString& root, QString* label) override;
    bool setVolumeLabel(const QString& root, const QString& label, QString* why) override;
    QString toNative(const QString& letterPath) override;
    QString toLetter(const QString& nativePath) override;

    // Reads the mount table now, whether or not the kernel said it changed.
    void refresh();
    // The drive behind a root as the table stands now; nothing when the letter is free.
    std::optional<MappedDrive> drive(const QString& root);
    // The file system's own type ("vfat" for a FUSE-mounted FAT drive), empty when unknown.
    QString fileSystemType(const MappedDrive& d);
    // UDisks2 when it is to be used and runs; null otherwise.
    UDisksClient* udisks();
    const DriveMap& map() const { return map_; }

    // Unmounts the drive, runs `work` on the free device, then mounts it again where it
    // was (through UDisks2 when `viaUDisks`), keeping its letter. Mounts again even when
    // `work` fails. False with the first reason.
    bool whileUnmounted(const MappedDrive& d, bool viaUDisks, const std::function<bool(QString*)>& work,
                        QString* why);

    // One drive operation at a time: a second one is refused while the first runs.
    bool operationRunning() const { return busy_; }

signals:
    void mountsChanged();

private:
    void reload();
    void ensureFresh();
    QByteArray readMountInfo();
    bool readLabel(const MappedDrive& d, QString* label);
    QString probedType(const MappedDrive& d);
    bool statDrive(const MappedDrive& d, struct statvfs* st);

    Config config_;
    DriveMap map_;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    bool dirty_ = true;
    bool busy_ = false;
    std::unique_ptr<UDisksClient> udisks_;
    friend class LinuxFormatter;
};
