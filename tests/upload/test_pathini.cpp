#include "upload/pathini.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(PathIni, WritesOneLineWithCrLfAndReadsItBackWhole)
{
    QTemporaryDir program;
    const QString ini = program.path() + QStringLiteral("/Data/Path.ini");
    EXPECT_EQ(PathIni::filePath(program.path()), ini);
    EXPECT_EQ(PathIni::read(program.path()), QString()) << "no file yet";

    // A comma inside the folder name must not cut the path short.
    const QString paths[] = {QStringLiteral("C:\\Music\\"), QStringLiteral("C:\\"),
                             QStringLiteral("C:\\Music, Live\\"), QStringLiteral("Z:\\Mü sic\\ä,b\\")};
    for (const QString& p : paths) {
        ASSERT_TRUE(PathIni::write(program.path(), p)) << p.toStdString();
        EXPECT_EQ(contents(ini), p.toUtf8() + "\r\n");
        EXPECT_EQ(PathIni::read(program.path()), p);
    }
}

TEST(PathIni, ReadsOnlyTheFirstLineWhateverItsEnding)
{
    QTemporaryDir program;
    const QString ini = program.path() + QStringLiteral("/Data/Path.ini");
    const struct { QByteArray file; QString expected; } cases[] = {
        {"C:\\A\\\r\nC:\\B\\\r\n", QStringLiteral("C:\\A\\")},
        {"C:\\A\\\nC:\\B\\\n", QStringLiteral("C:\\A\\")},
        {"C:\\A, B\\", QStringLiteral("C:\\A, B\\")},
        {"", QString()},
        {"\r\nC:\\B\\\r\n", QString()},
        {"\xEF\xBB\xBF" "C:\\A\\\r\n", QStringLiteral("C:\\A\\")},
    };
    for (const auto& c : cases) {
        put(ini, c.file);
        EXPECT_EQ(PathIni::read(program.path()), c.expected) << c.file.toStdString();
    }
}

TEST(PathIni, RefusesWhatCouldNotBeReadBackAndKeepsTheOldLine)
{
    QTemporaryDir program;
    ASSERT_TRUE(PathIni::write(program.path(), QStringLiteral("C:\\Old\\")));
    EXPECT_FALSE(PathIni::write(program.path(), QStringLiteral("C:\\Two\nLines\\")));
    EXPECT_EQ(PathIni::read(program.path()), QStringLiteral("C:\\Old\\"));
}

TEST(PathIni, RefusesWhatUtf8OrTheLineLimitCannotCarry)
{
    QTemporaryDir program;
    ASSERT_TRUE(PathIni::write(program.path(), QStringLiteral("C:\\Old\\")));
    const QChar lone[] = {QLatin1Char('C'), QLatin1Char(':'), QChar(char16_t(0xDC3A))};
    EXPECT_FALSE(PathIni::write(program.path(), QString(lone, 3))) << "a lone surrogate";
    EXPECT_FALSE(PathIni::write(program.path(), QStringLiteral("C:\\") + QString(70000, QLatin1Char('a'))));
    EXPECT_EQ(PathIni::read(program.path()), QStringLiteral("C:\\Old\\"));

    // The longest line read() takes whole still comes back as it was.
    const QString longest = QStringLiteral("C:\\") + QString(64 * 1024 - 1 - 2 - 3, QLatin1Char('a'));
    ASSERT_TRUE(PathIni::write(program.path(), longest));
    EXPECT_EQ(PathIni::read(program.path()), longest);
    EXPECT_FALSE(PathIni::write(program.path(), longest + QLatin1Char('a')));
    const QString pair = QStringLiteral("C:\\") + QString::fromUtf8("\xF0\x9F\x8E\xB5");
    ASSERT_TRUE(PathIni::write(program.path(), pair)) << "a surrogate pair is fine";
    EXPECT_EQ(PathIni::read(program.path()), pair);
}

TEST(PathIni, AFolderNameBeginningWithAByteOrderMarkComesBackWhole)
{
    // The mark an editor may put first is dropped on reading; one that is part of the
    // name must survive that.
    QTemporaryDir program;
    for (const QString& p : {QString(QChar(0xFEFF)) + QStringLiteral("\\srv\\x\\"),
                             QString(2, QChar(0xFEFF)) + QStringLiteral("C:\\")}) {
        ASSERT_TRUE(PathIni::write(program.path(), p));
        EXPECT_EQ(PathIni::read(program.path()), p);
    }
}

TEST(PathIni, ReportsAFileThatCannotBeWritten)
{
    // A file where the Data folder should be blocks the write even for root.
    QTemporaryDir program;
    put(program.path() + QStringLiteral("/Data"), "not a folder");
    EXPECT_FALSE(PathIni::write(program.path(), QStringLiteral("C:\\New\\")));
    EXPECT_EQ(PathIni::read(program.path()), QString());
}

