#include "wizardfixture.h"

#include "download/reviewpage_ui.h"

namespace {

class ReviewTest : public WizardTest {
protected:
    void setFree(uint64_t available)
    {
        FakeVolumes::setCapacity(*fp.volumes.drive(QLatin1Char('F')), kTotal, available);
    }
    ReviewPage* review() { return w<ReviewPage>("Frame4"); }
};

TEST_F(ReviewTest, EmptyListIsRefusedOnTheCopyListPage)
{
    toFrame3();
    fp.dialogs.expectMessage(
        QStringLiteral("You do not have any files! Please add some! If you need help click on the question mark."),
        QStringLiteral("Copy Error!"), Icon::Critical, Buttons::Ok, Answer::Ok);
    click("Command13");
    EXPECT_EQ(page(), QStringLiteral("Frame3"));
}

TEST_F(ReviewTest, TextsWordForWord)
{
    QDir(stick).mkdir(QStringLiteral("Music"));
    toFrame2();
    openFolder(QStringLiteral("F:\\Music"));
    click("Command8");
    addFiles({source(QStringLiteral("a.mp3"), QByteArray(300, 'a')), source(QStringLiteral("b.mp3"), QByteArray(300, 'b')),
              source(QStringLiteral("c.mp3"), QByteArray(400, 'c'))});
    click("Command13");
    ASSERT_EQ(page(), QStringLiteral("Frame4"));
    EXPECT_EQ(review()->title(), QStringLiteral("Download Wizard - Ready to Copy"));
    EXPECT_EQ(text("Label12"), QStringLiteral("Please review what you are ready to copy to your selected drive"));
    EXPECT_EQ(text("Label16"), QStringLiteral("Name: STICK"));
    EXPECT_EQ(text("Label15"), QStringLiteral("Drive: F:\\"));
    EXPECT_EQ(text("Label14"), QStringLiteral("Size: ") + form->GetDriveSize());
    EXPECT_EQ(text("Label14"), QStringLiteral("Size: 1024 MB"));
    EXPECT_EQ(text("Label13"), QStringLiteral("Avaliable Space: 512 MB"));
    EXPECT_EQ(text("Label18"), QStringLiteral("Destination: F:\\Music"));
    EXPECT_EQ(text("Label17"), QStringLiteral("Number of files to copy: 3"));
    EXPECT_EQ(text("Label10"), QStringLiteral("Drive Space Required: 1 KB"));
    EXPECT_EQ(review()->fitColour(), ReviewPage::kWhite);
    EXPECT_EQ(w<QPushButton>("Command23")->text(), QStringLiteral("Copy"));
    EXPECT_EQ(w<QPushButton>("Command23")->toolTip(), QStringLiteral("Start Copying files"));
}

TEST_F(ReviewTest, FitRuleAtEqualOneByteOverAndAfterRemovingFiles)
{
    // Free space is counted in whole 4096-byte clusters.
    setFree(8192);
    toFrame3();
    addFiles({source(QStringLiteral("a.bin"), QByteArray(4000, 'a')), source(QStringLiteral("b.bin"), QByteArray(4193, 'b'))});
    click("Command13");
    EXPECT_EQ(review()->fitColour(), ReviewPage::kRed) << "one byte over";
    fp.dialogs.expectMessage(QStringLiteral("You do not have enough disk space! Please check files!"),
                             QStringLiteral("Copy Error!"), Icon::Critical, Buttons::Ok, Answer::Ok);
    click("Command23");
    EXPECT_EQ(page(), QStringLiteral("Frame4"));

    click("Command24");
    list()->setCurrentRow(1);
    click("Command17");
    addFiles({source(QStringLiteral("c.bin"), QByteArray(4192, 'c'))});
    ASSERT_EQ(form->listTotalBytes(), toFixed(8192));
    click("Command13");
    EXPECT_EQ(review()->fitColour(), ReviewPage::kWhite) << "equal fits";
    click("Command23");
    EXPECT_EQ(page(), QStringLiteral("Frame7"));
    EXPECT_EQ(copier.calls.size(), 2);
}

TEST_F(ReviewTest, UnreadableFreeSpaceGivesNoFitResultAndCopyIsRefused)
{
    toFrame3();
    addFiles({source(QStringLiteral("a.bin"))});
    fp.volumes.drive(QLatin1Char('F'))->readable = false;
    click("Command13");
    ASSERT_EQ(page(), QStringLiteral("Frame4"));
    EXPECT_FALSE(review()->fitKnown());
    EXPECT_NE(review()->fitColour(), ReviewPage::kRed);
    EXPECT_NE(review()->fitColour(), ReviewPage::kWhite);
    EXPECT_EQ(text("Label13"), QStringLiteral("Avaliable Space: cannot be read"));
    fp.dialogs.expectMessage(QStringLiteral("The free space of the drive could not be read, so the wizard cannot tell "
                                            "whether your files fit! Please check the drive and go back to try again."),
                             QStringLiteral("Copy Error!"), Icon::Critical, Buttons::Ok, Answer::Ok);
    click("Command23");
    EXPECT_EQ(page(), QStringLiteral("Frame4"));
    EXPECT_TRUE(copier.calls.isEmpty());
}

}  // namespace
