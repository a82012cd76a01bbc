#pragma once
#include "app/links.h"
#include "download/modcopy.h"

#include <QFrame>
#include <functional>

class Animation;
class CopyListPage;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

// The copying page (objectName "Frame7") of both copy wizards and the window's
// side of the copy run: heading Label28, group Frame9 with the animation m, the
// overall bar p2 and current-file bar p3, Label23/22/21, Open folder (Command20),
// and Back, Finish, Exit (Command5/9/14 in the download wizard; the names of
// Back and Finish are configurable).
//
// A run is in progress exactly while p2's value differs from its maximum. During
// a run the buttons only ask and set the window's WizardFlags; the run acts on
// them before the next file.
class CopyRunPage : public QFrame, private CopyRunView {
    Q_OBJECT
public:
    struct Config {
        QString caption;            // "Download Wizard - Copying Files"
        QString backName = QStringLiteral("Command5");
        QString finishName = QStringLiteral("Command9");
        QString exitTooltipDone;    // "Click to finish the download wizard"
        bool stopOnStepFailure = false;  // upload: a failed step of the run ends it
        CopyListPage* list = nullptr;    // the entries to copy
        WizardFlags* flags = nullptr;    // the window's fields
        // Destination folder in letter form, read for every file.
        std::function<QString()> destinationFolder;
        std::function<void()> backToReview;  // hide this page
        std::function<void()> finish;        // Finish: main window, then close
        std::function<void()> exitNow;       // Exit with no run in progress
        std::function<void()> leave;         // the stop path after a confirmed exit
    };

    CopyRunPage(const AppContext& context, Config config, QWidget* window);

    // Copy's start: the animation opens the copy clip and plays; then the run.
    // The window shows this page first. Returns when the run has ended (the
    // window may have asked to close meanwhile; the page is then still alive).
    void start();
    void startcopys();
    void SetPP();
    bool runInProgress() const;
    bool finishEnabled() const;
    QString title() const;
    Animation* animation() const { return m_; }

private:
    void back();
    void exitClicked();
    void openFolder();
    bool askStop();

    // CopyRunView
    int entryCount() const override;
    QString entry(int i) const override;
    QString entryNative(int i) const override;
    QString destinationFolder() const override;
    void begin(int count) override;
    void startFile(int i, const QString& copyingText) override;
    void setCurrentPercent(int percent) override;
    void fileDone(int overallValue, int overallMaximum, const QString& overallText) override;
    void letEventsRun() override;
    void completed(const QString& reportTitle, const QString& report) override;
    void stopped() override;
    void leave() override;

    AppContext ctx_;
    Config config_;
    QWidget* window_;

    QGroupBox* box_ = nullptr;
    QLabel* label28_ = nullptr;
    Animation* m_ = nullptr;
    QProgressBar* p2_ = nullptr;
    QProgressBar* p3_ = nullptr;
    QLabel* label23_ = nullptr;
    QLabel* label22_ = nullptr;
    QLabel* label21_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* finish_ = nullptr;
    QPushButton* exit_ = nullptr;
};
