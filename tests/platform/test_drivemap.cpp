#include "platform/linux/blockprobe.h"
#include "platform/linux/drivemap.h"
#include "platform/linux/linuxvolumes.h"
#include "platform/linux/mounttable.h"
#include "systree.h"

#include <QSet>
#include <gtest/gtest.h>
#include <sys/statvfs.h>

namespace {

TEST(MountInfo, ParsesEscapesOptionalFieldsAndSkipsJunk)
{
    const QByteArray text =
        "28 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw,discard\n"
        "46 28 7:0 / /media/alice/MY\\040STICK rw,nosuid,nodev shared:5 master:2 - fuseblk /dev/loop0 "
        "rw,user_id=0,allow_other\n"
        "not a mount line\n"
        "47 28 0:40 /sub /mnt/back\\134slash rw - tmpfs tmpfs rw,size=4k\n";
    const QList<MountEntry> m = parseMountInfo(text);
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(m[0].mountPoint, QStringLiteral("/"));
    EXPECT_EQ(m[0].major, 254u);
    EXPECT_EQ(m[0].source, QStringLiteral("/dev/vda"));
    EXPECT_EQ(m[1].mountPoint, QStringLiteral("/media/alice/MY STICK"));
    EXPECT_EQ(m[1].fsType, QStringLiteral("fuseblk"));
    EXPECT_EQ(m[1].mountOptions, QStringLiteral("rw,nosuid,nodev"));
    EXPECT_TRUE(m[1].hasSuperOption(QStringLiteral("allow_other")));
    EXPECT_EQ(m[1].superOption(QStringLiteral("user_id")), QStringLiteral("0"));
    EXPECT_FALSE(m[1].readOnly());
    EXPECT_EQ(m[2].mountPoint, QStringLiteral("/mnt/back\\slash"));
    EXPECT_EQ(m[2].root, QStringLiteral("/sub"));
}

const QString kUsbHost = QStringLiteral("pci0000:00/0000:00:14.0/usb1");
const QString kStick = kUsbHost + QStringLiteral("/1-1/1-1:1.0/host6/target6:0:0/6:0:0:0");
const QString kUsbDisk = kUsbHost + QStringLiteral("/1-2/1-2:1.0/host7/target7:0:0/7:0:0:0");
const QString kSdSlot = QStringLiteral("platform/mmc/mmc_host/mmc0/mmc0:aaaa");

// A desktop with one of everything.
class Desktop : public ::testing::Test {
protected:
    SysTree tree;
    QStringList lines;

    void SetUp() override
    {
        tree.disk(QStringLiteral("pci0000:00/0000:00:05.0/virtio2"), QStringLiteral("vda"), QStringLiteral("254:0"));
        tree.disk(QStringLiteral("pci0000:00/0000:00:06.0/nvme/nvme0"), QStringLiteral("nvme0n1"),
                  QStringLiteral("259:0"));
        tree.partition(QStringLiteral("pci0000:00/0000:00:06.0/nvme/nvme0"), QStringLiteral("nvme0n1"),
                       QStringLiteral("nvme0n1p2"), QStringLiteral("259:2"));
        tree.bus(kUsbHost, QStringLiteral("usb"));
        tree.disk(kStick, QStringLiteral("sdb"), QStringLiteral("8:16"), true);
        tree.partition(kStick, QStringLiteral("sdb"), QStringLiteral("sdb1"), QStringLiteral("8:17"));
        tree.disk(kUsbDisk, QStringLiteral("sdc"), QStringLiteral("8:32"), false);  // hot-plug bus alone
        tree.partition(kUsbDisk, QStringLiteral("sdc"), QStringLiteral("sdc1"), QStringLiteral("8:33"));
        tree.bus(kSdSlot, QStringLiteral("mmc"));
        tree.disk(kSdSlot, QStringLiteral("mmcblk0"), QStringLiteral("179:0"));
        tree.partition(kSdSlot, QStringLiteral("mmcblk0"), QStringLiteral("mmcblk0p1"), QStringLiteral("179:1"));
        tree.disk(QStringLiteral("pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0"), QStringLiteral("sr0"),
                  QStringLiteral("11:0"), true);
        tree.loop(0, QStringLiteral("/var/lib/snapd/snaps/core_123.snap"));
        tree.loop(1, QStringLiteral("/home/alice/player.img"));
        tree.loop(2, QStringLiteral("/var/lib/machines/vm.img"));
        tree.loop(3, QStringLiteral("/home/alice/music.img"));

        lines = {
            mountLine(20, "0:21", "/proc", "proc", "proc"),
            mountLine(21, "0:22", "/sys", "sysfs", "sysfs"),
            mountLine(28, "254:0", "/", "ext4", "/dev/vda"),
            mountLine(29, "0:24", "/dev/shm", "tmpfs", "tmpfs"),
            mountLine(30, "0:25", "/run", "tmpfs", "tmpfs"),
            mountLine(31, "259:2", "/home", "ext4", "/dev/nvme0n1p2"),
            mountLine(32, "7:0", "/snap/core/123", "squashfs", "/dev/loop0", "ro,nodev"),
            mountLine(33, "0:50", "/mnt/nfs", "nfs4", "server:/export"),
            mountLine(34, "0:26", "/tmp", "tmpfs", "tmpfs"),
            mountLine(35, "8:17", "/media/alice/STICK", "vfat", "/dev/sdb1"),
            mountLine(36, "179:1", "/media/alice/SD", "exfat", "/dev/mmcblk0p1"),
            mountLine(37, "7:1", "/media/alice/PLAYER", "fuseblk", "/dev/loop1"),
            mountLine(38, "11:0", "/media/alice/CDROM", "iso9660", "/dev/sr0", "ro"),
            mountLine(39, "7:2", "/var/lib/machines/vm", "ext4", "/dev/loop2"),
            mountLine(40, "8:33", "/media/alice/USBDISK", "ntfs3", "/dev/sdc1"),
            mountLine(41, "0:60", "/home/alice/.cache/doc", "fuse.portal", "portal"),
        };
        tree.setMounts(lines);
    }

    DriveMap map() const { return DriveMap({tree.root(), QStringLiteral("/home/alice")}); }

    static QMap<QChar, QPair<QString, int>> letters(const DriveMap& m)
    {
        QMap<QChar, QPair<QString, int>> out;
        for (const MappedDrive& d : m.drives())
            out.insert(d.letter, {d.mount.mountPoint, d.type});
        return out;
    }
};

TEST_F(Desktop, EachKindGetsItsTypeAndLetter)
{
    DriveMap m = map();
    m.update(parseMountInfo(lines.join('\n').toUtf8()));
    const QMap<QChar, QPair<QString, int>> expected = {
        {'C', {"/", Volumes::Fixed}},
        {'D', {"/media/alice/STICK", Volumes::Removable}},      // sysfs removable
        {'E', {"/media/alice/SD", Volumes::Removable}},         // mmc bus
        {'F', {"/media/alice/PLAYER", Volumes::Removable}},     // image under /media
        {'G', {"/media/alice/USBDISK", Volumes::Removable}},    // usb bus, removable 0
        {'W', {"/media/alice/CDROM", Volumes::CdRom}},
        {'V', {"/var/lib/machines/vm", Volumes::Fixed}},        // an image elsewhere
        {'X', {"/tmp", Volumes::RamDisk}},
        {'Y', {"/mnt/nfs", Volumes::Remote}},
        {'Z', {"/home", Volumes::Fixed}},
    };
    EXPECT_EQ(letters(m), expected);
    uint32_t mask = 0;
    for (QChar l : expected.keys())
        mask |= 1u << (l.unicode() - 'A');
    EXPECT_EQ(m.mask(), mask);
    EXPECT_EQ(m.rootBlock(), QStringLiteral("vda"));
    EXPECT_EQ(m.byLetter('D')->diskName, QStringLiteral("sdb"));
    EXPECT_EQ(m.byLetter('F')->backingFile, QStringLiteral("/home/alice/player.img"));
}

TEST_F(Desktop, LettersStayPutWhenDrivesComeAndGo)
{
    DriveMap m = map();
    m.update(parseMountInfo(lines.join('\n').toUtf8()));
    ASSERT_EQ(m.byLetter('E')->mount.mountPoint, QStringLiteral("/media/alice/SD"));

    // The stick (D) goes: nobody moves up into its letter.
    QStringList without = lines;
    without.removeAt(9);
    m.update(parseMountInfo(without.join('\n').toUtf8()));
    EXPECT_EQ(m.byLetter('D'), nullptr);
    EXPECT_EQ(m.byLetter('E')->mount.mountPoint, QStringLiteral("/media/alice/SD"));
    EXPECT_EQ(m.byLetter('F')->mount.mountPoint, QStringLiteral("/media/alice/PLAYER"));
    EXPECT_EQ(m.byLetter('G')->mount.mountPoint, QStringLiteral("/media/alice/USBDISK"));

    // A new image under the home comes in first: it takes the lowest free letter.
    QStringList more = without;
    more << mountLine(50, "7:3", "/home/alice/Music\\040stick", "ext4", "/dev/loop3");
    m.update(parseMountInfo(more.join('\n').toUtf8()));
    EXPECT_EQ(m.byLetter('D')->mount.mountPoint, QStringLiteral("/home/alice/Music stick"));
    EXPECT_EQ(m.byLetter('D')->type, Volumes::Removable);

    // The stick returns and gets the next free one; everyone else stays.
    more << lines.at(9);
    m.update(parseMountInfo(more.join('\n').toUtf8()));
    EXPECT_EQ(m.byLetter('H')->mount.mountPoint, QStringLiteral("/media/alice/STICK"));
    EXPECT_EQ(m.byLetter('D')->mount.mountPoint, QStringLiteral("/home/alice/Music stick"));
    EXPECT_EQ(m.byLetter('Z')->mount.mountPoint, QStringLiteral("/home"));
}

TEST_F(Desktop, RemountAndHeldDeviceKeepTheirLetter)
{
    DriveMap m = map();
    m.update(parseMountInfo(lines.join('\n').toUtf8()));

    // Remounted read-only, under a new mount id and at a new place: same device, same letter.
    QStringList remounted = lines;
    remounted[10] = mountLine(60, "179:1", "/media/alice/SD-ro", "exfat", "/dev/mmcblk0p1", "ro");
    remounted.move(10, remounted.size() - 1);
    m.update(parseMountInfo(remounted.join('\n').toUtf8()));
    EXPECT_EQ(m.byLetter('E')->mount.mountPoint, QStringLiteral("/media/alice/SD-ro"));
    EXPECT_TRUE(m.byLetter('E')->mount.readOnly());

    // Unmounted while held (a relabel in progress): nobody else gets E.
    m.hold(QStringLiteral("blk:mmcblk0p1"));
    QStringList gone = remounted;
    gone.removeLast();
    gone << mountLine(61, "7:3", "/media/alice/NEW", "vfat", "/dev/loop3");
    m.update(parseMountInfo(gone.join('\n').toUtf8()));
    EXPECT_EQ(m.byLetter('E'), nullptr);
    EXPECT_EQ(m.byLetter('H')->mount.mountPoint, QStringLiteral("/media/alice/NEW"));
    gone << remounted.last();
    m.update(parseMountInfo(gone.join('\n').toUtf8()));
    m.release(QStringLiteral("blk:mmcblk0p1"));
    EXPECT_EQ(m.byLetter('E')->mount.mountPoint, QStringLiteral("/media/alice/SD-ro"));
}

TEST_F(Desktop, WhatNeverGetsALetterOrIsNeverRemovable)
{
    QStringList extra = lines;
    tree.loop(4, QStringLiteral("/home/alice/app.snap"));
    tree.loop(5, QStringLiteral("/srv/disk.img"));
    extra << mountLine(70, "7:4", "/media/alice/APP", "erofs", "/dev/loop4", "ro")
          << mountLine(71, "7:5", "/srv/data", "vfat", "/dev/loop5")                 // image, not shown to the user
          << mountLine(72, "254:0", "/etc/hosts", "ext4", "/dev/vda", "rw", "/etc/h") // bind of the root device
          << mountLine(73, "0:70", "/media/alice/share", "cifs", "//nas/music");
    DriveMap m = map();
    m.update(parseMountInfo(extra.join('\n').toUtf8()));
    QSet<QString> removable, all;
    for (const MappedDrive& d : m.drives()) {
        all.insert(d.mount.mountPoint);
        if (d.type == Volumes::Removable)
            removable.insert(d.mount.mountPoint);
    }
    for (const char* none : {"/proc", "/sys", "/dev/shm", "/run", "/snap/core/123", "/media/alice/APP",
                             "/etc/hosts", "/home/alice/.cache/doc"})
        EXPECT_FALSE(all.contains(QString::fromLatin1(none))) << none;
    EXPECT_EQ(removable, (QSet<QString>{"/media/alice/STICK", "/media/alice/SD", "/media/alice/PLAYER",
                                        "/media/alice/USBDISK"}));
    EXPECT_TRUE(all.contains(QStringLiteral("/srv/data")));
    EXPECT_EQ(m.byLetter('C')->mount.mountPoint, QStringLiteral("/"));
    const MappedDrive* share = nullptr;
    for (const MappedDrive& d : m.drives())
        if (d.mount.mountPoint == QLatin1String("/media/alice/share"))
            share = &d;
    ASSERT_NE(share, nullptr);
    EXPECT_EQ(share->type, Volumes::Remote);
}

TEST_F(Desktop, RootKeepsCWhenItsDeviceIsAlsoMountedWhole)
{
    // A btrfs "/" is a subvolume; the top level of the same device may be mounted too.
    QStringList subvolumes = lines;
    subvolumes[2] = mountLine(28, "254:0", "/", "btrfs", "/dev/vda", "rw", "/@");
    const QString top = mountLine(90, "254:0", "/mnt/top", "btrfs", "/dev/vda", "rw", "/");
    for (const QStringList& table : {subvolumes + QStringList{top}, QStringList{top} + subvolumes}) {
        DriveMap m = map();
        m.update(parseMountInfo(table.join('\n').toUtf8()));
        ASSERT_NE(m.byLetter('C'), nullptr);
        EXPECT_EQ(m.byLetter('C')->mount.mountPoint, QStringLiteral("/")) << table.first().toStdString();
        EXPECT_EQ(m.toNative(QStringLiteral("C:\\etc")), QStringLiteral("/etc"));
        EXPECT_EQ(m.rootBlock(), QStringLiteral("vda"));
    }
}

TEST_F(Desktop, PathsMapBothWays)
{
    DriveMap m = map();
    m.update(parseMountInfo(lines.join('\n').toUtf8()));
    struct ToNative {
        const char* letter;
        const char* native;
    } toNative[] = {
        {"F:\\Music\\a.mp3", "/media/alice/PLAYER/Music/a.mp3"},
        {"F:/Music/a.mp3", "/media/alice/PLAYER/Music/a.mp3"},
        {"f:\\Music/sub\\", "/media/alice/PLAYER/Music/sub"},
        {"F:\\", "/media/alice/PLAYER"},
        {"F:", "/media/alice/PLAYER"},
        {"F:\\..\\..\\etc", "/media/alice/PLAYER/etc"},  // never climbs off the drive
        {"C:/", "/"},
        {"C:\\usr\\bin", "/usr/bin"},
        {"Z:\\alice\\doc.txt", "/home/alice/doc.txt"},
        {"Q:\\x", ""},
        {"", ""},
        {"\\\\server\\share", ""},
    };
    for (const ToNative& r : toNative)
        EXPECT_EQ(m.toNative(QString::fromUtf8(r.letter)).toStdString(), r.native) << r.letter;

    struct ToLetter {
        const char* native;
        const char* letter;
    } toLetter[] = {
        {"/media/alice/PLAYER/Music/a.mp3", "F:\\Music\\a.mp3"},
        {"/media/alice/PLAYER", "F:\\"},
        {"/media/alice/PLAYER/", "F:\\"},
        {"/media/alice/PLAYERS/a", "C:\\media\\alice\\PLAYERS\\a"},  // whole names only
        {"/home/alice/doc.txt", "Z:\\alice\\doc.txt"},
        {"/usr/bin", "C:\\usr\\bin"},
        {"/", "C:\\"},
        {"/tmp/x", "X:\\x"},
        {"/media/alice/PLAYER/a\\b.mp3", ""},  // '\' has no letter form
        {"relative/path", ""},
    };
    for (const ToLetter& r : toLetter)
        EXPECT_EQ(m.toLetter(QString::fromUtf8(r.native)).toStdString(), r.letter) << r.native;
}

TEST_F(Desktop, VolumesServiceReadsTheTreeAndAcceptsEveryRootForm)
{
    LinuxVolumes v({tree.root(), QStringLiteral("/home/alice"), false});
    const uint32_t mask = v.logicalDrives();
    EXPECT_TRUE(mask & (1u << ('D' - 'A')));
    EXPECT_FALSE(mask & (1u << ('H' - 'A')));
    for (const char* root : {"D:\\", "D:/", "D:", "d:\\"})
        EXPECT_EQ(v.driveType(QString::fromLatin1(root)), Volumes::Removable) << root;
    EXPECT_EQ(v.driveType(QStringLiteral("W:\\")), Volumes::CdRom);
    EXPECT_EQ(v.driveType(QStringLiteral("H:\\")), Volumes::NoRootDir);
    EXPECT_EQ(v.driveType(QStringLiteral("")), Volumes::NoRootDir);

    // A new drive shows after the table is read again.
    tree.loop(6, QStringLiteral("/home/alice/new.img"));
    tree.setMounts(lines + QStringList{mountLine(80, "7:6", "/run/media/alice/NEW", "exfat", "/dev/loop6")});
    v.refresh();
    EXPECT_TRUE(v.logicalDrives() & (1u << ('H' - 'A')));
    EXPECT_EQ(v.toNative(QStringLiteral("H:\\a")), QStringLiteral("/run/media/alice/NEW/a"));

    // Network and RAM drives read as having no name; a gone drive cannot be read.
    QString label = QStringLiteral("x");
    EXPECT_TRUE(v.volumeLabel(QStringLiteral("Y:\\"), &label));
    EXPECT_EQ(label, QString());
    EXPECT_FALSE(v.volumeLabel(QStringLiteral("Q:\\"), &label));
    Volumes::SpaceCounts s{1, 2, 3};
    EXPECT_FALSE(v.spaceCounts(QStringLiteral("Q:\\"), &s));
    EXPECT_EQ(s.total, 0u);
}

TEST_F(Desktop, LabelFallsBackToByLabelLinks)
{
    // The device node is unreadable as a file system; udev's link names it.
    tree.write(QStringLiteral("dev/sdb1"), QByteArray());
    QDir().mkpath(tree.root() + QStringLiteral("/dev/disk/by-label"));
    QFile::link(QStringLiteral("../../sdb1"), tree.root() + QStringLiteral("/dev/disk/by-label/MY\\x20STICK"));
    LinuxVolumes v({tree.root(), QStringLiteral("/home/alice"), false});
    QString label;
    EXPECT_TRUE(v.volumeLabel(QStringLiteral("D:\\"), &label));
    EXPECT_EQ(label, QStringLiteral("MY STICK"));
    EXPECT_FALSE(v.volumeLabel(QStringLiteral("E:\\"), &label));  // no node, no link
    EXPECT_EQ(label, QString());
}

TEST_F(Desktop, ByLabelLinksDecodeAsUdevEncodedThem)
{
    tree.write(QStringLiteral("dev/sdb1"), QByteArray());
    const QString dir = tree.root() + QStringLiteral("/dev/disk/by-label/");
    const struct {
        const char* link;
        const char* label;
    } cases[] = {
        {".hidden", ".hidden"},  // a dot file to a directory listing
        {"A\\x2fB\\x5cC", "A/B\\C"},
        {"M\xC3\xBCsik", "M\xC3\xBCsik"},
    };
    for (const auto& c : cases) {
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        ASSERT_TRUE(QFile::link(QStringLiteral("../../sdb1"), dir + QString::fromUtf8(c.link)));
        QString label;
        EXPECT_TRUE(labelFromByLabel(tree.root(), tree.root() + QStringLiteral("/dev/sdb1"), &label)) << c.link;
        EXPECT_EQ(label, QString::fromUtf8(c.label)) << c.link;
    }
}

TEST_F(Desktop, SpaceComesFromTheMountPoint)
{
    QDir().mkpath(tree.root() + QStringLiteral("/media/alice/SD"));
    LinuxVolumes v({tree.root(), QStringLiteral("/home/alice"), false});
    Volumes::SpaceCounts s;
    Volumes::ClusterFigures c;
    ASSERT_TRUE(v.spaceCounts(QStringLiteral("E:\\"), &s));
    ASSERT_TRUE(v.clusterFigures(QStringLiteral("E:\\"), &c));
    struct statvfs st {};
    ASSERT_EQ(::statvfs(QFile::encodeName(tree.root() + "/media/alice/SD").constData(), &st), 0);
    EXPECT_EQ(s.total, uint64_t(st.f_blocks) * st.f_frsize);
    EXPECT_EQ(c.sectorsPerCluster * c.bytesPerSector, uint64_t(st.f_frsize));
    EXPECT_EQ(c.totalClusters, uint64_t(st.f_blocks));
    EXPECT_LE(s.available, s.totalFree);
    EXPECT_LE(s.totalFree, s.total);
}

} // namespace
