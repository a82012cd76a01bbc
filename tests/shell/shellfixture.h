#pragma once
#include "shell/frmsplash1_ui.h"
#include "support/fakeplatform.h"
#include "support/gifmaker.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

// A program folder of the test's own with Config.ini (and optionally the intro
// movie), a fake platform and the main window built on them.
struct ShellFixture {
    QTemporaryDir dir;
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<frmSplash1> window;
    QSize screen{1024, 768};
    int programEnds = 0;

    explicit ShellFixture(const QByteArray* config = nullptr, bool withMovie = false)
    {
        QDir(dir.path()).mkpath(QStringLiteral("Data"));
        if (config)
            writeConfig(*config);
        if (withMovie)
            writeAnimatedGif(dir.filePath(QStringLiteral("Data/intro.gif")), 8, 6, {Qt::red, Qt::blue}, 60);
        fake = std::make_unique<FakePlatform>(dir.path());
    }

    ~ShellFixture()
    {
        window.reset();
        // Wizard windows the test opened are top-level windows of their own.
        QList<QPointer<QWidget>> opened;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName().startsWith(QLatin1String("Form")) || w->objectName() == QLatin1String("Dialog"))
                opened.append(w);
        for (const QPointer<QWidget>& w : opened)
            delete w.data();
    }

    void writeConfig(const QByteArray& content) const
    {
        QFile f(dir.filePath(QStringLiteral("Config.ini")));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(content);
    }

    QByteArray config() const
    {
        QFile f(dir.filePath(QStringLiteral("Config.ini")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    frmSplash1& create()
    {
        window = std::make_unique<frmSplash1>(fake->platform);
        window->setScreenSize([this] { return screen; });
        window->setProgramEnd([this] { ++programEnds; });
        return *window;
    }

    // Builds the window, runs Load and, when it succeeds, shows the window.
    bool start()
    {
        create();
        const bool ok = window->Load();
        if (ok)
            window->show();
        return ok;
    }

    template <typename T = QWidget>
    T* child(const char* name) const
    {
        T* w = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QTimer* timer(const char* name) const { return child<QTimer>(name); }

    // One tick of a running timer, as the event loop would deliver it.
    void tick(const char* name) const
    {
        QTimer* t = timer(name);
        ASSERT_TRUE(t->isActive()) << name << " is not running";
        QMetaObject::invokeMethod(t, "timeout");
    }

    bool visible(const char* name) const { return child(name)->isVisibleTo(window.get()); }
};
