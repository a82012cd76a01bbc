// Load on the shared copy list and copy run, through their buttons in a shown window:
// the time "Add from folder" takes for a folder of many files, the longest stretch
// without a pass of events while it adds and while a run copies many small files
// with the real copier, and the peak memory of the process.
//
//   bench_load [--files N] [--copy N] [--rounds N] [--keep]
//
// Uses the real drive map, copier and pointer; only the folder dialog is answered
// by the benchmark. Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include "download/copylistpage_ui.h"
#include "download/copyrunpage_ui.h"
#include "download/filelisting.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/linux/filecopier_linux.h"
#include "platform/linux/linuxvolumes.h"
#include "platform/platform.h"
#include "platform/qt/qtcursor.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

// Answers the folder dialog with the benchmark's folder; any other box is a fault of
// the run and is counted.
class BenchDialogs : public Dialogs {
public:
    QString folder;
    int unexpected = 0;
    Answer message(QWidget*, const QString& text, const QString&, Icon, Buttons) override
    {
        ++unexpected;
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(text));
        return Answer::Yes;
    }
    QString input(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QStringList openFiles(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString browseFolder(QWidget*, const QString&, const QString&) override { return folder; }
};

class NoDesktop : public Desktop {
public:
    OpenResult openDocument(const QString&) override { return OpenResult::Failed; }
    OpenResult openUrl(const QString&) override { return OpenResult::Failed; }
    bool startProgram(const QString&, int) override { return false; }
    bool openFolder(const QString&) override { return false; }
};

// The longest time between two ticks of a 1 ms timer: ticks come only from passes of events.
class Heartbeat {
public:
    Heartbeat()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            worst_ = std::max(worst_, since_.nsecsElapsed());
            since_.restart();
        });
    }
    void start()
    {
        worst_ = 0;
        since_.start();
        timer_.start(1);
    }
    double stopMs()
    {
        timer_.stop();
        worst_ = std::max(worst_, since_.nsecsElapsed());
        return worst_ / 1e6;
    }

private:
    QTimer timer_;
    QElapsedTimer since_;
    qint64 worst_ = 0;
};

void makeFiles(const QString& folder, int count, int bytesEach)
{
    QDir().mkpath(folder);
    const QByteArray data(bytesEach, 'k');
    for (int i = 0; i < count; ++i) {
        const QByteArray path = (folder + QStringLiteral("/track %1.mp3").arg(i, 5, 10, QLatin1Char('0'))).toLocal8Bit();
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, data.constData(), size_t(data.size())) != data.size())
            qFatal("cannot write %s", path.constData());
        ::close(fd);
    }
}

void letEventsRunFor(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ::usleep(1000);
    }
}

double peakMiB()
{
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss / 1024.0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int files = 30000, copies = 2000, rounds = 3;
    bool keep = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--files") && i + 1 < args.size())
            files = args[++i].toInt();
        else if (args[i] == QLatin1String("--copy") && i + 1 < args.size())
            copies = args[++i].toInt();
        else if (args[i] == QLatin1String("--rounds") && i + 1 < args.size())
            rounds = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--keep"))
            keep = true;
        else
            qFatal("usage: bench_load [--files N] [--copy N] [--rounds N] [--keep]");
    }

    QTemporaryDir tmp;
    tmp.setAutoRemove(!keep);
    const QString many = tmp.filePath(QStringLiteral("many"));
    const QString small = tmp.filePath(QStringLiteral("small"));
    const QString dest = tmp.filePath(QStringLiteral("dest"));
    std::printf("making %d empty-ish files and %d small files under %s\n", files, copies, qPrintable(tmp.path()));
    makeFiles(many, files, 1);
    makeFiles(small, copies, 4096);
    QDir().mkpath(dest);
    const double peakBefore = peakMiB();

    LinuxVolumes volumes;
    LinuxFileCopier copier;
    BenchDialogs dialogs;
    NoDesktop desktop;
    QtCursor cursor;
    Platform platform;
    platform.volumes = &volumes;
    platform.dialogs = &dialogs;
    platform.desktop = &desktop;
    platform.cursor = &cursor;
    platform.fileCopier = &copier;
    platform.programFolder = QStringLiteral(KORVANE_PROGRAM_DIR);
    AppContext ctx{&platform, nullptr, nullptr};

    QWidget window;
    window.resize(640, 360);
    CopyListPage::Config lc;
    lc.caption = QStringLiteral("Download Wizard - Get Music to Download");
    lc.addCaption = QStringLiteral("Add File");
    auto* list = new CopyListPage(ctx, lc, &window);
    list->resetList();
    window.show();
    letEventsRunFor(200);
    auto* addFromFolder = list->findChild<QPushButton*>(QStringLiteral("Command19"));

    // Adding: the click, then the passes of events that paint the grown list.
    std::vector<double> addSeconds, addGaps;
    Heartbeat beat;
    for (int r = 0; r < rounds; ++r) {
        list->resetList();
        letEventsRunFor(100);
        dialogs.folder = many;
        beat.start();
        letEventsRunFor(20);
        QElapsedTimer clock;
        clock.start();
        addFromFolder->click();
        addSeconds.push_back(clock.nsecsElapsed() / 1e9);
        letEventsRunFor(300);
        addGaps.push_back(beat.stopMs());
        if (list->count() != files)
            qFatal("the list holds %d entries, not %d", list->count(), files);
    }
    const double peakAfterAdd = peakMiB();

    // Where an add goes: the same steps one by one, outside the page.
    QElapsedTimer step;
    step.start();
    QFileInfoList listed;
    listOrdinaryFiles(many, &listed);
    QStringList names;
    qint64 bytes = 0;
    for (const QFileInfo& info : listed) {
        names << info.fileName();
        bytes += info.size();
    }
    const double listing = step.nsecsElapsed() / 1e9;
    step.restart();
    QStringList letters;
    for (const QString& n : names)
        letters << volumes.toLetter(many + QLatin1Char('/') + n);
    const double mapping = step.nsecsElapsed() / 1e9;
    QListWidget plain(&window);
    plain.setLayoutMode(QListView::Batched);
    plain.setGeometry(0, 0, 300, 150);
    plain.show();
    step.restart();
    for (const QString& l : letters) {
        auto* item = new QListWidgetItem(l);
        item->setData(Qt::UserRole, l);
        item->setData(Qt::UserRole + 1, bytes);
        plain.addItem(item);
    }
    const double inserting = step.nsecsElapsed() / 1e9;
    plain.clear();

    // The run: the copy list holds the small files; the run copies them into dest.
    list->resetList();
    dialogs.folder = small;
    addFromFolder->click();
    WizardFlags flags;
    const QString destLetter = volumes.toLetter(dest);
    CopyRunPage::Config rc;
    rc.caption = QStringLiteral("Download Wizard - Copying Files");
    rc.list = list;
    rc.flags = &flags;
    rc.destinationFolder = [destLetter] { return destLetter; };
    auto* run = new CopyRunPage(ctx, rc, &window);
    run->show();
    run->raise();
    letEventsRunFor(100);
    beat.start();
    QElapsedTimer clock;
    clock.start();
    run->start();
    const double runSeconds = clock.nsecsElapsed() / 1e9;
    const double runGap = beat.stopMs();
    const int copied = int(QDir(dest).entryList(QDir::Files).size());
    if (copied != copies)
        qFatal("the run copied %d files, not %d", copied, copies);

    // What the machine's scheduling alone costs the heartbeat.
    beat.start();
    letEventsRunFor(2000);
    const double idleGap = beat.stopMs();

    std::printf("\nadd from folder, %d files (%d rounds)\n", files, rounds);
    std::printf("  time to add        median %.3f s  (min %.3f, max %.3f)\n", median(addSeconds),
                *std::min_element(addSeconds.begin(), addSeconds.end()),
                *std::max_element(addSeconds.begin(), addSeconds.end()));
    std::printf("  longest event gap  median %.1f ms  (max %.1f)\n", median(addGaps),
                *std::max_element(addGaps.begin(), addGaps.end()));
    std::printf("  of which (apart)   listing with sizes %.3f s, letters %.3f s, list items %.3f s\n", listing,
                mapping, inserting);
    std::printf("copy run, %d files of 4 KB, real copier\n", copies);
    std::printf("  time               %.2f s  (%.1f files/s)\n", runSeconds, copies / runSeconds);
    std::printf("  longest event gap  %.1f ms\n", runGap);
    std::printf("idle event loop      longest gap %.1f ms (the machine's own scheduling)\n", idleGap);
    std::printf("peak memory (ru_maxrss)  %.1f MB after making the files, %.1f MB after adding, %.1f MB at the end\n",
                peakBefore, peakAfterAdd, peakMiB());
    std::printf("aims: add < 2 s, gaps < 100 ms, peak < 150 MB\n");
    if (dialogs.unexpected)
        std::printf("FAULT: %d unexpected boxes\n", dialogs.unexpected);
    return dialogs.unexpected ? 1 : 0;
}
