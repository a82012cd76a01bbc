#include "loadfixture.h"

#include "download/form1_ui.h"
#include "platform/linux/filecopier_linux.h"

#include <QLabel>
#include <QPointer>

namespace {

const QString kExitQuestion = QStringLiteral("Exit Download Wizard?");

class LoadCopyListTest : public LoadTest {
protected:
    void SetUp() override
    {
        LoadTest::SetUp();
        form = new Form1(ctx);
        form->show();
        form->showcontrol();
        click(form, "Command3");
        click(form, "Command8");
        ASSERT_EQ(page(), QStringLiteral("Frame3"));
    }
    void TearDown() override
    {
        delete form.data();
        flushDeletes();
        LoadTest::TearDown();
    }
    QString page() const { return form && form->currentPage() ? form->currentPage()->objectName() : QString(); }
    QString text(const char* name) const { return w<QLabel>(form, name)->text(); }
    QListWidget* list() const { return w<QListWidget>(form, "List1"); }
    void addFromFolder(const QString& folder)
    {
        fp.dialogs.expectBrowseFolder(folder);
        click(form, "Command19");
    }

    QPointer<Form1> form;
};

TEST_F(LoadCopyListTest, ThirtyThousandFilesFromOneFolderTwiceThenCleared)
{
    const QString many = pc + QStringLiteral("/many");
    makeFiles(many, QStringLiteral("f"), 30000, 1);
    // Left out at any size: a subfolder and a hidden file.
    QDir(many).mkdir(QStringLiteral("sub"));
    makeFiles(many, QStringLiteral(".hidden"), 1, 1);

    addFromFolder(many);
    ASSERT_EQ(list()->count(), 30000);
    EXPECT_EQ(text("Label20"), QStringLiteral("30000 files - 29 KB"));
    EXPECT_EQ(form->listTotalBytes(), toFixed(30000));
    EXPECT_EQ(list()->item(0)->text(), fp.volumes.toLetter(many + QStringLiteral("/f00000.bin")));
    EXPECT_EQ(list()->item(12345)->text(), fp.volumes.toLetter(many + QStringLiteral("/f12345.bin")));
    EXPECT_EQ(list()->item(29999)->text(), fp.volumes.toLetter(many + QStringLiteral("/f29999.bin")));

    // A second time appends the folder again, as the list takes repeats.
    addFromFolder(many);
    ASSERT_EQ(list()->count(), 60000);
    EXPECT_EQ(text("Label20"), QStringLiteral("60000 files - 59 KB"));
    EXPECT_EQ(list()->item(30000)->text(), list()->item(0)->text());

    click(form, "Command13");
    EXPECT_EQ(page(), QStringLiteral("Frame4"));
    click(form, "Command24");
    ASSERT_EQ(page(), QStringLiteral("Frame3"));

    fp.dialogs.expectMessage(QStringLiteral("Remove all added files from list?"), QStringLiteral("Question"),
                             Icon::Question, Buttons::YesNo, Answer::Yes);
    click(form, "Command18");
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(text("Label20"), QStringLiteral("No files"));
    EXPECT_EQ(form->listTotalBytes(), 0);
}

// Two thousand small files through the real copier into the stick's folder, each
// byte for byte, with no temporary file left behind.
TEST_F(LoadCopyListTest, TwoThousandFilesCopiedByTheRealCopier)
{
    LinuxFileCopier copier;
    fp.platform.fileCopier = &copier;
    const QString source = pc + QStringLiteral("/small");
    makeFiles(source, QStringLiteral("s"), 2000, 64);
    addFromFolder(source);
    ASSERT_EQ(list()->count(), 2000);
    click(form, "Command13");
    ASSERT_EQ(page(), QStringLiteral("Frame4"));

    click(form, "Command23");
    ASSERT_TRUE(form);
    EXPECT_EQ(page(), QStringLiteral("Frame7"));
    EXPECT_EQ(text("Label23"), QStringLiteral("File copy complete!"));
    EXPECT_EQ(text("Label22"), QStringLiteral("Overall progress: 100% Complete"));
    EXPECT_TRUE(w<QPushButton>(form, "Command9")->isEnabled());
    EXPECT_EQ(list()->currentRow(), 1999);
    EXPECT_TRUE(fp.dialogs.shownMessages.isEmpty()) << "no copy error";

    const QStringList copied = filesIn(stick);
    ASSERT_EQ(copied, QDir(source).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name));
    int differing = 0;
    for (const QString& n : copied)
        differing += contents(stick + QLatin1Char('/') + n) != contents(source + QLatin1Char('/') + n);
    EXPECT_EQ(differing, 0);

    mainLink.calls.clear();
    click(form, "Command9");
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    ASSERT_FALSE(mainLink.calls.isEmpty());
    EXPECT_EQ(mainLink.calls.last(), QStringLiteral("Show"));
}

}  // namespace
