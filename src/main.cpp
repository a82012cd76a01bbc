#include "platform/linux/desktop_gio.h"
#include "platform/linux/filecopier_linux.h"
#include "platform/linux/instanceguard_lockfile.h"
#include "platform/linux/linuxformatter.h"
#include "platform/linux/linuxvolumes.h"
#include "platform/linux/network_http.h"
#include "platform/linux/systemregistry_linux.h"
#include "platform/platform.h"
#include "platform/qt/qtcursor.h"
#include "platform/qt/qtdialogs.h"
#include "platform/qt/qtmusicplayer.h"
#include "shell/frmsplash1_ui.h"
#include "shell/startupprobe_ui.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane 2.1"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvane 2.1"));
    QApplication::setApplicationVersion(QStringLiteral("2.1"));

    QtDialogs dialogs;
    GioDesktop desktop;
    QtCursor cursor;
    LockFileInstanceGuard instanceGuard;
    QtMusicPlayer music;

    Platform platform;
    platform.dialogs = &dialogs;
    platform.desktop = &desktop;
    platform.cursor = &cursor;
    platform.instanceGuard = &instanceGuard;
    platform.music = &music;
    platform.programFolder = QCoreApplication::applicationDirPath();

    // The volume map watches the mount table, so it needs the application first.
    LinuxVolumes volumes;
    LinuxFormatter formatter(volumes);
    LinuxFileCopier fileCopier;
    LinuxSystemRegistry registry;
    HttpNetwork network;
    platform.volumes = &volumes;
    platform.formatter = &formatter;
    platform.fileCopier = &fileCopier;
    platform.registry = &registry;
    platform.network = &network;

    frmSplash1 window(platform);
    if (!window.Load())
        return 0;
    installStartupProbe(&window);
    window.show();
    return app.exec();
}
