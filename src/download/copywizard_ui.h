#pragma once
#include "app/links.h"
#include "app/pagestack_ui.h"
#include "devices/module2.h"
#include "download/copylistpage_ui.h"
#include "download/copyrunpage_ui.h"
#include "download/modcopy.h"
#include "download/reviewpage_ui.h"

#include <QWidget>
#include <functional>

class GetDrivePage;
class QPushButton;

// What the two copy wizards share: the Get Drive page, the copy list, review and
// copying pages, the help button, the exit question, and the close handler. A
// wizard adds its own destination page and says where its files go.
// Pages, bottom to top: Frame1 (Get Drive), Frame2 (the wizard's destination),
// Frame3 (copy list), Frame4 (review), Frame7 (copying).
class CopyWizard : public QWidget {
    Q_OBJECT
public:
    // Prepares the first page, fills the drive list and closes the please-wait window.
    void showcontrol();
    void startcopys();
    void SetPP();

    FixedBytes listTotalBytes() const;
    QString listSizeText() const;
    int exitConfirmed() const { return flags_.exitConfirmed; }
    bool stopRequested() const { return flags_.stopRequested; }
    // The highest visible page.
    QWidget* currentPage() const { return stack_.current(); }

protected:
    struct Setup {
        QString objectName;          // "Form1"
        QString windowTitle;         // "Korvane 2.1 - Download Wizard"
        QString getDriveCaption;     // "Download Wizard - Get Drive"
        QString exitQuestion;        // "Exit Download Wizard?"
        bool helpAboveCopyingPage = false;
        std::function<void()> help;  // the main window's help routine for this wizard
        // Captions and the wizard's differences; the navigation callbacks are filled in here.
        CopyListPage::Config list;
        ReviewPage::Config review;
        CopyRunPage::Config run;
    };

    explicit CopyWizard(const AppContext& context, QWidget* parent);

    // Builds the pages around the wizard's own destination page. Call once from the
    // wizard's constructor; the destination page is Frame2, created by the wizard.
    void build(Setup setup, QWidget* destinationPage);

    // The drive page's Next passed: store the chosen drive and show Frame2.
    virtual void driveAccepted(const QString& root) = 0;
    virtual QString chosenDrive() const = 0;
    // The review's facts that differ: chosenDrive, freeRoot and destinationLine.
    virtual void completeReviewFacts(ReviewPage::Facts& facts) = 0;
    // Opening step before the drive list is filled.
    virtual void beforeShowcontrol() {}

    // Frame2's Next passed: show the copy list with the usage of root.
    void showCopyList(const QString& usageRoot, const QString& shownRoot);
    void ConfirmExit();
    void closeEvent(QCloseEvent* event) override;

    AppContext ctx_;
    Module2 drives_;
    PageStack stack_;
    WizardFlags flags_;
    GetDrivePage* frame1_ = nullptr;
    QWidget* frame2_ = nullptr;
    CopyListPage* frame3_ = nullptr;
    ReviewPage* frame4_ = nullptr;
    CopyRunPage* frame7_ = nullptr;
    QPushButton* imhelp_ = nullptr;

private:
    void copyListNext();
    void startCopy();
    void hideLaterPages();
    bool askYesNo(const QString& text, const QString& title);
    // Closes now, or once the copy run on the stack has returned.
    void letClose(QCloseEvent* event);

    QString exitQuestion_;
    bool runOnStack_ = false;
    bool closeAfterRun_ = false;
};
