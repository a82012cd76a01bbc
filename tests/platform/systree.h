#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>

// A fixture tree with the parts of /proc and /sys the drive map reads.
class SysTree {
public:
    SysTree() { QDir(root()).mkpath(QStringLiteral("proc/self")); }

    QString root() const { return dir_.path(); }

    // A block device at sys/devices/<devicePath>/block/<disk>[/<partition>], with
    // the class/block and dev/block links sysfs has.
    void disk(const QString& devicePath, const QString& disk, const QString& majMin, bool removable = false)
    {
        const QString d = QStringLiteral("sys/devices/") + devicePath + QStringLiteral("/block/") + disk;
        write(d + QStringLiteral("/removable"), removable ? "1\n" : "0\n");
        write(d + QStringLiteral("/dev"), majMin.toUtf8() + '\n');
        links(d, disk, majMin);
    }
    void partition(const QString& devicePath, const QString& disk, const QString& part, const QString& majMin)
    {
        const QString d = QStringLiteral("sys/devices/") + devicePath + QStringLiteral("/block/") + disk + '/' + part;
        write(d + QStringLiteral("/partition"), "1\n");
        write(d + QStringLiteral("/dev"), majMin.toUtf8() + '\n');
        links(d, part, majMin);
    }
    // Marks a device folder as sitting on a bus (its "subsystem" link).
    void bus(const QString& devicePath, const QString& busName)
    {
        const QString d = root() + QStringLiteral("/sys/devices/") + devicePath;
        QDir().mkpath(d);
        QDir().mkpath(root() + QStringLiteral("/sys/bus/") + busName);
        link(d + QStringLiteral("/subsystem"), root() + QStringLiteral("/sys/bus/") + busName);
    }
    void loop(int n, const QString& backingFile)
    {
        const QString name = QStringLiteral("loop%1").arg(n);
        disk(QStringLiteral("virtual"), name, QStringLiteral("7:%1").arg(n));
        write(QStringLiteral("sys/devices/virtual/block/") + name + QStringLiteral("/loop/backing_file"),
              backingFile.toUtf8() + '\n');
    }

    void setMounts(const QStringList& lines) { write(QStringLiteral("proc/self/mountinfo"), lines.join('\n').toUtf8() + '\n'); }

    void write(const QString& rel, const QByteArray& data)
    {
        const QString path = root() + '/' + rel;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(data);
    }

    static void link(const QString& at, const QString& target)
    {
        namespace fs = std::filesystem;
        const fs::path from(at.toStdString());
        fs::create_directories(from.parent_path());
        fs::remove(from);
        fs::create_directory_symlink(fs::relative(fs::path(target.toStdString()), from.parent_path()), from);
    }

private:
    void links(const QString& rel, const QString& name, const QString& majMin)
    {
        link(root() + QStringLiteral("/sys/class/block/") + name, root() + '/' + rel);
        link(root() + QStringLiteral("/sys/dev/block/") + majMin, root() + '/' + rel);
    }
    QTemporaryDir dir_;
};

// One mountinfo line.
inline QString mountLine(int id, const QString& majMin, const QString& mountPoint, const QString& fsType,
                         const QString& source, const QString& options = QStringLiteral("rw,relatime"),
                         const QString& root = QStringLiteral("/"))
{
    return QStringLiteral("%1 1 %2 %3 %4 %5 shared:%1 - %6 %7 rw")
        .arg(id)
        .arg(majMin, root, mountPoint, options, fsType, source);
}
