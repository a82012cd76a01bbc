// The upload wizard end to end on a real exFAT stick that this test makes and removes.
#include "../devices/pagefixture.h"
#include "support/loopimage.h"
#include "platform/linux/filecopier_linux.h"
#include "platform/linux/linuxvolumes.h"
#include "upload/form3_ui.h"

#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>

namespace {

QByteArray randomBytes(int size)
{
    QByteArray b(size, Qt::Uninitialized);
    for (char& c : b)
        c = char(QRandomGenerator::global()->bounded(256));
    return b;
}

}  // namespace

TEST(RealUpload, ThreeFilesFromTheStickLandWholeInARememberedFolder)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Exfat, QStringLiteral("KVUPLOAD"));
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-upload")));

    const struct { QString name; QByteArray data; } files[] = {
        {QStringLiteral("Music/one.mp3"), randomBytes(3 << 20)},
        {QStringLiteral("Music/Live/two, live.mp3"), randomBytes(300000)},
        {QStringLiteral("three.txt"), QByteArray("5 b\n")},
    };
    QStringList sources;
    for (const auto& f : files) {
        const QString p = img.mountPoint() + QLatin1Char('/') + f.name;
        QDir().mkpath(QFileInfo(p).absolutePath());
        QFile out(p);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(f.data);
        out.close();
        sources << p;
    }

    LinuxVolumes::Config config;
    config.useUDisks = false;
    LinuxVolumes volumes(config);
    ASSERT_TRUE(waitFor([&] { return volumes.toLetter(img.mountPoint()).size() == 3; }));
    const QString stickRoot = volumes.toLetter(img.mountPoint());
    ASSERT_EQ(volumes.driveType(stickRoot), Volumes::Removable);

    QTemporaryDir destination(QStringLiteral("/var/tmp/korvane-upload-XXXXXX"));
    QTemporaryDir program;
    QDir().mkpath(program.path() + QStringLiteral("/Data"));
    const QString destLetter = volumes.toLetter(destination.path());
    ASSERT_FALSE(destLetter.isEmpty());

    FakeDialogs dialogs;
    FakeDesktop desktop;
    FakeCursor cursor;
    LinuxFileCopier copier;
    Platform platform;
    platform.volumes = &volumes;
    platform.dialogs = &dialogs;
    platform.desktop = &desktop;
    platform.cursor = &cursor;
    platform.fileCopier = &copier;
    platform.programFolder = program.path();
    FakeMainLink main;
    FakeWaitLink wait;
    const AppContext ctx{&platform, &main, &wait};

    auto openOnStick = [&] {
        QPointer<Form3> form = new Form3(ctx);
        form->show();
        form->showcontrol();
        // Other removable drives may be plugged in: pick ours.
        auto* im = form->findChild<QComboBox*>(QStringLiteral("IM"));
        const int at = im->findText(stickRoot);
        EXPECT_GE(at, 0) << stickRoot.toStdString();
        im->setCurrentIndex(at);
        form->findChild<QPushButton*>(QStringLiteral("Command3"))->click();
        EXPECT_EQ(form->currentPage()->objectName(), QStringLiteral("Frame2"));
        return form;
    };
    auto text = [](QWidget* form, const char* name) {
        return form->findChild<QLabel*>(QLatin1String(name))->text();
    };
    auto click = [](QWidget* form, const char* name) {
        form->findChild<QPushButton*>(QLatin1String(name))->click();
    };

    QPointer<Form3> form = openOnStick();
    ASSERT_TRUE(form);
    EXPECT_EQ(text(form, "Label6"), QStringLiteral("Destination: "));
    dialogs.expectBrowseFolder(destination.path());
    click(form, "Command5");
    click(form, "Command7");
    ASSERT_EQ(form->currentPage()->objectName(), QStringLiteral("Frame3"));
    const QString remembered = destLetter + QLatin1Char('\\');
    EXPECT_EQ(contents(program.path() + QStringLiteral("/Data/Path.ini")), remembered.toUtf8() + "\r\n");

    dialogs.expectOpenFiles(sources);
    click(form, "Command16");
    EXPECT_EQ(dialogs.fileRequests.first().initialPath, volumes.toNative(stickRoot));
    click(form, "Command13");
    ASSERT_EQ(form->currentPage()->objectName(), QStringLiteral("Frame4"));
    click(form, "Command23");
    ASSERT_TRUE(form);
    EXPECT_EQ(text(form, "Label23"), QStringLiteral("File copy complete!"));

    for (const auto& f : files) {
        const QString copied = destination.path() + QLatin1Char('/') + QFileInfo(f.name).fileName();
        EXPECT_EQ(contents(copied), f.data) << copied.toStdString();
    }
    EXPECT_EQ(filesIn(destination.path()).size(), 3) << "no probe or temporary file left behind";

    click(form, "Command10");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());

    // The next upload starts from the folder confirmed last time.
    form = openOnStick();
    ASSERT_TRUE(form);
    EXPECT_EQ(text(form, "Label6"), QStringLiteral("Destination: ") + remembered);
    delete form.data();
    dialogs.verifyAllUsed();
}
