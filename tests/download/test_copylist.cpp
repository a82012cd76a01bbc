#include "wizardfixture.h"

#include "download/copylistpage_ui.h"

#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

class CopyListTest : public WizardTest {
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        toFrame3();
    }
    // A sparse file of the given size.
    QString sized(const QString& name, qint64 size)
    {
        const QString p = QDir(pc).filePath(name);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        EXPECT_TRUE(f.resize(size));
        return p;
    }
};

TEST_F(CopyListTest, PageTextsAndAddFileDialog)
{
    EXPECT_EQ(w<CopyListPage>("Frame3")->title(), QStringLiteral("Download Wizard - Get Music to Download"));
    EXPECT_EQ(w<QPushButton>("Command16")->text(), QStringLiteral("Add File"));
    const QString a = source(QStringLiteral("Music/a.mp3"));
    addFiles({a});
    ASSERT_EQ(fp.dialogs.fileRequests.size(), 1);
    EXPECT_EQ(fp.dialogs.fileRequests[0].title,
              QStringLiteral("Add files - You may select several files from the same folder."));
    EXPECT_EQ(fp.dialogs.fileRequests[0].filter, QStringLiteral("All Files (*.*)|*.*"));
    EXPECT_EQ(fp.dialogs.fileRequests[0].initialPath, QString());
    EXPECT_EQ(entries(), QStringList{letter(a)});
    EXPECT_TRUE(entries()[0].startsWith(QStringLiteral("C:\\")));
    EXPECT_FALSE(entries()[0].contains(QLatin1Char('/')));
}

TEST_F(CopyListTest, SummaryThresholds)
{
    struct Case {
        QList<qint64> sizes;
        QString summary;
        QString sizeText;
    };
    const qint64 GiB = 1ll << 30;
    const QList<Case> cases = {
        {{300}, QStringLiteral("1 files - 300 Bytes"), QStringLiteral("300 Bytes")},
        {{511}, QStringLiteral("1 files - 511 Bytes"), QStringLiteral("511 Bytes")},
        {{512}, QStringLiteral("1 files - 1 KB"), QStringLiteral("1 KB")},
        {{700}, QStringLiteral("1 files - 1 KB"), QStringLiteral("1 KB")},
        {{200000, 200000, 214400}, QStringLiteral("3 files - 1 MB"), QStringLiteral("1 MB")},
        {{GiB, GiB}, QStringLiteral("2 files - 2048 MB (2 GB)"), QStringLiteral("2048 MB (2 GB)")},
        {{GiB / 2, GiB / 2}, QStringLiteral("2 files - 1024 MB"), QStringLiteral("1024 MB")},
        {{429496730, 429496730, 429496730, 429496730, 429496728},
         QStringLiteral("5 files - 2048 MB (2 GB)"), QStringLiteral("2048 MB (2 GB)")},
        {{2 * GiB}, QStringLiteral("1 files - 2048 MB (2 GB)"), QStringLiteral("2048 MB (2 GB)")},
        {{5 * GiB}, QStringLiteral("1 files - 5120 MB (5 GB)"), QStringLiteral("5120 MB (5 GB)")},
    };
    int n = 0;
    for (const Case& c : cases) {
        fp.dialogs.expectMessage(QStringLiteral("Remove all added files from list?"), QStringLiteral("Question"),
                                 Icon::Question, Buttons::YesNo, Answer::Yes);
        click("Command18");
        QStringList files;
        qint64 sum = 0;
        for (qint64 s : c.sizes) {
            files << sized(QStringLiteral("f%1.bin").arg(n++), s);
            sum += s;
        }
        addFiles(files);
        EXPECT_EQ(text("Label20"), c.summary) << c.summary.toStdString();
        EXPECT_EQ(form->listSizeText(), c.sizeText);
        EXPECT_EQ(form->listTotalBytes(), toFixed(sum)) << "64-bit sizes";
    }
}

TEST_F(CopyListTest, JoinsAtARootSameFileTwiceAndEraseSubtractsWhatWasCounted)
{
    // Two files at the root of a drive: no doubled backslash.
    const QString root = dirs.make(QStringLiteral("usbroot"));
    fp.volumes.add(QLatin1Char('G'), Volumes::Fixed, root);
    writeFile(root + QStringLiteral("/a.mp3"), QByteArray(100, 'a'));
    writeFile(root + QStringLiteral("/b.mp3"), QByteArray(200, 'b'));
    addFiles({root + QStringLiteral("/a.mp3"), root + QStringLiteral("/b.mp3"), root + QStringLiteral("/a.mp3")});
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("G:\\a.mp3"), QStringLiteral("G:\\b.mp3"),
                                      QStringLiteral("G:\\a.mp3")}));
    EXPECT_EQ(form->listTotalBytes(), toFixed(400));

    // The file grows after it was listed, then vanishes: the total never drifts.
    writeFile(root + QStringLiteral("/a.mp3"), QByteArray(5000, 'a'));
    list()->setCurrentRow(0);
    click("Command17");
    EXPECT_EQ(form->listTotalBytes(), toFixed(300));
    QFile::remove(root + QStringLiteral("/a.mp3"));
    list()->setCurrentRow(1);
    click("Command17");
    EXPECT_EQ(form->listTotalBytes(), toFixed(200));
    list()->setCurrentRow(0);
    click("Command17");
    EXPECT_EQ(form->listTotalBytes(), 0);
    EXPECT_EQ(text("Label20"), QStringLiteral("0 files - 0 Bytes"));
}

TEST_F(CopyListTest, EraseWithNothingSelectedAndClearAnsweredNoThenYes)
{
    addFiles({source(QStringLiteral("a.mp3")), source(QStringLiteral("b.mp3"))});
    list()->clearSelection();
    fp.dialogs.expectMessage(QStringLiteral("Please select a file!"), QStringLiteral("Delete file from list - Error!"),
                             Icon::Critical, Buttons::Ok, Answer::Ok);
    click("Command17");
    EXPECT_EQ(entries().size(), 2);

    fp.dialogs.expectMessage(QStringLiteral("Remove all added files from list?"), QStringLiteral("Question"),
                             Icon::Question, Buttons::YesNo, Answer::No);
    click("Command18");
    EXPECT_EQ(entries().size(), 2);
    EXPECT_EQ(text("Label20"), QStringLiteral("2 files - 8 Bytes"));

    fp.dialogs.expectMessage(QStringLiteral("Remove all added files from list?"), QStringLiteral("Question"),
                             Icon::Question, Buttons::YesNo, Answer::Yes);
    click("Command18");
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(text("Label20"), QStringLiteral("No files"));
    EXPECT_EQ(form->listTotalBytes(), 0);
    addFiles({source(QStringLiteral("c.mp3"), "12345")});
    EXPECT_EQ(text("Label20"), QStringLiteral("1 files - 5 Bytes"));
}

TEST_F(CopyListTest, AddFromFolderTakesOrdinaryFilesByNameAndSkipsWhatItCannotRead)
{
    const QString folder = dirs.make(QStringLiteral("pc/album"));
    writeFile(folder + QStringLiteral("/c.mp3"), "333");
    writeFile(folder + QStringLiteral("/A.mp3"), "1");
    writeFile(folder + QStringLiteral("/b.mp3"), "22");
    writeFile(folder + QStringLiteral("/.hidden"), "hidden");
    QDir(folder).mkdir(QStringLiteral("sub"));
    // A link whose target is gone: its size cannot be read.
    QFile::link(folder + QStringLiteral("/nowhere"), folder + QStringLiteral("/broken.mp3"));

    fp.dialogs.expectBrowseFolder(folder);
    click("Command19");
    ASSERT_EQ(fp.dialogs.folderRequests.size(), 1);
    EXPECT_EQ(fp.dialogs.folderRequests[0].title, QStringLiteral("Select the folder to get files from"));
    const QString l = letter(folder);
    EXPECT_EQ(entries(), (QStringList{l + QStringLiteral("\\A.mp3"), l + QStringLiteral("\\b.mp3"),
                                      l + QStringLiteral("\\c.mp3")}));
    EXPECT_EQ(text("Label20"), QStringLiteral("3 files - 6 Bytes"));

    // Only hidden files and subfolders: nothing added, the summary as it was.
    const QString dull = dirs.make(QStringLiteral("pc/dull"));
    writeFile(dull + QStringLiteral("/.secret"), "x");
    QDir(dull).mkdir(QStringLiteral("inner"));
    fp.dialogs.expectBrowseFolder(dull);
    click("Command19");
    EXPECT_EQ(entries().size(), 3);
    EXPECT_EQ(text("Label20"), QStringLiteral("3 files - 6 Bytes"));

    // Cancel changes nothing.
    fp.dialogs.expectBrowseFolder(QString());
    click("Command19");
    EXPECT_EQ(entries().size(), 3);
}

TEST_F(CopyListTest, ALongAddFromFolderLetsEventsRunAndDropsWhatIsClickedMeanwhile)
{
    const QString folder = dirs.make(QStringLiteral("pc/many"));
    for (int i = 0; i < 60; ++i)
        writeFile(folder + QStringLiteral("/t%1.mp3").arg(i, 2, 10, QLatin1Char('0')), "x");
    // Each name takes 3 ms to map, so the add lasts well over its 30 ms between passes.
    fp.volumes.onToLetter = [] { QThread::msleep(3); };
    int passes = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] { ++passes; });
    bool meddled = false;
    QTimer::singleShot(0, [&] {
        // A person clicking Clear List and the close box while the add runs: both would
        // ask a question here, and no box is scripted.
        meddled = true;
        QTest::mouseClick(w<QPushButton>("Command18"), Qt::LeftButton);
        QTest::keyClick(w<QPushButton>("Command18"), Qt::Key_Space);
        form->close();
    });
    fp.dialogs.expectBrowseFolder(folder);
    beat.start(0);
    click("Command19");
    beat.stop();
    fp.volumes.onToLetter = {};
    EXPECT_TRUE(meddled);
    EXPECT_GE(passes, 2);
    EXPECT_EQ(entries().size(), 60);
    EXPECT_EQ(entries().first(), letter(folder) + QStringLiteral("\\t00.mp3"));
    EXPECT_EQ(text("Label20"), QStringLiteral("60 files - 60 Bytes"));
    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->currentPage()->objectName(), QStringLiteral("Frame3"));

    // Once the add is over, input reaches the window again.
    fp.dialogs.expectMessage(QStringLiteral("Remove all added files from list?"), QStringLiteral("Question"),
                             Icon::Question, Buttons::YesNo, Answer::No);
    QTest::mouseClick(w<QPushButton>("Command18"), Qt::LeftButton);
    EXPECT_EQ(entries().size(), 60);
}

TEST_F(CopyListTest, NamesHoldingABackslashAreRefusedAndTheRestAdded)
{
    const QString odd = source(QStringLiteral("odd\\name.mp3"));
    const QString fine = source(QStringLiteral("fine.mp3"));
    fp.dialogs.expectOpenFiles({odd, fine});
    fp.dialogs.expectMessage(QStringLiteral("These files cannot be added because their names hold a backslash (\\):\n")
                                 + odd,
                             QStringLiteral("Error"), Icon::Exclamation, Buttons::Ok, Answer::Ok);
    click("Command16");
    EXPECT_EQ(entries(), QStringList{letter(fine)});
    EXPECT_EQ(text("Label20"), QStringLiteral("1 files - 4 Bytes"));
}

TEST_F(CopyListTest, ManyFilesAtOnceAreAllAcceptedPastTheOldLimits)
{
    // More names than a 20000-character result could hold, and more than 32767 entries in all.
    QStringList files;
    const QString folder = dirs.make(QStringLiteral("pc/many"));
    for (int i = 0; i < 400; ++i) {
        const QString p = folder + QStringLiteral("/a-rather-long-file-name-for-the-dialog-%1.mp3").arg(i, 4, 10, QLatin1Char('0'));
        writeFile(p, "x");
        files << p;
    }
    QStringList all;
    for (int round = 0; round < 83; ++round)
        all += files;
    addFiles(all);
    EXPECT_EQ(list()->count(), 33200);
    EXPECT_EQ(text("Label20"), QStringLiteral("33200 files - 32 KB"));
    EXPECT_EQ(list()->item(32767)->text(), letter(files[32767 % 400]));
}

TEST_F(CopyListTest, TooltipNamesTheSelectedFile)
{
    const QString a = source(QStringLiteral("a.mp3"));
    addFiles({a});
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(list()->item(0)).center());
    EXPECT_EQ(list()->toolTip(), QStringLiteral("Selected file: ") + letter(a));
}

}  // namespace
