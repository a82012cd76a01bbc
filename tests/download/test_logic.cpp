#include "download/filelisting.h"
#include "download/modcopy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CopyPercent, CountsEverySizeExactly)
{
    const uint64_t GiB = 1ull << 30;
    struct Case {
        uint64_t total, done;
        int percent;
    };
    const Case cases[] = {
        {0, 0, 100},                       // an empty file is complete
        {4, 2, 50},
        {3, 1, 33},
        {3 * GiB, 3 * GiB / 2, 50},         // past 2 GiB: no sign trouble
        {3 * GiB, 3 * GiB - 1, 99},
        {5 * GiB, GiB, 20},                 // past 4 GiB: still reported
        {~0ull, ~0ull / 2, 49},             // no overflow of done * 100
        {10, 10, 100},
        {10, 11, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CopyPercent(c.total, c.done), c.percent) << c.total << " " << c.done;
}

TEST(OverallPercent, CutsTowardZero)
{
    EXPECT_EQ(OverallPercent(1, 3), 33);
    EXPECT_EQ(OverallPercent(2, 3), 66);
    EXPECT_EQ(OverallPercent(3, 3), 100);
    EXPECT_EQ(OverallPercent(0, 0), 0);
}

TEST(DestinationFor, JoinsWithoutDoublingAndDropsSourceFolders)
{
    EXPECT_EQ(destinationFor(QStringLiteral("F:\\Dest"), QStringLiteral("C:\\Music\\Live\\a.mp3")),
              QStringLiteral("F:\\Dest\\a.mp3"));
    EXPECT_EQ(destinationFor(QStringLiteral("F:\\"), QStringLiteral("C:\\Music\\Live\\a.mp3")),
              QStringLiteral("F:\\a.mp3"));
}

TEST(CopyErrorText, NamesTheFirstFiveAndCountsTheRest)
{
    QList<CopyFailure> failures;
    for (int i = 1; i <= 7; ++i)
        failures.append({QStringLiteral("C:\\f%1.mp3").arg(i), 5, QStringLiteral("Reason %1.").arg(i)});
    EXPECT_EQ(copyErrorText(failures),
              QStringLiteral("Copy Error - 7 files could not be copied:\nC:\\f1.mp3: Reason 1.\nC:\\f2.mp3: Reason 2.\n"
                             "C:\\f3.mp3: Reason 3.\nC:\\f4.mp3: Reason 4.\nC:\\f5.mp3: Reason 5.\n(and 2 more)"));
    EXPECT_EQ(copyErrorText(failures.mid(0, 1), QStringLiteral("The destination drive cannot be found.")),
              QStringLiteral("Copy Error - 1 file could not be copied:\nC:\\f1.mp3: Reason 1.\nThe copy stopped: The "
                             "destination drive cannot be found."));
}

TEST(FileListing, OrdinaryFilesByNameOnly)
{
    QTemporaryDir tmp;
    const QDir d(tmp.path());
    for (const char* n : {"b.mp3", "A.mp3", "c10.mp3", "c9.mp3", ".hidden"}) {
        QFile f(d.filePath(QLatin1String(n)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    d.mkdir(QStringLiteral("sub"));
    QFile::link(d.filePath(QStringLiteral("gone")), d.filePath(QStringLiteral("dangling.mp3")));
    QStringList names;
    ASSERT_TRUE(listOrdinaryFiles(tmp.path(), &names));
    EXPECT_EQ(names, (QStringList{QStringLiteral("A.mp3"), QStringLiteral("b.mp3"), QStringLiteral("c10.mp3"),
                                  QStringLiteral("c9.mp3")}));
    EXPECT_FALSE(listOrdinaryFiles(d.filePath(QStringLiteral("missing")), &names));
    EXPECT_TRUE(names.isEmpty());
}

}  // namespace

#include "support/fakefilecopier.h"
#include "support/fakevolumes.h"

namespace {

// A copying page that records what the run tells it.
class RecordingView : public CopyRunView {
public:
    QStringList sources;
    QString destination;
    QStringList events;
    QString reportTitle, report;
    int entryCount() const override { return int(sources.size()); }
    QString entry(int i) const override { return sources.at(i); }
    QString entryNative(int i) const override { return QStringLiteral("/nowhere/") + sources.at(i).section('\\', -1); }
    QString destinationFolder() const override { return destination; }
    void begin(int count) override { events << QStringLiteral("begin %1").arg(count); }
    void startFile(int, const QString& text) override { events << text; }
    void setCurrentPercent(int) override {}
    void fileDone(int, int, const QString& text) override { events << text; }
    void letEventsRun() override {}
    void completed(const QString& t, const QString& r) override
    {
        events << QStringLiteral("completed");
        reportTitle = t;
        report = r;
    }
    void stopped() override { events << QStringLiteral("stopped"); }
    void leave() override { events << QStringLiteral("leave"); }
};

TEST(StartCopys, AGoneDestinationIsReportedAndOnlyTheUploadStopsAtIt)
{
    for (bool stopOnStepFailure : {false, true}) {
        SCOPED_TRACE(stopOnStepFailure);
        FakeVolumes volumes;
        FakeFileCopier copier;
        WizardFlags flags;
        QObject window;
        RecordingView view;
        view.sources = {QStringLiteral("F:\\a.mp3"), QStringLiteral("F:\\b.mp3")};
        view.destination = QStringLiteral("Q:\\");  // no such drive
        CopyRunSetup s;
        s.view = &view;
        s.window = &window;
        s.flags = &flags;
        s.copier = &copier;
        s.volumes = &volumes;
        s.stopOnStepFailure = stopOnStepFailure;
        startcopys(s);
        EXPECT_TRUE(copier.calls.isEmpty());
        EXPECT_EQ(view.events.last(), QStringLiteral("completed"));
        EXPECT_EQ(view.reportTitle, QStringLiteral("19"));
        if (stopOnStepFailure) {
            EXPECT_EQ(view.report, QStringLiteral("Copy Error - 1 file could not be copied:\nF:\\a.mp3: The destination "
                                                  "drive cannot be found.\nThe copy stopped: The destination drive "
                                                  "cannot be found."));
        } else {
            EXPECT_EQ(view.report, QStringLiteral("Copy Error - 2 files could not be copied:\nF:\\a.mp3: The destination "
                                                  "drive cannot be found.\nF:\\b.mp3: The destination drive cannot be "
                                                  "found."));
            EXPECT_TRUE(view.events.contains(QStringLiteral("Overall progress: 100% Complete")));
        }
    }
}

}  // namespace
