#include "controls/moviebox_ui.h"
#include "controls/transpicbox_ui.h"
#include "shellfixture.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <unistd.h>

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Answer = Dialogs::Answer;

namespace {
const QString kFailure = QStringLiteral("Program error - Please re-install Setup.exe!");
const QString kAdvice = QStringLiteral("This program is best viewed in 800 x 600 screen resolution");

void expectIntroShowing(const ShellFixture& f, bool skipLink)
{
    EXPECT_TRUE(f.visible("sh"));
    EXPECT_TRUE(f.visible("Frame1"));
    EXPECT_FALSE(f.visible("Label1"));
    EXPECT_FALSE(f.visible("imhelp"));
    EXPECT_EQ(f.visible("Label2"), skipLink);
    EXPECT_EQ(f.visible("Label3"), skipLink);
}

void expectMenuShowing(const ShellFixture& f)
{
    EXPECT_FALSE(f.visible("sh"));
    EXPECT_FALSE(f.visible("Frame1"));
    EXPECT_TRUE(f.visible("Label1"));
    EXPECT_TRUE(f.visible("imhelp"));
    EXPECT_FALSE(f.visible("Label2"));
    EXPECT_FALSE(f.visible("Label3"));
}

// Waits for the movie's first frame with the intro's own poll held off, so the
// test decides when Timer2 ticks.
void waitForFirstFrame(ShellFixture& f)
{
    QTimer* t2 = f.timer("Timer2");
    t2->stop();
    auto* sh = f.child<MovieBox>("sh");
    ASSERT_TRUE(QTest::qWaitFor([&] { return sh->FrameLoaded(1); }, 3000));
    t2->start();
}
}

TEST(MainWindow, ConfigIniTable)
{
    struct Case {
        const char* name;
        const char* content;   // null: no Config.ini at all
        bool loads;
        bool firstRun;
        const char* after;     // the file afterwards
    };
    const Case cases[] = {
        {"zero", "0\r\n", true, true, "1\r\n"},
        {"zero without line break", "0", true, true, "1\r\n"},
        {"one", "1\r\n", true, false, "1\r\n"},
        {"two", "2\r\n", true, false, "2\r\n"},
        {"minus one", "-1\r\n", true, false, "-1\r\n"},
        {"missing", nullptr, false, false, "<missing>"},
        {"garbage", "yes please\r\n", false, false, "yes please\r\n"},
        {"empty", "", false, false, ""},
        {"out of 16 bits", "70000\r\n", false, false, "70000\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray content(c.content ? c.content : "");
        ShellFixture f(c.content ? &content : nullptr);
        if (c.firstRun)
            f.fake->dialogs.expectMessage(kAdvice, QStringLiteral("Screen size!"), Icon::Information, Buttons::Ok,
                                          Answer::Ok);
        if (!c.loads)
            f.fake->dialogs.expectMessage(kFailure, QStringLiteral("Error!"), Icon::Information, Buttons::Ok,
                                          Answer::Ok);
        EXPECT_EQ(f.start(), c.loads);
        EXPECT_EQ(f.config(), QByteArray(c.after));
        if (c.loads) {
            expectIntroShowing(f, !c.firstRun);
            const QString movie = f.child<MovieBox>("sh")->Movie();
            EXPECT_EQ(movie, f.dir.path() + QStringLiteral("/Data/intro.gif"));
        } else {
            EXPECT_FALSE(f.window->isVisible());
            EXPECT_TRUE(f.child<MovieBox>("sh")->Movie().isEmpty());
        }
        f.fake->dialogs.verifyAllUsed();
    }
}

TEST(MainWindow, ConfigIniThatCannotBeOpenedTakesTheFailurePath)
{
    ShellFixture f;
    QDir(f.dir.path()).mkpath(QStringLiteral("Config.ini"));  // a folder where the file should be
    f.fake->dialogs.expectMessage(kFailure, QStringLiteral("Error!"), Icon::Information, Buttons::Ok, Answer::Ok);
    EXPECT_FALSE(f.start());
}

TEST(MainWindow, FirstRunInAFolderThatCannotBeWrittenFailsAndStaysAFirstRun)
{
    const QByteArray zero("0\r\n");
    ShellFixture f(&zero);
    const QString folder = f.dir.path();
    // Root writes anywhere, so the folder is made immutable instead of read-only.
    const bool root = geteuid() == 0;
    if (root) {
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder}) != 0)
            GTEST_SKIP() << "cannot make the folder immutable here";
    } else {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }
    f.fake->dialogs.expectMessage(kFailure, QStringLiteral("Error!"), Icon::Information, Buttons::Ok, Answer::Ok);
    const bool loaded = f.start();
    if (root)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folder});
    else
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(f.config(), zero);
}

TEST(MainWindow, ScreenAdviceOnFirstRunUnlessExactly800By600)
{
    const QByteArray zero("0\r\n");
    for (QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(800, 768), QSize(1920, 1080)}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()).toStdString());
        ShellFixture f(&zero);
        f.screen = screen;
        if (screen != QSize(800, 600))
            f.fake->dialogs.expectMessage(kAdvice, QStringLiteral("Screen size!"), Icon::Information,
                                          Buttons::Ok, Answer::Ok);
        EXPECT_TRUE(f.start());
        f.fake->dialogs.verifyAllUsed();
    }
}

TEST(MainWindow, SecondInstanceOnlyWarnsAndLeavesTheFlagAlone)
{
    const QByteArray zero("0\r\n");
    ShellFixture f(&zero);
    f.fake->instanceGuard.running = true;
    f.fake->dialogs.expectMessage(QStringLiteral("Korvane 2.1 is already running! Check Task Manager!"),
                                  QStringLiteral("Korvane 2.1"), Icon::Exclamation, Buttons::Ok, Answer::Ok);
    EXPECT_FALSE(f.start());
    EXPECT_FALSE(f.window->isVisible());
    EXPECT_EQ(f.config(), zero);
    EXPECT_FALSE(f.timer("Timer2")->isActive());
}

TEST(MainWindow, LayoutNamesCaptionsAndTooltips)
{
    const QByteArray one("1\r\n");
    ShellFixture f(&one);
    ASSERT_TRUE(f.start());
    frmSplash1& w = *f.window;
    EXPECT_EQ(w.objectName(), QStringLiteral("frmSplash1"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Korvane 2.1"));
    const qreal s = w.logicalDpiX() / 96.0;
    auto px = [s](int t) { return qRound(t / 15.0 * s); };
    EXPECT_EQ(w.size(), QSize(px(11910), px(8520)));
    EXPECT_EQ(f.child("Command1")->geometry(), QRect(px(5348), px(7440), px(1215), px(315)));
    EXPECT_EQ(f.child<QPushButton>("Command1")->text(), QStringLiteral("Check Version"));
    EXPECT_EQ(f.child("Command1")->toolTip(), QStringLiteral("Check for the latest version of Korvane 2.0"));
    EXPECT_EQ(f.child("imhelp")->toolTip(), QStringLiteral("Click for Help"));
    EXPECT_EQ(f.child("Image2")->toolTip(), QStringLiteral("Click to visit Halvexa Web site"));
    EXPECT_EQ(f.child<QLabel>("Label2")->text(), QStringLiteral("Click here to skip intro"));
    EXPECT_TRUE(f.child<QLabel>("Label3")->text().isEmpty());
    EXPECT_FALSE(f.visible("im31"));
    EXPECT_FALSE(f.visible("im32"));
    // The menu pictures at their designed sizes.
    EXPECT_EQ(f.child("TransPicBox1")->size(), QSize(442, 101) * s);
    EXPECT_EQ(f.child("TransPicBox2")->size(), QSize(374, 101) * s);
    EXPECT_EQ(f.child("TransPicBox3")->size(), QSize(416, 101) * s);
    EXPECT_EQ(f.child("t3")->size(), QSize(48, 48) * s);
    EXPECT_EQ(f.child<TransPicBox>("TransPicBox1")->MaskColor(), 0x00E0E0E0u);
    EXPECT_EQ(f.child<TransPicBox>("t3")->MaskColor(), 0x00FFFFFFu);
    EXPECT_EQ(f.child("TransPicBox2")->accessibleName(), QStringLiteral("Upload Wizard"));
    for (const char* name : {"Timer1", "Timer2", "Timer3", "Timer4", "Timer5", "Timer6", "Timer7"})
        EXPECT_NE(f.timer(name), nullptr) << name;
    EXPECT_EQ(f.timer("Timer1")->interval(), 1000);
    EXPECT_EQ(f.timer("Timer2")->interval(), 400);
    EXPECT_EQ(f.timer("Timer3")->interval(), 200);
    EXPECT_EQ(f.timer("Timer6")->interval(), 100);
    EXPECT_EQ(f.timer("Timer7")->interval(), 200);
    // During the intro the movie lies on the cover frame, and the frame on the menu.
    const QPoint menuPoint = f.child("TransPicBox1")->geometry().center();
    EXPECT_EQ(w.childAt(menuPoint), f.child("sh"));
    f.child("sh")->hide();
    EXPECT_EQ(w.childAt(menuPoint), f.child("Frame1"));
    f.child("Frame1")->hide();
    EXPECT_EQ(w.childAt(menuPoint), f.child("TransPicBox1"));
}

TEST(MainWindow, IntroChainRunsOnItsTimers)
{
    const QByteArray one("1\r\n");
    ShellFixture f(&one, true);
    frmSplash1& w = f.create();
    EXPECT_EQ(w.t1Phase, 1);
    EXPECT_EQ(w.t2Phase, 1);
    EXPECT_EQ(w.t3Phase, 1);
    EXPECT_TRUE(f.timer("Timer2")->isActive());  // armed before Load
    ASSERT_TRUE(w.Load());
    w.show();

    waitForFirstFrame(f);
    f.tick("Timer2");
    EXPECT_FALSE(f.timer("Timer2")->isActive());
    EXPECT_EQ(f.fake->music.url, f.dir.path() + QStringLiteral("/Data/intro.mp3"));
    EXPECT_EQ(f.fake->music.plays, 1);
    EXPECT_TRUE(f.timer("Timer7")->isActive());
    EXPECT_FALSE(f.timer("Timer6")->isActive());

    f.tick("Timer7");
    EXPECT_FALSE(f.timer("Timer7")->isActive());
    EXPECT_TRUE(f.timer("Timer6")->isActive());

    // Only the exact text ends the music watch.
    for (const char* status : {"Playing", "stopped", "STOPPED", "Stopped "}) {
        f.fake->music.statusText = QLatin1String(status);
        f.tick("Timer6");
        EXPECT_TRUE(f.timer("Timer6")->isActive()) << status;
        EXPECT_FALSE(f.timer("Timer1")->isActive()) << status;
    }
    f.fake->music.statusText = QStringLiteral("Stopped");
    f.tick("Timer6");
    EXPECT_FALSE(f.timer("Timer6")->isActive());
    EXPECT_TRUE(f.timer("Timer1")->isActive());
    expectIntroShowing(f, true);

    f.tick("Timer1");
    EXPECT_FALSE(f.timer("Timer1")->isActive());
    expectMenuShowing(f);
    EXPECT_EQ(f.fake->music.stops, 0);  // the intro's end leaves the music alone
}

TEST(MainWindow, UnreadableMusicStatusEndsTheIntro)
{
    const QByteArray one("1\r\n");
    ShellFixture f(&one, true);
    ASSERT_TRUE(f.start());
    waitForFirstFrame(f);
    f.tick("Timer2");
    f.tick("Timer7");
    f.fake->music.statusReadable = false;
    f.tick("Timer6");
    EXPECT_TRUE(f.timer("Timer1")->isActive());
    f.tick("Timer1");
    expectMenuShowing(f);
}

TEST(MainWindow, MovieThatNeverShowsAFrameKeepsThePollGoing)
{
    const QByteArray one("1\r\n");
    ShellFixture f(&one);  // no intro movie in Data
    ASSERT_TRUE(f.start());
    for (int i = 0; i < 3; ++i)
        f.tick("Timer2");
    EXPECT_TRUE(f.timer("Timer2")->isActive());
    EXPECT_EQ(f.fake->music.plays, 0);
    EXPECT_FALSE(f.timer("Timer7")->isActive());
    expectIntroShowing(f, true);
}

TEST(MainWindow, SkipBeforeTheFirstFrameUncoversTheMenuAndTheChainRunsOnLater)
{
    const QByteArray one("1\r\n");
    ShellFixture f(&one);  // the movie's first frame is not there yet
    ASSERT_TRUE(f.start());
    QTest::mouseClick(f.child("Label2"), Qt::LeftButton);
    expectMenuShowing(f);
    f.tick("Timer2");
    EXPECT_TRUE(f.timer("Timer2")->isActive());
    EXPECT_EQ(f.fake->music.plays, 0);

    // The frame arrives after the skip: the music starts over the menu and the
    // chain ends the intro a second time, which changes nothing.
    const QString movie = f.dir.filePath(QStringLiteral("Data/intro.gif"));
    ASSERT_TRUE(writeAnimatedGif(movie, 8, 6, {Qt::red, Qt::blue}));
    f.child<MovieBox>("sh")->setMovie(movie);
    waitForFirstFrame(f);
    f.tick("Timer2");
    EXPECT_EQ(f.fake->music.plays, 1);
    f.tick("Timer7");
    f.fake->music.statusText = QStringLiteral("Stopped");
    f.tick("Timer6");
    f.tick("Timer1");
    expectMenuShowing(f);
    EXPECT_FALSE(f.timer("Timer1")->isActive());
}

TEST(MainWindow, InvisibleAreaAroundTheSkipLinkSkipsToo)
{
    const QByteArray one("1\r\n");
    ShellFixture f(&one);
    ASSERT_TRUE(f.start());
    QWidget* label3 = f.child("Label3");
    QWidget* label2 = f.child("Label2");
    // A point of Label3 outside Label2, clicked through the window system.
    const QPoint p = label3->geometry().topLeft() + QPoint(2, 2);
    ASSERT_FALSE(label2->geometry().contains(p));
    QTest::mouseClick(f.window->windowHandle(), Qt::LeftButton, {}, p);
    expectMenuShowing(f);
}

TEST(MainWindow, FirstRunHidesTheSkipLinkForTheWholeIntro)
{
    const QByteArray zero("0\r\n");
    ShellFixture f(&zero, true);
    f.screen = QSize(800, 600);
    ASSERT_TRUE(f.start());
    expectIntroShowing(f, false);
    waitForFirstFrame(f);
    f.tick("Timer2");
    f.tick("Timer7");
    expectIntroShowing(f, false);
}

namespace {
struct HoverScene : ShellFixture {
    static inline const QByteArray one{"1\r\n"};
    HoverScene() : ShellFixture(&one)
    {
        EXPECT_TRUE(start());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->EndIntro();
        // The hover timers are stopped by hand between moves so no real tick interferes.
    }
    void over(const char* name)
    {
        const QPoint p = name ? child(name)->geometry().center() : bare();
        if (name)
            ASSERT_EQ(window->childAt(p), child(name)) << name;
        else
            ASSERT_EQ(window->childAt(p), nullptr);
        // Two moves: Qt drops a move to the point it already reported.
        QTest::mouseMove(window->windowHandle(), p + QPoint(1, 0));
        QTest::mouseMove(window->windowHandle(), p);
    }
    QPoint bare() const { return QPoint(window->width() - 40, window->height() / 2 + 40); }
    QString running() const
    {
        QString s;
        for (const char* t : {"Timer3", "Timer4", "Timer5"})
            if (timer(t)->isActive())
                s += QLatin1String(t) + QLatin1Char(' ');
        return s.trimmed();
    }
};
}

TEST(MainWindow, HoverTable)
{
    HoverScene s;
    struct Step {
        const char* over;
        const char* running;
    };
    const Step steps[] = {
        {"TransPicBox1", "Timer5"},
        {"TransPicBox2", "Timer4"},
        {"TransPicBox3", "Timer3"},
        {nullptr, ""},
        {"TransPicBox3", "Timer3"},
        {"TransPicBox1", "Timer3 Timer5"},  // Download does not stop the blink
        {"imgLogo", "Timer3"},              // the banner stops the down arrow only
        {"TransPicBox2", "Timer4"},
        {"imgLogo", "Timer4"},
        {"TransPicBox1", "Timer5"},
        {nullptr, ""},
    };
    for (const Step& step : steps) {
        s.over(step.over);
        EXPECT_EQ(s.running(), QLatin1String(step.running)) << (step.over ? step.over : "the window");
    }
}

TEST(MainWindow, HoverMovesAreNotRestartedByEveryPointerMove)
{
    HoverScene s;
    s.over("TransPicBox1");
    QTimer* t5 = s.timer("Timer5");
    const int left = t5->remainingTime();
    QTest::qWait(30);
    s.over("TransPicBox1");
    EXPECT_LT(t5->remainingTime(), left);
}

TEST(MainWindow, HoverAnimationsStepAndStayWhereTheyStop)
{
    HoverScene s;
    frmSplash1& w = *s.window;
    const qreal sc = w.logicalDpiX() / 96.0;
    auto px = [sc](int t) { return qRound(t / 15.0 * sc); };
    s.over("TransPicBox1");
    QWidget* t1 = s.child("t1");
    EXPECT_EQ(t1->y(), px(3240));
    s.tick("Timer5");
    EXPECT_EQ(t1->y(), px(3360));
    EXPECT_EQ(w.t1Phase, 2);
    s.tick("Timer5");
    EXPECT_EQ(t1->y(), px(3240));
    EXPECT_EQ(w.t1Phase, 1);
    s.tick("Timer5");
    s.over(nullptr);  // stopped after an odd number of ticks: the arrow stays down
    EXPECT_EQ(t1->y(), px(3360));

    s.over("TransPicBox2");
    QWidget* t2 = s.child("t2");
    s.tick("Timer4");
    EXPECT_EQ(t2->y(), px(4680));
    s.tick("Timer4");
    EXPECT_EQ(t2->y(), px(4800));

    s.over("TransPicBox3");
    auto* t3 = s.child<TransPicBox>("t3");
    const QImage plain = s.child<QLabel>("im31")->pixmap().toImage();
    const QImage tools = s.child<QLabel>("im32")->pixmap().toImage();
    ASSERT_NE(plain, tools);
    EXPECT_EQ(t3->Picture().toImage(), plain);
    s.tick("Timer3");
    EXPECT_EQ(t3->Picture().toImage(), plain);
    EXPECT_EQ(w.t3Phase, 2);
    s.tick("Timer3");
    EXPECT_EQ(t3->Picture().toImage(), tools);
    EXPECT_EQ(w.t3Phase, 1);
    s.over(nullptr);
    EXPECT_EQ(t3->Picture().toImage(), tools);
}

TEST(MainWindow, HelpRoutinesThreeOutcomes)
{
    const QByteArray one("1\r\n");
    const QString question = QStringLiteral("Error! Adobe Acrobot Reader is not installed! Would you like to download it now?");
    struct Case {
        const char* name;
        Desktop::OpenResult result;
        bool boxQuestion, boxError;
        Answer answer;
        bool opensReaderPage;
    };
    const Case cases[] = {
        {"opened", Desktop::OpenResult::Opened, false, false, Answer::Ok, false},
        {"no reader, No", Desktop::OpenResult::NoHandler, true, false, Answer::No, false},
        {"no reader, Yes", Desktop::OpenResult::NoHandler, true, false, Answer::Yes, true},
        {"failed", Desktop::OpenResult::Failed, false, true, Answer::Ok, false},
    };
    for (const Case& c : cases) {
        for (int n = 1; n <= 4; ++n) {
            SCOPED_TRACE(QStringLiteral("%1, SHelp%2").arg(QLatin1String(c.name)).arg(n).toStdString());
            ShellFixture f(&one);
            ASSERT_TRUE(f.start());
            f.fake->desktop.documentResult = c.result;
            if (c.boxQuestion)
                f.fake->dialogs.expectMessage(question, QStringLiteral("Adobe Reader Not Installed!"),
                                              Icon::Question, Buttons::YesNo, c.answer);
            if (c.boxError)
                f.fake->dialogs.expectMessage(QStringLiteral("An unknown error has accoured!"),
                                              QStringLiteral("Error opening Help!"), Icon::Critical, Buttons::Ok,
                                              Answer::Ok);
            // The wizards call these while the main window is hidden.
            if (n > 1)
                f.window->hide();
            MainWindowLink* link = f.window.get();
            void (MainWindowLink::*routines[])() = {&MainWindowLink::SHelp1, &MainWindowLink::SHelp2,
                                                     &MainWindowLink::SHelp3, &MainWindowLink::SHelp4};
            (link->*routines[n - 1])();
            EXPECT_EQ(f.fake->desktop.documents,
                      QStringList{f.dir.path() + QStringLiteral("/Data/Help%1.pdf").arg(n)});
            EXPECT_EQ(f.fake->desktop.urls, c.opensReaderPage ? QStringList{QStringLiteral("https://get.adobe.com/reader/")}
                                                              : QStringList{});
            EXPECT_EQ(f.window->isVisible(), n == 1);
            f.fake->dialogs.verifyAllUsed();
        }
    }
}

TEST(MainWindow, HelpButtonLogoAndKlaun)
{
    const QByteArray one("1\r\n");
    ShellFixture f(&one);
    ASSERT_TRUE(f.start());
    f.window->EndIntro();
    f.child<QToolButton>("imhelp")->click();
    EXPECT_EQ(f.fake->desktop.documents, QStringList{f.dir.path() + QStringLiteral("/Data/Help1.pdf")});

    // The logo opens the maker's site and never reports, whatever the outcome.
    f.fake->desktop.urlResult = Desktop::OpenResult::Failed;
    QTest::mouseClick(f.child("Image2"), Qt::LeftButton);
    f.window->klaun();
    f.fake->desktop.urlResult = Desktop::OpenResult::NoHandler;
    f.window->klaun();
    const QString site = QStringLiteral("http://www.halvexa.com/");
    EXPECT_EQ(f.fake->desktop.urls, (QStringList{site, site, site}));
}

TEST(MainWindow, ClosingEndsTheProgramEvenWithThePleaseWaitWindowLoaded)
{
    const QByteArray one("1\r\n");
    ShellFixture f(&one);
    ASSERT_TRUE(f.start());
    f.window->waitWindow().load()->show();
    f.window->close();
    EXPECT_EQ(f.programEnds, 1);
}
