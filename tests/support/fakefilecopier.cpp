#include "support/fakefilecopier.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <utility>

void FakeFileCopier::failFor(const QString& source, int error, const QString& reason, int afterReports)
{
    failures_[source] = {error, reason, afterReports};
}

void FakeFileCopier::failCommitFor(const QString& source, int error, const QString& reason)
{
    commitFailures_[source] = {error, reason, 0};
}

void FakeFileCopier::onReport(int call, int report, std::function<void()> action)
{
    actions_[{call, report}] = std::move(action);
}

FileCopier::Result FakeFileCopier::copyFile(const QString& sourceNative, const QString& destNative,
                                            const Progress& progress)
{
    const int callIndex = int(calls.size());
    calls.append({sourceNative, destNative, {}, {}});
    auto finish = [&](Result r) {
        calls[callIndex].result = r;
        return r;
    };
    const auto failure = failures_.constFind(sourceNative);

    QFile in(sourceNative);
    if (failure == failures_.cend() && !in.open(QIODevice::ReadOnly))
        return finish({false, ENOENT, QStringLiteral("The source file is gone.")});
    const QByteArray data = failure == failures_.cend() ? in.readAll() : QByteArray();
    const uint64_t total = failure == failures_.cend() ? uint64_t(data.size()) : uint64_t(QFile(sourceNative).size());

    const int reports = total == 0 ? 1 : steps + 1;
    for (int i = 0; i < reports; ++i) {
        if (failure != failures_.cend() && i == failure->afterReports)
            return finish({false, failure->error, failure->reason});
        const uint64_t done = total == 0 ? 0 : total * uint64_t(i) / uint64_t(steps);
        calls[callIndex].reports.append({total, done});
        const int answer = progress ? progress(total, done) : 0;
        if (auto action = actions_.constFind({callIndex, i}); action != actions_.cend())
            (*action)();
        if (letEventsRun)
            QCoreApplication::processEvents();
        if (answer != 0)
            return finish({false, ECANCELED, QStringLiteral("The copy was stopped.")});
    }
    if (failure != failures_.cend())
        return finish({false, failure->error, failure->reason});

    if (deferCommits) {
        pending_.append({sourceNative, destNative, data});
        return finish({});
    }
    return finish(write(destNative, data));
}

FileCopier::Result FakeFileCopier::write(const QString& dest, const QByteArray& data)
{
    QSaveFile out(dest);
    if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit())
        return {false, EACCES, QStringLiteral("The destination folder cannot be written: access is denied.")};
    return {};
}

QList<FileCopier::Late> FakeFileCopier::finishPending()
{
    ++finishCalls;
    if (onFinish)
        onFinish();
    QList<Late> late;
    for (const Pending& p : std::exchange(pending_, {})) {
        if (auto f = commitFailures_.constFind(p.source); f != commitFailures_.cend()) {
            late.append({p.source, p.dest, {false, f->error, f->reason}});
            continue;
        }
        const Result r = write(p.dest, p.data);
        if (!r.ok)
            late.append({p.source, p.dest, r});
    }
    return late;
}
