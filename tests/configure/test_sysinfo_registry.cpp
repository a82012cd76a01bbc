#include "configure/registryread.h"
#include "devices/pagefixture.h"
#include "platform/linux/systemregistry_linux.h"

namespace {
const QString kInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
constexpr uint32_t HKLM = SystemRegistry::HKEY_LOCAL_MACHINE;

void program(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void desktopEntry(const QString& path, const QString& exec)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Desktop Entry]\nType=Application\nName=Monitor, system\nExec=" + exec.toUtf8() + "\n");
}
}

class SysInfoRegistryTest : public ::testing::Test {
protected:
    DriveFolders dirs;
    LinuxSystemRegistry::Places places;
    void SetUp() override
    {
        places.programDirs = {dirs.make(QStringLiteral("bin")), dirs.make(QStringLiteral("sbin"))};
        places.applicationDirs = {dirs.make(QStringLiteral("applications"))};
        places.sharedToolsFolder = dirs.tmp.filePath(QStringLiteral("tools"));
    }
    QString read(const QString& key, const QString& value, bool* ok)
    {
        LinuxSystemRegistry r(places);
        QString v;
        *ok = GetKeyValue(r, HKLM, key, value, v);
        return v;
    }
};

TEST_F(SysInfoRegistryTest, FirstLocationAnswersTheInstalledToolInPreferenceOrder)
{
    bool ok = true;
    EXPECT_TRUE(read(kInfoKey, "PATH", &ok).isEmpty());
    EXPECT_FALSE(ok) << "nothing installed";

    program(places.programDirs[1] + "/gnome-system-monitor");
    EXPECT_EQ(read(kInfoKey, "PATH", &ok), places.programDirs[1] + "/gnome-system-monitor");
    EXPECT_TRUE(ok);

    program(places.programDirs[1] + "/hardinfo");
    EXPECT_EQ(read(kInfoKey, "PATH", &ok), places.programDirs[1] + "/hardinfo");

    // Not executable: not a program.
    QFile(places.programDirs[0] + "/hardinfo2").open(QIODevice::WriteOnly);
    EXPECT_EQ(read(kInfoKey, "PATH", &ok), places.programDirs[1] + "/hardinfo");
}

TEST_F(SysInfoRegistryTest, DesktopEntryNamesAProgramOffThePath)
{
    const QString opt = dirs.make(QStringLiteral("opt"));
    program(opt + "/kinfo");
    desktopEntry(places.applicationDirs[0] + "/org.kde.kinfocenter.desktop", opt + "/kinfo %U");
    bool ok = false;
    EXPECT_EQ(read(kInfoKey, "PATH", &ok), opt + "/kinfo");
    EXPECT_TRUE(ok);

    // An entry whose program is gone answers nothing.
    QFile::remove(opt + "/kinfo");
    EXPECT_TRUE(read(kInfoKey, "PATH", &ok).isEmpty());
    EXPECT_FALSE(ok);
}

TEST_F(SysInfoRegistryTest, SecondLocationAnswersTheToolsFolderWhileItExists)
{
    bool ok = true;
    read(kLocationKey, "MSINFO", &ok);
    EXPECT_FALSE(ok);
    QDir().mkpath(places.sharedToolsFolder);
    EXPECT_EQ(read(kLocationKey, "MSINFO", &ok), places.sharedToolsFolder);
    EXPECT_TRUE(ok);

    LinuxSystemRegistry r(places);
    uintptr_t h = 0;
    EXPECT_NE(r.openKey(HKLM, QStringLiteral("SOFTWARE\\Other"), 0x2003F, &h), 0);
    EXPECT_EQ(h, 0u);
    EXPECT_NE(r.openKey(0x80000001u, kInfoKey, 0x2003F, &h), 0) << "only the machine root holds the keys";
    ASSERT_EQ(r.openKey(HKLM, kLocationKey, 0x2003F, &h), 0);
    QByteArray small(4, '\0');
    uint32_t size = 4, type = 0;
    EXPECT_EQ(r.queryValue(h, QStringLiteral("MSINFO"), &type, &small, &size), 234) << "buffer too small";
    EXPECT_EQ(r.closeKey(h), 0);
}
