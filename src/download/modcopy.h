#pragma once
#include <QList>
#include <QPointer>
#include <QString>
#include <cstdint>

class FileCopier;
class Volumes;

// The fields of a copy wizard that steer the end of a run.
struct WizardFlags {
    int exitConfirmed = 0;       // 1 once leaving is confirmed: the close handler asks nothing
    bool stopRequested = false;  // read by the run before each file
};

// What a copy run reports to: the copying page of the window running it. The run
// calls it only while the window it was handed still exists.
class CopyRunView {
public:
    virtual ~CopyRunView() = default;
    virtual int entryCount() const = 0;
    virtual QString entry(int i) const = 0;        // as listed, letter form
    virtual QString entryNative(int i) const = 0;  // the file to read
    // Destination folder in letter form, read again for every file.
    virtual QString destinationFolder() const = 0;

    // The run starts: select the first entry; overall bar at 0 of count.
    virtual void begin(int count) = 0;
    // A file is about to be copied: select entry i, show "Copying: " + entry, busy pointer.
    virtual void startFile(int i, const QString& copyingText) = 0;
    // The current-file bar and its caption (SetPP).
    virtual void setCurrentPercent(int percent) = 0;
    // A file is done: current bar 0, normal pointer, overall bar and caption.
    virtual void fileDone(int overallValue, int overallMaximum, const QString& overallText) = 0;
    // Runs pending window events (the window may be closed inside).
    virtual void letEventsRun() = 0;
    // The completion path; report is empty when every file was copied.
    virtual void completed(const QString& reportTitle, const QString& report) = 0;
    // The stop path without a confirmed exit: back to the review page.
    virtual void stopped() = 0;
    // The stop path with a confirmed exit: the main window, then the wizard closes
    // once the run has returned.
    virtual void leave() = 0;
};

struct CopyFailure {
    QString entry;    // the source as listed
    int error = 0;    // errno-style code
    QString reason;   // plain words
};

// The percentage of one file copied: an empty file is complete, and sizes of
// any width count exactly.
int CopyPercent(uint64_t totalSize, uint64_t transferred);
// The whole part of done * 100 / total in single precision (33, 66, 100 for three files).
int OverallPercent(int done, int total);
// Destination of a source: the folder, then the source's last piece after a '\'.
QString destinationFor(const QString& folder, const QString& sourceEntry);
// "Copy Error - " and how many files failed, then the first few with their reasons.
QString copyErrorText(const QList<CopyFailure>& failures, const QString& stoppedBecause = {});

// The progress routine handed to the copier: reports to view while window lives.
// Returns 0 (go on) always: a stop never interrupts the file in progress.
int CopyProgress(uint64_t totalSize, uint64_t transferred, CopyRunView* view, const QPointer<QObject>& window);

struct CopyRunSetup {
    CopyRunView* view = nullptr;
    QPointer<QObject> window;          // the run touches nothing once this is gone
    WizardFlags* flags = nullptr;      // owned by window
    FileCopier* copier = nullptr;
    Volumes* volumes = nullptr;
    // Upload: a failure of the run's own steps ends the run.
    bool stopOnStepFailure = false;
};

// One copy run over the whole list (startcopys). Returns when the run has ended and
// every file it copied is committed to the drive.
void startcopys(const CopyRunSetup& setup);
