#pragma once
#include "devices/pagefixture.h"
#include "support/fakefilecopier.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Answer = Dialogs::Answer;

inline void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

// A copy wizard window opened on a stick F: (a temporary folder), with a computer
// folder "pc" and a program folder of the test's own; every service faked.
// A test class adds its own drives in prepare(), before the window opens.
template <typename Wizard>
class CopyWizardTest : public ::testing::Test {
protected:
    static constexpr uint64_t kStickTotal = 1ull << 30;
    static constexpr uint64_t kStickFree = 512ull << 20;

    void SetUp() override
    {
        stick = dirs.make(QStringLiteral("stick"));
        pc = dirs.make(QStringLiteral("pc"));
        program = dirs.make(QStringLiteral("program"));
        fp.volumes.add(QLatin1Char('F'), Volumes::Removable, stick, QStringLiteral("STICK"), kStickTotal, kStickFree);
        fp.platform.fileCopier = &copier;
        fp.platform.programFolder = program;
        ctx.platform = &fp.platform;
        ctx.main = &main;
        ctx.wait = &wait;
        prepare();
        open();
    }

    void TearDown() override
    {
        fp.dialogs.verifyAllUsed();
        discard();
    }

    virtual void prepare() {}

    void open()
    {
        form = new Wizard(ctx);
        form->show();
        form->showcontrol();
    }
    // Throws the window away without its close handler, as a test's own tidy-up.
    void discard()
    {
        delete form.data();
        flushDeletes();
    }
    void reopen()
    {
        discard();
        open();
    }

    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    template <typename T = QWidget>
    T* w(const char* name) const
    {
        T* found = form->template findChild<T*>(QLatin1String(name));
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
    void addFiles(const QStringList& natives)
    {
        fp.dialogs.expectOpenFiles(natives);
        click("Command16");
    }
    // Every call the wizard made on the main window was Show.
    bool onlyShown() const
    {
        QStringList calls = main.calls;
        calls.removeDuplicates();
        return calls == QStringList{QStringLiteral("Show")};
    }

    DriveFolders dirs;
    QString stick, pc, program;
    FakePlatform fp;
    FakeFileCopier copier;
    FakeMainLink main;
    FakeWaitLink wait;
    AppContext ctx;
    QPointer<Wizard> form;
};
