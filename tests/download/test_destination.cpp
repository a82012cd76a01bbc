#include "wizardfixture.h"

#include "download/drivepathpage_ui.h"

#include <QGroupBox>
#include <QProgressBar>

namespace {

TEST_F(WizardTest, DestinationPageOpensAtTheRootAndFollowsOnlyOpenedFolders)
{
    QDir(stick).mkdir(QStringLiteral("Music"));
    QDir(stick).mkdir(QStringLiteral("Books"));
    toFrame2();
    EXPECT_EQ(w<DrivePathPage>("Frame2")->title(), QStringLiteral("Download Wizard - Set Drive Path"));
    EXPECT_EQ(text("Label8"), QStringLiteral("Destination: F:\\"));
    EXPECT_EQ(text("Label6"), QStringLiteral("Drive: F:\\"));

    auto* dir1 = w<FolderList>("Dir1");
    const QRect books = dir1->visualItemRect(dir1->item(dir1->rowOf(QStringLiteral("F:\\Books"))));
    QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, books.center());
    EXPECT_EQ(dir1->highlightedPath(), QStringLiteral("F:\\Books"));
    EXPECT_EQ(text("Label8"), QStringLiteral("Destination: F:\\")) << "a single click only highlights";

    openFolder(QStringLiteral("F:\\Music"));
    EXPECT_EQ(text("Label8"), QStringLiteral("Destination: F:\\Music"));
    QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, dir1->visualItemRect(dir1->item(0)).center());
    EXPECT_EQ(text("Label8"), QStringLiteral("Destination: F:\\Music"));
}

TEST_F(WizardTest, NewFolderRefusesBadNamesAndMakesGoodOnesInTheOpenFolder)
{
    QDir(stick).mkdir(QStringLiteral("Music"));
    toFrame2();
    const QString prompt = QStringLiteral("Enter the name for the New Folder");
    const QString title = QStringLiteral("New Folder");
    const QString error = QStringLiteral("New Folder - Error!");
    const QString badChars = QStringLiteral("A folder name cannot contain any of these characters: \\ / : * ? \" < > |");

    // Empty answer (also Cancel): nothing happens, no box.
    fp.dialogs.expectInput(prompt, title, QString());
    click("Command11");

    struct Bad {
        QString name;
        QString text;
    };
    const QList<Bad> bad = {
        {QStringLiteral("../escape"), QStringLiteral("The name \"../escape\" cannot be used! ") + badChars},
        {QStringLiteral("..\\escape"), QStringLiteral("The name \"..\\escape\" cannot be used! ") + badChars},
        {QStringLiteral(".."), QStringLiteral("The name \"..\" cannot be used! A folder name cannot be made of dots only.")},
        {QStringLiteral("a/b"), QStringLiteral("The name \"a/b\" cannot be used! ") + badChars},
        {QStringLiteral("what?"), QStringLiteral("The name \"what?\" cannot be used! ") + badChars},
        {QStringLiteral("trailing."),
         QStringLiteral("The name \"trailing.\" cannot be used! A folder name cannot end with a space or a dot.")},
    };
    for (const Bad& b : bad) {
        fp.dialogs.expectInput(prompt, title, b.name);
        fp.dialogs.expectMessage(b.text, error, Icon::Exclamation, Buttons::Ok, Answer::Ok);
        click("Command11");
    }
    fp.dialogs.expectInput(prompt, title, QStringLiteral("Music"));
    fp.dialogs.expectMessage(QStringLiteral("A folder or file named \"Music\" is already in F:\\!"), error,
                             Icon::Exclamation, Buttons::Ok, Answer::Ok);
    click("Command11");
    EXPECT_EQ(QDir(stick).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("Music")});
    EXPECT_EQ(QDir(dirs.tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("pc"), QStringLiteral("program"), QStringLiteral("stick")}))
        << "nothing made outside the open folder";

    fp.dialogs.expectInput(prompt, title, QStringLiteral("Music2"));
    click("Command11");
    EXPECT_TRUE(QFileInfo(QDir(stick).filePath(QStringLiteral("Music2"))).isDir());
    EXPECT_GE(w<FolderList>("Dir1")->rowOf(QStringLiteral("F:\\Music2")), 0);
    EXPECT_EQ(text("Label8"), QStringLiteral("Destination: F:\\"));
}

TEST_F(WizardTest, NewFolderThatCannotBeMadeIsReported)
{
    toFrame2();
    // The open folder vanishes behind the list's back.
    QDir(stick).removeRecursively();
    fp.dialogs.expectInput(QStringLiteral("Enter the name for the New Folder"), QStringLiteral("New Folder"),
                           QStringLiteral("Music"));
    fp.dialogs.expectMessage(QStringLiteral("The folder \"Music\" could not be made in F:\\! The drive may be "
                                            "write-protected, full or removed."),
                             QStringLiteral("New Folder - Error!"), Icon::Critical, Buttons::Ok, Answer::Ok);
    click("Command11");
}

TEST_F(WizardTest, NextProbesWithoutTouchingTheUsersTestDatAndFillsTheUsageBar)
{
    fp.volumes.add(QLatin1Char('F'), Volumes::Removable, stick, QStringLiteral("STICK"), 2000ull << 20, 1500ull << 20);
    writeFile(QDir(stick).filePath(QStringLiteral("Test.dat")), "mine");
    toFrame2();
    click("Command8");
    ASSERT_EQ(page(), QStringLiteral("Frame3"));
    EXPECT_EQ(filesIn(stick), QStringList{QStringLiteral("Test.dat")});
    EXPECT_EQ(contents(QDir(stick).filePath(QStringLiteral("Test.dat"))), QByteArray("mine"));
    auto* p1 = w<QProgressBar>("p1");
    EXPECT_EQ(p1->maximum(), 2000);
    EXPECT_EQ(p1->value(), 500);
    EXPECT_EQ(text("Label19"),
              QStringLiteral("Drive F:\\ has 500 MB (0 GB)  of 2000 MB (2 GB)  Max used"));
}

TEST_F(WizardTest, FailedProbeStaysAndSaysWhy)
{
    toFrame2();
    QDir(stick).removeRecursively();
    fp.dialogs.expectMessage(QStringLiteral("Files cannot be copied to F:\\! The drive may be write-protected, full or "
                                            "removed, or the folder may be gone. Please check the drive or choose "
                                            "another folder."),
                             QStringLiteral("Destination Error!"), Icon::Critical, Buttons::Ok, Answer::Ok);
    click("Command8");
    EXPECT_EQ(page(), QStringLiteral("Frame2"));
}

TEST_F(WizardTest, ATinyDriveShowsAnEmptyBarNotABusyOne)
{
    fp.volumes.add(QLatin1Char('F'), Volumes::Removable, stick, QStringLiteral("STICK"), 100000, 50000);
    toFrame3();
    auto* p1 = w<QProgressBar>("p1");
    EXPECT_GT(p1->maximum(), 0);
    EXPECT_EQ(p1->value(), 0);
}

}  // namespace
