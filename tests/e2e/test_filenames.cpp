// Awkward file names through the whole download onto exFAT and ext4 sticks.
#include "download/form1_ui.h"
#include "e2efixture.h"

namespace {

struct Name {
    const char* what;
    QString name;
    bool fatRefuses;  // exFAT's rules; ext4 takes every one of these
};

QList<Name> awkwardNames()
{
    // 255 bytes in UTF-8, the longest name ext4 takes.
    const QString longName = QString(83, QChar(0x266B)) + QStringLiteral("xx.mp3");
    return {
        {"spaces", QStringLiteral("  my song  .mp3"), false},
        {"unicode", QStringLiteral("Björk – Jóga 日本語 🎵.mp3"), false},
        {"leading dot", QStringLiteral(".hidden.mp3"), false},
        {"255 bytes", longName, false},
        {"colon", QStringLiteral("a:b.mp3"), true},
        {"question mark", QStringLiteral("what?.mp3"), true},
        {"star and pipe", QStringLiteral("x*y|z.mp3"), true},
        {"quotes and angles", QStringLiteral("\"<q>\".mp3"), true},
    };
}

void copyAwkwardNames(LoopImage::Kind kind, const char* label, bool fatRules)
{
    LoopImage img(kind, QLatin1String(label), 32);
    ASSERT_TRUE(img.attached());
    ASSERT_TRUE(img.mount(QStringLiteral("kv-e2e-names")));
    QTemporaryDir pc(QStringLiteral("/var/tmp/korvane-e2e-names-XXXXXX"));
    const QList<Name> names = awkwardNames();
    ASSERT_EQ(names[3].name.toUtf8().size(), 255);
    QStringList sources, expectedOnStick, refusedLines;
    QList<QByteArray> data;
    RealProgram prog;
    for (const Name& n : names) {
        const QString path = pc.filePath(n.name);
        data << randomBytes(1000 + int(data.size()) * 333);
        ASSERT_TRUE(writeWhole(path, data.last())) << n.what;
        sources << path;
        if (fatRules && n.fatRefuses)
            refusedLines << prog.volumes->toLetter(path)
                                + QStringLiteral(": The name holds characters the drive's file system does not allow.");
        else
            expectedOnStick << QStringLiteral("Music/") + n.name;
    }
    const QStringList computerBefore = treeOf(pc.path());
    const QString root = prog.letterOf(img.mountPoint());
    ASSERT_EQ(root.size(), 3);
    QPointer<Form1> form = downloadToReview<Form1>(prog, root, img.mountPoint(), QStringLiteral("Music"), sources);
    ASSERT_TRUE(form);
    EXPECT_EQ(textOf(form, "Label17"), QStringLiteral("Number of files to copy: ") + QString::number(names.size()));

    if (!refusedLines.isEmpty()) {
        const QString head = QString::number(refusedLines.size()) + QStringLiteral(" files could not be copied:");
        prog.dialogs.expectMessage(QStringLiteral("Copy Error - ") + head + QLatin1Char('\n') + refusedLines.join('\n'),
                                   QStringLiteral("22"), Icon::Critical, Buttons::Ok, Answer::Ok);
    }
    press(form, "Command23");
    ASSERT_TRUE(form);
    EXPECT_EQ(textOf(form, "Label23"), QStringLiteral("File copy complete!"));

    expectedOnStick << QStringLiteral("Music");
    expectedOnStick.sort();
    EXPECT_EQ(treeOf(img.mountPoint()), expectedOnStick) << "every name kept as it was, nothing else";
    for (int i = 0; i < names.size(); ++i) {
        const QString onStick = img.mountPoint() + QStringLiteral("/Music/") + names[i].name;
        if (QFileInfo::exists(onStick))
            EXPECT_TRUE(readWhole(onStick) == data[i]) << names[i].what;
    }
    EXPECT_EQ(treeOf(pc.path()), computerBefore);
    prog.dialogs.verifyAllUsed();
}

}  // namespace

TEST(FileNames, OntoExfatWhatItTakesIsCopiedAndTheRestIsToldByName)
{
    KV_REQUIRE_LOOP_DEVICES();
    copyAwkwardNames(LoopImage::Kind::Exfat, "KVNAMES", true);
}

TEST(FileNames, OntoExt4EveryNameIsCopiedAsItIs)
{
    KV_REQUIRE_LOOP_DEVICES();
    copyAwkwardNames(LoopImage::Kind::Ext4, "KVNAMES", false);
}
