#include "shell/firstrun.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct FlagCase {
    const char* content;
    bool readable;
    int value;
};
}

TEST(RunFlag, FirstFieldIsA16BitInteger)
{
    const FlagCase cases[] = {
        {"0", true, 0},        {"0\r\n", true, 0},      {"1\r\n", true, 1},   {"2\n", true, 2},
        {"-1\r\n", true, -1},  {"  7  \r\n", true, 7},  {"+3", true, 3},      {"32767", true, 32767},
        {"-32768", true, -32768}, {"5,extra\r\n", true, 5}, {"1\r\n0\r\n", true, 1},
        // The failure path: anything an integer read would refuse.
        {"", false, 0},        {"\r\n1\r\n", false, 0}, {"abc", false, 0},   {"1x", false, 0},
        {"1.5", false, 0},     {"70000", false, 0},     {"-32769", false, 0}, {"-", false, 0},
        {"0x10", false, 0},    {"1 2", false, 0},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    for (const FlagCase& c : cases) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.content);
        f.close();
        int16_t v = 99;
        EXPECT_EQ(readRunFlag(path, &v), c.readable) << '"' << c.content << '"';
        if (c.readable)
            EXPECT_EQ(v, c.value) << '"' << c.content << '"';
    }
}

TEST(RunFlag, AFieldTooLongToReadWholeIsNotCutToANumber)
{
    // Only the start of a long line is read; its first 255 bytes of zeros are not the field.
    const struct {
        QByteArray content;
        bool readable;
        int value;
    } cases[] = {
        {QByteArray(300, '0') + "5\r\n", false, 0},
        {QByteArray(300, '0'), false, 0},
        {QByteArray(200, '0') + "7\r\n", true, 7},
        {"1," + QByteArray(5000, 'x') + "\r\n", true, 1},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    for (const auto& c : cases) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.content);
        f.close();
        int16_t v = 99;
        EXPECT_EQ(readRunFlag(path, &v), c.readable) << c.content.size() << " bytes";
        if (c.readable)
            EXPECT_EQ(v, c.value);
    }
}

TEST(RunFlag, MissingOrDirectoryIsUnreadable)
{
    QTemporaryDir dir;
    int16_t v = 0;
    EXPECT_FALSE(readRunFlag(dir.filePath(QStringLiteral("Config.ini")), &v));
    EXPECT_FALSE(readRunFlag(dir.path(), &v));
}

TEST(RunFlag, MarkDoneWritesExactlyOneAndALineBreak)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0\r\nsomething longer that must go\r\n");
    f.close();
    ASSERT_TRUE(markRunFlagDone(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("1\r\n"));
    EXPECT_FALSE(markRunFlagDone(dir.filePath(QStringLiteral("no/such/folder/Config.ini"))));
}

TEST(ScreenAdvice, OnlyExactly800By600IsSpared)
{
    EXPECT_FALSE(screenAdviceDue({800, 600}));
    EXPECT_TRUE(screenAdviceDue({1024, 768}));
    EXPECT_TRUE(screenAdviceDue({800, 768}));
    EXPECT_TRUE(screenAdviceDue({640, 480}));
}
