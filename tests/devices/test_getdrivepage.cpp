#include "devices/getdrivepage_ui.h"
#include "devices/pagefixture.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Answer = Dialogs::Answer;

class GetDrivePageTest : public ::testing::Test {
protected:
    DriveFolders folders;
    FakePlatform fp;
    FakeMainLink mainLink;
    FakeWaitLink waitLink;
    QWidget window;
    GetDrivePage* page = nullptr;

    QString chosen;
    int hides = 0;
    QStringList nexts;
    int exits = 0;

    void build(const QString& tooltip = QStringLiteral("Update all drives"))
    {
        AppContext ctx{&fp.platform, &mainLink, &waitLink};
        GetDrivePage::Config cfg;
        cfg.caption = QStringLiteral("Download Wizard - Get Drive");
        cfg.changeTooltip = tooltip;
        cfg.chosenDrive = [this] { return chosen; };
        cfg.hideLaterPages = [this] { ++hides; };
        cfg.next = [this](const QString& r) { nexts << r; chosen = r; };
        cfg.exit = [this] { ++exits; };
        page = new GetDrivePage(ctx, cfg, &window);
        window.resize(641, 353);
        window.show();
    }
    void open()
    {
        build();
        page->showcontrol();
    }
    QString stick(QChar letter, const QString& label, int type = Volumes::Removable)
    {
        const QString f = folders.make(QString(letter));
        fp.volumes.add(letter, type, f, label, 64ull << 20, 32ull << 20);
        return f;
    }

    template <class T> T* child(const char* name)
    {
        T* w = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* label) { return child<QLabel>(label)->text(); }
    QComboBox* im() { return child<QComboBox>("IM"); }
    QLineEdit* nameBox() { return child<QLineEdit>("Text1"); }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    bool frame0Shown() { return child<QFrame>("Frame0")->isVisible(); }
    QStringList entries()
    {
        QStringList l;
        for (int i = 0; i < im()->count(); ++i)
            l << im()->itemText(i);
        return l;
    }
    void typeName(const QString& name)
    {
        nameBox()->selectAll();
        QTest::keyClick(nameBox(), Qt::Key_Backspace);
        QTest::keyClicks(nameBox(), name);
    }
    void expectBox(const QString& t, const QString& title, Icon i, Buttons b, Answer a = Answer::Ok)
    {
        fp.dialogs.expectMessage(t, title, i, b, a);
    }
};

TEST_F(GetDrivePageTest, LoadStateShowsTheDesignedControls)
{
    build(QStringLiteral("Click to change drive name"));
    EXPECT_EQ(page->objectName(), QStringLiteral("Frame1"));
    EXPECT_EQ(page->title(), QStringLiteral("Download Wizard - Get Drive"));
    EXPECT_EQ(text("Label1"), QStringLiteral("Please select your device listed here"));
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Not Ready"));
    EXPECT_EQ(text("Label3"), QStringLiteral("Device Selected: None"));
    EXPECT_EQ(text("Label4"), QStringLiteral("Name of Drive:      (Optional)"));
    EXPECT_EQ(text("Label7"), QStringLiteral("Plug-In your Mp3 player or Flash Drive Now"));
    EXPECT_FALSE(im()->isEditable());
    EXPECT_EQ(im()->placeholderText(), QStringLiteral("Select Drive"));
    EXPECT_TRUE(frame0Shown());

    struct B { const char* name; const char* text; const char* tip; bool enabled; };
    const B buttons[] = {
        {"Command1", "Refresh", "Update all drives", true},
        {"Command6", "Change", "Click to change drive name", false},
        {"Command2", "Back", "Go back", false},
        {"Command4", "Exit", "Exit wizard", true},
        {"Command3", "Next", "Continue with the wizard's next step", true},
    };
    for (const B& b : buttons) {
        SCOPED_TRACE(b.name);
        EXPECT_EQ(button(b.name)->text(), QLatin1String(b.text));
        EXPECT_EQ(button(b.name)->toolTip(), QLatin1String(b.tip));
        EXPECT_EQ(button(b.name)->isEnabled(), b.enabled);
    }
    auto* timer = page->findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_FALSE(timer->isActive());
    EXPECT_FALSE(child<QLabel>("Image1")->pixmap().isNull());
}

TEST_F(GetDrivePageTest, ListsOnlyRemovableDrivesBToHInAscendingOrder)
{
    stick('A', "FLOPPY");
    stick('G', "GEE");
    stick('B', "BEE");
    stick('E', "EEE");
    stick('H', "AITCH");
    stick('I', "EYE");
    stick('Z', "ZED");
    stick('D', "FIXEDPLAYER", Volumes::Fixed);
    stick('F', "DISC", Volumes::CdRom);
    const QString b = folders.tmp.filePath(QStringLiteral("B"));
    open();

    EXPECT_EQ(entries(), (QStringList{"B:\\", "E:\\", "G:\\", "H:\\"}));
    EXPECT_EQ(im()->currentIndex(), 0);
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Ready on Drive B:\\"));
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: BEE (B:\\)"));
    EXPECT_EQ(nameBox()->text(), QStringLiteral("BEE"));
    EXPECT_TRUE(nameBox()->isEnabled());
    EXPECT_EQ(page->driveName(), QStringLiteral("BEE"));
    EXPECT_FALSE(button("Command6")->isEnabled());
    EXPECT_FALSE(frame0Shown());
    EXPECT_TRUE(filesIn(b).isEmpty()) << "the probe is deleted again";
    EXPECT_TRUE(page->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    EXPECT_EQ(waitLink.calls, (QStringList{"SetTex Loading devices", "SetTex Loading", "Hideforever"}));
    EXPECT_EQ(fp.cursor.current, Cursor::Default);
    EXPECT_TRUE(fp.cursor.history.contains(Cursor::Hourglass));
}

TEST_F(GetDrivePageTest, NoDriveShowsThePlugInPanelAndNextRefuses)
{
    stick('D', "FIXED", Volumes::Fixed);
    open();
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Not ready"));
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: None"));
    EXPECT_TRUE(nameBox()->text().isEmpty());
    EXPECT_FALSE(nameBox()->isEnabled());
    EXPECT_FALSE(button("Command6")->isEnabled());
    EXPECT_TRUE(frame0Shown());
    EXPECT_TRUE(im()->currentText().isEmpty());

    expectBox("Please plug-in your MP3 player!", "Error", Icon::Exclamation, Buttons::Ok);
    button("Command3")->click();
    EXPECT_TRUE(nexts.isEmpty());
    EXPECT_EQ(fp.dialogs.owners.value(0), &window);
}

TEST_F(GetDrivePageTest, UnwritableDriveIsNotReadyAndNextSaysSo)
{
    struct Case { const char* what; QString folder; };
    const Case cases[] = {
        {"root folder missing", folders.missing(QStringLiteral("E"))},
        {"root is a regular file", folders.regularFile(QStringLiteral("Efile"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fp.volumes.add('E', Volumes::Removable, c.folder, QStringLiteral("LOCKED"));
        delete page;
        open();
        EXPECT_EQ(entries(), QStringList{"E:\\"});
        EXPECT_EQ(text("Label2"), QStringLiteral("Status: Drive not ready"));
        EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: E:\\"));
        EXPECT_TRUE(nameBox()->text().isEmpty());
        EXPECT_FALSE(nameBox()->isEnabled());
        EXPECT_FALSE(button("Command6")->isEnabled());
        EXPECT_EQ(fp.cursor.current, Cursor::Default);

        expectBox("Please check drive disk space or connection!", "Error", Icon::Exclamation, Buttons::Ok);
        button("Command3")->click();
        EXPECT_TRUE(nexts.isEmpty());
        fp.dialogs.verifyAllUsed();
    }
}

TEST_F(GetDrivePageTest, ProbeLeavesTheUsersOwnFilesAlone)
{
    const QString e = stick('E', "STICK");
    QFile f(e + QStringLiteral("/file.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("my own notes");
    f.close();
    QFile g(e + QStringLiteral("/file-1.dat"));
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("more notes");
    g.close();

    open();
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Ready on Drive E:\\"));
    EXPECT_EQ(filesIn(e), (QStringList{"file-1.dat", "file.dat"}));
    EXPECT_EQ(contents(e + QStringLiteral("/file.dat")), QByteArray("my own notes"));
    EXPECT_EQ(contents(e + QStringLiteral("/file-1.dat")), QByteArray("more notes"));
}

TEST(ProbeWritable, CreatesOnlyNewFilesAndReportsFolderFaults)
{
    DriveFolders folders;
    const QString ok = folders.make(QStringLiteral("ok"));
    EXPECT_TRUE(probeWritable(ok, QStringLiteral("Test.dat"), "Test\r\n"));
    EXPECT_TRUE(filesIn(ok).isEmpty());

    // A dangling link of the probe's name must not be followed into a new file elsewhere.
    const QString target = folders.tmp.filePath(QStringLiteral("elsewhere.dat"));
    ASSERT_TRUE(QFile::link(target, ok + QStringLiteral("/Test.dat")));
    EXPECT_TRUE(probeWritable(ok, QStringLiteral("Test.dat"), "Test\r\n"));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_TRUE(QFileInfo(ok + QStringLiteral("/Test.dat")).isSymLink());

    EXPECT_FALSE(probeWritable(folders.missing(QStringLiteral("x")), QStringLiteral("Test.dat"), "Test\r\n"));
    EXPECT_FALSE(probeWritable(folders.regularFile(QStringLiteral("f")), QStringLiteral("Test.dat"), "Test\r\n"));
    EXPECT_FALSE(probeWritable(QString(), QStringLiteral("Test.dat"), "Test\r\n"));
}

TEST_F(GetDrivePageTest, RenameAnsweredYesSetsTheLabelAndNoLeavesIt)
{
    stick('E', "STICK");
    open();
    typeName(QStringLiteral("MUSIC"));
    EXPECT_TRUE(button("Command6")->isEnabled());

    expectBox("Change Drive name to MUSIC?", "Change Name on Drive E:\\", Icon::None, Buttons::YesNo, Answer::No);
    button("Command6")->click();
    EXPECT_TRUE(fp.volumes.setLabelCalls.isEmpty());
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: STICK (E:\\)"));
    EXPECT_EQ(nameBox()->text(), QStringLiteral("MUSIC"));

    expectBox("Change Drive name to MUSIC?", "Change Name on Drive E:\\", Icon::None, Buttons::YesNo, Answer::Yes);
    button("Command6")->click();
    ASSERT_EQ(fp.volumes.setLabelCalls.size(), 1);
    EXPECT_EQ(fp.volumes.setLabelCalls[0], qMakePair(QStringLiteral("E:\\"), QStringLiteral("MUSIC")));
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: MUSIC (E:\\)"));
    EXPECT_EQ(nameBox()->text(), QStringLiteral("MUSIC"));
    EXPECT_EQ(page->driveName(), QStringLiteral("MUSIC"));
    EXPECT_FALSE(button("Command6")->isEnabled());
}

TEST_F(GetDrivePageTest, EmptyNameIsRefusedAndTheStoredNameComesBack)
{
    stick('E', "STICK");
    open();
    typeName(QString());
    expectBox("Error - No Name Set!", "Error!", Icon::Critical, Buttons::Ok);
    button("Command6")->click();
    EXPECT_EQ(nameBox()->text(), QStringLiteral("STICK"));
    EXPECT_TRUE(fp.volumes.setLabelCalls.isEmpty());
}

TEST_F(GetDrivePageTest, CaseOnlyChangeKeepsChangeDisabledButNextStillAsks)
{
    stick('E', "STICK");
    open();
    typeName(QStringLiteral("stick"));
    EXPECT_FALSE(button("Command6")->isEnabled());
    QTest::mouseClick(nameBox(), Qt::LeftButton);
    EXPECT_TRUE(button("Command6")->isEnabled()) << "a click into the name box enables Change";

    expectBox("Change Drive name to stick?", "Change Name on Drive E:\\", Icon::None, Buttons::YesNo, Answer::No);
    button("Command3")->click();
    EXPECT_TRUE(nexts.isEmpty());
    fp.dialogs.verifyAllUsed();

    // Declining keeps offering it; accepting still stays on the page, and the next Next goes on.
    expectBox("Change Drive name to stick?", "Change Name on Drive E:\\", Icon::None, Buttons::YesNo, Answer::Yes);
    button("Command3")->click();
    EXPECT_TRUE(nexts.isEmpty());
    EXPECT_EQ(fp.volumes.drive('E')->label, QStringLiteral("stick"));
    button("Command3")->click();
    EXPECT_EQ(nexts, QStringList{"E:\\"});
}

TEST_F(GetDrivePageTest, RefusedNameSaysSoAndShowsTheNameTheDriveKept)
{
    stick('E', "STICK");
    fp.volumes.drive('E')->refuseLabelWhy = QStringLiteral("too long for FAT");
    open();
    typeName(QStringLiteral("A NAME FAR TOO LONG"));
    expectBox("Change Drive name to A NAME FAR TOO LONG?", "Change Name on Drive E:\\", Icon::None, Buttons::YesNo,
              Answer::Yes);
    expectBox("Name not set!", "Error!", Icon::Critical, Buttons::Ok);
    button("Command6")->click();
    EXPECT_EQ(nameBox()->text(), QStringLiteral("STICK"));
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: STICK (E:\\)"));
    EXPECT_FALSE(button("Command6")->isEnabled());
}

TEST_F(GetDrivePageTest, RenameSelectsTheRememberedEntryAgain)
{
    stick('E', "FIRST");
    stick('G', "SECOND");
    open();
    QTest::keyClick(im(), Qt::Key_Down);  // a user's choice of the second entry
    EXPECT_EQ(page->selectedRoot(), QStringLiteral("G:\\"));
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Ready on Drive G:\\"));
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: SECOND (G:\\)"));
    EXPECT_EQ(nameBox()->text(), QStringLiteral("SECOND"));
    EXPECT_EQ(page->driveName(), QStringLiteral("SECOND"));

    typeName(QStringLiteral("RENAMED"));
    expectBox("Change Drive name to RENAMED?", "Change Name on Drive G:\\", Icon::None, Buttons::YesNo, Answer::Yes);
    button("Command6")->click();
    EXPECT_EQ(fp.volumes.drive('G')->label, QStringLiteral("RENAMED"));
    EXPECT_EQ(fp.volumes.drive('E')->label, QStringLiteral("FIRST"));
    EXPECT_EQ(page->selectedRoot(), QStringLiteral("G:\\"));
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: RENAMED (G:\\)"));
    EXPECT_EQ(nameBox()->text(), QStringLiteral("RENAMED"));
    EXPECT_EQ(page->driveName(), QStringLiteral("RENAMED"));
    EXPECT_FALSE(button("Command6")->isEnabled());

    button("Command3")->click();
    EXPECT_EQ(nexts, QStringList{"G:\\"});
}

TEST_F(GetDrivePageTest, SelectingAnUnwritableEntryFailsItsTest)
{
    stick('E', "GOOD");
    fp.volumes.add('F', Volumes::Removable, folders.missing(QStringLiteral("F")), QStringLiteral("BAD"));
    open();
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Ready on Drive E:\\"));
    im()->setCurrentIndex(1);
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Drive not ready"));
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: F:\\"));
    EXPECT_FALSE(nameBox()->isEnabled());
    // Choosing the good drive again re-tests it.
    im()->setCurrentIndex(0);
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Ready on Drive E:\\"));
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: GOOD (E:\\)"));
    EXPECT_TRUE(nameBox()->isEnabled());
    EXPECT_EQ(nameBox()->text(), QStringLiteral("GOOD"));
}

TEST_F(GetDrivePageTest, WatchFollowsPlugAndUnplug)
{
    open();
    auto* timer = page->findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_TRUE(waitTick(timer));
    EXPECT_GT(hides, 0) << "no drive: later pages stay hidden";

    stick('F', "PLUGGED");
    ASSERT_TRUE(waitTick(timer));
    EXPECT_EQ(entries(), QStringList{"F:\\"});
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Ready on Drive F:\\"));
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: PLUGGED (F:\\)"));
    EXPECT_FALSE(frame0Shown());

    button("Command3")->click();
    ASSERT_EQ(nexts, QStringList{"F:\\"});
    hides = 0;
    ASSERT_TRUE(waitTick(timer));
    EXPECT_EQ(hides, 0) << "the chosen drive is still selected";

    // A second drive below it in the alphabet takes the first entry: the wizard falls back.
    stick('D', "OTHER");
    ASSERT_TRUE(waitTick(timer));
    EXPECT_EQ(entries(), (QStringList{"D:\\", "F:\\"}));
    EXPECT_GT(hides, 0);

    fp.volumes.remove('D');
    fp.volumes.remove('F');
    hides = 0;
    ASSERT_TRUE(waitTick(timer));
    EXPECT_EQ(text("Label2"), QStringLiteral("Status: Not ready"));
    EXPECT_TRUE(frame0Shown());
    EXPECT_GT(hides, 0);
}

TEST_F(GetDrivePageTest, ExitAndBackAndRefresh)
{
    stick('E', "STICK");
    open();
    button("Command4")->click();
    EXPECT_EQ(exits, 1);
    button("Command2")->click();  // disabled: nothing happens
    EXPECT_TRUE(nexts.isEmpty());

    stick('D', "NEW");
    button("Command1")->click();
    EXPECT_EQ(entries(), (QStringList{"D:\\", "E:\\"}));
    EXPECT_EQ(text("Label3"), QStringLiteral("Drive Selected: NEW (D:\\)"));
}
