#pragma once
#include "download/copywizard_ui.h"

class DrivePathPage;

// The Download window: copies files chosen on the computer into a folder on the
// removable drive. Created on each opening and deleted when closed. Its Frame2
// is the destination folder on the drive; the help button imhelp lies above
// Frame1-4 and below Frame7.
class Form1 : public CopyWizard {
    Q_OBJECT
public:
    explicit Form1(const AppContext& context, QWidget* parent = nullptr);

    QString GetDriveSize();
    QString GetDriveLeft();

    // Window state.
    QString selectedDrive() const { return selectedDrive_; }

protected:
    void driveAccepted(const QString& root) override;
    QString chosenDrive() const override { return selectedDrive_; }
    void completeReviewFacts(ReviewPage::Facts& facts) override;
    void beforeShowcontrol() override;

private:
    QString selectedDrive_;
    DrivePathPage* destination_ = nullptr;
};
