#include "wizardfixture.h"

#include "controls/animation_ui.h"

namespace {

class CopyRunTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        a = source(QStringLiteral("Music/Live/a.mp3"), "aaaa");
        b = source(QStringLiteral("Music/b.mp3"), "bbbbbbbb");
        c = source(QStringLiteral("c.mp3"), "cccccccccccc");
    }
    void toReview(const QStringList& files, const QString& folder = {})
    {
        toFrame2();
        if (!folder.isEmpty()) {
            QDir(stick).mkpath(folder);
            w<FolderList>("Dir1")->Refresh();
            openFolder(QStringLiteral("F:\\") + folder);
        }
        click("Command8");
        addFiles(files);
        click("Command13");
        ASSERT_EQ(page(), QStringLiteral("Frame4"));
    }
    void expectStop(Answer answer)
    {
        fp.dialogs.expectMessage(kStopQuestion, QStringLiteral("Back?"), Icon::Question, Buttons::YesNo, answer);
    }
    QProgressBar* bar(const char* name) { return w<QProgressBar>(name); }
    QString a, b, c;
};

TEST_F(CopyRunTest, ThreeFilesCountUpAndComplete)
{
    toReview({a, b, c}, QStringLiteral("Dest"));
    QStringList seen;
    copier.onReport(0, 2, [&] { seen << text("Label21") << text("Label23"); });
    copier.onReport(1, 0, [&] { seen << text("Label22"); });
    copier.onReport(2, 0, [&] { seen << text("Label22"); });
    copier.onReport(2, 1, [&] {
        seen << QString::number(bar("p2")->value()) + QLatin1Char('/') + QString::number(bar("p2")->maximum());
        seen << (w<Animation>("m")->isVisible() ? QStringLiteral("animating") : QStringLiteral("still"));
    });
    click("Command23");

    EXPECT_EQ(seen, (QStringList{QStringLiteral("Current File: 50% Complete"), QStringLiteral("Copying: ") + letter(a),
                                 QStringLiteral("Overall progress: 33% Complete"),
                                 QStringLiteral("Overall progress: 66% Complete"), QStringLiteral("2/3"),
                                 QStringLiteral("animating")}));
    EXPECT_EQ(page(), QStringLiteral("Frame7"));
    EXPECT_EQ(text("Label22"), QStringLiteral("Overall progress: 100% Complete"));
    EXPECT_EQ(text("Label23"), QStringLiteral("File copy complete!"));
    EXPECT_EQ(text("Label28"), QStringLiteral("Press Finish to exit this wizard"));
    EXPECT_EQ(bar("p3")->value(), 100);
    EXPECT_FALSE(w<Animation>("m")->isVisible());
    EXPECT_TRUE(w<QPushButton>("Command9")->isEnabled());
    EXPECT_FALSE(w<QPushButton>("Command14")->isEnabled());
    EXPECT_EQ(w<QPushButton>("Command5")->text(), QStringLiteral("Recopy"));
    EXPECT_EQ(w<QPushButton>("Command5")->toolTip(), QStringLiteral("Click to recopy your files"));
    EXPECT_EQ(w<QPushButton>("Command14")->toolTip(), QStringLiteral("Click to finish the download wizard"));
    EXPECT_EQ(list()->currentRow(), 2);

    // The source folders are not recreated in the destination.
    const QString dest = QDir(stick).filePath(QStringLiteral("Dest"));
    EXPECT_EQ(filesIn(dest), (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c.mp3")}));
    EXPECT_EQ(contents(dest + QStringLiteral("/b.mp3")), QByteArray("bbbbbbbb"));
    EXPECT_EQ(fp.cursor.current, Cursor::Default);

    // After completion a close asks nothing.
    main.calls.clear();
    EXPECT_TRUE(form->close());
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(main.calls, QStringList{QStringLiteral("Show")});
}

TEST_F(CopyRunTest, RootDestinationAndTwoSourcesWithOneName)
{
    const QString other = source(QStringLiteral("Other/a.mp3"), "second");
    toReview({a, other});
    click("Command23");
    ASSERT_EQ(copier.calls.size(), 2);
    EXPECT_EQ(copier.calls[0].dest, QDir(stick).filePath(QStringLiteral("a.mp3")));
    EXPECT_EQ(filesIn(stick), QStringList{QStringLiteral("a.mp3")});
    EXPECT_EQ(contents(QDir(stick).filePath(QStringLiteral("a.mp3"))), QByteArray("second"));
}

TEST_F(CopyRunTest, BackDuringARunAnsweredNoGoesOnAndYesStopsAfterTheFile)
{
    toReview({a, b, c});
    copier.onReport(0, 1, [&] {
        expectStop(Answer::No);
        click("Command5");
    });
    copier.onReport(1, 1, [&] {
        expectStop(Answer::Yes);
        click("Command5");
    });
    click("Command23");
    ASSERT_EQ(copier.calls.size(), 2) << "the file in progress finishes, no further file starts";
    EXPECT_TRUE(copier.calls[1].result.ok);
    EXPECT_EQ(page(), QStringLiteral("Frame4"));
    EXPECT_EQ(bar("p2")->value(), 0);
    EXPECT_EQ(bar("p3")->value(), 0);
    EXPECT_NE(text("Label23"), QStringLiteral("File copy complete!"));
    EXPECT_FALSE(w<QPushButton>("Command9")->isEnabled());
    EXPECT_FALSE(form->stopRequested());

    click("Command23");
    ASSERT_EQ(copier.calls.size(), 5);
    EXPECT_EQ(copier.calls[2].source, a) << "a new run starts from the first file";
    EXPECT_EQ(text("Label23"), QStringLiteral("File copy complete!"));
}

TEST_F(CopyRunTest, ExitDuringARunAnsweredYesLeavesAfterTheCurrentFile)
{
    toReview({a, b, c});
    copier.onReport(0, 1, [&] {
        expectStop(Answer::Yes);
        click("Command14");
        EXPECT_TRUE(main.calls.isEmpty()) << "not before the file is done";
    });
    click("Command23");
    EXPECT_EQ(copier.calls.size(), 1);
    EXPECT_TRUE(main.calls.contains(QStringLiteral("Show")));
    flushDeletes();
    EXPECT_TRUE(form.isNull());
}

TEST_F(CopyRunTest, CloseBoxDuringARunAsksTheStopQuestion)
{
    toReview({a, b, c});
    copier.onReport(0, 1, [&] {
        expectStop(Answer::No);
        EXPECT_FALSE(form->close());
    });
    copier.onReport(1, 1, [&] {
        expectStop(Answer::Yes);
        form->close();
        EXPECT_FALSE(form->isVisible()) << "hidden at once, closed by the run";
    });
    click("Command23");
    EXPECT_EQ(copier.calls.size(), 2);
    EXPECT_TRUE(main.calls.contains(QStringLiteral("Show")));
    flushDeletes();
    EXPECT_TRUE(form.isNull());
}

// A stop asked for while the last file copies: the design would finish and keep the
// window (or stop the next run at once); a confirmed exit still leaves.
TEST_F(CopyRunTest, StopAskedDuringTheLastFile)
{
    toReview({a, b});
    copier.onReport(1, 1, [&] {
        expectStop(Answer::Yes);
        click("Command5");
    });
    click("Command23");
    EXPECT_EQ(text("Label23"), QStringLiteral("File copy complete!"));
    EXPECT_FALSE(form->stopRequested());
    click("Command5");
    click("Command23");
    EXPECT_EQ(copier.calls.size(), 4) << "the recopy is not stopped by the old request";

    click("Command5");
    copier.onReport(5, 1, [&] {
        // Exit is disabled after a completion: the close box is the way out.
        form->close();
    });
    click("Command23");
    flushDeletes();
    EXPECT_TRUE(form.isNull());
}

TEST_F(CopyRunTest, ExitConfirmedDuringTheLastFileLeaves)
{
    toReview({a, b});
    copier.onReport(1, 1, [&] {
        expectStop(Answer::Yes);
        click("Command14");
    });
    click("Command23");
    EXPECT_EQ(copier.calls.size(), 2);
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(onlyShown());
}

// Whoever owns the window may delete it outright during a run: the run then
// touches nothing of it and ends after the file.
TEST_F(CopyRunTest, WindowDeletedDuringARunIsNeverTouched)
{
    toReview({a, b, c});
    copier.onReport(0, 1, [&] { delete form.data(); });
    click("Command23");
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(copier.calls.size(), 1);
    EXPECT_EQ(copier.calls[0].reports.size(), 5) << "the copier was let finish its file";
}

TEST_F(CopyRunTest, FinishClosesWithoutAQuestion)
{
    toReview({a});
    click("Command23");
    click("Command9");
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(main.calls.contains(QStringLiteral("Show")));
}

TEST_F(CopyRunTest, RecopyCopiesEverythingAgainAndClosingDuringItStopsAfterTheFile)
{
    toReview({a, b, c});
    click("Command23");
    click("Command5");
    EXPECT_EQ(page(), QStringLiteral("Frame4"));
    click("Command23");
    EXPECT_EQ(copier.calls.size(), 6);
    EXPECT_EQ(w<QPushButton>("Command5")->text(), QStringLiteral("Recopy"));
    EXPECT_TRUE(w<QPushButton>("Command9")->isEnabled());
    EXPECT_FALSE(w<QPushButton>("Command14")->isEnabled());

    // A third run, closed with the close box while its first file copies.
    click("Command5");
    copier.onReport(6, 1, [&] {
        EXPECT_TRUE(w<QPushButton>("Command9")->isEnabled());
        EXPECT_EQ(text("Label28"), QStringLiteral("Press Finish to exit this wizard"));
        form->close();  // Finish is enabled: no question
        EXPECT_FALSE(form.isNull());
    });
    click("Command23");
    EXPECT_EQ(copier.calls.size(), 7) << "stops after the current file";
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(main.calls.contains(QStringLiteral("Show")));
}

TEST_F(CopyRunTest, FailedFilesArePassedOverAndReportedAtCompletion)
{
    toReview({a, b, c});
    QFile::remove(b);
    copier.failFor(c, 28, QStringLiteral("The drive is full."), 2);
    fp.dialogs.expectMessage(QStringLiteral("Copy Error - 2 files could not be copied:\n") + letter(b)
                                 + QStringLiteral(": The source file is gone.\n") + letter(c)
                                 + QStringLiteral(": The drive is full."),
                             QStringLiteral("28"), Icon::Critical, Buttons::Ok, Answer::Ok);
    click("Command23");
    EXPECT_EQ(copier.calls.size(), 3);
    EXPECT_EQ(text("Label23"), QStringLiteral("File copy complete!"));
    EXPECT_EQ(text("Label22"), QStringLiteral("Overall progress: 100% Complete"));
    EXPECT_EQ(filesIn(stick), QStringList{QStringLiteral("a.mp3")});
}

// The copier commits in the background: the run reports completion only once every
// copy is on the drive, and a commit that fails is reported like a copy that failed.
TEST_F(CopyRunTest, CompletionWaitsForTheCommitsAndReportsTheirFailures)
{
    toReview({a, b, c});
    copier.deferCommits = true;
    copier.failCommitFor(a, 5, QStringLiteral("The drive could not be written (it may have been removed)."));
    copier.failFor(b, 28, QStringLiteral("The drive is full."), 2);
    QStringList atCommit;
    copier.onFinish = [&] { atCommit << text("Label22") << text("Label23") << filesIn(stick).join(u','); };
    fp.dialogs.expectMessage(QStringLiteral("Copy Error - 2 files could not be copied:\n") + letter(a)
                                 + QStringLiteral(": The drive could not be written (it may have been removed).\n")
                                 + letter(b) + QStringLiteral(": The drive is full."),
                             QStringLiteral("28"), Icon::Critical, Buttons::Ok, Answer::Ok);
    click("Command23");
    EXPECT_EQ(copier.finishCalls, 1);
    EXPECT_EQ(atCommit, (QStringList{QStringLiteral("Overall progress: 66% Complete"), QStringLiteral("Copying: ") + letter(c),
                                     QString()}));
    EXPECT_EQ(text("Label22"), QStringLiteral("Overall progress: 100% Complete"));
    EXPECT_EQ(text("Label23"), QStringLiteral("File copy complete!"));
    EXPECT_EQ(filesIn(stick), QStringList{QStringLiteral("c.mp3")});
}

TEST_F(CopyRunTest, StopsAndClosesWaitForTheCommitsFirst)
{
    struct Case {
        const char* what;
        const char* button;  // nullptr: the close box
        bool leaves;
    } cases[] = {{"Back", "Command5", false}, {"Exit", "Command14", true}, {"close box", nullptr, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        delete form.data();
        flushDeletes();
        open();
        QFile::remove(QDir(stick).filePath(QStringLiteral("a.mp3")));
        toReview({a, b, c});
        copier.deferCommits = true;
        copier.calls.clear();
        const int before = copier.finishCalls;
        copier.onReport(0, 1, [&] {
            expectStop(Answer::Yes);
            if (k.button)
                click(k.button);
            else
                form->close();
        });
        QStringList atCommit;
        copier.onFinish = [&] {
            atCommit << (form.isNull() ? QStringLiteral("gone") : page()) << filesIn(stick).join(u',');
        };
        click("Command23");
        EXPECT_EQ(copier.finishCalls - before, 1);
        EXPECT_EQ(atCommit, (QStringList{QStringLiteral("Frame7"), QString()}));
        EXPECT_EQ(filesIn(stick), QStringList{QStringLiteral("a.mp3")});
        flushDeletes();
        EXPECT_EQ(form.isNull(), k.leaves);
        copier.onFinish = nullptr;
    }
}

TEST_F(CopyRunTest, OpenFolderDuringARunShowsTheDestination)
{
    toReview({a, b}, QStringLiteral("Dest"));
    copier.onReport(0, 1, [&] { click("Command20"); });
    click("Command23");
    EXPECT_EQ(fp.desktop.folders, QStringList{QDir(stick).filePath(QStringLiteral("Dest"))});
    EXPECT_EQ(copier.calls.size(), 2);
}

TEST_F(CopyRunTest, EmptyFileShowsComplete)
{
    const QString empty = source(QStringLiteral("empty.txt"), QByteArray());
    toReview({empty});
    copier.onReport(0, 0, [&] { EXPECT_EQ(text("Label21"), QStringLiteral("Current File: 100% Complete")); });
    click("Command23");
    ASSERT_EQ(copier.calls.size(), 1);
    EXPECT_EQ(copier.calls[0].reports.size(), 1);
}

TEST_F(CopyRunTest, TheAnimationOpensTheCopyClip)
{
    toReview({a});
    click("Command23");
    // The clip is found by the program folder's path; the test's folder has none.
    EXPECT_TRUE(w<Animation>("m")->fileName().isEmpty());
    fp.platform.programFolder = QStringLiteral(KORVANE_PROGRAM_DIR);
    const QString clip = QStringLiteral(KORVANE_PROGRAM_DIR) + QStringLiteral("/Data/FILECOPY.gif");
    if (!QFileInfo::exists(clip))
        GTEST_SKIP() << "no copy clip laid out yet";
    click("Command5");
    copier.onReport(1, 0, [&] {
        EXPECT_EQ(w<Animation>("m")->fileName(), clip);
        EXPECT_TRUE(w<Animation>("m")->isPlaying());
    });
    click("Command23");
}

}  // namespace
