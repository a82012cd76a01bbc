#include "download/form1_ui.h"

#include "devices/getdrivepage_ui.h"
#include "download/drivepathpage_ui.h"

Form1::Form1(const AppContext& context, QWidget* parent) : CopyWizard(context, parent)
{
    DrivePathPage::Config c2;
    c2.back = [this] { stack_.hide(destination_); };
    c2.next = [this] { showCopyList(selectedDrive_, selectedDrive_); };
    c2.exit = [this] { ConfirmExit(); };
    destination_ = new DrivePathPage(ctx_, c2, this);

    Setup s;
    s.objectName = QStringLiteral("Form1");
    s.windowTitle = QStringLiteral("Korvane 2.1 - Download Wizard");
    s.getDriveCaption = QStringLiteral("Download Wizard - Get Drive");
    s.exitQuestion = QStringLiteral("Exit Download Wizard?");
    s.helpAboveCopyingPage = false;
    s.help = [this] { ctx_.main->SHelp2(); };
    s.list.caption = QStringLiteral("Download Wizard - Get Music to Download");
    s.list.heading = QStringLiteral("Now add your files and music that you want to copy to your MP3 player or flash drive");
    s.list.addCaption = QStringLiteral("Add File");
    s.review.caption = QStringLiteral("Download Wizard - Ready to Copy");
    s.review.heading = QStringLiteral("Please review what you are ready to copy to your selected drive");
    s.review.copyCaption = QStringLiteral("Copy");
    s.review.copyTooltip = QStringLiteral("Start Copying files");
    s.run.caption = QStringLiteral("Download Wizard - Copying Files");
    s.run.exitTooltipDone = QStringLiteral("Click to finish the download wizard");
    // Read for every file: the folder list's open folder.
    s.run.destinationFolder = [this] { return destination_->destination(); };
    build(std::move(s), destination_);
}

void Form1::beforeShowcontrol()
{
    frame3_->resetList();
}

QString Form1::GetDriveSize()
{
    return drives_.sizeOfDrive(selectedDrive_);
}

QString Form1::GetDriveLeft()
{
    return drives_.spaceLeftOn(selectedDrive_);
}

void Form1::driveAccepted(const QString& root)
{
    selectedDrive_ = root;
    stack_.show(destination_);
    destination_->enter(root);
}

void Form1::completeReviewFacts(ReviewPage::Facts& f)
{
    f.chosenDrive = selectedDrive_;
    f.freeRoot = frame1_->selectedRoot();
    f.destinationLine = destination_->destinationText();
}
