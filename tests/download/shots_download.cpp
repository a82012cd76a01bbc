// Pictures of every page of the download wizard for a person to look at.
// Runs only when KORVANE_SHOTS names a folder: xvfb-run -a <binary> with
// QT_QPA_PLATFORM=xcb KORVANE_SHOTS=/some/folder.
#include "wizardfixture.h"

namespace {

class Shots : public WizardTest {
protected:
    void SetUp() override
    {
        folder = qEnvironmentVariable("KORVANE_SHOTS");
        if (folder.isEmpty())
            GTEST_SKIP() << "KORVANE_SHOTS not set";
        WizardTest::SetUp();
        fp.platform.programFolder = QStringLiteral(KORVANE_PROGRAM_DIR);
    }
    void shot(const QString& name, const char* expectedPage)
    {
        EXPECT_EQ(page(), QLatin1String(expectedPage));
        QCoreApplication::processEvents();
        EXPECT_TRUE(form->grab().save(QDir(folder).filePath(name + QStringLiteral(".png"))));
    }
    QString folder;
};

TEST_F(Shots, EveryPage)
{
    for (const char* d : {"Music", "Podcasts", "Audio Books"})
        QDir(stick).mkdir(QLatin1String(d));
    QDir(stick).mkpath(QStringLiteral("Music/Rock"));
    shot(QStringLiteral("1-getdrive"), "Frame1");
    toFrame2();
    openFolder(QStringLiteral("F:\\Music"));
    shot(QStringLiteral("2-destination"), "Frame2");
    click("Command8");
    addFiles({source(QStringLiteral("Music/01 Opening.mp3"), QByteArray(3 << 20, 'a')),
              source(QStringLiteral("Music/02 Second Song.mp3"), QByteArray(2 << 20, 'b')),
              source(QStringLiteral("Music/03 Finale.mp3"), QByteArray(1 << 20, 'c'))});
    shot(QStringLiteral("3-copylist"), "Frame3");
    click("Command13");
    shot(QStringLiteral("4-review"), "Frame4");
    copier.onReport(1, 2, [&] { shot(QStringLiteral("5-copying"), "Frame7"); });
    click("Command23");
    shot(QStringLiteral("6-complete"), "Frame7");
}

TEST_F(Shots, ReviewThatDoesNotFit)
{
    FakeVolumes::setCapacity(*fp.volumes.drive(QLatin1Char('F')), kTotal, 1 << 20);
    toFrame3();
    addFiles({source(QStringLiteral("big.bin"), QByteArray(3 << 20, 'a'))});
    click("Command13");
    shot(QStringLiteral("4b-review-red"), "Frame4");
}

}  // namespace
