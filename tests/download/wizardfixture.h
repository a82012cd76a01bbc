#pragma once
#include "../devices/pagefixture.h"
#include "controls/folderlist_ui.h"
#include "download/form1_ui.h"
#include "support/fakefilecopier.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Answer = Dialogs::Answer;

inline const QString kExitQuestion = QStringLiteral("Exit Download Wizard?");
inline const QString kStopQuestion = QStringLiteral(
    "Stop copy process? If you click yes, file copy process will stop after this file has finished copying.");

inline void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

// A download wizard opened on a stick F: (a temporary folder) and a computer
// folder "pc" for sources, every service faked.
class WizardTest : public ::testing::Test {
protected:
    static constexpr uint64_t kTotal = 1ull << 30;
    static constexpr uint64_t kFree = 512ull << 20;

    void SetUp() override
    {
        stick = dirs.make(QStringLiteral("stick"));
        pc = dirs.make(QStringLiteral("pc"));
        fp.volumes.add(QLatin1Char('F'), Volumes::Removable, stick, QStringLiteral("STICK"), kTotal, kFree);
        fp.platform.fileCopier = &copier;
        fp.platform.programFolder = dirs.make(QStringLiteral("program"));
        ctx.platform = &fp.platform;
        ctx.main = &main;
        ctx.wait = &wait;
        open();
    }

    void TearDown() override
    {
        fp.dialogs.verifyAllUsed();
        delete form.data();
        flushDeletes();
    }

    void open()
    {
        form = new Form1(ctx);
        form->show();
        form->showcontrol();
    }

    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    template <typename T = QWidget>
    T* w(const char* name) const
    {
        T* found = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* name) const { return w<QLabel>(name)->text(); }
    void click(const char* name) { w<QPushButton>(name)->click(); }
    QString page() const
    {
        QWidget* c = form->currentPage();
        return c ? c->objectName() : QString();
    }
    QListWidget* list() const { return w<QListWidget>("List1"); }
    QStringList entries() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }

    // A source file on the computer; returns its native path.
    QString source(const QString& relative, const QByteArray& data = "data")
    {
        const QString p = QDir(pc).filePath(relative);
        writeFile(p, data);
        return p;
    }
    QString letter(const QString& native) { return fp.volumes.toLetter(native); }

    void toFrame2()
    {
        click("Command3");
        ASSERT_EQ(page(), QStringLiteral("Frame2"));
    }
    void toFrame3()
    {
        toFrame2();
        click("Command8");
        ASSERT_EQ(page(), QStringLiteral("Frame3"));
    }
    void addFiles(const QStringList& natives)
    {
        fp.dialogs.expectOpenFiles(natives);
        click("Command16");
    }
    void toFrame4(const QStringList& natives)
    {
        toFrame3();
        addFiles(natives);
        click("Command13");
        ASSERT_EQ(page(), QStringLiteral("Frame4"));
    }
    // Opens a folder of the folder list with a double click.
    void openFolder(const QString& letterPath)
    {
        auto* dir1 = w<FolderList>("Dir1");
        const int row = dir1->rowOf(letterPath);
        ASSERT_GE(row, 0) << letterPath.toStdString();
        doubleClick(dir1, row);
    }

    // Press, release, then the double click and its release, as a mouse sends them.
    static void doubleClick(QListWidget* list, int row)
    {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    }
    // Every call the wizard made on the main window was Show.
    bool onlyShown() const
    {
        QStringList calls = main.calls;
        calls.removeDuplicates();
        return calls == QStringList{QStringLiteral("Show")};
    }

    DriveFolders dirs;
    QString stick, pc;
    FakePlatform fp;
    FakeFileCopier copier;
    FakeMainLink main;
    FakeWaitLink wait;
    AppContext ctx;
    QPointer<Form1> form;
};
