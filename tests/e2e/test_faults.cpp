// A download that meets a fault half-way, on sticks this test makes and removes.
#include "download/form1_ui.h"
#include "e2efixture.h"

namespace {

// Three files on the computer; the middle one is big enough to be reported on
// while it is copied.
struct Sources {
    QTemporaryDir pc{QStringLiteral("/var/tmp/korvane-e2e-fault-XXXXXX")};
    QStringList paths;
    QList<QByteArray> data;
    QStringList before;

    explicit Sources(qsizetype middle = 24 << 20)
    {
        const QList<QPair<QString, qsizetype>> files = {
            {QStringLiteral("a.mp3"), 1 << 20}, {QStringLiteral("b.mp3"), middle}, {QStringLiteral("c.mp3"), 70000}};
        for (const auto& [name, size] : files) {
            paths << pc.filePath(name);
            data << randomBytes(size);
            writeWhole(paths.last(), data.last());
        }
        before = treeOf(pc.path());
    }
    QString entry(RealProgram& prog, int i) const { return prog.volumes->toLetter(paths[i]); }
    // Nothing on the computer changed: names and contents.
    void expectUntouched(const std::vector<int>& unchanged = {0, 1, 2}) const
    {
        EXPECT_EQ(treeOf(pc.path()), before);
        for (int i : unchanged)
            EXPECT_TRUE(readWhole(paths[i]) == data[i]) << paths[i].toStdString();
    }
};

QString report(const QStringList& lines)
{
    const int n = int(lines.size());
    return QStringLiteral("Copy Error - ") +
           (n == 1 ? QStringLiteral("1 file could not be copied:") : QString::number(n) + " files could not be copied:") +
           QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}

void expectReport(RealProgram& prog, const QStringList& lines, int error)
{
    prog.dialogs.expectMessage(report(lines), QString::number(error), Icon::Critical, Buttons::Ok, Answer::Ok);
}

// The run has ended: complete, with Finish the way on.
void expectRunEnded(Form1* form)
{
    ASSERT_TRUE(form);
    EXPECT_EQ(pageOf(form), QStringLiteral("Frame7"));
    EXPECT_EQ(textOf(form, "Label23"), QStringLiteral("File copy complete!"));
    EXPECT_EQ(textOf(form, "Label22"), QStringLiteral("Overall progress: 100% Complete"));
    EXPECT_TRUE(part<QPushButton>(form, "Command9")->isEnabled());
}

}  // namespace

TEST(Faults, StickPulledDuringACopy)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Exfat, QStringLiteral("KVPULL"), 64);
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-e2e-pull")));
    const QString mountPoint = img.mountPoint();
    Sources src;
    RealProgram prog;
    const QString root = prog.letterOf(mountPoint);
    ASSERT_EQ(root.size(), 3);
    // Copied to the stick's root: a write that went on after the pull would land on the computer.
    QPointer<Form1> form = downloadToReview<Form1>(prog, root, mountPoint, {}, src.paths);
    ASSERT_TRUE(form);

    prog.copier.faultAtFile = 1;
    bool pulled = false;
    prog.copier.fault = [&] {
        // The daemon ends as when the device goes; then the desktop drops the dead mount.
        pulled = img.killFuseDaemon() && runTool({"umount", "-l", mountPoint}).ok();
    };
    expectReport(prog,
                 {src.entry(prog, 1) + QStringLiteral(": The drive was removed."),
                  src.entry(prog, 2) + QStringLiteral(": The destination drive cannot be found.")},
                 19);
    QElapsedTimer took;
    took.start();
    press(form, "Command23");
    ASSERT_TRUE(pulled) << "the fault fired during the second file";
    EXPECT_LT(took.elapsed(), 30000) << "no hang";
    expectRunEnded(form);
    ASSERT_EQ(prog.copier.results.size(), 2) << "the third file was not tried on a drive that is gone";
    EXPECT_TRUE(prog.copier.results[0].ok);
    EXPECT_FALSE(prog.copier.results[1].ok);
    EXPECT_EQ(prog.copier.results[1].reason, QStringLiteral("The drive was removed."));

    // The watch takes the wizard back to the Get Drive page once the run is over.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !part<QWidget>(form, "Frame4")->isVisible(); }, 3000));
    press(form, "Command5");
    EXPECT_EQ(pageOf(form.data()), QStringLiteral("Frame1"));
    EXPECT_NE(textOf(form, "Label2"), QStringLiteral("Status: Ready on Drive ") + root);

    EXPECT_EQ(treeOf(mountPoint), QStringList{}) << "nothing written where the stick was mounted";
    src.expectUntouched();
    // Plugged in again: the first file is whole and nothing of the others passes for a file.
    ASSERT_TRUE(img.mount(QStringLiteral("kv-e2e-pull-again")));
    EXPECT_TRUE(readWhole(img.mountPoint() + QStringLiteral("/a.mp3")) == src.data[0]);
    for (const QString& name : treeOf(img.mountPoint()))
        EXPECT_TRUE(name == QLatin1String("a.mp3") || name.startsWith(QLatin1String(".b.mp3.korvane-"))) << name.toStdString();
    // Copying again, with the list kept, leaves exactly the three files.
    QString again;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        again = prog.letterOf(img.mountPoint());
        return again.size() == 3 && RealProgram::chooseDrive(form, again);
    }, 5000));
    press(form, "Command3");
    press(form, "Command8");
    press(form, "Command13");
    ASSERT_EQ(pageOf(form.data()), QStringLiteral("Frame4"));
    prog.copier.fault = {};
    press(form, "Command23");
    expectRunEnded(form);
    EXPECT_EQ(treeOf(img.mountPoint()), (QStringList{"a.mp3", "b.mp3", "c.mp3"})) << "no leftover of the cut copy";
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(readWhole(img.mountPoint() + QLatin1Char('/') + QFileInfo(src.paths[i]).fileName()) == src.data[i]);
    QDir().rmdir(mountPoint);
    prog.dialogs.verifyAllUsed();
}

TEST(Faults, StickFillsUpDuringTheRun)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Exfat, QStringLiteral("KVFULL"), 40);
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-e2e-full")));
    Sources src(12 << 20);
    RealProgram prog;
    const QString root = prog.letterOf(img.mountPoint());
    QPointer<Form1> form = downloadToReview<Form1>(prog, root, img.mountPoint(), QStringLiteral("Music"), src.paths);
    ASSERT_TRUE(form) << "the list fits when Copy is pressed";

    // Another program fills the stick after the first file, leaving room for the small one only.
    prog.copier.faultAtFile = 1;
    prog.copier.beforeTheFile = true;
    prog.copier.fault = [&] {
        const struct statvfs st = statOf(img.mountPoint());
        const qint64 room = qint64(st.f_bavail) * qint64(st.f_frsize);
        QFile filler(img.mountPoint() + QStringLiteral("/filler.bin"));
        if (filler.open(QIODevice::WriteOnly))
            filler.write(QByteArray(qMax<qint64>(room - (2 << 20), 0), '\0'));
    };
    expectReport(prog, {src.entry(prog, 1) + QStringLiteral(": The drive is full.")}, 28);
    press(form, "Command23");
    ASSERT_TRUE(prog.copier.fired);
    expectRunEnded(form);
    const QString music = img.mountPoint() + QStringLiteral("/Music/");
    EXPECT_EQ(treeOf(music), (QStringList{"a.mp3", "c.mp3"})) << "no partial file of the one that did not fit";
    EXPECT_LT(QFileInfo(img.mountPoint() + QStringLiteral("/filler.bin")).size(), 40 << 20);
    EXPECT_TRUE(readWhole(music + "a.mp3") == src.data[0]);
    EXPECT_TRUE(readWhole(music + "c.mp3") == src.data[2]);
    src.expectUntouched();
    prog.dialogs.verifyAllUsed();
}

TEST(Faults, StickRemountedReadOnlyBetweenFiles)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Ext4, QStringLiteral("KVRO"), 32);
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-e2e-ro")));
    Sources src(2 << 20);
    RealProgram prog;
    const QString root = prog.letterOf(img.mountPoint());
    ASSERT_EQ(root.size(), 3);
    QPointer<Form1> form = downloadToReview<Form1>(prog, root, img.mountPoint(), QStringLiteral("Music"), src.paths);
    ASSERT_TRUE(form);

    prog.copier.faultAtFile = 1;
    prog.copier.beforeTheFile = true;
    bool readOnly = false;
    prog.copier.fault = [&] { readOnly = img.remountReadOnly(); };
    expectReport(prog,
                 {src.entry(prog, 1) + QStringLiteral(": The drive is write-protected."),
                  src.entry(prog, 2) + QStringLiteral(": The drive is write-protected.")},
                 30);
    press(form, "Command23");
    ASSERT_TRUE(readOnly);
    expectRunEnded(form);
    EXPECT_EQ(treeOf(img.mountPoint()), (QStringList{"Music", "Music/a.mp3"}));
    EXPECT_TRUE(readWhole(img.mountPoint() + QStringLiteral("/Music/a.mp3")) == src.data[0]);
    src.expectUntouched();
    prog.dialogs.verifyAllUsed();
}

TEST(Faults, DestinationFolderDeletedDuringTheRun)
{
    KV_REQUIRE_LOOP_DEVICES();
    // ext4: the kernel lets a folder go while a file in it is open, as a FUSE stick may not.
    LoopImage img(LoopImage::Kind::Ext4, QStringLiteral("KVGONE"), 64);
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-e2e-gone")));
    Sources src;
    RealProgram prog;
    const QString root = prog.letterOf(img.mountPoint());
    QPointer<Form1> form = downloadToReview<Form1>(prog, root, img.mountPoint(), QStringLiteral("Music"), src.paths);
    ASSERT_TRUE(form);

    const QString music = img.mountPoint() + QStringLiteral("/Music");
    prog.copier.faultAtFile = 1;
    prog.copier.fault = [&] { QDir(music).removeRecursively(); };
    const QString gone = QStringLiteral(": The destination folder does not exist.");
    expectReport(prog, {src.entry(prog, 1) + gone, src.entry(prog, 2) + gone}, 2);
    press(form, "Command23");
    ASSERT_TRUE(prog.copier.fired);
    expectRunEnded(form);
    EXPECT_LT(prog.copier.firedAt, uint64_t(src.data[1].size())) << "the fault came while the file was being copied";
    EXPECT_EQ(treeOf(img.mountPoint()), QStringList{}) << "the folder is not made again behind the person's back";
    src.expectUntouched();
    prog.dialogs.verifyAllUsed();
}

TEST(Faults, SourceTruncatedDuringItsCopy)
{
    KV_REQUIRE_LOOP_DEVICES();
    LoopImage img(LoopImage::Kind::Exfat, QStringLiteral("KVTRUNC"), 64);
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-e2e-trunc")));
    Sources src;
    RealProgram prog;
    const QString root = prog.letterOf(img.mountPoint());
    QPointer<Form1> form = downloadToReview<Form1>(prog, root, img.mountPoint(), QStringLiteral("Music"), src.paths);
    ASSERT_TRUE(form);

    prog.copier.faultAtFile = 1;
    prog.copier.fault = [&] { QFile::resize(src.paths[1], 1 << 20); };
    expectReport(prog, {src.entry(prog, 1) + QStringLiteral(": The source file changed while it was being copied.")}, 5);
    press(form, "Command23");
    ASSERT_TRUE(prog.copier.fired);
    expectRunEnded(form);
    const QString music = img.mountPoint() + QStringLiteral("/Music/");
    EXPECT_EQ(treeOf(music), (QStringList{"a.mp3", "c.mp3"})) << "no short copy passed off as the file";
    EXPECT_TRUE(readWhole(music + "a.mp3") == src.data[0]);
    EXPECT_TRUE(readWhole(music + "c.mp3") == src.data[2]);
    EXPECT_EQ(QFileInfo(src.paths[1]).size(), 1 << 20) << "the source is left as the other program made it";
    src.expectUntouched({0, 2});
    prog.dialogs.verifyAllUsed();
}
