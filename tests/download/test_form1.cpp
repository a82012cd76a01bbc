#include "wizardfixture.h"

#include "devices/getdrivepage_ui.h"

#include <QGroupBox>

namespace {

TEST_F(WizardTest, OpensOnTheDrivePageWithTheOtherPagesHidden)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Korvane 2.1 - Download Wizard"));
    EXPECT_EQ(page(), QStringLiteral("Frame1"));
    for (const char* f : {"Frame2", "Frame3", "Frame4", "Frame7"})
        EXPECT_TRUE(w(f)->isHidden()) << f;
    EXPECT_FALSE(w<QPushButton>("Command2")->isEnabled());
    EXPECT_EQ(text("Label20"), QStringLiteral("No files"));
    EXPECT_EQ(form->listTotalBytes(), 0);
    EXPECT_EQ(form->listSizeText(), QString());
    EXPECT_EQ(form->exitConfirmed(), 0);
    EXPECT_FALSE(form->stopRequested());
    EXPECT_EQ(w<GetDrivePage>("Frame1")->title(), QStringLiteral("Download Wizard - Get Drive"));
    EXPECT_EQ(w<QPushButton>("Command6")->toolTip(), QStringLiteral("Update all drives"));
}

TEST_F(WizardTest, HelpSitsAboveTheFirstFourPagesAndBelowTheCopyingPage)
{
    const QObjectList& kids = form->children();
    auto z = [&](const char* name) { return kids.indexOf(w(name)); };
    EXPECT_LT(z("Frame1"), z("Frame2"));
    EXPECT_LT(z("Frame2"), z("Frame3"));
    EXPECT_LT(z("Frame3"), z("Frame4"));
    EXPECT_LT(z("Frame4"), z("imhelp"));
    EXPECT_LT(z("imhelp"), z("Frame7"));
    EXPECT_EQ(w("imhelp")->toolTip(), QStringLiteral("Click for Help"));
    EXPECT_TRUE(w("Frame7")->geometry().contains(w("imhelp")->geometry()));

    toFrame2();
    click("imhelp");
    EXPECT_EQ(main.calls, QStringList{QStringLiteral("SHelp2")});
    EXPECT_EQ(page(), QStringLiteral("Frame2"));
}

TEST_F(WizardTest, BackKeepsEachPageAndDrivePageNextResetsTheDestination)
{
    QDir(stick).mkdir(QStringLiteral("Music"));
    toFrame2();
    EXPECT_EQ(text("Label8"), QStringLiteral("Destination: F:\\"));
    openFolder(QStringLiteral("F:\\Music"));
    EXPECT_EQ(text("Label8"), QStringLiteral("Destination: F:\\Music"));

    click("Command8");
    ASSERT_EQ(page(), QStringLiteral("Frame3"));
    addFiles({source(QStringLiteral("a.mp3"))});
    click("Command13");
    ASSERT_EQ(page(), QStringLiteral("Frame4"));

    click("Command24");
    EXPECT_EQ(page(), QStringLiteral("Frame3"));
    EXPECT_EQ(entries().size(), 1);
    click("Command12");
    EXPECT_EQ(page(), QStringLiteral("Frame2"));
    EXPECT_EQ(w<FolderList>("Dir1")->Path(), QStringLiteral("F:\\Music"));
    EXPECT_EQ(text("Label8"), QStringLiteral("Destination: F:\\Music"));
    click("Command7");
    EXPECT_EQ(page(), QStringLiteral("Frame1"));

    click("Command3");
    EXPECT_EQ(page(), QStringLiteral("Frame2"));
    EXPECT_EQ(w<FolderList>("Dir1")->Path(), QStringLiteral("F:\\"));
    EXPECT_EQ(text("Label8"), QStringLiteral("Destination: F:\\"));
    EXPECT_EQ(entries().size(), 1) << "the copy list survives";
}

// Every Exit button of the first four pages, answered No then Yes.
TEST_F(WizardTest, ExitButtonsAskAndOnlyYesLeaves)
{
    struct Case {
        const char* button;
        int pagesForward;
    };
    const Case cases[] = {{"Command4", 0}, {"Command10", 1}, {"Command15", 2}, {"Command22", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        if (!form)
            open();
        main.calls.clear();
        if (c.pagesForward >= 1)
            toFrame2();
        if (c.pagesForward >= 2) {
            click("Command8");
            addFiles({source(QStringLiteral("a.mp3"))});
        }
        if (c.pagesForward >= 3)
            click("Command13");
        const QString before = page();
        const QStringList listed = entries();

        fp.dialogs.expectMessage(kExitQuestion, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::No);
        click(c.button);
        EXPECT_EQ(page(), before);
        EXPECT_EQ(entries(), listed);
        EXPECT_EQ(form->exitConfirmed(), 0);
        EXPECT_TRUE(main.calls.isEmpty());

        fp.dialogs.expectMessage(kExitQuestion, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::Yes);
        click(c.button);
        flushDeletes();
        EXPECT_TRUE(form.isNull()) << "closed without a second question";
        EXPECT_TRUE(onlyShown()) << main.calls.join(QLatin1Char(',')).toStdString();
    }
}

TEST_F(WizardTest, CloseBoxOnTheFirstFourPagesAsksTheExitQuestion)
{
    for (int forward = 0; forward < 4; ++forward) {
        SCOPED_TRACE(forward);
        if (!form)
            open();
        main.calls.clear();
        if (forward >= 1)
            toFrame2();
        if (forward >= 2) {
            click("Command8");
            addFiles({source(QStringLiteral("a.mp3"))});
        }
        if (forward >= 3)
            click("Command13");
        const QString before = page();
        fp.dialogs.expectMessage(kExitQuestion, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::No);
        EXPECT_FALSE(form->close());
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(page(), before);

        fp.dialogs.expectMessage(kExitQuestion, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::Yes);
        EXPECT_TRUE(form->close());
        flushDeletes();
        EXPECT_TRUE(form.isNull());
        EXPECT_EQ(main.calls, QStringList{QStringLiteral("Show")});
    }
}

TEST_F(WizardTest, NextOpeningStartsFresh)
{
    toFrame3();
    addFiles({source(QStringLiteral("a.mp3"))});
    fp.dialogs.expectMessage(kExitQuestion, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::Yes);
    click("Command15");
    flushDeletes();
    ASSERT_TRUE(form.isNull());

    open();
    EXPECT_EQ(page(), QStringLiteral("Frame1"));
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(form->listTotalBytes(), 0);
    EXPECT_EQ(form->exitConfirmed(), 0);
    fp.dialogs.expectMessage(kExitQuestion, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::No);
    EXPECT_FALSE(form->close());
}

TEST_F(WizardTest, PullingTheStickOnTheCopyListBringsBackTheDrivePageAndKeepsTheList)
{
    toFrame3();
    addFiles({source(QStringLiteral("a.mp3"), QByteArray(700, 'x'))});
    const FixedBytes total = form->listTotalBytes();

    fp.volumes.remove(QLatin1Char('F'));
    ASSERT_TRUE(waitTick(w<QTimer>("Timer1")));
    EXPECT_EQ(page(), QStringLiteral("Frame1"));
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Not ready"));

    fp.volumes.add(QLatin1Char('F'), Volumes::Removable, stick, QStringLiteral("STICK"), kTotal, kFree);
    ASSERT_TRUE(waitTick(w<QTimer>("Timer1")));
    click("Command3");
    click("Command8");
    EXPECT_EQ(page(), QStringLiteral("Frame3"));
    EXPECT_EQ(entries(), QStringList{letter(QDir(pc).filePath(QStringLiteral("a.mp3")))});
    EXPECT_EQ(form->listTotalBytes(), total);
    EXPECT_EQ(text("Label20"), QStringLiteral("1 files - 1 KB"));
}

}  // namespace
