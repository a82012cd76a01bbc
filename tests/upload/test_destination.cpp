#include "upload/uploadfixture.h"

#include <QGroupBox>

namespace {
const QString kNoDestination = QStringLiteral("Please click Change and select the folder to copy your files to!");
const QString kMissing =
    QStringLiteral("The destination folder does not exist! Please click Change and select another folder.");
const QString kUnwritable =
    QStringLiteral("The destination folder cannot be written to! Please click Change and select another folder.");
}  // namespace

TEST_F(UploadTest, FirstUploadEverShowsAnEmptyDestinationAndRefusesNext)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Korvane 2.1 - Upload Wizard"));
    EXPECT_EQ(page(), QStringLiteral("Frame1"));
    EXPECT_EQ(text("Label6"), QStringLiteral("Destination: None Set"));
    toFrame2();
    EXPECT_EQ(w<QFrame>("Frame2")->findChild<QGroupBox*>()->title(), QStringLiteral("Upload Wizard - Select Destination"));
    EXPECT_EQ(text("Label5"),
              QStringLiteral("Select the destination to copy the files from your drive to your computer"));
    EXPECT_EQ(text("Label6"), QStringLiteral("Destination: "));
    EXPECT_EQ(form->deviceDrive(), QStringLiteral("F:\\"));

    fp.dialogs.expectMessage(kNoDestination, QStringLiteral("Error"), Icon::Exclamation, Buttons::Ok, Answer::Ok);
    click("Command7");
    EXPECT_EQ(page(), QStringLiteral("Frame2"));
    EXPECT_EQ(form->destinationPath(), QString());
    EXPECT_FALSE(QFile::exists(pathIni()));
}

TEST_F(UploadTest, NextWritesTheWholeFolderWithItsBackslashAndTheNextOpeningShowsIt)
{
    const struct { QString folder; QString shown; QString stored; } cases[] = {
        {QStringLiteral("Music"), QStringLiteral("Z:\\Music"), QStringLiteral("Z:\\Music\\")},
        {QString(), QStringLiteral("Z:\\"), QStringLiteral("Z:\\")},
        {QStringLiteral("Music, Live"), QStringLiteral("Z:\\Music, Live"), QStringLiteral("Z:\\Music, Live\\")},
        {QStringLiteral("A/B c"), QStringLiteral("Z:\\A\\B c"), QStringLiteral("Z:\\A\\B c\\")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        toFrame2();
        change(c.folder.isEmpty() ? pc : pcFolder(c.folder));
        EXPECT_EQ(fp.dialogs.folderRequests.last().title, QStringLiteral("Browse Folder for destination"));
        EXPECT_EQ(text("Label6"), QStringLiteral("Destination: ") + c.shown);
        click("Command7");
        EXPECT_EQ(page(), QStringLiteral("Frame3"));
        EXPECT_EQ(form->destinationPath(), c.stored);
        EXPECT_EQ(form->destinationDrive(), QStringLiteral("Z"));
        EXPECT_EQ(pathIniBytes(), c.stored.toUtf8() + "\r\n");

        reopen();
        toFrame2();
        EXPECT_EQ(text("Label6"), QStringLiteral("Destination: ") + c.stored);
        EXPECT_EQ(form->destinationPath(), c.stored);
        reopen();
    }
}

TEST_F(UploadTest, CancelledChangeKeepsTheRememberedFolder)
{
    pcFolder(QStringLiteral("Old"));
    remember("Z:\\Old\\");
    toFrame2();
    EXPECT_EQ(text("Label6"), QStringLiteral("Destination: Z:\\Old\\"));
    change(QString());
    EXPECT_EQ(text("Label6"), QStringLiteral("Destination: Z:\\Old\\"));
    click("Command7");
    EXPECT_EQ(page(), QStringLiteral("Frame3"));
    EXPECT_EQ(form->destinationPath(), QStringLiteral("Z:\\Old\\"));
    EXPECT_EQ(pathIniBytes(), QByteArray("Z:\\Old\\\r\n"));
}

TEST_F(UploadTest, ChangeNotConfirmedWithNextIsDiscardedOnTheNextEntry)
{
    pcFolder(QStringLiteral("A"));
    remember("Z:\\A\\");
    toFrame2();
    change(pcFolder(QStringLiteral("B")));
    EXPECT_EQ(text("Label6"), QStringLiteral("Destination: Z:\\B"));
    click("Command9");
    EXPECT_EQ(page(), QStringLiteral("Frame1"));
    toFrame2();
    EXPECT_EQ(text("Label6"), QStringLiteral("Destination: Z:\\A\\"));
    EXPECT_EQ(form->destinationPath(), QStringLiteral("Z:\\A\\"));
    EXPECT_EQ(pathIniBytes(), QByteArray("Z:\\A\\\r\n"));
}

TEST_F(UploadTest, NextRefusesAMissingOrUnwritableFolderAndLeavesPathIniAlone)
{
    // Remembered from an earlier run, deleted since.
    remember("Z:\\Gone\\");
    toFrame2();
    fp.dialogs.expectMessage(kMissing, QStringLiteral("Error"), Icon::Exclamation, Buttons::Ok, Answer::Ok);
    click("Command7");
    EXPECT_EQ(page(), QStringLiteral("Frame2"));
    EXPECT_EQ(pathIniBytes(), QByteArray("Z:\\Gone\\\r\n"));

    // Chosen, then removed before Next.
    const QString vanishing = pcFolder(QStringLiteral("Vanishing"));
    change(vanishing);
    QDir(vanishing).removeRecursively();
    fp.dialogs.expectMessage(kMissing, QStringLiteral("Error"), Icon::Exclamation, Buttons::Ok, Answer::Ok);
    click("Command7");
    EXPECT_EQ(page(), QStringLiteral("Frame2"));

    // No one may create files in /proc, root included.
    change(QStringLiteral("/proc"));
    EXPECT_EQ(text("Label6"), QStringLiteral("Destination: C:\\proc"));
    fp.dialogs.expectMessage(kUnwritable, QStringLiteral("Error"), Icon::Exclamation, Buttons::Ok, Answer::Ok);
    click("Command7");
    EXPECT_EQ(page(), QStringLiteral("Frame2"));
    EXPECT_EQ(pathIniBytes(), QByteArray("Z:\\Gone\\\r\n"));

    // The wizard goes on: a good folder still works.
    change(pcFolder(QStringLiteral("Good")));
    click("Command7");
    EXPECT_EQ(page(), QStringLiteral("Frame3"));
    EXPECT_EQ(pathIniBytes(), QByteArray("Z:\\Good\\\r\n"));
}

TEST_F(UploadTest, ProbeLeavesAUsersTestDatAndNothingElse)
{
    const QString music = pcFolder(QStringLiteral("Music"));
    writeFile(music + QStringLiteral("/Test.dat"), "the user's own file");
    toFrame3(music);
    EXPECT_EQ(contents(music + QStringLiteral("/Test.dat")), QByteArray("the user's own file"));
    EXPECT_EQ(filesIn(music), QStringList{QStringLiteral("Test.dat")});
    EXPECT_EQ(filesIn(pc), QStringList());
}

TEST_F(UploadTest, AFolderNameHoldingABackslashIsRefusedAtChange)
{
    remember("Z:\\Old\\");
    pcFolder(QStringLiteral("Old"));
    toFrame2();
    fp.dialogs.expectBrowseFolder(pcFolder(QStringLiteral("a\\b")));
    fp.dialogs.expectMessage(QStringLiteral("This folder cannot be used because its name holds a backslash (\\)! "
                                            "Please select another folder."),
                             QStringLiteral("Error"), Icon::Exclamation, Buttons::Ok, Answer::Ok);
    click("Command5");
    EXPECT_EQ(text("Label6"), QStringLiteral("Destination: Z:\\Old\\"));
    EXPECT_EQ(form->destinationPath(), QStringLiteral("Z:\\Old\\"));
}

TEST_F(UploadTest, CopyListPageShowsTheComputersDestinationDrive)
{
    toFrame3(pcFolder(QStringLiteral("Music")));
    EXPECT_EQ(text("Label19"), QStringLiteral("Drive Z:\\ has 954 MB (1 GB)  of 1907 MB (2 GB)  Max used"));
    auto* p1 = w<QProgressBar>("p1");
    EXPECT_EQ(p1->maximum(), 1907);
    EXPECT_EQ(p1->value(), 954);
}

TEST_F(UploadTest, APathIniThatCannotBeWrittenIsToldAndTheUploadGoesOn)
{
    // A file where the Data folder belongs blocks the rewrite, root or not.
    QDir(program + QStringLiteral("/Data")).removeRecursively();
    writeFile(program + QStringLiteral("/Data"), "not a folder");
    toFrame2();
    change(pcFolder(QStringLiteral("Music")));
    fp.dialogs.expectMessage(QStringLiteral("The destination folder could not be remembered for your next upload."),
                             QString(), Icon::Exclamation, Buttons::Ok, Answer::Ok);
    click("Command7");
    EXPECT_EQ(page(), QStringLiteral("Frame3"));
    EXPECT_EQ(form->destinationPath(), QStringLiteral("Z:\\Music\\"));
    EXPECT_EQ(contents(program + QStringLiteral("/Data")), QByteArray("not a folder"));
}
