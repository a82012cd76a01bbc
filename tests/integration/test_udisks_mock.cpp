#include "devices/module2.h"
#include "support/loopimage.h"
#include "platform/linux/blockprobe.h"
#include "platform/linux/linuxformatter.h"
#include "platform/linux/linuxvolumes.h"
#include "support/fakedialogs.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QScopeGuard>

namespace {

// A system bus of the test's own, with the stand-in disk service on it.
// A system bus of the test program's own: the program's system-bus connection is
// made once, so the bus outlives every test and stops when the tests are done.
class PrivateBus : public ::testing::Environment {
public:
    static bool start() { return instance->running_ || instance->run(); }
    void TearDown() override
    {
        if (bus_.state() != QProcess::NotRunning) {
            bus_.terminate();
            if (!bus_.waitForFinished(3000))
                bus_.kill(), bus_.waitForFinished(3000);
        }
        running_ = false;
    }
    static PrivateBus* instance;

private:
    bool run()
    {
        const QString config = dir_.path() + QStringLiteral("/bus.conf");
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(QStringLiteral(R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=%1/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
)").arg(dir_.path()).toUtf8());
        f.close();
        bus_.setProgram(QStringLiteral("dbus-daemon"));
        bus_.setArguments({QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                           QStringLiteral("--print-address")});
        bus_.start();
        if (!bus_.waitForStarted() || !bus_.waitForReadyRead(10000))
            return false;
        // Set before anything in this program opens the system bus.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus_.readLine().trimmed());
        running_ = true;
        return true;
    }
    QTemporaryDir dir_;
    QProcess bus_;
    bool running_ = false;
};

PrivateBus* PrivateBus::instance =
    static_cast<PrivateBus*>(::testing::AddGlobalTestEnvironment(new PrivateBus));

// The stand-in disk service on the private bus, serving the given devices.
class MockDiskService {
public:
    bool start(const QStringList& devices)
    {
        if (!PrivateBus::start())
            return false;
        log_ = dir_.path() + QStringLiteral("/calls.log");
        mountRoot_ = QStringLiteral("/media/kv-disks-%1").arg(getpid());
        QDir().mkpath(mountRoot_);
        service_.setProgram(QStringLiteral("/usr/bin/python3"));
        service_.setArguments(QStringList{QStringLiteral(KORVANE_SOURCE_DIR "/tests/integration/udisks_mock.py"), log_,
                                          mountRoot_} + devices);
        service_.setStandardOutputFile(dir_.path() + QStringLiteral("/service.out"));
        service_.setStandardErrorFile(dir_.path() + QStringLiteral("/service.out"));
        service_.start();
        return service_.waitForStarted() && waitFor([&] { return calls().contains(QStringLiteral("ready")); }, 15000);
    }

    ~MockDiskService()
    {
        if (service_.state() != QProcess::NotRunning) {
            service_.terminate();
            if (!service_.waitForFinished(3000))
                service_.kill(), service_.waitForFinished(3000);
        }
        // What the service mounted under its folder, by exact mount point.
        for (const QString& sub : QDir(mountRoot_).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString mp = mountRoot_ + QLatin1Char('/') + sub;
            for (int i = 0; i < 3 && isMounted(mp); ++i)
                runTool({"umount", mp});
            QDir().rmdir(mp);
        }
        QDir().rmdir(mountRoot_);
    }

    QStringList calls() const
    {
        QFile f(log_);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines;
    }
    // The calls that change something, in order.
    QStringList actions() const
    {
        QStringList out;
        for (const QString& c : calls())
            if (!c.startsWith(QLatin1String("Get ")) && c != QLatin1String("ready"))
                out << c;
        return out;
    }
    QString serviceOutput() const
    {
        QFile f(dir_.path() + QStringLiteral("/service.out"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    const QString& mountRoot() const { return mountRoot_; }

private:
    QTemporaryDir dir_;
    QProcess service_;
    QString log_, mountRoot_;
};

bool toolsPresent()
{
    return !findTool(QStringLiteral("dbus-daemon")).isEmpty() && QFileInfo::exists(QStringLiteral("/usr/bin/python3"));
}

ProbedFs probe(const QString& device)
{
    ProbedFs p;
    probeBlockDevice(device, &p);
    return p;
}

TEST(DiskService, MountedFatIsRelabelledAfterTheServiceRefusesIt)
{
    KV_REQUIRE_LOOP_DEVICES();
    ASSERT_TRUE(toolsPresent()) << "dbus-daemon and /usr/bin/python3 (python3-dbus, python3-gi) are needed";
    LoopImage img(LoopImage::Kind::Fat, QStringLiteral("UDFAT"));
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-udfat")));
    MockDiskService service;
    ASSERT_TRUE(service.start({img.device()}));
    const QString name = QFileInfo(img.device()).fileName();

    LinuxVolumes v;
    ASSERT_NE(v.udisks(), nullptr);
    FakeDialogs dialogs;
    Module2 m(v, dialogs);
    const QString root = v.toLetter(img.mountPoint()).left(3);
    ASSERT_EQ(v.driveType(root), Volumes::Removable);
    EXPECT_EQ(m.GetDriveName(root), QStringLiteral("UDFAT"));
    EXPECT_TRUE(service.calls().contains(QStringLiteral("Get %1 IdLabel UDFAT").arg(name)));

    m.SetDriveName(root, QStringLiteral("RENAMED"));
    const QString newPlace = service.mountRoot() + QStringLiteral("/RENAMED");
    EXPECT_EQ(service.actions(), (QStringList{QStringLiteral("SetLabel %1 RENAMED refused: mounted").arg(name),
                                              QStringLiteral("Unmount %1").arg(name),
                                              QStringLiteral("SetLabel %1 RENAMED").arg(name),
                                              QStringLiteral("Mount %1 %2").arg(name, newPlace)}))
        << service.serviceOutput().toStdString();
    EXPECT_EQ(probe(img.device()).label, QStringLiteral("RENAMED"));
    // Mounted again by the service at a place of its choosing, under the same letter.
    EXPECT_TRUE(isMounted(newPlace));
    EXPECT_EQ(v.toLetter(newPlace), root);
    EXPECT_EQ(v.driveType(root), Volumes::Removable);
    EXPECT_EQ(m.GetDriveName(root), QStringLiteral("RENAMED"));

    // A name FAT forbids never reaches the service.
    const qsizetype before = service.actions().size();
    dialogs.expectMessage(QStringLiteral("Name not set!"), QStringLiteral("Error!"), Dialogs::Icon::Critical,
                          Dialogs::Buttons::Ok, Dialogs::Answer::Ok);
    m.SetDriveName(root, QStringLiteral("NO|PIPES"));
    dialogs.verifyAllUsed();
    EXPECT_EQ(service.actions().size(), before);
    EXPECT_EQ(probe(img.device()).label, QStringLiteral("RENAMED"));
}

TEST(DiskService, FormatGoesThroughTheServiceAndKeepsTheLetter)
{
    KV_REQUIRE_LOOP_DEVICES();
    ASSERT_TRUE(toolsPresent()) << "dbus-daemon and /usr/bin/python3 (python3-dbus, python3-gi) are needed";
    LoopImage img(LoopImage::Kind::Exfat, QStringLiteral("UDEX"));
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-udex")));
    MockDiskService service;
    ASSERT_TRUE(service.start({img.device()}));
    const QString name = QFileInfo(img.device()).fileName();

    LinuxVolumes v;
    LinuxFormatter f(v);
    const QString root = v.toLetter(img.mountPoint()).left(3);
    ASSERT_EQ(v.driveType(root), Volumes::Removable);

    QString why;
    if (findTool(QStringLiteral("mkntfs")).isEmpty()) {
        EXPECT_FALSE(f.canFormat(QStringLiteral("ntfs"), &why));
        EXPECT_EQ(why, QStringLiteral("NTFS needs mkntfs, which is not installed."));
    }
    ASSERT_TRUE(f.canFormat(QStringLiteral("ext4"), &why)) << why.toStdString();
    ASSERT_TRUE(f.format(root, {QStringLiteral("ext4"), QStringLiteral("UDEXT4"), true}, &why)) << why.toStdString();
    const QString newPlace = service.mountRoot() + QStringLiteral("/UDEXT4");
    EXPECT_EQ(service.actions(), (QStringList{QStringLiteral("Unmount %1").arg(name),
                                              QStringLiteral("Format %1 ext4 UDEXT4").arg(name),
                                              QStringLiteral("Mount %1 %2").arg(name, newPlace)}));
    const ProbedFs p = probe(img.device());
    EXPECT_EQ(p.type, QStringLiteral("ext4"));
    EXPECT_EQ(p.label, QStringLiteral("UDEXT4"));
    EXPECT_EQ(v.toLetter(newPlace), root);

    // Busy: the service's refusal to unmount leaves everything as it was.
    QFile held(newPlace + QStringLiteral("/held.txt"));
    ASSERT_TRUE(held.open(QIODevice::WriteOnly));
    EXPECT_FALSE(f.format(root, {QStringLiteral("exfat"), QStringLiteral("AGAIN"), true}, &why));
    EXPECT_EQ(why, QStringLiteral("The drive is in use. Close the files and programs that use it, then try again."));
    EXPECT_EQ(probe(img.device()).type, QStringLiteral("ext4"));
    EXPECT_TRUE(isMounted(newPlace));
    held.close();
}

} // namespace
