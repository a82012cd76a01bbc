#pragma once
#include "controls/folderlist_ui.h"
#include "download/form1_ui.h"
#include "support/copywizardfixture.h"

#include <QTest>

inline const QString kExitQuestion = QStringLiteral("Exit Download Wizard?");
inline const QString kStopQuestion = QStringLiteral(
    "Stop copy process? If you click yes, file copy process will stop after this file has finished copying.");

// A download wizard opened on a stick F: (a temporary folder) and a computer
// folder "pc" for sources, every service faked.
class WizardTest : public CopyWizardTest<Form1> {
protected:
    static constexpr uint64_t kTotal = kStickTotal;
    static constexpr uint64_t kFree = kStickFree;

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
};
