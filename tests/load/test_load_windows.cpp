#include "loadfixture.h"

#include "configure/form4_ui.h"
#include "download/form1_ui.h"
#include "support/fakeformatter.h"
#include "support/fakeregistry.h"
#include "upload/form3_ui.h"

#include <QPixmapCache>
#include <QPointer>
#include <functional>

namespace {

constexpr int kOpenings = 100;
constexpr int kWarmUp = 10;
// Qt fills its caches (fonts, glyphs, styles, pixmaps) during the first openings; after
// that a hundred openings may leave no more than this, about 2 KB an opening.
constexpr size_t kHeapSlack = 200 * 1024;

struct WayOut {
    const char* what;
    // Leaves the open window as a person would, scripting the boxes it shows.
    std::function<void(QWidget*)> leave;
};

class LoadWindowsTest : public LoadTest {
protected:
    void SetUp() override
    {
        LoadTest::SetUp();
        fp.platform.registry = &registry;
        fp.platform.formatter = &formatter;
    }

    // Forgets what the fakes recorded, so their lists do not pass for the program's memory,
    // and empties Qt's pixmap cache: every opening draws fresh icons, whose cached
    // renderings Qt keeps (up to its limit) under new keys.
    void forgetRecords()
    {
        QPixmapCache::clear();
        mainLink.calls.clear();
        waitLink.calls.clear();
        fp.dialogs.shownMessages.clear();
        fp.dialogs.fileRequests.clear();
        fp.dialogs.folderRequests.clear();
        fp.dialogs.owners.clear();
        fp.volumes.spaceQueries.clear();
        fp.volumes.setLabelCalls.clear();
        mainLink.calls.squeeze();
        waitLink.calls.squeeze();
        fp.volumes.spaceQueries.squeeze();
    }

    // Opens and leaves the window kOpenings times, taking the ways out in turn; after
    // the warm-up every closing must give back each widget and the heap must stay level.
    void openAndClose(const std::function<QWidget*()>& make, const QList<WayOut>& ways)
    {
        qsizetype widgetsAfterWarmUp = -1;
        size_t heapAfterWarmUp = 0;
        const qsizetype widgetsBefore = QApplication::allWidgets().size();
        for (int i = 0; i < kOpenings; ++i) {
            const WayOut& way = ways.at(i % ways.size());
            SCOPED_TRACE(::testing::Message() << "opening " << i << ", " << way.what);
            forgetRecords();
            QPointer<QWidget> window = make();
            window->show();
            QCoreApplication::processEvents();
            way.leave(window);
            flushDeletes();
            ASSERT_TRUE(window.isNull()) << "closed and deleted";
            ASSERT_FALSE(mainLink.calls.isEmpty());
            EXPECT_EQ(mainLink.calls.last(), QStringLiteral("Show"));
            fp.dialogs.verifyAllUsed();
            if (i + 1 == kWarmUp) {
                forgetRecords();
                widgetsAfterWarmUp = QApplication::allWidgets().size();
                heapAfterWarmUp = heapInUse();
            }
        }
        forgetRecords();
        const qsizetype widgetsAfter = QApplication::allWidgets().size();
        EXPECT_EQ(widgetsAfter, widgetsAfterWarmUp) << "widgets left behind after the warm-up";
        // Only Qt's own lazily made helpers (a tool tip, a style's widgets) may stay from the first openings.
        EXPECT_LE(widgetsAfter - widgetsBefore, 4);
        const size_t heapAfter = heapInUse();
        EXPECT_LE(heapAfter, heapAfterWarmUp + kHeapSlack)
            << "heap grew by " << (heapAfter - heapAfterWarmUp) << " bytes over " << (kOpenings - kWarmUp) << " openings";
    }

    FakeRegistry registry;
    FakeFormatter formatter;
};

TEST_F(LoadWindowsTest, DownloadWizardOpenedAndLeftAHundredTimes)
{
    const QString q = QStringLiteral("Exit Download Wizard?");
    openAndClose(
        [this]() -> QWidget* {
            auto* f = new Form1(ctx);
            f->showcontrol();
            return f;
        },
        {
            {"Exit on the drive page", [&](QWidget* f) { expectExit(q); click(f, "Command4"); }},
            {"close box", [&](QWidget* f) { expectExit(q); EXPECT_TRUE(f->close()); }},
            {"Exit on the copy list",
             [&](QWidget* f) {
                 click(f, "Command3");
                 click(f, "Command8");
                 expectExit(q);
                 click(f, "Command15");
             }},
        });
}

TEST_F(LoadWindowsTest, UploadWizardOpenedAndLeftAHundredTimes)
{
    const QString q = QStringLiteral("Exit Upload Wizard?");
    openAndClose(
        [this]() -> QWidget* {
            auto* f = new Form3(ctx);
            f->showcontrol();
            return f;
        },
        {
            {"Exit on the drive page", [&](QWidget* f) { expectExit(q); click(f, "Command4"); }},
            {"close box", [&](QWidget* f) { expectExit(q); EXPECT_TRUE(f->close()); }},
            {"Exit on the destination page",
             [&](QWidget* f) {
                 click(f, "Command3");
                 expectExit(q);
                 click(f, "Command8");
             }},
        });
}

TEST_F(LoadWindowsTest, ConfigureDeviceOpenedAndLeftAHundredTimes)
{
    openAndClose(
        [this]() -> QWidget* {
            auto* f = new Form4(ctx);
            f->showcontrol();
            return f;
        },
        {
            {"Exit on the drive page", [&](QWidget* f) { click(f, "Command4"); }},
            {"close box", [&](QWidget* f) { EXPECT_TRUE(f->close()); }},
            {"Exit on the configuration page",
             [&](QWidget* f) {
                 click(f, "Command3");
                 click(f, "Command8");
             }},
            {"Finish",
             [&](QWidget* f) {
                 click(f, "Command3");
                 click(f, "Command7");
             }},
        });
}

}  // namespace
