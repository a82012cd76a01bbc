#include "download/modcopy.h"

#include "platform/filecopier.h"
#include "platform/volumes.h"

#include <QDir>
#include <algorithm>

namespace {
constexpr int kReportedNames = 5;
}

int CopyPercent(uint64_t totalSize, uint64_t transferred)
{
    if (totalSize == 0)
        return 100;
    if (transferred >= totalSize)
        return 100;
    // Exact for any size: no product that could overflow 64 bits.
    const unsigned __int128 scaled = static_cast<unsigned __int128>(transferred) * 100u;
    return int(scaled / totalSize);
}

int OverallPercent(int done, int total)
{
    if (total <= 0)
        return 0;
    const float value = float(done) * 100.0f / float(total);
    return int(value);
}

QString destinationFor(const QString& folder, const QString& sourceEntry)
{
    const QString name = sourceEntry.section(QLatin1Char('\\'), -1);
    return folder.endsWith(QLatin1Char('\\')) ? folder + name : folder + QLatin1Char('\\') + name;
}

QString copyErrorText(const QList<CopyFailure>& failures, const QString& stoppedBecause)
{
    QString text = QStringLiteral("Copy Error - ");
    const int n = int(failures.size());
    if (n > 0)
        text += n == 1 ? QStringLiteral("1 file could not be copied:")
                       : QString::number(n) + QStringLiteral(" files could not be copied:");
    for (int i = 0; i < n && i < kReportedNames; ++i)
        text += QLatin1Char('\n') + failures.at(i).entry + QStringLiteral(": ") + failures.at(i).reason;
    if (n > kReportedNames)
        text += QStringLiteral("\n(and ") + QString::number(n - kReportedNames) + QStringLiteral(" more)");
    if (!stoppedBecause.isEmpty())
        text += (n > 0 ? QStringLiteral("\n") : QString()) + QStringLiteral("The copy stopped: ") + stoppedBecause;
    return text;
}

int CopyProgress(uint64_t totalSize, uint64_t transferred, CopyRunView* view, const QPointer<QObject>& window)
{
    if (view && window)
        view->setCurrentPercent(CopyPercent(totalSize, transferred));
    return 0;
}

void startcopys(const CopyRunSetup& s)
{
    const QPointer<QObject> window = s.window;
    auto alive = [&window] { return !window.isNull(); };
    if (!alive())
        return;
    CopyRunView* view = s.view;
    const int count = view->entryCount();
    struct Failed {
        int index;
        CopyFailure failure;
    };
    QList<Failed> failures;
    struct HandedOver {
        int index;
        QString entry, source, dest;
    };
    QList<HandedOver> handedOver;
    QString stoppedBecause;

    // A copy is only on the drive once the copier has committed it: whichever way the run
    // ends, it waits for that first, and a failed commit counts as a file not copied.
    // Events run meanwhile; false when the window went.
    auto settle = [&] {
        if (!s.copier || handedOver.isEmpty())
            return alive();
        const QList<FileCopier::Late> late = s.copier->finishPending();
        qsizetype from = 0;
        for (const FileCopier::Late& l : late) {
            qsizetype at = from;
            while (at < handedOver.size() && (handedOver[at].source != l.sourceNative || handedOver[at].dest != l.destNative))
                ++at;
            const QString reason = l.result.reason.isEmpty() ? QStringLiteral("The file could not be copied.") : l.result.reason;
            if (at < handedOver.size()) {
                failures.append({handedOver[at].index, {handedOver[at].entry, l.result.error, reason}});
                from = at + 1;
            } else {
                failures.append({count, {l.sourceNative, l.result.error, reason}});
            }
        }
        handedOver.clear();
        std::stable_sort(failures.begin(), failures.end(),
                         [](const Failed& a, const Failed& b) { return a.index < b.index; });
        return alive();
    };

    view->begin(count);
    for (int i = 0; i < count; ++i) {
        if (s.flags->stopRequested) {
            if (!settle())
                return;
            if (s.flags->exitConfirmed == 1) {
                view->leave();
                return;
            }
            s.flags->stopRequested = false;
            view->stopped();
            return;
        }
        const QString entry = view->entry(i);
        view->startFile(i, QStringLiteral("Copying: ") + entry);
        view->letEventsRun();
        if (!alive()) {
            settle();
            return;
        }

        const QString destNative = s.volumes->toNative(destinationFor(view->destinationFolder(), entry));
        const QString sourceNative = view->entryNative(i);
        if (!s.copier) {
            failures.append({i, {entry, 38, QStringLiteral("No file copier is available.")}});  // ENOSYS
            if (s.stopOnStepFailure)
                stoppedBecause = failures.last().failure.reason;
        } else if (destNative.isEmpty() || sourceNative.isEmpty()) {
            // A letter that no longer maps: the drive has gone.
            const QString reason = destNative.isEmpty() ? QStringLiteral("The destination drive cannot be found.")
                                                        : QStringLiteral("The source drive cannot be found.");
            failures.append({i, {entry, 19, reason}});  // ENODEV
            if (s.stopOnStepFailure)
                stoppedBecause = reason;
        } else {
            const FileCopier::Result r = s.copier->copyFile(
                sourceNative, destNative,
                [view, window](uint64_t total, uint64_t done) { return CopyProgress(total, done, view, window); });
            if (r.ok)
                handedOver.append({i, entry, sourceNative, destNative});
            if (!alive()) {
                settle();
                return;
            }
            if (!r.ok) {
                failures.append({i, {entry, r.error,
                                     r.reason.isEmpty() ? QStringLiteral("The file could not be copied.") : r.reason}});
            }
        }
        // The last file of the run is not done before it is on the drive.
        if ((i == count - 1 || !stoppedBecause.isEmpty()) && !settle())
            return;
        view->fileDone(i + 1, count,
                       QStringLiteral("Overall progress: ") + QString::number(OverallPercent(i + 1, count))
                           + QStringLiteral("% Complete"));
        view->letEventsRun();
        if (!alive()) {
            settle();
            return;
        }
        if (!stoppedBecause.isEmpty())
            break;
    }
    if (!settle())
        return;
    // A stop asked for during the last file: a confirmed exit still leaves, and a
    // plain stop must not linger to end the next run at its first file.
    if (s.flags->stopRequested && s.flags->exitConfirmed == 1) {
        view->leave();
        return;
    }
    s.flags->stopRequested = false;
    QList<CopyFailure> report;
    for (const Failed& f : failures)
        report.append(f.failure);
    const int lastError = report.isEmpty() ? 0 : report.last().error;
    view->completed(QString::number(lastError),
                    report.isEmpty() && stoppedBecause.isEmpty() ? QString() : copyErrorText(report, stoppedBecause));
}
