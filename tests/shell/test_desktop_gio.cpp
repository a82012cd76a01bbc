#include "platform/linux/desktop_gio.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// GIO reads the XDG folders once per process, so the private desktop is set up
// before main() runs: a fake viewer for PDF, web addresses and folders, nothing
// for anything else.
struct PrivateDesktop {
    QTemporaryDir root;
    QString log;

    PrivateDesktop()
    {
        const QString r = root.path();
        QDir d(r);
        for (const char* sub : {"data/applications", "config", "dirs", "bin"})
            d.mkpath(QLatin1String(sub));
        QFile::link(QStringLiteral("/usr/share/mime"), r + QStringLiteral("/dirs/mime"));
        log = r + QStringLiteral("/opened.txt");
        write(r + QStringLiteral("/bin/viewer"), "#!/bin/sh\necho \"$@\" >> '" + log.toUtf8() + "'\n", true);
        write(r + QStringLiteral("/data/applications/kvviewer.desktop"),
              "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + r.toUtf8()
                  + "/bin/viewer %U\nMimeType=application/pdf;x-scheme-handler/http;x-scheme-handler/https;"
                    "inode/directory;\n");
        write(r + QStringLiteral("/config/mimeapps.list"),
              "[Default Applications]\napplication/pdf=kvviewer.desktop\n"
              "x-scheme-handler/http=kvviewer.desktop\nx-scheme-handler/https=kvviewer.desktop\n"
              "inode/directory=kvviewer.desktop\n");
        qputenv("XDG_DATA_HOME", (r + QStringLiteral("/data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", (r + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", (r + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_DIRS", (r + QStringLiteral("/dirs")).toUtf8());
        // No file manager service: folders go to the default folder handler.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    }

    static void write(const QString& path, const QByteArray& content, bool executable = false)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(content);
        f.close();
        if (executable)
            f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeUser);
    }

    QString opened() const
    {
        QFile f(log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void clearLog() const { QFile::remove(log); }
};

PrivateDesktop& desktopEnv()
{
    static PrivateDesktop env;
    return env;
}
const bool kSetUp = (desktopEnv(), true);

QString document(const char* name, const QByteArray& content)
{
    const QString path = desktopEnv().root.path() + QLatin1Char('/') + QLatin1String(name);
    PrivateDesktop::write(path, content);
    return path;
}

} // namespace

TEST(GioDesktop, DocumentWithARegisteredViewerIsOpenedInIt)
{
    ASSERT_TRUE(kSetUp);
    const QString pdf = document("Help1.pdf", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<<>>\nendobj\n");
    EXPECT_EQ(GioDesktop::contentType(pdf), QStringLiteral("application/pdf"));
    EXPECT_EQ(GioDesktop::defaultProgramFor(QStringLiteral("application/pdf")), QStringLiteral("kvviewer.desktop"));
    desktopEnv().clearLog();
    GioDesktop desktop;
    EXPECT_EQ(desktop.openDocument(pdf), Desktop::OpenResult::Opened);
    QTRY_VERIFY_WITH_TIMEOUT(desktopEnv().opened().contains(QStringLiteral("Help1.pdf")), 5000);
}

TEST(GioDesktop, NoViewerAndMissingDocumentAreTold)
{
    GioDesktop desktop;
    const QString text = document("notes.txt", "just words\n");
    EXPECT_EQ(desktop.openDocument(text), Desktop::OpenResult::NoHandler);
    const QString ps = document("print.ps", "%!PS-Adobe-3.0\n%%EOF\n");
    EXPECT_EQ(GioDesktop::contentType(ps), QStringLiteral("application/postscript"));
    EXPECT_EQ(desktop.openDocument(ps), Desktop::OpenResult::NoHandler);
    EXPECT_EQ(desktop.openDocument(desktopEnv().root.path() + QStringLiteral("/missing.pdf")),
              Desktop::OpenResult::Failed);
    EXPECT_EQ(desktop.openDocument(desktopEnv().root.path()), Desktop::OpenResult::Failed);  // a folder
}

TEST(GioDesktop, WebAddressGoesToTheSchemeHandler)
{
    GioDesktop desktop;
    desktopEnv().clearLog();
    EXPECT_EQ(desktop.openUrl(QStringLiteral("https://get.adobe.com/reader/")), Desktop::OpenResult::Opened);
    QTRY_VERIFY_WITH_TIMEOUT(desktopEnv().opened().contains(QStringLiteral("https://get.adobe.com/reader/")), 5000);
    EXPECT_EQ(desktop.openUrl(QStringLiteral("gopher://example.org/")), Desktop::OpenResult::NoHandler);
    EXPECT_EQ(desktop.openUrl(QStringLiteral("not an address")), Desktop::OpenResult::Failed);
}

TEST(GioDesktop, FolderFallsBackToTheFolderHandlerWithoutAFileManagerService)
{
    GioDesktop desktop;
    desktopEnv().clearLog();
    QDir(desktopEnv().root.path()).mkpath(QStringLiteral("Stick"));
    EXPECT_TRUE(desktop.openFolder(desktopEnv().root.path() + QStringLiteral("/Stick")));
    QTRY_VERIFY_WITH_TIMEOUT(desktopEnv().opened().contains(QStringLiteral("/Stick")), 5000);
    EXPECT_FALSE(desktop.openFolder(desktopEnv().root.path() + QStringLiteral("/NoSuchFolder")));
}

TEST(GioDesktop, StartProgramSplitsTheCommandLineAndDoesNotWait)
{
    GioDesktop desktop;
    desktopEnv().clearLog();
    const QString viewer = desktopEnv().root.path() + QStringLiteral("/bin/viewer");
    EXPECT_TRUE(desktop.startProgram(viewer + QStringLiteral(" first \"two words\""), Desktop::Normal));
    QTRY_COMPARE_WITH_TIMEOUT(desktopEnv().opened(), QStringLiteral("first two words\n"), 5000);
    EXPECT_FALSE(desktop.startProgram(QStringLiteral("/nonexistent/tool --x"), Desktop::Maximized));
    EXPECT_FALSE(desktop.startProgram(QString(), Desktop::Normal));
}
