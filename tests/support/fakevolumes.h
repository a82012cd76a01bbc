#pragma once
#include "platform/volumes.h"

#include <QMap>
#include <QString>
#include <functional>

// Drive letters mapped onto folders of the test's choosing, with a declared type,
// label and capacity. C: is "/" (fixed) unless a test says otherwise.
class FakeVolumes : public Volumes {
public:
    struct Drive {
        int type = Removable;
        QString folder;            // native folder the letter's root maps to
        QString label;
        bool labelReadable = true;
        bool readable = true;      // false: space and cluster queries fail with zeros
        SpaceCounts space;
        ClusterFigures clusters;
        QString refuseLabelWhy;    // non-empty: setVolumeLabel fails with this reason
    };

    FakeVolumes();

    // Adds (or replaces) a drive; figures derive clusters from space when unset.
    Drive& add(QChar letter, const Drive& drive);
    Drive& add(QChar letter, int type, const QString& folder, const QString& label = {},
               uint64_t total = 0, uint64_t available = 0);
    void remove(QChar letter);
    Drive* drive(QChar letter);

    // Capacity in bytes: fills space counts and matching cluster figures (512-byte sectors, 8 per cluster).
    static void setCapacity(Drive& d, uint64_t total, uint64_t available, uint64_t totalFree = 0);

    int logicalDrivesCalls = 0;
    QList<QPair<QString, QString>> setLabelCalls;  // (root, label)
    QStringList spaceQueries;                      // roots as given
    std::function<void()> onToLetter;              // called by each toLetter: a slow drive map

    uint32_t logicalDrives() override;
    int driveType(const QString& root) override;
    bool clusterFigures(const QString& root, ClusterFigures* out) override;
    bool spaceCounts(const QString& root, SpaceCounts* out) override;
    bool volumeLabel(const QString& root, QString* label) override;
    bool setVolumeLabel(const QString& root, const QString& label, QString* why) override;
    QString toNative(const QString& letterPath) override;
    QString toLetter(const QString& nativePath) override;

private:
    Drive* forRoot(const QString& root);
    QMap<QChar, Drive> drives_;
};
