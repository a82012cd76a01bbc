#pragma once
#include "download/copywizard_ui.h"

class DestinationPage;

// The Upload window: copies files chosen on the removable drive into a folder on
// the computer, remembered for the next time. Created on each opening and deleted
// when closed. Its Frame2 is the destination on the computer; the help button
// imhelp lies above all five pages.
class Form3 : public CopyWizard {
    Q_OBJECT
public:
    explicit Form3(const AppContext& context, QWidget* parent = nullptr);
    ~Form3() override;

    // The device's total, and the free space of the destination drive ("X:/").
    QString GetDriveSize();
    QString GetDriveLeftUploads();

    // Window state.
    QString deviceDrive() const { return deviceDrive_; }
    QString destinationPath() const;
    QString destinationDrive() const;

protected:
    void driveAccepted(const QString& root) override;
    QString chosenDrive() const override { return deviceDrive_; }
    void completeReviewFacts(ReviewPage::Facts& facts) override;

private:
    QString deviceDrive_;
    DestinationPage* destination_ = nullptr;
};
