// The drive-letter map over a small system tree. The input, split at NUL bytes, is the
// mount table, the stick's "removable" attribute, the loop device's backing file and
// a path on a drive in letter form.
#include "platform/linux/drivemap.h"
#include "platform/linux/mounttable.h"

#include "fuzzfile.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;

void put(const QString& rel, const QByteArray& data) { writeInput(QLatin1Char('/') + rel, data); }

void link(const QString& at, const QString& target)
{
    const fs::path from((fuzzFolder() + QLatin1Char('/') + at).toStdString());
    fs::create_directories(from.parent_path());
    fs::remove(from);
    fs::create_directory_symlink(fs::relative(fs::path((fuzzFolder() + QLatin1Char('/') + target).toStdString()),
                                              from.parent_path()),
                                 from);
}

void device(const QString& dir, const QString& name, const QString& majMin, bool partition)
{
    const QString d = QStringLiteral("sys/devices/") + dir;
    fs::create_directories((fuzzFolder() + QLatin1Char('/') + d).toStdString());
    put(d + QStringLiteral("/dev"), majMin.toUtf8() + '\n');
    if (partition)
        put(d + QStringLiteral("/partition"), "1\n");
    else
        put(d + QStringLiteral("/removable"), "0\n");
    link(QStringLiteral("sys/class/block/") + name, d);
    link(QStringLiteral("sys/dev/block/") + majMin, d);
    put(QStringLiteral("dev/") + name, {});
}

const char kUsbDisk[] = "pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb";

void buildTree()
{
    device(QStringLiteral("pci0000:00/0000:00:04.0/virtio2/block/vda"), QStringLiteral("vda"), QStringLiteral("254:0"), false);
    device(QStringLiteral("pci0000:00/0000:00:04.0/virtio2/block/vda/vda1"), QStringLiteral("vda1"), QStringLiteral("254:1"), true);
    device(QLatin1String(kUsbDisk), QStringLiteral("sdb"), QStringLiteral("8:16"), false);
    device(QLatin1String(kUsbDisk) + QStringLiteral("/sdb1"), QStringLiteral("sdb1"), QStringLiteral("8:17"), true);
    fs::create_directories((fuzzFolder() + QStringLiteral("/sys/bus/usb")).toStdString());
    link(QStringLiteral("sys/devices/pci0000:00/0000:00:14.0/usb1/subsystem"), QStringLiteral("sys/bus/usb"));
    device(QStringLiteral("virtual/block/loop0"), QStringLiteral("loop0"), QStringLiteral("7:0"), false);
    device(QStringLiteral("pci0000:00/0000:00:1f.2/ata1/host0/block/sr0"), QStringLiteral("sr0"), QStringLiteral("11:0"), false);
    link(QStringLiteral("dev/disk/by-label/MUSIC"), QStringLiteral("dev/sdb1"));
}

bool cleanAbsolute(const QString& p)
{
    return p.startsWith(QLatin1Char('/')) && QDir::cleanPath(p) == p && !p.contains(QLatin1Char('\\'));
}

bool onDrive(const QString& native, const QString& mountPoint)
{
    return native == mountPoint
           || native.startsWith(mountPoint == QLatin1String("/") ? mountPoint : mountPoint + QLatin1Char('/'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool built = (buildTree(), true);
    (void)built;
    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    auto part = [&](int i) { return i < parts.size() ? parts.at(i) : QByteArray(); };
    put(QStringLiteral("sys/devices/") + QLatin1String(kUsbDisk) + QStringLiteral("/removable"), part(1));
    put(QStringLiteral("sys/devices/virtual/block/loop0/loop/backing_file"), part(2));
    const QString tail = QString::fromUtf8(part(3));

    const QList<MountEntry> mounts = parseMountInfo(part(0));
    DriveMap map({fuzzFolder(), QStringLiteral("/home/me")});
    map.update(mounts);

    uint32_t mask = 0;
    QHash<QChar, QString> letters;
    for (const MappedDrive& d : map.drives()) {
        FUZZ_CHECK(d.letter >= QLatin1Char('C') && d.letter <= QLatin1Char('Z'));
        FUZZ_CHECK(!(mask & (1u << (d.letter.unicode() - 'A'))));
        mask |= 1u << (d.letter.unicode() - 'A');
        letters.insert(d.letter, d.key);
        FUZZ_CHECK(map.byLetter(d.letter) == &d);
        FUZZ_CHECK(map.byKey(d.key) == &d);
        FUZZ_CHECK((d.letter == QLatin1Char('C')) == (d.mount.mountPoint == QLatin1String("/")));

        const QString mp = d.mount.mountPoint;
        const QString root = QString(d.letter) + QStringLiteral(":\\");
        if (cleanAbsolute(mp)) {
            FUZZ_CHECK(map.toLetter(mp) == root);
            FUZZ_CHECK(map.toNative(root) == mp);
        }
        // However the path climbs, it stays on its drive.
        const QString native = map.toNative(root + tail);
        FUZZ_CHECK(onDrive(native, mp));
    }
    FUZZ_CHECK(mask == map.mask());

    // The same table again: every device keeps its letter.
    map.update(mounts);
    FUZZ_CHECK(map.drives().size() == letters.size());
    for (const MappedDrive& d : map.drives())
        FUZZ_CHECK(letters.value(d.letter) == d.key);
    return 0;
}
