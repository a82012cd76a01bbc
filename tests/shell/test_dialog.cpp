#include "controls/transpicbox_ui.h"
#include "shell/dialog_ui.h"
#include "shellfixture.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWindow>

namespace {
QLabel* label(Dialog* d)
{
    return d->findChild<QLabel*>(QStringLiteral("Label1"));
}

void tick(QObject* d, const char* name)
{
    QTimer* t = d->findChild<QTimer*>(QLatin1String(name));
    ASSERT_NE(t, nullptr) << name;
    ASSERT_TRUE(t->isActive()) << name;
    QMetaObject::invokeMethod(t, "timeout");
}

QWidget* topLevel(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name))
            return w;
    return nullptr;
}

struct MenuScene : ShellFixture {
    static inline const QByteArray one{"1\r\n"};
    MenuScene() : ShellFixture(&one)
    {
        EXPECT_TRUE(start());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->EndIntro();
    }
    void clickEntry(const char* name)
    {
        QWidget* entry = child(name);
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, entry->geometry().center());
    }
};
}

TEST(PleaseWait, DesignLookAndPlace)
{
    FakePlatform fake;
    WaitWindow wait;
    wait.setContext(AppContext{&fake.platform, nullptr, &wait});
    Dialog* d = wait.load();
    const qreal s = d->logicalDpiX() / 96.0;
    EXPECT_EQ(d->size(), QSize(qRound(356 * s), qRound(36 * s)));
    EXPECT_TRUE(d->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(d->palette().color(QPalette::Window), QColor(Qt::black));
    QLabel* l = label(d);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->text(), QStringLiteral("Initializing device - please wait"));
    EXPECT_TRUE(l->font().bold());
    EXPECT_EQ(l->font().pointSize(), 12);
    EXPECT_EQ(l->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(d->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    EXPECT_EQ(d->dotPhase, 1);
    EXPECT_TRUE(d->waitText.isEmpty());
    EXPECT_TRUE(d->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
    for (const char* name : {"Timer2", "Timer3", "Timer4"}) {
        QTimer* t = d->findChild<QTimer*>(QLatin1String(name));
        EXPECT_FALSE(t->isActive()) << name;
        EXPECT_EQ(t->interval(), 1000) << name;
    }
    delete d;
}

TEST(PleaseWait, DotsCycleAndSetTexWaitsForTheNextTick)
{
    FakePlatform fake;
    WaitWindow wait;
    wait.setContext(AppContext{&fake.platform, nullptr, &wait});
    Dialog* d = wait.load();
    wait.SetTex(QStringLiteral("Loading screen"));
    EXPECT_EQ(label(d)->text(), QStringLiteral("Initializing device - please wait"));
    const char* expected[] = {"Loading screen - please wait.", "Loading screen - please wait..",
                              "Loading screen - please wait...", "Loading screen - please wait",
                              "Loading screen - please wait."};
    for (const char* text : expected) {
        tick(d, "Timer1");
        EXPECT_EQ(label(d)->text(), QLatin1String(text));
    }
    EXPECT_EQ(d->dotPhase, 2);
    wait.SetTex(QStringLiteral("Loading devices"));
    EXPECT_EQ(label(d)->text(), QStringLiteral("Loading screen - please wait."));
    tick(d, "Timer1");
    EXPECT_EQ(label(d)->text(), QStringLiteral("Loading devices - please wait.."));
    delete d;
}

TEST(PleaseWait, CallsWhileNotLoadedDoNothingAndTheNextLoadStartsAfresh)
{
    FakePlatform fake;
    WaitWindow wait;
    wait.setContext(AppContext{&fake.platform, nullptr, &wait});
    wait.SetTex(QStringLiteral("x"));
    wait.Hideforever();
    EXPECT_EQ(wait.loaded(), nullptr);

    QPointer<Dialog> d = wait.load();
    d->show();
    wait.SetTex(QStringLiteral("Loading"));
    tick(d, "Timer1");
    tick(d, "Timer1");
    wait.Hideforever();
    EXPECT_EQ(wait.loaded(), nullptr);
    ASSERT_TRUE(d);  // goes at the next pass of events, not inside the caller
    EXPECT_FALSE(d->isVisible());
    for (QTimer* t : d->findChildren<QTimer*>())
        EXPECT_FALSE(t->isActive()) << t->objectName().toStdString();
    wait.SetTex(QStringLiteral("ignored"));
    EXPECT_EQ(d->waitText, QStringLiteral("Loading"));
    QTRY_VERIFY(!d);

    Dialog* again = wait.load();
    EXPECT_EQ(again->dotPhase, 1);
    EXPECT_TRUE(again->waitText.isEmpty());
    EXPECT_EQ(label(again)->text(), QStringLiteral("Initializing device - please wait"));
    delete again;
}

TEST(PleaseWait, ClosingItByHandIsRefused)
{
    FakePlatform fake;
    WaitWindow wait;
    wait.setContext(AppContext{&fake.platform, nullptr, &wait});
    Dialog* d = wait.load();
    d->show();
    EXPECT_FALSE(d->close());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(wait.loaded(), d);
    delete d;
}

TEST(OpenWizard, MenuEntryHidesTheMainWindowAndOpensItsWizardOneTickLater)
{
    struct Case {
        const char* entry;
        const char* timer;
        const char* wizard;
    };
    for (const Case& c : {Case{"TransPicBox1", "Timer2", "Form1"}, Case{"TransPicBox2", "Timer3", "Form3"},
                          Case{"TransPicBox3", "Timer4", "Form4"}}) {
        SCOPED_TRACE(c.entry);
        MenuScene s;
        s.clickEntry(c.entry);
        EXPECT_EQ(s.fake->music.stops, 1);
        EXPECT_EQ(s.fake->cursor.history.value(0), int(Cursor::Hourglass));
        EXPECT_FALSE(s.window->isVisible());
        Dialog* d = s.window->waitWindow().loaded();
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->waitText, QStringLiteral("Loading screen"));
        EXPECT_EQ(label(d)->text(), QStringLiteral("Initializing device - please wait"));
        for (const char* other : {"Timer2", "Timer3", "Timer4"})
            EXPECT_EQ(d->findChild<QTimer*>(QLatin1String(other))->isActive(), qstrcmp(other, c.timer) == 0) << other;
        tick(d, "Timer1");
        EXPECT_EQ(label(d)->text(), QStringLiteral("Loading screen - please wait."));
        EXPECT_EQ(topLevel(c.wizard), nullptr);

        tick(d, c.timer);
        QWidget* wizard = topLevel(c.wizard);
        ASSERT_NE(wizard, nullptr);
        EXPECT_TRUE(wizard->isVisible());
        // The opener fires once per menu choice.
        if (Dialog* still = s.window->waitWindow().loaded())
            EXPECT_FALSE(still->findChild<QTimer*>(QLatin1String(c.timer))->isActive());
        s.fake->dialogs.verifyAllUsed();
    }
}

TEST(OpenWizard, RunsOnRealTimeAndTheMusicStaysSilentAfterReturning)
{
    MenuScene s;
    s.clickEntry("TransPicBox3");
    EXPECT_EQ(topLevel("Form4"), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(topLevel("Form4") && topLevel("Form4")->isVisible(), 3000);
    // The wizard's hand-back: Show, then it goes.
    s.window->Show();
    EXPECT_TRUE(s.window->isVisible());
    EXPECT_FALSE(s.visible("Frame1"));
    EXPECT_TRUE(s.visible("Label1"));
    EXPECT_EQ(s.fake->music.plays, 0);
}
