#pragma once
#include "platform/cursor.h"
#include "platform/desktop.h"
#include "platform/instanceguard.h"
#include "platform/media.h"
#include "platform/platform.h"
#include "support/fakedialogs.h"
#include "support/fakevolumes.h"

#include <QStringList>

class FakeDesktop : public Desktop {
public:
    OpenResult documentResult = OpenResult::Opened;
    OpenResult urlResult = OpenResult::Opened;
    bool startResult = true;
    bool folderResult = true;
    QStringList documents, urls, folders;
    QList<QPair<QString, int>> programs;  // (command line, window style)

    OpenResult openDocument(const QString& p) override { documents << p; return documentResult; }
    OpenResult openUrl(const QString& u) override { urls << u; return urlResult; }
    bool startProgram(const QString& c, int s) override { programs.append({c, s}); return startResult; }
    bool openFolder(const QString& p) override { folders << p; return folderResult; }
};

class FakeCursor : public Cursor {
public:
    QList<int> history;
    void setPointer(int p) override { current = p; history << p; }
    int pointer() const override { return current; }
    int current = Default;
};

class FakeInstanceGuard : public InstanceGuard {
public:
    bool running = false;
    bool previousInstance() override { return running; }
};

class FakeMusicPlayer : public MusicPlayer {
public:
    QString url;
    int plays = 0, stops = 0;
    QString statusText = QStringLiteral("Playing");
    bool statusReadable = true;
    void setUrl(const QString& p) override { url = p; }
    void play() override { ++plays; }
    void stop() override { ++stops; statusText = QStringLiteral("Stopped"); }
    bool status(QString* t) override { *t = statusReadable ? statusText : QString(); return statusReadable; }
};

// A Platform whose every service is a fake; the program folder is a test's own.
struct FakePlatform {
    FakeVolumes volumes;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    FakeCursor cursor;
    FakeInstanceGuard instanceGuard;
    FakeMusicPlayer music;
    Platform platform;

    explicit FakePlatform(const QString& programFolder = {})
    {
        platform.volumes = &volumes;
        platform.dialogs = &dialogs;
        platform.desktop = &desktop;
        platform.cursor = &cursor;
        platform.instanceGuard = &instanceGuard;
        platform.music = &music;
        platform.programFolder = programFolder;
    }
};
