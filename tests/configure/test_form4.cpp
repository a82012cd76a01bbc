#include "configure/form4fixture.h"

TEST_F(Form4Test, OpensOnTheGetDrivePageWithTheDesignedControls)
{
    stick('E', "STICK");
    open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Korvane 2.1 - Configure Device"));
    EXPECT_TRUE(form->testAttribute(Qt::WA_DeleteOnClose));
    auto* page = child<GetDrivePage>("Frame1");
    EXPECT_EQ(page->title(), QStringLiteral("Configure Device - Get Drive"));
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(button("Command6")->toolTip(), QStringLiteral("Click to change drive name"));
    EXPECT_FALSE(configShown());
    EXPECT_EQ(child<QGroupBox>("Frame2")->title(), QStringLiteral("Configure Device - Configuration"));
    EXPECT_EQ(child<QGroupBox>("Frame6")->title(), QStringLiteral("Drive Details"));
    EXPECT_EQ(text("Label5"), QStringLiteral("You can configure your drive settings here"));

    struct B { const char* name; const char* text; const char* tip; };
    const B buttons[] = {
        {"Command10", "System Info", "View System Info"},
        {"Command5", "Format", "Format this drive"},
        {"Command20", "View Files", "View all files on this drive"},
        {"Command9", "Back", "Go back"},
        {"Command8", "Exit", "Exit wizard"},
        {"Command7", "Finish", "Continue with the wizard's next step"},
    };
    for (const B& b : buttons) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(button(b.name)->text(), QLatin1String(b.text));
        EXPECT_EQ(button(b.name)->toolTip(), QLatin1String(b.tip));
    }

    auto* help = button("imhelp");
    EXPECT_EQ(help->toolTip(), QStringLiteral("Click for Help"));
    EXPECT_FALSE(help->accessibleName().isEmpty());
    help->click();
    EXPECT_EQ(mainLink.calls, QStringList{"SHelp4"});
}

TEST_F(Form4Test, NextFillsEveryDetailWordForWordAndSparesTheUsersTestDat)
{
    const QString e = stick('E', "MUSIC", 2000000000ull, 1000000000ull);
    QFile mine(e + QStringLiteral("/Test.dat"));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("keep me");
    mine.close();
    open();

    button("Command3")->click();
    EXPECT_TRUE(configShown());
    EXPECT_EQ(form->configuredDrive(), QStringLiteral("E:\\"));
    EXPECT_EQ(text("Label19"), QStringLiteral("Drive E:\\ has 954 MB (1 GB)  of 1907 MB (2 GB)  Max used"));
    EXPECT_EQ(text("Label15"), QStringLiteral("Drive: E:\\"));
    EXPECT_EQ(text("Label16"), QStringLiteral("Name: MUSIC"));
    EXPECT_EQ(text("Label14"), QStringLiteral("Size: 1907 MB (2 GB)"));
    auto* bar = child<QProgressBar>("p1");
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 1907);
    EXPECT_EQ(bar->value(), 954);
    EXPECT_EQ(filesIn(e), QStringList{"Test.dat"});
    EXPECT_EQ(contents(e + QStringLiteral("/Test.dat")), QByteArray("keep me"));
}

TEST_F(Form4Test, DriveBelowHalfAMegabyteShowsAnEmptyBar)
{
    stick('E', "TINY", 300ull << 10, 100ull << 10);
    open();
    button("Command3")->click();
    ASSERT_TRUE(configShown());
    auto* bar = child<QProgressBar>("p1");
    EXPECT_GT(bar->maximum(), 0) << "a maximum of 0 would make a busy bar";
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(text("Label19"), QStringLiteral("Drive E:\\ has 0 MB (0 GB)  of 0 MB (0 GB)  Max used"));
    EXPECT_EQ(text("Label14"), QStringLiteral("Size: 0 MB"));
}

TEST_F(Form4Test, BackThenNextRefillsEverythingForTheNewChoice)
{
    stick('E', "SMALL", 10ull << 20, 5ull << 20);
    const QString g = stick('G', "LARGE", 100ull << 20, 50ull << 20);
    open();
    button("Command3")->click();
    ASSERT_TRUE(configShown());
    EXPECT_EQ(child<QProgressBar>("p1")->maximum(), 10);

    button("Command9")->click();
    EXPECT_FALSE(configShown());
    EXPECT_TRUE(child<GetDrivePage>("Frame1")->isVisible());
    child<QComboBox>("IM")->setCurrentIndex(1);
    button("Command3")->click();
    ASSERT_TRUE(configShown());
    EXPECT_EQ(form->configuredDrive(), QStringLiteral("G:\\"));
    EXPECT_EQ(text("Label15"), QStringLiteral("Drive: G:\\"));
    EXPECT_EQ(text("Label16"), QStringLiteral("Name: LARGE"));
    EXPECT_EQ(text("Label14"), QStringLiteral("Size: 100 MB"));
    EXPECT_EQ(text("Label19"), QStringLiteral("Drive G:\\ has 50 MB (0 GB)  of 100 MB (0 GB)  Max used"));
    // The value exceeds the old maximum: it only sticks when the maximum was set first.
    EXPECT_EQ(child<QProgressBar>("p1")->maximum(), 100);
    EXPECT_EQ(child<QProgressBar>("p1")->value(), 50);
    EXPECT_TRUE(filesIn(g).isEmpty());
}

TEST_F(Form4Test, ReadinessComesFirstAndARenameKeepsThePage)
{
    open();
    fp.dialogs.expectMessage("Please plug-in your MP3 player!", "Error", Icon::Exclamation, Buttons::Ok, Answer::Ok);
    button("Command3")->click();
    EXPECT_FALSE(configShown());
    fp.dialogs.verifyAllUsed();

    stick('E', "STICK");
    button("Command1")->click();
    auto* name = child<QLineEdit>("Text1");
    name->setText(QStringLiteral("Stick"));
    fp.dialogs.expectMessage("Change Drive name to Stick?", "Change Name on Drive E:\\", Icon::None, Buttons::YesNo,
                             Answer::Yes);
    button("Command3")->click();
    EXPECT_FALSE(configShown());
    button("Command3")->click();
    EXPECT_TRUE(configShown());
    EXPECT_EQ(text("Label16"), QStringLiteral("Name: Stick"));
}

TEST_F(Form4Test, WatchFallsBackWhenTheDriveGoesOrAnotherTakesItsPlace)
{
    stick('E', "STICK");
    open();
    auto* timer = form->findChild<QTimer*>(QStringLiteral("Timer1"));
    button("Command3")->click();
    ASSERT_TRUE(configShown());
    ASSERT_TRUE(waitTick(timer));
    EXPECT_TRUE(configShown()) << "the configured drive is still selected";

    stick('D', "NEWCOMER");
    ASSERT_TRUE(waitTick(timer));
    EXPECT_FALSE(configShown()) << "the first entry is no longer the configured drive";

    child<QComboBox>("IM")->setCurrentIndex(1);
    button("Command3")->click();
    ASSERT_TRUE(configShown());
    fp.volumes.remove('D');
    fp.volumes.remove('E');
    ASSERT_TRUE(waitTick(timer));
    EXPECT_FALSE(configShown());
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Not ready"));
}

TEST_F(Form4Test, FailuresAfterThePageShowsGoBackAndSaySo)
{
    const QString e = stick('E', "STICK");
    open();
    ASSERT_EQ(text("Label2"), QStringLiteral("Status: Ready on Drive E:\\"));
    // Pulled out between the test and Next: the probe fails.
    ASSERT_TRUE(QDir(e).removeRecursively());
    fp.dialogs.expectMessage(
        "Drive E:\\ could not be written to. Check the drive and its connection, then press Next again.", "Error",
        Icon::Exclamation, Buttons::Ok, Answer::Ok);
    button("Command3")->click();
    EXPECT_FALSE(configShown());
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Drive not ready"));
    fp.dialogs.verifyAllUsed();

    QDir().mkpath(e);
    button("Command1")->click();
    fp.volumes.drive('E')->readable = false;
    fp.dialogs.expectMessage(
        "The size of drive E:\\ could not be read. Check the drive and its connection, then press Next again.", "Error",
        Icon::Exclamation, Buttons::Ok, Answer::Ok);
    button("Command3")->click();
    EXPECT_FALSE(configShown());
}

TEST_F(Form4Test, EveryWayOutShowsTheMainWindowWithoutAQuestion)
{
    struct Way { const char* what; const char* button; bool fromConfig; };
    const Way ways[] = {
        {"Exit on the Get Drive page", "Command4", false},
        {"Exit on the configuration page", "Command8", true},
        {"Finish", "Command7", true},
        {"close box", nullptr, false},
    };
    stick('E', "STICK");
    for (const Way& w : ways) {
        SCOPED_TRACE(w.what);
        mainLink.calls.clear();
        open();
        if (w.fromConfig) {
            button("Command3")->click();
            ASSERT_TRUE(configShown());
        }
        if (w.button)
            button(w.button)->click();
        else
            EXPECT_TRUE(form->close());
        flushDeletes();
        EXPECT_TRUE(form.isNull()) << "the window is closed and deleted";
        ASSERT_FALSE(mainLink.calls.isEmpty());
        EXPECT_EQ(mainLink.calls.last(), QStringLiteral("Show"));
        EXPECT_TRUE(fp.dialogs.shownMessages.isEmpty());
    }
}
