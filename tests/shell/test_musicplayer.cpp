#include "platform/qt/qtmusicplayer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Polls the status as the intro's watch does, until it ends or reads "Stopped".
// Returns the last status text, or "<unreadable>".
QString pollToEnd(QtMusicPlayer& player, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    QString text;
    while (clock.elapsed() < limitMs) {
        if (!player.status(&text))
            return QStringLiteral("<unreadable>");
        if (text == QLatin1String("Stopped"))
            return text;
        QTest::qWait(100);
    }
    return QStringLiteral("<still %1>").arg(text);
}
}

TEST(MusicPlayer, MissingFileMakesTheStatusUnreadable)
{
    QtMusicPlayer player;
    player.setUrl(QStringLiteral("/nonexistent/intro.mp3"));
    player.play();
    QString text;
    EXPECT_FALSE(player.status(&text));
}

TEST(MusicPlayer, BrokenFileEndsWithoutHanging)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("intro.mp3"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, '\x5a'));
    f.close();
    QtMusicPlayer player;
    player.setStallLimitMs(2000);
    player.setUrl(path);
    player.play();
    const QString end = pollToEnd(player, 15000);
    EXPECT_TRUE(end == QLatin1String("<unreadable>") || end == QLatin1String("Stopped")) << end.toStdString();
}

TEST(MusicPlayer, IntroMusicEndsOnThisMachineWithOrWithoutSound)
{
    const QString path = QStringLiteral(KORVANE_PROGRAM_DIR "/Data/intro.mp3");
    if (!QFile::exists(path))
        GTEST_SKIP() << "no intro music built";
    QtMusicPlayer player;
    player.setUrl(path);
    player.play();
    const QString end = pollToEnd(player, 40000);
    EXPECT_TRUE(end == QLatin1String("<unreadable>") || end == QLatin1String("Stopped")) << end.toStdString();
}

TEST(MusicPlayer, StopReadsStoppedWhenThereIsSound)
{
    const QString path = QStringLiteral(KORVANE_PROGRAM_DIR "/Data/intro.mp3");
    QtMusicPlayer player;
    player.setUrl(path);
    player.play();
    player.stop();
    QString text;
    if (player.status(&text))
        EXPECT_EQ(text, QStringLiteral("Stopped"));
    else
        SUCCEED() << "no audio device: the status cannot be read, which ends the intro";
    player.stop();  // stopping twice is harmless
}
