#include "configure/form4fixture.h"
#include "configure/formatdialog_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QStandardItemModel>
#include <QTimer>

namespace {
const QString kInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
constexpr uint32_t HKLM = SystemRegistry::HKEY_LOCAL_MACHINE;
}

TEST_F(Form4Test, GetKeyValueTrimsAndAlwaysCloses)
{
    open();
    registry.setText(kInfoKey, "WITHNUL", "C:\\tools\\info", true);
    registry.setText(kInfoKey, "NONUL", "C:\\tools\\info", false);
    registry.keys[kInfoKey]["WORD"] = {SystemRegistry::REG_DWORD, QByteArray("\x02\x01\x00\x00", 4)};
    registry.keys[kInfoKey]["BINARY"] = {3, QByteArray("\x01\x02", 2)};

    struct Case { const char* key; const char* value; bool ok; const char* result; };
    const Case cases[] = {
        {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "WITHNUL", true, "C:\\tools\\info"},
        {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "NONUL", true, "C:\\tools\\info"},
        {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "WORD", true, "&h102"},
        {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "BINARY", true, "caller's"},
        {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "MISSING", false, ""},
        {"SOFTWARE\\Nowhere", "PATH", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        registry.calls.clear();
        QString value = QStringLiteral("caller's");
        EXPECT_EQ(form->GetKeyValue(HKLM, QLatin1String(c.key), QLatin1String(c.value), value), c.ok);
        EXPECT_EQ(value, QLatin1String(c.result));
        ASSERT_FALSE(registry.calls.isEmpty());
        EXPECT_TRUE(registry.calls.last().startsWith(QStringLiteral("close "))) << "closed on every path";
    }
    // A failed open closes the null handle.
    EXPECT_EQ(registry.calls, (QStringList{"open SOFTWARE\\Nowhere", "close 0"}));
    EXPECT_EQ(registry.accessRights.value(0), 0x2003Fu);
}

TEST_F(Form4Test, SystemInfoTriesBothLocationsInOrderThenSaysItIsUnavailable)
{
    const QString tools = folders.make(QStringLiteral("tools"));
    const QString withTool = folders.make(QStringLiteral("withtool"));
    QFile exe(withTool + QStringLiteral("/MSINFO32.EXE"));
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.close();

    struct Case {
        const char* what;
        QString first;     // empty: no value
        QString second;
        bool startWorks;
        QString started;   // empty: the message is shown
    };
    const Case cases[] = {
        {"first location", QStringLiteral("/usr/bin/hardinfo"), withTool, true, QStringLiteral("/usr/bin/hardinfo")},
        {"first fails to start", QStringLiteral("/usr/bin/hardinfo"), withTool, false, QString()},
        {"second location", QString(), withTool, true, withTool + QStringLiteral("/MSINFO32.EXE")},
        {"second without the tool", QString(), tools, true, QString()},
        {"neither", QString(), QString(), true, QString()},
    };
    stick('E', "STICK");
    open();
    button("Command3")->click();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry.keys.clear();
        registry.calls.clear();
        fp.desktop.programs.clear();
        fp.desktop.startResult = c.startWorks;
        if (!c.first.isEmpty())
            registry.setText(kInfoKey, "PATH", c.first);
        if (!c.second.isEmpty())
            registry.setText(kLocationKey, "MSINFO", c.second);
        const bool message = c.started.isEmpty();
        if (message)
            fp.dialogs.expectMessage("System Information Is Unavailable At This Time", "", Icon::None, Buttons::Ok,
                                     Answer::Ok);
        button("Command10")->click();
        fp.dialogs.verifyAllUsed();
        if (!c.started.isEmpty()) {
            ASSERT_EQ(fp.desktop.programs.size(), 1);
            EXPECT_EQ(fp.desktop.programs[0].first, c.started);
            EXPECT_EQ(fp.desktop.programs[0].second, int(Desktop::Normal));
        }
        EXPECT_EQ(registry.calls.contains(QStringLiteral("open ") + kLocationKey), c.first.isEmpty())
            << "the second location is read only when the first has nothing";
    }
}

TEST_F(Form4Test, ViewFilesOpensTheSelectedRootInTheFileManager)
{
    const QString e = stick('E', "STICK");
    open();
    button("Command3")->click();
    button("Command20")->click();
    ASSERT_EQ(fp.desktop.folders.size(), 1);
    EXPECT_EQ(QDir(fp.desktop.folders[0]).canonicalPath(), QDir(e).canonicalPath());
    EXPECT_TRUE(fp.dialogs.shownMessages.isEmpty());
}

TEST_F(Form4Test, FormatDriveCompletesTheRootAndFormatsOnlyRemovableDrives)
{
    stick('F', "STICK");
    fp.volumes.add('D', Volumes::Fixed, folders.make(QStringLiteral("D")), QStringLiteral("DATA"));
    open();

    struct Case { const char* given; bool opens; };
    const Case cases[] = {{"f", true}, {"F:", true}, {"F:\\", true}, {"d", false}, {"Q:", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        QString seenRoot;
        bool sawDialog = false;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<FormatDialog*>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            sawDialog = true;
            seenRoot = dlg->root();
            EXPECT_EQ(dlg->parentWidget(), form.data()) << "owned by the configure window";
            dlg->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
        });
        EXPECT_FALSE(form->FormatDrive(QLatin1String(c.given))) << "closed without formatting";
        QCoreApplication::processEvents();
        EXPECT_EQ(sawDialog, c.opens);
        if (c.opens)
            EXPECT_EQ(seenRoot, QStringLiteral("F:\\"));
    }
    EXPECT_TRUE(formatter.calls.isEmpty());

    QString d = QStringLiteral("f");
    EXPECT_EQ(form->QueryDriveType(d), Volumes::Removable);
    EXPECT_EQ(d, QStringLiteral("f:\\"));
}

TEST_F(Form4Test, FormatButtonRunsAWholeFormat)
{
    stick('F', "STICK", 2000000000ull, 1000000000ull);
    open();
    button("Command3")->click();
    fp.dialogs.expectMessage("Every file on drive F:\\ will be erased. Format the drive now?", "Format F:\\",
                             Icon::Question, Buttons::YesNo, Answer::Yes);
    fp.dialogs.expectMessage("Drive F:\\ has been formatted.", "Format F:\\", Icon::Information, Buttons::Ok,
                             Answer::Ok);
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<FormatDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->findChild<QLabel*>(QStringLiteral("capacity"))->text(), QStringLiteral("1907 MB (2 GB)"));
        auto* label = dlg->findChild<QLineEdit*>(QStringLiteral("volumeLabel"));
        EXPECT_EQ(label->text(), QStringLiteral("STICK"));
        label->setText(QStringLiteral("MUSIC"));
        dlg->findChild<QCheckBox*>(QStringLiteral("quickFormat"))->setChecked(false);
        dlg->findChild<QPushButton*>(QStringLiteral("startButton"))->click();
        EXPECT_TRUE(dlg->formatted());
        dlg->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
    });
    button("Command5")->click();
    ASSERT_EQ(formatter.calls.size(), 1);
    EXPECT_EQ(formatter.calls[0].root, QStringLiteral("F:\\"));
    EXPECT_EQ(formatter.calls[0].options.fileSystem, QStringLiteral("vfat"));
    EXPECT_EQ(formatter.calls[0].options.label, QStringLiteral("MUSIC"));
    EXPECT_FALSE(formatter.calls[0].options.quick);
}

class FormatDialogTest : public Form4Test {
protected:
    FormatDialog* dialog = nullptr;
    void openDialog()
    {
        stick('F', "STICK");
        open();
        dialog = new FormatDialog(AppContext{&fp.platform, &mainLink, &waitLink}, QStringLiteral("F:\\"), form);
        dialog->show();
    }
    template <class T> T* part(const char* name) { return dialog->findChild<T*>(QLatin1String(name)); }
    void choose(const QString& fs)
    {
        auto* box = part<QComboBox>("fileSystem");
        box->setCurrentIndex(box->findData(fs));
    }
};

TEST_F(FormatDialogTest, MissingToolsGreyOutTheirFileSystemWithTheReason)
{
    formatter.missing[QStringLiteral("ntfs")] = QStringLiteral("mkfs.ntfs is not installed");
    formatter.missing[QStringLiteral("vfat")] = QStringLiteral("mkfs.vfat is not installed");
    openDialog();
    auto* box = part<QComboBox>("fileSystem");
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names << box->itemText(i);
    EXPECT_EQ(names, (QStringList{"FAT32", "exFAT", "NTFS", "ext4"}));
    auto* model = qobject_cast<QStandardItemModel*>(box->model());
    EXPECT_FALSE(model->item(box->findData("ntfs"))->isEnabled());
    EXPECT_FALSE(model->item(box->findData("vfat"))->isEnabled());
    EXPECT_TRUE(model->item(box->findData("exfat"))->isEnabled());
    EXPECT_EQ(box->currentData().toString(), QStringLiteral("exfat")) << "the first one that can be made";
    EXPECT_EQ(part<QLabel>("fsNote")->text(),
              QStringLiteral("FAT32: mkfs.vfat is not installed\nNTFS: mkfs.ntfs is not installed"));
}

TEST_F(FormatDialogTest, LabelFollowsTheChosenFileSystemsRules)
{
    openDialog();
    auto* label = part<QLineEdit>("volumeLabel");
    auto* start = part<QPushButton>("startButton");
    struct Case { const char* fs; const char* label; bool ok; };
    const Case cases[] = {
        {"vfat", "MUSIC", true},
        {"vfat", "TWELVE CHARS", false},
        {"vfat", "A/B", false},
        {"exfat", "Fifteen chars!!", true},
        {"exfat", "Sixteen chars!!!", false},
        {"ext4", "sixteen bytes ok", true},
        {"ext4", "seventeen bytes!!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fs) + " " + c.label);
        choose(QLatin1String(c.fs));
        label->setText(QString::fromUtf8(c.label));
        EXPECT_EQ(start->isEnabled(), c.ok);
        EXPECT_EQ(part<QLabel>("labelNote")->text().isEmpty(), c.ok);
    }
}

TEST_F(FormatDialogTest, DecliningFormatsNothingAndAFailureIsTold)
{
    openDialog();
    fp.dialogs.expectMessage("Every file on drive F:\\ will be erased. Format the drive now?", "Format F:\\",
                             Icon::Question, Buttons::YesNo, Answer::No);
    part<QPushButton>("startButton")->click();
    EXPECT_TRUE(formatter.calls.isEmpty());
    fp.dialogs.verifyAllUsed();

    formatter.result = false;
    formatter.failWhy = QStringLiteral("the drive is busy");
    bool closeDisabledWhileWorking = false;
    formatter.during = [&] { closeDisabledWhileWorking = !part<QPushButton>("closeButton")->isEnabled(); };
    fp.dialogs.expectMessage("Every file on drive F:\\ will be erased. Format the drive now?", "Format F:\\",
                             Icon::Question, Buttons::YesNo, Answer::Yes);
    fp.dialogs.expectMessage("Drive F:\\ could not be formatted: the drive is busy", "Format F:\\", Icon::Critical,
                             Buttons::Ok, Answer::Ok);
    part<QPushButton>("startButton")->click();
    EXPECT_TRUE(closeDisabledWhileWorking);
    EXPECT_EQ(formatter.calls.size(), 1);
    EXPECT_FALSE(dialog->formatted());
    EXPECT_TRUE(part<QPushButton>("closeButton")->isEnabled());
}
