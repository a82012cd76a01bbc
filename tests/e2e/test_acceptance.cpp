// The program as a person uses it, on sticks this test makes and removes.
#include "configure/form4_ui.h"
#include "configure/formatdialog_ui.h"
#include "download/form1_ui.h"
#include "e2efixture.h"
#include "upload/form3_ui.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>
#include <cmath>

namespace {

const QString kNewFolderPrompt = QStringLiteral("Enter the name for the New Folder");

QString mb(double bytes)
{
    return QString::number(qint64(std::round(bytes / 1048576.0)));
}
QString mbGb(double bytes)
{
    return mb(bytes) + QStringLiteral(" MB (") + QString::number(qint64(std::round(bytes / 1073741824.0)))
           + QStringLiteral(" GB) ");
}

struct Song {
    QString name;
    QByteArray data;
};

}  // namespace

TEST(Acceptance, DownloadOntoAStickThenUploadBackWithTheFolderRemembered)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Exfat, QStringLiteral("KVE2E"), 48);
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-e2e-trip")));
    QTemporaryDir pc(QStringLiteral("/var/tmp/korvane-e2e-XXXXXX"));
    const QList<Song> songs = {
        {QStringLiteral("Album/one.mp3"), randomBytes(3 << 20)},
        {QStringLiteral("two.ogg"), randomBytes(200000)},
        {QStringLiteral("notes.txt"), QByteArray("hello")},
    };
    QStringList sources;
    for (const Song& s : songs) {
        ASSERT_TRUE(writeWhole(pc.filePath(s.name), s.data));
        sources << pc.filePath(s.name);
    }
    const QStringList computerBefore = treeOf(pc.path());

    RealProgram prog;
    ASSERT_TRUE(prog.start()) << "the intro uncovers the menu";
    const QString root = prog.letterOf(img.mountPoint());
    ASSERT_EQ(root.size(), 3) << "the stick has a letter";
    ASSERT_EQ(prog.volumes->driveType(root), Volumes::Removable);

    // Steps 2 and 3: Download Wizard, the please-wait window, then the Get Drive page.
    QPointer<Form1> form = prog.openFromMenu<Form1>("TransPicBox1", QStringLiteral("Form1"));
    ASSERT_TRUE(form);
    EXPECT_FALSE(prog.window->isVisible());
    ASSERT_TRUE(RealProgram::chooseDrive(form, root));
    EXPECT_EQ(textOf(form, "Label2"), QStringLiteral("Status: Ready on Drive ") + root);
    EXPECT_EQ(textOf(form, "Label3"), QStringLiteral("Drive Selected: KVE2E (") + root + QStringLiteral(")"));
    EXPECT_EQ(part<QLineEdit>(form, "Text1")->text(), QStringLiteral("KVE2E"));
    EXPECT_EQ(treeOf(img.mountPoint()), QStringList{}) << "the readiness probe is gone again";

    // Steps 4 and 5: a new folder on the stick, opened, then Next.
    press(form, "Command3");
    ASSERT_EQ(pageOf(form.data()), QStringLiteral("Frame2"));
    EXPECT_EQ(textOf(form, "Label8"), QStringLiteral("Destination: ") + root);
    prog.dialogs.expectInput(kNewFolderPrompt, QStringLiteral("New Folder"), QStringLiteral("My Music"));
    press(form, "Command11");
    ASSERT_TRUE(QFileInfo(img.mountPoint() + QStringLiteral("/My Music")).isDir());
    ASSERT_TRUE(openFolderIn(part<FolderList>(form, "Dir1"), root + QStringLiteral("My Music")));
    EXPECT_EQ(textOf(form, "Label8"), QStringLiteral("Destination: ") + root + QStringLiteral("My Music"));
    press(form, "Command8");
    ASSERT_EQ(pageOf(form.data()), QStringLiteral("Frame3"));
    EXPECT_EQ(treeOf(img.mountPoint()), QStringList{QStringLiteral("My Music")}) << "Test.dat is gone again";

    // Steps 6 and 7: three files from the computer, the review of the real drive's figures.
    prog.dialogs.expectOpenFiles(sources);
    press(form, "Command16");
    EXPECT_EQ(textOf(form, "Label20"), QStringLiteral("3 files - 3 MB"));
    const struct statvfs st = statOf(img.mountPoint());
    press(form, "Command13");
    ASSERT_EQ(pageOf(form.data()), QStringLiteral("Frame4"));
    EXPECT_EQ(textOf(form, "Label16"), QStringLiteral("Name: KVE2E"));
    EXPECT_EQ(textOf(form, "Label15"), QStringLiteral("Drive: ") + root);
    EXPECT_EQ(textOf(form, "Label14"), QStringLiteral("Size: ") + mb(double(st.f_blocks) * st.f_frsize) + " MB");
    EXPECT_EQ(textOf(form, "Label13"),
              QStringLiteral("Avaliable Space: ") + mb(double(st.f_bavail) * st.f_frsize) + " MB");
    EXPECT_EQ(textOf(form, "Label18"), QStringLiteral("Destination: ") + root + QStringLiteral("My Music"));
    EXPECT_EQ(textOf(form, "Label17"), QStringLiteral("Number of files to copy: 3"));
    EXPECT_EQ(textOf(form, "Label10"), QStringLiteral("Drive Space Required: 3 MB"));

    // Steps 8 and 9: the copy run, then Finish.
    press(form, "Command23");
    ASSERT_TRUE(form);
    EXPECT_EQ(pageOf(form.data()), QStringLiteral("Frame7"));
    EXPECT_EQ(textOf(form, "Label23"), QStringLiteral("File copy complete!"));
    EXPECT_EQ(textOf(form, "Label22"), QStringLiteral("Overall progress: 100% Complete"));
    EXPECT_EQ(prog.copier.calls, 3);
    const QString onStick = img.mountPoint() + QStringLiteral("/My Music/");
    for (const Song& s : songs)
        EXPECT_TRUE(readWhole(onStick + QFileInfo(s.name).fileName()) == s.data) << s.name.toStdString();
    EXPECT_EQ(treeOf(onStick), (QStringList{"notes.txt", "one.mp3", "two.ogg"})) << "nothing else left behind";
    press(form, "Command9");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(prog.window->isVisible());
    EXPECT_EQ(treeOf(pc.path()), computerBefore) << "the sources are untouched";
    prog.dialogs.verifyAllUsed();

    // Back the other way: the same files into a new folder on the computer.
    QTemporaryDir back(QStringLiteral("/var/tmp/korvane-e2e-back-XXXXXX"));
    const QString backLetter = prog.volumes->toLetter(back.path());
    ASSERT_FALSE(backLetter.isEmpty());
    QPointer<Form3> up = prog.openFromMenu<Form3>("TransPicBox2", QStringLiteral("Form3"));
    ASSERT_TRUE(up);
    ASSERT_TRUE(RealProgram::chooseDrive(up, root));
    press(up, "Command3");
    ASSERT_EQ(pageOf(up.data()), QStringLiteral("Frame2"));
    EXPECT_EQ(textOf(up, "Label6"), QStringLiteral("Destination: "));
    prog.dialogs.expectBrowseFolder(back.path());
    press(up, "Command5");
    press(up, "Command7");
    ASSERT_EQ(pageOf(up.data()), QStringLiteral("Frame3"));
    const QString remembered = backLetter + QLatin1Char('\\');
    EXPECT_EQ(readWhole(prog.programDir.filePath(QStringLiteral("Data/Path.ini"))), remembered.toUtf8() + "\r\n");
    QStringList fromStick;
    for (const Song& s : songs)
        fromStick << onStick + QFileInfo(s.name).fileName();
    prog.dialogs.expectOpenFiles(fromStick);
    press(up, "Command16");
    EXPECT_EQ(QDir(prog.dialogs.fileRequests.last().initialPath), QDir(img.mountPoint()));
    press(up, "Command13");
    ASSERT_EQ(pageOf(up.data()), QStringLiteral("Frame4"));
    press(up, "Command23");
    ASSERT_TRUE(up);
    EXPECT_EQ(textOf(up, "Label23"), QStringLiteral("File copy complete!"));
    for (const Song& s : songs)
        EXPECT_TRUE(readWhole(back.filePath(QFileInfo(s.name).fileName())) == s.data) << s.name.toStdString();
    EXPECT_EQ(treeOf(back.path()), (QStringList{"notes.txt", "one.mp3", "two.ogg"}));
    press(up, "Command10");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(up.isNull());
    EXPECT_TRUE(prog.window->isVisible());

    // The next upload starts from the folder confirmed last time.
    up = prog.openFromMenu<Form3>("TransPicBox2", QStringLiteral("Form3"));
    ASSERT_TRUE(up);
    ASSERT_TRUE(RealProgram::chooseDrive(up, root));
    press(up, "Command3");
    EXPECT_EQ(textOf(up, "Label6"), QStringLiteral("Destination: ") + remembered);
    prog.dialogs.expectMessage(QStringLiteral("Exit Upload Wizard?"), QStringLiteral("Exit?"), Icon::Question,
                               Buttons::YesNo, Answer::Yes);
    up->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(up.isNull());
    EXPECT_TRUE(prog.window->isVisible());
    prog.dialogs.verifyAllUsed();
}

TEST(Acceptance, ConfigureShowsTheStickRenamesAndFormatsIt)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Exfat, QStringLiteral("KVCONF"), 48);
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-e2e-conf")));
    ASSERT_TRUE(writeWhole(img.mountPoint() + QStringLiteral("/old.mp3"), randomBytes(5 << 20)));

    RealProgram prog;
    ASSERT_TRUE(prog.start());
    const QString root = prog.letterOf(img.mountPoint());
    ASSERT_EQ(root.size(), 3);
    QPointer<Form4> form = prog.openFromMenu<Form4>("TransPicBox3", QStringLiteral("Form4"));
    ASSERT_TRUE(form);
    ASSERT_TRUE(RealProgram::chooseDrive(form, root));
    auto configShown = [&] { return part<QGroupBox>(form, "Frame2")->isVisible(); };

    press(form, "Command3");
    ASSERT_TRUE(configShown());
    const struct statvfs st = statOf(img.mountPoint());
    const double total = double(st.f_blocks) * st.f_frsize;
    const double used = total - double(st.f_bfree) * st.f_frsize;
    EXPECT_EQ(textOf(form, "Label15"), QStringLiteral("Drive: ") + root);
    EXPECT_EQ(textOf(form, "Label16"), QStringLiteral("Name: KVCONF"));
    EXPECT_EQ(textOf(form, "Label14"),
              QStringLiteral("Size: ") + QString::number(qint64(std::nearbyint(total / 1048576.0))) + " MB");
    EXPECT_EQ(textOf(form, "Label19"), QStringLiteral("Drive ") + root + QStringLiteral(" has ") + mbGb(used)
                                           + QStringLiteral(" of ") + mbGb(total) + QStringLiteral(" Max used"));
    auto* bar = part<QProgressBar>(form, "p1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->maximum(), mb(total).toInt());
    EXPECT_EQ(bar->value(), mb(used).toInt());
    EXPECT_GE(bar->value(), 5) << "the 5 MB file counts as used";

    // Rename: back to the Get Drive page, a new name in the name box, Next.
    press(form, "Command9");
    ASSERT_FALSE(configShown());
    part<QLineEdit>(form, "Text1")->setText(QStringLiteral("Road Trip"));
    prog.dialogs.expectMessage(QStringLiteral("Change Drive name to Road Trip?"),
                               QStringLiteral("Change Name on Drive ") + root, Icon::None, Buttons::YesNo, Answer::Yes);
    press(form, "Command3");
    EXPECT_EQ(probeValue(img.device(), "LABEL"), QStringLiteral("Road Trip"));
    press(form, "Command3");
    ASSERT_TRUE(configShown());
    EXPECT_EQ(textOf(form, "Label16"), QStringLiteral("Name: Road Trip"));

    // Format to ext4 with a new name, through the format dialog.
    prog.dialogs.expectMessage(QStringLiteral("Every file on drive ") + root +
                                   QStringLiteral(" will be erased. Format the drive now?"),
                               QStringLiteral("Format ") + root, Icon::Question, Buttons::YesNo, Answer::Yes);
    prog.dialogs.expectMessage(QStringLiteral("Drive ") + root + QStringLiteral(" has been formatted."),
                               QStringLiteral("Format ") + root, Icon::Information, Buttons::Ok, Answer::Ok);
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<FormatDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        auto* fs = dlg->findChild<QComboBox*>(QStringLiteral("fileSystem"));
        const int ext4 = fs->findData(QStringLiteral("ext4"));
        ASSERT_GE(ext4, 0);
        fs->setCurrentIndex(ext4);
        dlg->findChild<QLineEdit*>(QStringLiteral("volumeLabel"))->setText(QStringLiteral("FRESH"));
        dlg->findChild<QPushButton*>(QStringLiteral("startButton"))->click();
        driven = dlg->formatted();
        dlg->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
    });
    press(form, "Command5");
    ASSERT_TRUE(driven) << "the format dialog reports success";
    EXPECT_EQ(probeValue(img.device(), "TYPE"), QStringLiteral("ext4"));
    EXPECT_EQ(probeValue(img.device(), "LABEL"), QStringLiteral("FRESH"));
    EXPECT_EQ(prog.volumes->toLetter(img.mountPoint()), root) << "mounted again under its letter";
    EXPECT_EQ(treeOf(img.mountPoint()), QStringList{}) << "the old file is erased";
    prog.dialogs.verifyAllUsed();
}

TEST(Acceptance, AStickPluggedInWhileTheDownloadWizardIsOpenIsListedAndTestedWithinTwoTicks)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Ext4, QStringLiteral("KVPLUG"), 32);
    ASSERT_TRUE(img.attached());

    RealProgram prog;
    ASSERT_TRUE(prog.start());
    QPointer<Form1> form = prog.openFromMenu<Form1>("TransPicBox1", QStringLiteral("Form1"));
    ASSERT_TRUE(form);
    auto* im = part<QComboBox>(form, "IM");
    const int before = im->count();
    auto* watch = form->findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_TRUE(watch);
    ASSERT_TRUE(watch->isActive());

    ASSERT_TRUE(img.mount(QStringLiteral("kv-e2e-plug")));
    const QString root = prog.letterOf(img.mountPoint());
    ASSERT_EQ(root.size(), 3);
    QSignalSpy ticks(watch, &QTimer::timeout);
    // Counted in the watch's own ticks, not in time: the second tick must have listed it.
    (void)QTest::qWaitFor([&] { return im->count() > before || ticks.count() >= 2; }, 5000);
    EXPECT_LE(ticks.count(), 2);
    ASSERT_EQ(im->count(), before + 1);
    EXPECT_NE(im->findText(root), -1);
    // The first entry is selected and tested; with no other stick that is this one.
    if (before == 0) {
        EXPECT_EQ(im->currentText(), root);
        EXPECT_EQ(textOf(form, "Label2"), QStringLiteral("Status: Ready on Drive ") + root);
        EXPECT_EQ(textOf(form, "Label3"), QStringLiteral("Drive Selected: KVPLUG (") + root + QStringLiteral(")"));
        EXPECT_TRUE(part(form, "Frame0")->isHidden());
    }
    EXPECT_EQ(treeOf(img.mountPoint()), QStringList{}) << "the readiness probe is gone again";

    prog.dialogs.expectMessage(QStringLiteral("Exit Download Wizard?"), QStringLiteral("Exit?"),
                               Dialogs::Icon::Question, Dialogs::Buttons::YesNo, Dialogs::Answer::Yes);
    press(form, "Command4");
    (void)QTest::qWaitFor([&] { return form.isNull(); }, 3000);
    EXPECT_TRUE(form.isNull());
    prog.dialogs.verifyAllUsed();
}
