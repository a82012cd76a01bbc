#pragma once
#include "platform/filecopier.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <functional>

// Copies with QFile in a few steps, reporting rising byte counts and letting events run
// between them like the real copier; records every call; fails on request.
class FakeFileCopier : public FileCopier {
public:
    struct Call {
        QString source, dest;
        QList<QPair<uint64_t, uint64_t>> reports;  // (total, transferred) as handed to the routine
        Result result;
    };

    // Copies of the given source fail with this failure after that many reports;
    // the destination is left as it was.
    void failFor(const QString& source, int error, const QString& reason, int afterReports = 0);
    // Runs action right after the given report (0 = the first) of the given call (0 = the first).
    void onReport(int call, int report, std::function<void()> action);

    // Copies of the given source succeed, but their commit in finishPending() fails.
    void failCommitFor(const QString& source, int error, const QString& reason);

    int steps = 4;                 // reports after the first, for a non-empty file
    bool letEventsRun = true;      // a pass of events after every report
    // Like the real copier: a copy reaches its name only in finishPending(), not in copyFile.
    bool deferCommits = false;
    QList<Call> calls;
    int finishCalls = 0;
    std::function<void()> onFinish;  // runs at the start of every finishPending()

    Result copyFile(const QString& sourceNative, const QString& destNative,
                    const Progress& progress) override;
    QList<Late> finishPending() override;

private:
    static Result write(const QString& dest, const QByteArray& data);
    struct Failure {
        int error = 0;
        QString reason;
        int afterReports = 0;
    };
    QMap<QString, Failure> failures_;
    QMap<QString, Failure> commitFailures_;
    struct Pending {
        QString source, dest;
        QByteArray data;
    };
    QList<Pending> pending_;
    QMap<QPair<int, int>, std::function<void()>> actions_;
};
