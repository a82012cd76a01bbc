#pragma once
#include "app/links.h"
#include "app/pagestack_ui.h"
#include "devices/module2.h"
#include "download/modcopy.h"

#include <QWidget>

class CopyListPage;
class CopyRunPage;
class DrivePathPage;
class GetDrivePage;
class QPushButton;
class ReviewPage;

// The Download window. Created on each opening and deleted when closed.
// Pages, bottom to top: Frame1 (Get Drive), Frame2 (destination folder),
// Frame3 (copy list), Frame4 (review), Frame7 (copying); the help button
// imhelp lies above Frame1-4 and below Frame7.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(const AppContext& context, QWidget* parent = nullptr);
    // Prepares the first page, fills the drive list and closes the please-wait window.
    void showcontrol();

    void startcopys();
    void SetPP();
    QString GetDriveSize();
    QString GetDriveLeft();

    // Window state.
    QString selectedDrive() const { return selectedDrive_; }
    FixedBytes listTotalBytes() const;
    QString listSizeText() const;
    int exitConfirmed() const { return flags_.exitConfirmed; }
    bool stopRequested() const { return flags_.stopRequested; }
    // The highest visible page.
    QWidget* currentPage() const { return stack_.current(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConfirmExit();
    void driveAccepted(const QString& root);
    void destinationAccepted();
    void copyListNext();
    void startCopy();
    void hideLaterPages();
    // Closes now, or once the copy run on the stack has returned.
    void letClose(QCloseEvent* event);

    AppContext ctx_;
    Module2 drives_;
    PageStack stack_;
    WizardFlags flags_;
    QString selectedDrive_;
    bool runOnStack_ = false;
    bool closeAfterRun_ = false;

    GetDrivePage* frame1_ = nullptr;
    DrivePathPage* frame2_ = nullptr;
    CopyListPage* frame3_ = nullptr;
    ReviewPage* frame4_ = nullptr;
    CopyRunPage* frame7_ = nullptr;
    QPushButton* imhelp_ = nullptr;
};
