#include "platform/linux/instanceguard_lockfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QHostInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(InstanceGuard, SecondCopySeesTheFirstUntilItEnds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("korvane.lock"));
    auto first = std::make_unique<LockFileInstanceGuard>(path);
    EXPECT_FALSE(first->previousInstance());
    EXPECT_FALSE(first->previousInstance());  // asking again does not find itself
    LockFileInstanceGuard second(path);
    EXPECT_TRUE(second.previousInstance());
    first.reset();
    LockFileInstanceGuard third(path);
    EXPECT_FALSE(third.previousInstance());
}

TEST(InstanceGuard, ALiveHolderIsNeverStaleWhateverTheLockFileAge)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("korvane.lock"));
    LockFileInstanceGuard first(path);
    ASSERT_FALSE(first.previousInstance());
    // A copy running for hours: its lock file is old.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-6 * 3600), QFileDevice::FileModificationTime));
    f.close();
    LockFileInstanceGuard second(path);
    EXPECT_TRUE(second.previousInstance());
}

TEST(InstanceGuard, LockLeftByACrashedCopyIsTakenOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("korvane.lock"));
    // A process that has ended: its pid is free (or reused by something unrelated).
    QProcess gone;
    gone.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("echo $$")});
    ASSERT_TRUE(gone.waitForFinished());
    const qint64 deadPid = gone.readAllStandardOutput().trimmed().toLongLong();
    ASSERT_GT(deadPid, 0);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::number(deadPid) + '\n' + QCoreApplication::applicationName().toUtf8() + '\n'
            + QHostInfo::localHostName().toUtf8() + '\n');
    f.close();
    LockFileInstanceGuard guard(path);
    EXPECT_FALSE(guard.previousInstance());
}

TEST(InstanceGuard, DefaultLockLivesInTheRuntimeFolder)
{
    LockFileInstanceGuard guard;
    EXPECT_TRUE(guard.lockPath().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
}
