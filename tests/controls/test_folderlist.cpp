#include "controls/folderlist_ui.h"
#include "support/fakevolumes.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FolderListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* p : {"Music/Live", "Music/Rock", "books", ".config", "Music/.cache"})
            QDir(tmp.path()).mkpath(QLatin1String(p));
        volumes.add(QLatin1Char('F'), Volumes::Removable, tmp.path());
        list.resize(300, 300);
        list.show();
    }
    // Each entry's name after its depth in blanks.
    QStringList rows() const
    {
        QStringList out;
        for (int r = 0; r < list.count(); ++r)
            out << QString(list.depthAt(r) * 3, QLatin1Char(' ')) + list.item(r)->text();
        return out;
    }
    void doubleClick(int row)
    {
        const QPoint at = list.visualItemRect(list.item(row)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
    }
    QTemporaryDir tmp;
    FakeVolumes volumes;
    FolderList list{volumes};
};

TEST_F(FolderListTest, ShowsAncestorsAndSubfoldersIndentedWithoutHiddenOnes)
{
    ASSERT_TRUE(list.setPath(QStringLiteral("F:\\")));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("F:\\"), QStringLiteral("   books"), QStringLiteral("   Music")}));

    ASSERT_TRUE(list.setPath(QStringLiteral("F:/Music/")));
    EXPECT_EQ(list.Path(), QStringLiteral("F:\\Music"));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("F:\\"), QStringLiteral("   Music"), QStringLiteral("      Live"),
                                   QStringLiteral("      Rock")}));
    EXPECT_EQ(list.pathAt(2), QStringLiteral("F:\\Music\\Live"));
    EXPECT_EQ(list.highlightedPath(), QStringLiteral("F:\\Music"));
}

TEST_F(FolderListTest, SingleClickHighlightsDoubleClickOpens)
{
    list.setPath(QStringLiteral("F:\\"));
    QSignalSpy change(&list, &FolderList::Change);
    QSignalSpy click(&list, &FolderList::Click);
    const int music = list.rowOf(QStringLiteral("F:\\Music"));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(music)).center());
    EXPECT_EQ(click.count(), 1);
    EXPECT_EQ(change.count(), 0);
    EXPECT_EQ(list.Path(), QStringLiteral("F:\\"));
    EXPECT_EQ(list.highlightedPath(), QStringLiteral("F:\\Music"));

    doubleClick(music);
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(list.Path(), QStringLiteral("F:\\Music"));

    // Opening the root again from the ancestors.
    doubleClick(0);
    EXPECT_EQ(list.Path(), QStringLiteral("F:\\"));
}

TEST_F(FolderListTest, MissingFolderKeepsTheOpenOneAndRefreshShowsNewFolders)
{
    list.setPath(QStringLiteral("F:\\"));
    EXPECT_FALSE(list.setPath(QStringLiteral("F:\\nope")));
    EXPECT_FALSE(list.setPath(QStringLiteral("Q:\\")));
    EXPECT_EQ(list.Path(), QStringLiteral("F:\\"));
    QDir(tmp.path()).mkdir(QStringLiteral("new"));
    QDir(tmp.path()).mkdir(QStringLiteral("back\\slash"));
    list.Refresh();
    EXPECT_GE(list.rowOf(QStringLiteral("F:\\new")), 0);
    EXPECT_EQ(list.count(), 4) << "a name holding '\\' is not listed";
}

}  // namespace
