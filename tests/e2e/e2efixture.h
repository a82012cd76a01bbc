#pragma once
// The whole program on the machine's own drive, copy and format backends, with
// only the person scripted: message boxes and file dialogs, the desktop, the
// pointer and the music are stand-ins.
#include <utility>
#include "controls/folderlist_ui.h"
#include "platform/linux/filecopier_linux.h"
#include "platform/linux/linuxformatter.h"
#include "platform/linux/linuxvolumes.h"
#include "platform/linux/systemregistry_linux.h"
#include "shell/frmsplash1_ui.h"
#include "support/fakeplatform.h"
#include "support/loopimage.h"

#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>
#include <sys/statvfs.h>

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Answer = Dialogs::Answer;

inline QByteArray randomBytes(qsizetype size)
{
    QByteArray b(size, Qt::Uninitialized);
    for (char& c : b)
        c = char(QRandomGenerator::global()->bounded(256));
    return b;
}

inline bool writeWhole(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

inline QByteArray readWhole(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Every name under folder, relative and sorted, hidden ones included.
inline QStringList treeOf(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(folder).relativeFilePath(it.next());
    out.removeAll(QStringLiteral("lost+found"));
    out.sort();
    return out;
}

// The real copier with a hook that fires once, at the first progress report of
// the chosen file (counted from 0 in the order the run copies them).
class FaultingCopier : public FileCopier {
public:
    int faultAtFile = -1;
    bool beforeTheFile = false;  // fire before the file's copy starts, not at its first report
    std::function<void()> fault;
    int calls = 0;
    bool fired = false;
    uint64_t firedAt = 0, firedOf = 0;  // the report the fault came at: bytes done of total
    QList<Result> results;

    Result copyFile(const QString& source, const QString& dest, const Progress& progress) override
    {
        const int index = calls++;
        if (index == faultAtFile && beforeTheFile && !fired && fault) {
            fired = true;
            settleThenFault();
        }
        // The file the fault hits must not be committed before the fault comes: the
        // earlier files are committed first, then this one's commit waits for it.
        const bool holdThis = index == faultAtFile && !beforeTheFile && !fired && fault;
        if (holdThis) {
            late_ += real_.finishPending();
            real_.holdCommits(true);
        }
        const Result r = real_.copyFile(source, dest, [&](uint64_t total, uint64_t done) {
            if (index == faultAtFile && !fired && fault) {
                fired = true;
                fault();
                real_.holdCommits(false);
            }
            return progress ? progress(total, done) : 0;
        });
        if (holdThis)
            real_.holdCommits(false);
        results << r;
        return r;
    }
    QList<Late> finishPending() override { return std::exchange(late_, {}) + real_.finishPending(); }

private:
    // The copier commits in the background: the fault comes once the earlier files are on the drive.
    void settleThenFault()
    {
        late_ += real_.finishPending();
        fault();
    }
    LinuxFileCopier real_;
    QList<Late> late_;
};

// A program folder of the test's own (the build's Data beside a Config.ini that
// says this is not the first run) and the production backends.
class RealProgram {
public:
    QTemporaryDir programDir;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    FakeCursor cursor;
    FakeInstanceGuard instanceGuard;
    FakeMusicPlayer music;
    std::unique_ptr<LinuxVolumes> volumes;
    std::unique_ptr<LinuxFormatter> formatter;
    FaultingCopier copier;
    LinuxSystemRegistry registry;
    Platform platform;
    std::unique_ptr<frmSplash1> window;

    RealProgram()
    {
        const QString data = programDir.filePath(QStringLiteral("Data"));
        QDir().mkpath(data);
        for (const QString& f : QDir(QStringLiteral(KORVANE_PROGRAM_DIR "/Data")).entryList(QDir::Files))
            QFile::copy(QStringLiteral(KORVANE_PROGRAM_DIR "/Data/") + f, data + QLatin1Char('/') + f);
        writeWhole(programDir.filePath(QStringLiteral("Config.ini")), "1\r\n");
        // The intro's music ends at once: the menu is uncovered on the intro's own timers.
        music.statusText = QStringLiteral("Stopped");

        // Built after the test's mounts, as the program is started after the stick is in.
        volumes = std::make_unique<LinuxVolumes>();
        formatter = std::make_unique<LinuxFormatter>(*volumes);
        platform.volumes = volumes.get();
        platform.formatter = formatter.get();
        platform.fileCopier = &copier;
        platform.registry = &registry;
        platform.dialogs = &dialogs;
        platform.desktop = &desktop;
        platform.cursor = &cursor;
        platform.instanceGuard = &instanceGuard;
        platform.music = &music;
        platform.programFolder = programDir.path();
    }

    ~RealProgram()
    {
        QList<QPointer<QWidget>> opened;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != window.get() && !w->parentWidget())
                opened.append(w);
        for (const QPointer<QWidget>& w : opened)
            delete w.data();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString letterOf(const QString& mountPoint) { return volumes->toLetter(mountPoint); }

    // Start-up: the main window plays its intro until the menu is uncovered.
    bool start()
    {
        window = std::make_unique<frmSplash1>(platform);
        if (!window->Load())
            return false;
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return false;
        auto* menu = window->findChild<QWidget*>(QStringLiteral("Label1"));
        return menu && QTest::qWaitFor([&] { return menu->isVisible(); }, 5000);
    }

    static QWidget* topLevel(const QString& name)
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                return w;
        return nullptr;
    }

    // A menu entry clicked as a person would; the wizard opens through the please-wait window.
    template <typename Wizard>
    Wizard* openFromMenu(const char* entry, const QString& wizardName)
    {
        QWidget* e = window->findChild<QWidget*>(QLatin1String(entry));
        if (!e)
            return nullptr;
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, e->mapTo(window.get(), e->rect().center()));
        if (!QTest::qWaitFor([&] { return topLevel(wizardName) != nullptr; }, 5000))
            return nullptr;
        // The please-wait window goes once the drive list is filled.
        (void)QTest::qWaitFor([&] { return topLevel(QStringLiteral("Dialog")) == nullptr; }, 3000);
        return qobject_cast<Wizard*>(topLevel(wizardName));
    }

    // Picks root on a wizard's Get Drive page (other sticks may be plugged in).
    static bool chooseDrive(QWidget* wizard, const QString& root)
    {
        auto* im = wizard->findChild<QComboBox*>(QStringLiteral("IM"));
        const int at = im ? im->findText(root) : -1;
        if (at < 0)
            return false;
        if (im->currentIndex() != at)
            im->setCurrentIndex(at);
        return true;
    }
};

template <typename T = QWidget>
T* part(QWidget* window, const char* name)
{
    T* w = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    EXPECT_NE(w, nullptr) << name;
    return w;
}
inline QString textOf(QWidget* window, const char* name)
{
    auto* l = part<QLabel>(window, name);
    return l ? l->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}
inline void press(QWidget* window, const char* name)
{
    if (auto* b = part<QPushButton>(window, name))
        b->click();
}
template <typename Wizard>
QString pageOf(Wizard* window)
{
    QWidget* page = window ? window->currentPage() : nullptr;
    return page ? page->objectName() : QStringLiteral("<none>");
}

// Opens a folder of a folder list with a double click, as a mouse sends it.
inline bool openFolderIn(FolderList* list, const QString& letterPath)
{
    const int row = list->rowOf(letterPath);
    if (row < 0)
        return false;
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    return true;
}

inline struct statvfs statOf(const QString& folder)
{
    struct statvfs st {};
    ::statvfs(QFile::encodeName(folder).constData(), &st);
    return st;
}

// The label and type a fresh probe of the device reads, never a cache.
inline QString probeValue(const QString& device, const char* tag)
{
    const ToolRun r = runTool({"blkid", "-p", "-s", QLatin1String(tag), "-o", "value", device});
    return r.ok() ? r.output.trimmed() : QString();
}

// Starts the program and walks the Download Wizard to the review page: the stick
// chosen, folder opened (made first when missing; empty: the stick's root),
// sources added through the file dialog.
template <typename Wizard>
QPointer<Wizard> downloadToReview(RealProgram& prog, const QString& root, const QString& mountPoint,
                                  const QString& folder, const QStringList& sources)
{
    QPointer<Wizard> form;
    if (!prog.start())
        return form;
    form = prog.openFromMenu<Wizard>("TransPicBox1", QStringLiteral("Form1"));
    if (!form || !RealProgram::chooseDrive(form, root))
        return {};
    press(form, "Command3");
    if (!folder.isEmpty()) {
        if (!QFileInfo(mountPoint + QLatin1Char('/') + folder).isDir()) {
            prog.dialogs.expectInput(QStringLiteral("Enter the name for the New Folder"), QStringLiteral("New Folder"),
                                     folder);
            press(form, "Command11");
        }
        if (!openFolderIn(part<FolderList>(form, "Dir1"), root + folder))
            return {};
    }
    press(form, "Command8");
    prog.dialogs.expectOpenFiles(sources);
    press(form, "Command16");
    press(form, "Command13");
    if (pageOf(form.data()) != QStringLiteral("Frame4"))
        return {};
    return form;
}
