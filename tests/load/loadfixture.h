#pragma once
#include "devices/pagefixture.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <cstddef>
#include <fcntl.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// From the ASan runtime; g++ ships no header for it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Answer = Dialogs::Answer;

// Bytes the program holds on the heap now. Under ASan glibc's counters see nothing,
// so ask the sanitizer's allocator instead.
inline size_t heapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
#endif
}

inline void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// `count` files name0000.. in `folder`, each holding `bytesEach` bytes of its index.
// Plain POSIX calls: thirty thousand QFile objects would cost the test more than the program.
inline void makeFiles(const QString& folder, const QString& prefix, int count, int bytesEach)
{
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QByteArray path = (folder + QLatin1Char('/') + prefix + QStringLiteral("%1.bin").arg(i, 5, 10, QLatin1Char('0'))).toLocal8Bit();
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << path.constData();
        QByteArray data = QByteArray::number(i).rightJustified(bytesEach, '.', true);
        if (bytesEach > 0)
            ASSERT_EQ(::write(fd, data.constData(), size_t(data.size())), bytesEach);
        ::close(fd);
    }
}

// A stick F: and a computer drive Z: on temporary folders, the links recorded.
class LoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        stick = dirs.make(QStringLiteral("stick"));
        pc = dirs.make(QStringLiteral("pc"));
        program = dirs.make(QStringLiteral("program"));
        QDir().mkpath(program + QStringLiteral("/Data"));
        fp.volumes.add(QLatin1Char('F'), Volumes::Removable, stick, QStringLiteral("STICK"), 1ull << 30, 512ull << 20);
        fp.volumes.add(QLatin1Char('Z'), Volumes::Fixed, pc, {}, 2000000000, 1000000000);
        fp.platform.programFolder = program;
        ctx.platform = &fp.platform;
        ctx.main = &mainLink;
        ctx.wait = &waitLink;
    }
    void TearDown() override { fp.dialogs.verifyAllUsed(); }

    template <typename T = QWidget>
    static T* w(QWidget* window, const char* name)
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void click(QWidget* window, const char* name)
    {
        if (auto* b = w<QPushButton>(window, name))
            b->click();
    }
    void expectExit(const QString& question)
    {
        fp.dialogs.expectMessage(question, QStringLiteral("Exit?"), Icon::Question, Buttons::YesNo, Answer::Yes);
    }

    DriveFolders dirs;
    QString stick, pc, program;
    FakePlatform fp;
    FakeMainLink mainLink;
    FakeWaitLink waitLink;
    AppContext ctx;
};
