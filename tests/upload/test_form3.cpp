#include "upload/uploadfixture.h"

#include <QGroupBox>

namespace {
QString title(QWidget* frame)
{
    auto* box = frame->findChild<QGroupBox*>();
    return box ? box->title() : QString();
}
}  // namespace

TEST_F(UploadTest, PagesInTheirOrderWithTheirCaptions)
{
    const char* order[] = {"Frame1", "Frame2", "Frame3", "Frame4", "Frame7"};
    const QString captions[] = {QStringLiteral("Upload Wizard - Get Drive"),
                                QStringLiteral("Upload Wizard - Select Destination"),
                                QStringLiteral("Upload Wizard - Get Music to Upload"),
                                QStringLiteral("Upload Wizard - Ready to Copy"),
                                QStringLiteral("Upload Wizard - Copying Files")};
    const QObjectList& kids = form->children();
    qsizetype previous = -1;
    for (int i = 0; i < 5; ++i) {
        QWidget* f = w(order[i]);
        EXPECT_EQ(title(f), captions[i]);
        EXPECT_EQ(f->isHidden(), i != 0) << order[i];
        const qsizetype at = kids.indexOf(f);
        EXPECT_GT(at, previous) << order[i] << " is stacked above the page before it";
        previous = at;
    }
    EXPECT_GT(kids.indexOf(w("imhelp")), previous) << "help lies above all five pages";
    EXPECT_EQ(w<QPushButton>("Command6")->toolTip(), QStringLiteral("Update all drives"));
    EXPECT_EQ(w<QPushButton>("Command16")->text(), QStringLiteral("Add files"));
    EXPECT_EQ(text("Label20"), QString()) << "blank until the list first changes";

    w<QPushButton>("imhelp")->click();
    EXPECT_EQ(main.calls, QStringList{QStringLiteral("SHelp3")});
    EXPECT_EQ(page(), QStringLiteral("Frame1"));
}

TEST_F(UploadTest, EveryExitButtonAndTheCloseBoxAskExitUploadWizard)
{
    const QString music = pcFolder(QStringLiteral("Music"));
    const QString song = onStick(QStringLiteral("a.mp3"), "abc");
    struct Step { const char* exit; std::function<void()> forward; };
    const Step steps[] = {
        {"Command4", [] {}},
        {"Command8", [this] { click("Command3"); }},
        {"Command15", [&] { change(music); click("Command7"); }},
        {"Command22", [&] { addFiles({song}); click("Command13"); }},
    };
    for (const Step& s : steps) {
        s.forward();
        const QString here = page();
        fp.dialogs.expectMessage(kExitQuestion, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::No);
        click(s.exit);
        EXPECT_EQ(page(), here) << s.exit;
        fp.dialogs.expectMessage(kExitQuestion, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::No);
        EXPECT_FALSE(form->close());
        EXPECT_TRUE(form->isVisible());
    }
    EXPECT_EQ(page(), QStringLiteral("Frame4"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("F:\\a.mp3")});
    EXPECT_TRUE(main.calls.isEmpty());

    fp.dialogs.expectMessage(kExitQuestion, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::Yes);
    click("Command22");
    flushDeletes();
    EXPECT_TRUE(form.isNull()) << "Yes closes the wizard without a second question";
    EXPECT_EQ(main.calls.first(), QStringLiteral("Show"));

    // The next opening asks again and starts from scratch.
    open();
    toFrame2();
    fp.dialogs.expectMessage(kExitQuestion, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::Yes);
    EXPECT_TRUE(form->close());
    flushDeletes();
    EXPECT_TRUE(form.isNull());
}

TEST_F(UploadTest, AddFilesOpensInTheStickAndKeepsThePreviousChoice)
{
    const QString a = onStick(QStringLiteral("Music/a.mp3"), "aaaa");
    const QString b = onStick(QStringLiteral("Music/b.mp3"), "bb");
    toFrame3(pcFolder(QStringLiteral("In")));

    // Far more than 260 characters of names in one choice: every file counts.
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many << onStick(QStringLiteral("Music/a rather long file name number %1.mp3").arg(i), "x");
    addFiles({a, b});
    addFiles(many);
    ASSERT_EQ(fp.dialogs.fileRequests.size(), 2);
    EXPECT_EQ(fp.dialogs.fileRequests[0].initialPath, fp.volumes.toNative(QStringLiteral("F:\\")));
    EXPECT_EQ(fp.dialogs.fileRequests[1].initialPath, a);
    EXPECT_EQ(entries().size(), 42);
    EXPECT_EQ(entries().first(), QStringLiteral("F:\\Music\\a.mp3"));
    EXPECT_EQ(text("Label20"), QStringLiteral("42 files - 46 Bytes"));
}

TEST_F(UploadTest, ReviewFitsTheListAgainstTheDestinationsFreeSpace)
{
    // Plenty of room on the stick, very little on the computer.
    FakeVolumes::setCapacity(*fp.volumes.drive(QLatin1Char('Z')), kPcTotal, 8192);
    const QString a = onStick(QStringLiteral("a.mp3"), QByteArray(4096, 'a'));
    const QString b = onStick(QStringLiteral("b.mp3"), QByteArray(4096, 'b'));
    const QString c = onStick(QStringLiteral("c.mp3"), QByteArray(1, 'c'));
    const QString music = pcFolder(QStringLiteral("Music"));
    toFrame3(music);
    addFiles({a, b, c});
    fp.volumes.spaceQueries.clear();
    click("Command13");
    ASSERT_EQ(page(), QStringLiteral("Frame4"));
    EXPECT_EQ(w<QPushButton>("Command23")->text(), QStringLiteral("Upload"));
    EXPECT_EQ(w<QPushButton>("Command23")->toolTip(), QStringLiteral("Start Uploading files"));
    EXPECT_EQ(text("Label12"), QStringLiteral("Please review what you are ready to upload"));
    EXPECT_EQ(text("Label15"), QStringLiteral("Drive: F:\\"));
    EXPECT_EQ(text("Label16"), QStringLiteral("Name: STICK"));
    EXPECT_EQ(text("Label14"), QStringLiteral("Size: 1024 MB"));
    EXPECT_EQ(text("Label13"), QStringLiteral("Avaliable Space: 8 KB"));
    EXPECT_EQ(text("Label18"), QStringLiteral("Destination: Z:\\Music"));
    EXPECT_EQ(text("Label17"), QStringLiteral("Number of files to copy: 3"));
    EXPECT_TRUE(fp.volumes.spaceQueries.contains(QStringLiteral("Z:/")));
    EXPECT_EQ(form->GetDriveLeftUploads(), QStringLiteral("8 KB"));
    EXPECT_EQ(form->GetDriveSize(), QStringLiteral("1024 MB"));

    fp.dialogs.expectMessage(QStringLiteral("You do not have enough disk space! Please check files!"),
                             QStringLiteral("Copy Error!"), Icon::Critical, Buttons::Ok, Answer::Ok);
    click("Command23");
    EXPECT_EQ(page(), QStringLiteral("Frame4"));
    EXPECT_TRUE(copier.calls.isEmpty());

    // Exactly the free space fits.
    click("Command24");
    w<QListWidget>("List1")->setCurrentRow(2);
    click("Command17");
    click("Command13");
    ASSERT_EQ(page(), QStringLiteral("Frame4"));
    click("Command23");
    EXPECT_EQ(copier.calls.size(), 2);
    EXPECT_EQ(contents(music + QStringLiteral("/a.mp3")), QByteArray(4096, 'a'));
}

TEST_F(UploadTest, UploadCopiesIntoTheDestinationAndFinishes)
{
    const QString a = onStick(QStringLiteral("Music/Live/a.mp3"), "first");
    const QString b = onStick(QStringLiteral("b.mp3"), "second");
    const QString c = onStick(QStringLiteral("Other/c.mp3"), "third");
    toFrame3(pc);  // the drive's root
    addFiles({a});
    addFiles({b});
    addFiles({c});
    click("Command13");
    click("Command23");
    EXPECT_EQ(page(), QStringLiteral("Frame7"));
    EXPECT_EQ(filesIn(pc), (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.mp3")}));
    EXPECT_EQ(contents(pc + QStringLiteral("/a.mp3")), QByteArray("first"));
    EXPECT_EQ(contents(pc + QStringLiteral("/c.mp3")), QByteArray("third"));
    EXPECT_EQ(text("Label23"), QStringLiteral("File copy complete!"));
    EXPECT_EQ(text("Label22"), QStringLiteral("Overall progress: 100% Complete"));
    EXPECT_TRUE(w<QPushButton>("Command10")->isEnabled());
    EXPECT_FALSE(w<QPushButton>("Command14")->isEnabled());
    EXPECT_EQ(w<QPushButton>("Command14")->toolTip(), QStringLiteral("Click to finish the Uplaoding wizard"));
    EXPECT_EQ(w<QPushButton>("Command11")->text(), QStringLiteral("Recopy"));

    click("Command20");
    ASSERT_EQ(fp.desktop.folders.size(), 1);
    EXPECT_EQ(QDir::cleanPath(fp.desktop.folders.first()), pc);

    click("Command10");
    flushDeletes();
    EXPECT_TRUE(form.isNull()) << "Finish closes without a question";
    EXPECT_TRUE(main.calls.contains(QStringLiteral("Show")));
}

TEST_F(UploadTest, DestinationDriveLostDuringARunEndsItAndSaysSo)
{
    const QString files[] = {onStick(QStringLiteral("a.mp3"), "1"), onStick(QStringLiteral("b.mp3"), "2"),
                             onStick(QStringLiteral("c.mp3"), "3")};
    const QString music = pcFolder(QStringLiteral("Music"));
    toFrame3(music);
    addFiles({files[0], files[1], files[2]});
    click("Command13");
    copier.onReport(0, 0, [this] { fp.volumes.remove(QLatin1Char('Z')); });
    fp.dialogs.expectMessage(QStringLiteral("Copy Error - 1 file could not be copied:\nF:\\b.mp3: The destination "
                                            "drive cannot be found.\nThe copy stopped: The destination drive cannot "
                                            "be found."),
                             QStringLiteral("19"), Icon::Critical, Buttons::Ok, Answer::Ok);
    click("Command23");
    EXPECT_EQ(copier.calls.size(), 1) << "nothing after the failed step";
    EXPECT_EQ(filesIn(music), QStringList{QStringLiteral("a.mp3")});
    ASSERT_FALSE(form.isNull());
    EXPECT_EQ(page(), QStringLiteral("Frame7"));
    EXPECT_TRUE(w<QPushButton>("Command10")->isEnabled()) << "the window can still be left";
}

TEST_F(UploadTest, ClosingDuringARunAsksToStopAndLeavesAfterTheFile)
{
    const QString a = onStick(QStringLiteral("a.mp3"), "1");
    const QString b = onStick(QStringLiteral("b.mp3"), "2");
    const QString music = pcFolder(QStringLiteral("Music"));
    toFrame3(music);
    addFiles({a, b});
    click("Command13");
    const QString stop = QStringLiteral(
        "Stop copy process? If you click yes, file copy process will stop after this file has finished copying.");
    copier.onReport(0, 0, [&] {
        fp.dialogs.expectMessage(stop, QStringLiteral("Back?"), Icon::Question, Buttons::YesNo, Answer::No);
        EXPECT_FALSE(form->close());
        fp.dialogs.expectMessage(stop, QStringLiteral("Back?"), Icon::Question, Buttons::YesNo, Answer::Yes);
        form->close();
    });
    click("Command23");
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(copier.calls.size(), 1) << "the file in progress finished; no other started";
    EXPECT_EQ(filesIn(music), QStringList{QStringLiteral("a.mp3")});
    EXPECT_TRUE(main.calls.contains(QStringLiteral("Show")));
}

TEST_F(UploadTest, PullingTheStickOutReturnsToTheDrivePageAndKeepsTheList)
{
    const QString a = onStick(QStringLiteral("a.mp3"), "abc");
    const QString music = pcFolder(QStringLiteral("Music"));
    toFrame3(music);
    addFiles({a});

    FakeVolumes::Drive stickDrive = *fp.volumes.drive(QLatin1Char('F'));
    fp.volumes.remove(QLatin1Char('F'));
    ASSERT_TRUE(waitTick(form->findChild<QTimer*>(QStringLiteral("Timer1"))));
    EXPECT_EQ(page(), QStringLiteral("Frame1"));

    // The destination is the computer's and is not watched; the list survives.
    fp.volumes.add(QLatin1Char('F'), stickDrive);
    ASSERT_TRUE(waitTick(form->findChild<QTimer*>(QStringLiteral("Timer1"))));
    toFrame2();
    EXPECT_EQ(text("Label6"), QStringLiteral("Destination: Z:\\Music\\"));
    click("Command7");
    EXPECT_EQ(page(), QStringLiteral("Frame3"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("F:\\a.mp3")});
    EXPECT_EQ(form->listTotalBytes(), toFixed(3));
}
