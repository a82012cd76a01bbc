#pragma once
#include "app/links.h"
#include "support/fakeplatform.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

// The main window and the please-wait window as a wizard sees them, recording calls.
class FakeMainLink : public MainWindowLink {
public:
    QStringList calls;
    void Show() override { calls << QStringLiteral("Show"); }
    void SHelp1() override { calls << QStringLiteral("SHelp1"); }
    void SHelp2() override { calls << QStringLiteral("SHelp2"); }
    void SHelp3() override { calls << QStringLiteral("SHelp3"); }
    void SHelp4() override { calls << QStringLiteral("SHelp4"); }
    void klaun() override { calls << QStringLiteral("klaun"); }
};

class FakeWaitLink : public WaitWindowLink {
public:
    QStringList calls;
    void SetTex(const QString& t) override { calls << QStringLiteral("SetTex ") + t; }
    void Hideforever() override { calls << QStringLiteral("Hideforever"); }
};

// Drive folders under one temporary folder.
struct DriveFolders {
    QTemporaryDir tmp;
    QString make(const QString& name)
    {
        const QString p = tmp.filePath(name);
        QDir().mkpath(p);
        return p;
    }
    // A path that names a regular file: a root there cannot hold a probe.
    QString regularFile(const QString& name)
    {
        const QString p = tmp.filePath(name);
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write("x");
        return p;
    }
    QString missing(const QString& name) { return tmp.filePath(name + QStringLiteral("-gone")); }
};

inline QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

inline QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Waits for one tick of a timer (the device watch); false when none came.
inline bool waitTick(QTimer* timer)
{
    if (!timer || !timer->isActive())
        return false;
    QSignalSpy spy(timer, &QTimer::timeout);
    return spy.wait(2000);
}
