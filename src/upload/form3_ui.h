#pragma once
#include "app/links.h"
#include "app/pagestack_ui.h"
#include "devices/module2.h"
#include "download/modcopy.h"

#include <QWidget>

class CopyListPage;
class CopyRunPage;
class DestinationPage;
class GetDrivePage;
class QPushButton;
class ReviewPage;

// The Upload window: copies files chosen on the removable drive into a folder on
// the computer, remembered for the next time. Created on each opening and deleted
// when closed. Pages, bottom to top: Frame1 (Get Drive), Frame2 (destination on
// the computer), Frame3 (copy list), Frame4 (review), Frame7 (copying); the help
// button imhelp lies above all five.
class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(const AppContext& context, QWidget* parent = nullptr);
    ~Form3() override;

    // Prepares the first page, fills the drive list and closes the please-wait window.
    void showcontrol();

    void startcopys();
    void SetPP();
    // The device's total, and the free space of the destination drive ("X:/").
    QString GetDriveSize();
    QString GetDriveLeftUploads();

    // Window state.
    QString deviceDrive() const { return deviceDrive_; }
    QString destinationPath() const;
    QString destinationDrive() const;
    FixedBytes listTotalBytes() const;
    QString listSizeText() const;
    int exitConfirmed() const { return flags_.exitConfirmed; }
    bool stopRequested() const { return flags_.stopRequested; }
    QWidget* currentPage() const { return stack_.current(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConfirmExit();
    void enterDestination(const QString& root);
    void enterCopyList();
    void copyListNext();
    void startCopy();
    void hideLaterPages();
    // Closes now, or once the copy run on the stack has returned.
    void letClose(QCloseEvent* event);

    AppContext ctx_;
    Module2 drives_;
    PageStack stack_;
    WizardFlags flags_;
    QString deviceDrive_;
    bool runOnStack_ = false;
    bool closeAfterRun_ = false;

    GetDrivePage* frame1_ = nullptr;
    DestinationPage* frame2_ = nullptr;
    CopyListPage* frame3_ = nullptr;
    ReviewPage* frame4_ = nullptr;
    CopyRunPage* frame7_ = nullptr;
    QPushButton* imhelp_ = nullptr;
};
