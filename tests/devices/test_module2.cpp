#include "devices/module2.h"
#include "support/fakedialogs.h"
#include "support/fakevolumes.h"

#include <gtest/gtest.h>

namespace {

struct SizeRow {
    double bytes;
    const char* formatA;
    const char* formatB;
};

const SizeRow kSizes[] = {
    {0, "0 Bytes", "0 KB"},
    {511, "511 Bytes", "0 MB"},
    {512, "1 KB", "0 MB"},
    {100000, "98 KB", "0 MB"},
    {524287, "512 KB", "0 MB"},
    {524288, "1 MB", "0 MB"},
    {2621440, "3 MB", "2 MB"},
    {1073741823, "1024 MB", "1024 MB"},
    {1073741824, "1024 MB", "1024 MB (1 GB)"},
    {1074266112, "1025 MB (1 GB) ", "1024 MB (1 GB)"},
    {2000000000, "1907 MB (2 GB) ", "1907 MB (2 GB)"},
    // Past the old 16-bit megabyte count and 32-bit sector count.
    {34359214080.0, "32768 MB (32 GB) ", "32768 MB (32 GB)"},
    {2000000000000.0, "1907349 MB (1863 GB) ", "1907349 MB (1863 GB)"},
};

TEST(SizeText, BothFormatsOverTheTable)
{
    for (const SizeRow& r : kSizes) {
        EXPECT_EQ(sizeTextA(r.bytes).toStdString(), r.formatA) << "bytes " << r.bytes;
        EXPECT_EQ(sizeTextB(toFixed(int64_t(r.bytes))).toStdString(), r.formatB) << "bytes " << r.bytes;
    }
}

TEST(SizeText, RoundingRulesDifferOnHalves)
{
    EXPECT_EQ(roundHalfAway(2.5), 3);
    EXPECT_EQ(roundHalfAway(3.5), 4);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(0.5), 0);
}

TEST(BytesToDouble, HalvesAreUnsigned)
{
    struct Row {
        int32_t low, high;
        double value;
    } rows[] = {
        {0, 0, 0},
        {5, 0, 5},
        {0, 1, 4294967296.0},
        {-1, 0, 4294967295.0},
        {int32_t(0x80000000u), 0, 2147483648.0},
        {-1, -1, 18446744073709551615.0},
        {7, 2, 2 * 4294967296.0 + 7},
    };
    for (const Row& r : rows)
        EXPECT_EQ(BytesToDouble(r.low, r.high), r.value) << r.low << " " << r.high;
}

// Answers a fixed mask, to show which bits are counted.
class MaskVolumes : public FakeVolumes {
public:
    uint32_t mask = 0;
    uint32_t logicalDrives() override { return mask; }
};

TEST(CountDrives, CountsLettersAToZOnly)
{
    FakeDialogs dialogs;
    MaskVolumes volumes;
    Module2 m(volumes, dialogs);
    struct Row {
        uint32_t mask;
        int count;
    } rows[] = {
        {0, 0},
        {(1u << 0) | (1u << 2) | (1u << 5), 3},  // A, C, F
        {(1u << 25), 1},                         // Z
        {0xfc000000u, 0},                        // bits 26..31 are not drives
        {0xfe000000u, 1},                        // Z among them
        {0xffffffffu, 26},
    };
    for (const Row& r : rows) {
        volumes.mask = r.mask;
        EXPECT_EQ(m.CountDrives(), r.count) << std::hex << r.mask;
    }
}

TEST(CountDrives, ThroughTheFakeDriveSet)
{
    FakeDialogs dialogs;
    FakeVolumes volumes;  // C: is there
    volumes.add(QLatin1Char('A'), Volumes::Removable, QStringLiteral("/tmp"));
    volumes.add(QLatin1Char('F'), Volumes::Removable, QStringLiteral("/tmp"));
    Module2 m(volumes, dialogs);
    EXPECT_EQ(m.CountDrives(), 3);
    volumes.remove(QLatin1Char('F'));
    EXPECT_EQ(m.CountDrives(), 2);
}

class DriveFigures : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    FakeVolumes volumes;
    Module2 m{volumes, dialogs};
    const QString F = QStringLiteral("F:\\");

    FakeVolumes::Drive& addF(uint64_t total, uint64_t available, uint64_t totalFree = 0)
    {
        FakeVolumes::Drive& d = volumes.add(QLatin1Char('F'), Volumes::Removable, QStringLiteral("/tmp"));
        FakeVolumes::setCapacity(d, total, available, totalFree);
        return d;
    }
};

TEST_F(DriveFigures, SizeInMegabytesAndLabel)
{
    struct Row {
        uint64_t total;
        const char* mb;
        const char* label;
    } rows[] = {
        {2000000000, "1907", "1907 MB (2 GB) "},
        {300 * 1024, "0", "0 MB (0 GB) "},  // no unit thresholds here
        {524288, "1", "1 MB (0 GB) "},      // half away
        {1610612736, "1536", "1536 MB (2 GB) "},
    };
    for (const Row& r : rows) {
        addF(r.total, r.total / 2);
        EXPECT_EQ(m.DriveSizeinMB(F).toStdString(), r.mb);
        EXPECT_EQ(m.DriveSizeLabel(F).toStdString(), r.label);
    }
}

TEST_F(DriveFigures, UsedIsTotalMinusTotalFreeNotMinusAvailable)
{
    // A quota: the user may write 100 MB although 300 MB are free.
    addF(1000ull << 20, 100ull << 20, 300ull << 20);
    EXPECT_EQ(m.DriveUsedinMB(F), QStringLiteral("700"));
    EXPECT_EQ(m.DriveUsedLabel(F), QStringLiteral("700 MB (1 GB) "));
    EXPECT_EQ(m.spaceLeftOn(F), QStringLiteral("100 MB"));
    const Module2::Usage u = m.usage(F, F);
    EXPECT_EQ(u.maximum, 1000);
    EXPECT_EQ(u.value, 700);
    EXPECT_EQ(u.caption, QStringLiteral("Drive F:\\ has 700 MB (1 GB)  of 1000 MB (1 GB)  Max used"));
}

TEST_F(DriveFigures, UnreadableDriveGivesZeros)
{
    addF(2000000000, 1000000000).readable = false;
    EXPECT_EQ(m.DriveTotalBytes(F), 0);
    EXPECT_EQ(m.DriveFreeBytes(F), 0);
    FixedBytes free = 123;
    EXPECT_FALSE(m.DriveFreeBytes(F, &free));
    EXPECT_EQ(free, 0);
    EXPECT_EQ(m.sizeOfDrive(F), QStringLiteral("0 Bytes"));
    EXPECT_EQ(m.sizeOfDriveB(F), QStringLiteral("0 KB"));
    EXPECT_EQ(m.DriveSizeinMB(F), QStringLiteral("0"));
    EXPECT_EQ(m.DriveUsedinMB(F), QStringLiteral("0"));
    EXPECT_EQ(m.DriveSizeLabel(F), QStringLiteral("0 MB (0 GB) "));
    EXPECT_EQ(m.DriveUsedLabel(F), QStringLiteral("0 MB (0 GB) "));
    // A letter not in use reads the same way.
    EXPECT_EQ(m.sizeOfDrive(QStringLiteral("Q:\\")), QStringLiteral("0 Bytes"));
}

TEST_F(DriveFigures, LargeDriveKeepsItsRealSize)
{
    // 2 TB in 4096-byte clusters of 8 sectors: more than 2^31 sectors.
    addF(2000000000000ull, 1000000000000ull);
    EXPECT_EQ(m.DriveTotalBytes(F), toFixed(2000000000000ll));
    EXPECT_EQ(m.DriveFreeBytes(F), toFixed(1000000000000ll));
    EXPECT_EQ(m.sizeOfDriveB(F), QStringLiteral("1907349 MB (1863 GB)"));
    EXPECT_EQ(m.sizeOfDrive(F), QStringLiteral("1907349 MB (1863 GB) "));
}

TEST_F(DriveFigures, FreeBytesComeFromClusters)
{
    FakeVolumes::Drive& d = addF(0, 0);
    d.clusters = {4, 512, 1000, 5000};
    EXPECT_EQ(m.DriveTotalBytes(F), toFixed(4ll * 512 * 5000));
    EXPECT_EQ(m.DriveFreeBytes(F), toFixed(4ll * 512 * 1000));
}

TEST_F(DriveFigures, UploadRootWithForwardSlashIsQueriedAsGiven)
{
    volumes.spaceQueries.clear();
    m.spaceLeftOn(QStringLiteral("C:/"));
    ASSERT_EQ(volumes.spaceQueries.size(), 1);
    EXPECT_EQ(volumes.spaceQueries.first(), QStringLiteral("C:/"));
    EXPECT_EQ(m.spaceLeftOn(QStringLiteral("C:/")), sizeTextA(double(50ull << 30)));
}

TEST_F(DriveFigures, DriveNameIsCutAtNulAndEmptyWhenUnreadable)
{
    FakeVolumes::Drive& d = addF(1 << 20, 1 << 20);
    d.label = QStringLiteral("STICK");
    EXPECT_EQ(m.GetDriveName(F), QStringLiteral("STICK"));
    d.label = QStringLiteral("AB") + QChar(0) + QStringLiteral("CD");
    EXPECT_EQ(m.GetDriveName(F), QStringLiteral("AB"));
    d.label.clear();
    EXPECT_EQ(m.GetDriveName(F), QString());
    d.label = QStringLiteral("X");
    d.labelReadable = false;
    EXPECT_EQ(m.GetDriveName(F), QString());
    EXPECT_EQ(m.GetDriveName(QStringLiteral("Q:\\")), QString());
}

TEST_F(DriveFigures, RefusedNameShowsNameNotSet)
{
    FakeVolumes::Drive& d = addF(1 << 20, 1 << 20);
    d.label = QStringLiteral("OLD");
    m.SetDriveName(F, QStringLiteral("NEW"));
    EXPECT_TRUE(dialogs.shownMessages.isEmpty());
    EXPECT_EQ(volumes.drive(QLatin1Char('F'))->label, QStringLiteral("NEW"));

    volumes.drive(QLatin1Char('F'))->refuseLabelWhy = QStringLiteral("too long");
    dialogs.expectMessage(QStringLiteral("Name not set!"), QStringLiteral("Error!"), Dialogs::Icon::Critical,
                          Dialogs::Buttons::Ok, Dialogs::Answer::Ok);
    m.SetDriveName(F, QStringLiteral("A NAME FAR TOO LONG"));
    dialogs.verifyAllUsed();
    EXPECT_EQ(volumes.drive(QLatin1Char('F'))->label, QStringLiteral("NEW"));
    ASSERT_EQ(volumes.setLabelCalls.size(), 2);
    EXPECT_EQ(volumes.setLabelCalls.last().first, F);
}

} // namespace
