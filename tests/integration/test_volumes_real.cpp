#include "devices/module2.h"
#include "support/loopimage.h"
#include "platform/linux/blockprobe.h"
#include "platform/linux/linuxformatter.h"
#include "platform/linux/linuxvolumes.h"
#include "support/fakedialogs.h"

#include <QFile>
#include <cmath>
#include <sys/statvfs.h>

namespace {

LinuxVolumes::Config toolsOnly()
{
    LinuxVolumes::Config c;
    c.useUDisks = false;  // the file systems' own tools, whatever bus this machine has
    return c;
}

QString rootOf(LinuxVolumes& v, const QString& mountPoint)
{
    const QString letterPath = v.toLetter(mountPoint);
    return letterPath.left(3);
}

ProbedFs probe(const QString& device)
{
    ProbedFs p;
    probeBlockDevice(device, &p);
    return p;
}

TEST(RealDrives, MountedExfatImageIsARemovableLetterWithItsSpaceAndName)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Exfat, QStringLiteral("KVEXFAT"));
    ASSERT_TRUE(img.attached());
    LinuxVolumes v(toolsOnly());
    FakeDialogs dialogs;
    Module2 m(v, dialogs);
    const uint32_t before = v.logicalDrives();
    const int countBefore = m.CountDrives();

    ASSERT_TRUE(img.mount(QStringLiteral("kv-exfat")));
    // The notifier, not a forced read, brings the new drive.
    ASSERT_TRUE(waitFor([&] { return v.logicalDrives() != before; }));
    const QString root = rootOf(v, img.mountPoint());
    ASSERT_EQ(root.size(), 3) << v.toLetter(img.mountPoint()).toStdString();
    EXPECT_GE(root.at(0), QLatin1Char('D'));
    EXPECT_EQ(v.driveType(root), Volumes::Removable);
    EXPECT_EQ(m.CountDrives(), countBefore + 1);
    EXPECT_EQ(v.toNative(root + QStringLiteral("Music\\a.mp3")), img.mountPoint() + QStringLiteral("/Music/a.mp3"));

    struct statvfs st {};
    ASSERT_EQ(::statvfs(QFile::encodeName(img.mountPoint()).constData(), &st), 0);
    const double unit = st.f_frsize;
    const Module2::Space s = m.spaceQuery(root);
    EXPECT_EQ(s.total, st.f_blocks * unit);
    EXPECT_EQ(s.available, st.f_bavail * unit);
    EXPECT_EQ(s.totalFree, st.f_bfree * unit);
    EXPECT_EQ(m.DriveTotalBytes(root), toFixed(int64_t(st.f_blocks * st.f_frsize)));
    EXPECT_EQ(m.DriveFreeBytes(root), toFixed(int64_t(st.f_bavail * st.f_frsize)));
    EXPECT_EQ(m.DriveUsedinMB(root),
              QString::number(std::llround((st.f_blocks - st.f_bfree) * unit / 1048576.0)));
    EXPECT_EQ(m.DriveSizeinMB(root), QString::number(std::llround(st.f_blocks * unit / 1048576.0)));

    EXPECT_EQ(m.GetDriveName(root), QStringLiteral("KVEXFAT"));
    m.SetDriveName(root, QStringLiteral("Renamed Ünï"));  // no box expected
    EXPECT_EQ(probe(img.device()).label, QStringLiteral("Renamed Ünï"));
    EXPECT_EQ(m.GetDriveName(root), QStringLiteral("Renamed Ünï"));
    // Unmounted and mounted again for the tool: the same letter, the same place.
    EXPECT_TRUE(isMounted(img.mountPoint()));
    EXPECT_EQ(rootOf(v, img.mountPoint()), root);
    EXPECT_EQ(v.driveType(root), Volumes::Removable);

    img.unmount();
    ASSERT_TRUE(waitFor([&] { return m.CountDrives() == countBefore; }));
    EXPECT_EQ(v.driveType(root), Volumes::NoRootDir);
    EXPECT_EQ(m.DriveSizeinMB(root), QStringLiteral("0"));
    EXPECT_EQ(m.GetDriveName(root), QString());
}

TEST(RealDrives, FatImageTakesGoodNamesAndRefusesForbiddenOnes)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Fat, QStringLiteral("KVFAT"));
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-fat")));
    LinuxVolumes v(toolsOnly());
    FakeDialogs dialogs;
    Module2 m(v, dialogs);
    const QString root = rootOf(v, img.mountPoint());
    ASSERT_EQ(v.driveType(root), Volumes::Removable);
    EXPECT_EQ(m.GetDriveName(root), QStringLiteral("KVFAT"));

    m.SetDriveName(root, QStringLiteral("GOOD NAME"));
    EXPECT_TRUE(dialogs.shownMessages.isEmpty());
    EXPECT_EQ(probe(img.device()).label, QStringLiteral("GOOD NAME"));
    EXPECT_EQ(rootOf(v, img.mountPoint()), root);
    ASSERT_TRUE(isMounted(img.mountPoint()));

    for (const QString& bad : {QStringLiteral("BAD*NAME"), QStringLiteral("TWELVECHARSX"), QStringLiteral("a.b")}) {
        dialogs.expectMessage(QStringLiteral("Name not set!"), QStringLiteral("Error!"), Dialogs::Icon::Critical,
                              Dialogs::Buttons::Ok, Dialogs::Answer::Ok);
        m.SetDriveName(root, bad);
        dialogs.verifyAllUsed();
        EXPECT_EQ(probe(img.device()).label, QStringLiteral("GOOD NAME")) << bad.toStdString();
        EXPECT_TRUE(isMounted(img.mountPoint()));
    }
    QString why;
    EXPECT_FALSE(v.setVolumeLabel(root, QStringLiteral("BAD*NAME"), &why));
    EXPECT_FALSE(why.isEmpty());
}

TEST(RealDrives, AWriteThatDidNotHappenIsNotSuccess)
{
    KV_REQUIRE_LOOP_DEVICES();
    // fatlabel reports success on a read-only device; only reading the label back tells.
    LoopImage img(LoopImage::Kind::Fat, QStringLiteral("KVRO"), 64, true);
    ASSERT_TRUE(img.attached());
    img.setReadOnlyMount(true);
    ASSERT_TRUE(img.mount(QStringLiteral("kv-ro")));
    LinuxVolumes v(toolsOnly());
    const QString root = rootOf(v, img.mountPoint());
    ASSERT_EQ(v.driveType(root), Volumes::Removable);
    QString why;
    EXPECT_FALSE(v.setVolumeLabel(root, QStringLiteral("NEWNAME"), &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(probe(img.device()).label, QStringLiteral("KVRO"));
    EXPECT_TRUE(isMounted(img.mountPoint()));
}

TEST(RealDrives, BusyDriveIsNotRenamedAndStaysMounted)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Exfat, QStringLiteral("KVBUSY"));
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-busy")));
    LinuxVolumes v(toolsOnly());
    const QString root = rootOf(v, img.mountPoint());
    QFile open(img.mountPoint() + QStringLiteral("/held.txt"));
    ASSERT_TRUE(open.open(QIODevice::WriteOnly));
    QString why;
    EXPECT_FALSE(v.setVolumeLabel(root, QStringLiteral("OTHER"), &why));
    EXPECT_EQ(why, QStringLiteral("The drive is in use. Close the files and programs that use it, then try again."));
    EXPECT_TRUE(isMounted(img.mountPoint()));
    EXPECT_EQ(probe(img.device()).label, QStringLiteral("KVBUSY"));
    LinuxFormatter f(v, {false});
    EXPECT_FALSE(f.format(root, {QStringLiteral("exfat"), QStringLiteral("X"), true}, &why));
    EXPECT_EQ(probe(img.device()).label, QStringLiteral("KVBUSY"));
    open.close();
}

TEST(RealDrives, FormatKeepsTheLetterAndMakesWhatWasAsked)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Exfat, QStringLiteral("KVFMT"));
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-fmt")));
    LinuxVolumes v(toolsOnly());
    LinuxFormatter f(v, {false});
    const QString root = rootOf(v, img.mountPoint());
    ASSERT_EQ(v.driveType(root), Volumes::Removable);
    QFile old(img.mountPoint() + QStringLiteral("/old.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("x");
    old.close();

    struct Row {
        const char* fs;
        const char* label;
    } rows[] = {{"ext4", "KV EXT4"}, {"exfat", "KV exFAT"}, {"vfat", "KVFAT32"}};
    for (const Row& r : rows) {
        QString why;
        ASSERT_TRUE(f.canFormat(QString::fromLatin1(r.fs), &why)) << why.toStdString();
        ASSERT_TRUE(f.format(root, {QString::fromLatin1(r.fs), QString::fromUtf8(r.label), true}, &why))
            << r.fs << ": " << why.toStdString();
        const ProbedFs p = probe(img.device());
        EXPECT_EQ(p.type, QString::fromLatin1(r.fs));
        EXPECT_EQ(p.label, QString::fromUtf8(r.label));
        EXPECT_TRUE(isMounted(img.mountPoint())) << r.fs;
        EXPECT_EQ(rootOf(v, img.mountPoint()), root) << r.fs;
        EXPECT_FALSE(QFile::exists(img.mountPoint() + QStringLiteral("/old.txt"))) << r.fs;
        QString label;
        EXPECT_TRUE(v.volumeLabel(root, &label));
        EXPECT_EQ(label, QString::fromUtf8(r.label));
    }
}

TEST(RealDrives, FormatRefusesWhatItMustNotTouch)
{
    KV_REQUIRE_LOOP_DEVICES();
    LinuxVolumes v(toolsOnly());
    LinuxFormatter f(v, {false});
    QString why;
    EXPECT_FALSE(f.format(QStringLiteral("C:\\"), {QStringLiteral("exfat"), QString(), true}, &why));
    EXPECT_EQ(why, QStringLiteral("Only a removable drive can be formatted."));

    // An image mounted outside the places the desktop shows is not removable.
    LoopImage img(LoopImage::Kind::Ext4, QStringLiteral("KVHIDDEN"));
    ASSERT_TRUE(img.attached());
    QTemporaryDir elsewhere;
    ASSERT_TRUE(runTool({"mount", img.device(), elsewhere.path()}).ok());
    v.refresh();
    const QString root = rootOf(v, elsewhere.path());
    EXPECT_EQ(v.driveType(root), Volumes::Fixed);
    EXPECT_FALSE(f.format(root, {QStringLiteral("exfat"), QString(), true}, &why));
    EXPECT_EQ(probe(img.device()).type, QStringLiteral("ext4"));
    runTool({"umount", elsewhere.path()});

    ASSERT_TRUE(img.mount(QStringLiteral("kv-refuse")));
    v.refresh();
    const QString removable = rootOf(v, img.mountPoint());
    ASSERT_EQ(v.driveType(removable), Volumes::Removable);
    EXPECT_FALSE(f.format(removable, {QStringLiteral("vfat"), QStringLiteral("BAD*NAME"), true}, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(probe(img.device()).label, QStringLiteral("KVHIDDEN"));
}

} // namespace
