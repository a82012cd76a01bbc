#pragma once
#include <QString>
#include <cstdint>

class Dialogs;
class QWidget;
class Volumes;

// A byte count times 10,000 (four decimal places, always whole bytes here): the
// type of drive capacities and of a copy list's running total, so they compare directly.
using FixedBytes = int64_t;
constexpr FixedBytes kFixedScale = 10000;
inline FixedBytes toFixed(int64_t bytes) { return bytes * kFixedScale; }
inline int64_t fromFixed(FixedBytes f) { return f / kFixedScale; }

double roundHalfAway(double v);
double roundHalfEven(double v);

// The unsigned value of two 32-bit halves, each possibly read as negative.
double BytesToDouble(int32_t low, int32_t high);

// Size texts. Format A (the two copy wizards): " Bytes", " KB", " MB", and from
// 1024.5 MB on " MB (" n " GB) " with a trailing blank. Format B (configure window):
// whole megabytes rounded half even, " GB)" without a trailing blank from 1024 MB on,
// "0 KB" only for an empty or unreadable drive.
QString sizeTextA(double bytes);
QString sizeTextB(FixedBytes total);

// The drive routines every window uses. Every value is read from the platform at
// the moment of the call; an unreadable drive gives zeros and empty texts.
class Module2 {
public:
    Module2(Volumes& volumes, Dialogs& dialogs) : volumes_(volumes), dialogs_(dialogs) {}

    int CountDrives();
    FixedBytes DriveTotalBytes(const QString& root);
    FixedBytes DriveFreeBytes(const QString& root);
    // True when the free space could be read (DriveFreeBytes gives 0 otherwise).
    bool DriveFreeBytes(const QString& root, FixedBytes* free);
    QString GetDriveName(const QString& root);
    // Shows "Name not set!" when the drive refuses the name.
    void SetDriveName(const QString& root, const QString& name, QWidget* owner = nullptr);

    // The per-window methods, written once.
    struct Space { double available = 0, total = 0, totalFree = 0; };
    Space spaceQuery(const QString& root);
    QString DriveSizeinMB(const QString& root);
    QString DriveUsedinMB(const QString& root);
    QString DriveSizeLabel(const QString& root);
    QString DriveUsedLabel(const QString& root);
    // Format A of the total / of the space available to the user.
    QString sizeOfDrive(const QString& root) { return sizeTextA(spaceQuery(root).total); }
    QString spaceLeftOn(const QString& root) { return sizeTextA(spaceQuery(root).available); }
    // Format B of the total, for the configure window.
    QString sizeOfDriveB(const QString& root) { return sizeTextB(DriveTotalBytes(root)); }

    // "Drive " R " has " used " of " size " Max used", and the bar's maximum and value.
    struct Usage { int maximum = 0; int value = 0; QString caption; };
    Usage usage(const QString& root, const QString& shownRoot);

    Volumes& volumes() { return volumes_; }

private:
    Volumes& volumes_;
    Dialogs& dialogs_;
};
