#include "controls/moviebox_ui.h"
#include "support/gifmaker.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(MovieBox, FrameOneIsLoadedOnceDecoded)
{
    QTemporaryDir dir;
    const QString gif = dir.filePath(QStringLiteral("intro.gif"));
    ASSERT_TRUE(writeAnimatedGif(gif, 8, 6, {Qt::red, Qt::green, Qt::blue}, 50));
    MovieBox box;
    EXPECT_FALSE(box.FrameLoaded(1));
    box.setMovie(gif);
    EXPECT_EQ(box.Movie(), gif);
    EXPECT_TRUE(QTest::qWaitFor([&] { return box.FrameLoaded(1); }, 3000));
    EXPECT_FALSE(box.FrameLoaded(0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return box.FrameLoaded(3); }, 3000));
    EXPECT_FALSE(box.FrameLoaded(4));
}

TEST(MovieBox, MissingOrBrokenFileNeverReportsAFrame)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.gif"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("GIF89a not really");
    f.close();
    for (const QString& path : {dir.filePath(QStringLiteral("missing.gif")), broken}) {
        MovieBox box;
        box.setMovie(path);
        QTest::qWait(150);
        EXPECT_FALSE(box.FrameLoaded(1)) << path.toStdString();
    }
}
