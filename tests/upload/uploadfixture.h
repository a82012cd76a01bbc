#pragma once
#include "../devices/pagefixture.h"
#include "support/fakefilecopier.h"
#include "upload/form3_ui.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Answer = Dialogs::Answer;

inline const QString kExitQuestion = QStringLiteral("Exit Upload Wizard?");

inline void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

// An upload wizard with a stick F: and a computer drive Z: (temporary folders),
// every service faked; the program folder is a test's own, without Path.ini.
class UploadTest : public ::testing::Test {
protected:
    static constexpr uint64_t kStickTotal = 1ull << 30;
    static constexpr uint64_t kStickFree = 512ull << 20;
    static constexpr uint64_t kPcTotal = 2000000000;
    static constexpr uint64_t kPcFree = 1000000000;

    void SetUp() override
    {
        stick = dirs.make(QStringLiteral("stick"));
        pc = dirs.make(QStringLiteral("pc"));
        program = dirs.make(QStringLiteral("program"));
        QDir().mkpath(program + QStringLiteral("/Data"));
        fp.volumes.add(QLatin1Char('F'), Volumes::Removable, stick, QStringLiteral("STICK"), kStickTotal, kStickFree);
        fp.volumes.add(QLatin1Char('Z'), Volumes::Fixed, pc, {}, kPcTotal, kPcFree);
        fp.platform.fileCopier = &copier;
        fp.platform.programFolder = program;
        ctx.platform = &fp.platform;
        ctx.main = &main;
        ctx.wait = &wait;
        open();
    }

    void TearDown() override
    {
        fp.dialogs.verifyAllUsed();
        discard();
    }

    void open()
    {
        form = new Form3(ctx);
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
    QStringList entries() const
    {
        auto* list = w<QListWidget>("List1");
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    QString pathIni() const { return program + QStringLiteral("/Data/Path.ini"); }
    QByteArray pathIniBytes() const { return contents(pathIni()); }
    void remember(const QByteArray& line) { writeFile(pathIni(), line + "\r\n"); }

    // A folder of the computer drive Z:, made; returns its native path.
    QString pcFolder(const QString& relative)
    {
        const QString p = QDir(pc).filePath(relative);
        QDir().mkpath(p);
        return p;
    }
    // A file on the stick; returns its native path.
    QString onStick(const QString& relative, const QByteArray& data)
    {
        const QString p = QDir(stick).filePath(relative);
        writeFile(p, data);
        return p;
    }

    void toFrame2()
    {
        click("Command3");
        ASSERT_EQ(page(), QStringLiteral("Frame2"));
    }
    void change(const QString& native)
    {
        fp.dialogs.expectBrowseFolder(native);
        click("Command5");
    }
    void toFrame3(const QString& destinationNative)
    {
        toFrame2();
        change(destinationNative);
        click("Command7");
        ASSERT_EQ(page(), QStringLiteral("Frame3"));
    }
    void addFiles(const QStringList& natives)
    {
        fp.dialogs.expectOpenFiles(natives);
        click("Command16");
    }

    DriveFolders dirs;
    QString stick, pc, program;
    FakePlatform fp;
    FakeFileCopier copier;
    FakeMainLink main;
    FakeWaitLink wait;
    AppContext ctx;
    QPointer<Form3> form;
};
