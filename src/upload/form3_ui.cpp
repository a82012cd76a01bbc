#include "upload/form3_ui.h"

#include "devices/getdrivepage_ui.h"
#include "upload/destinationpage_ui.h"

Form3::Form3(const AppContext& context, QWidget* parent) : CopyWizard(context, parent)
{
    DestinationPage::Config c2;
    c2.back = [this] { stack_.hide(destination_); };
    c2.next = [this] {
        // The bar and caption describe the computer's destination drive, not the device.
        const QString root = destinationDrive() + QStringLiteral(":\\");
        showCopyList(root, root);
    };
    c2.exit = [this] { ConfirmExit(); };
    destination_ = new DestinationPage(ctx_, c2, this);

    Setup s;
    s.objectName = QStringLiteral("Form3");
    s.windowTitle = QStringLiteral("Korvane 2.1 - Upload Wizard");
    s.getDriveCaption = QStringLiteral("Upload Wizard - Get Drive");
    s.exitQuestion = QStringLiteral("Exit Upload Wizard?");
    s.helpAboveCopyingPage = true;
    s.help = [this] { ctx_.main->SHelp3(); };
    s.list.caption = QStringLiteral("Upload Wizard - Get Music to Upload");
    s.list.heading = QStringLiteral("Now click add files to get the files from your drive");
    s.list.addCaption = QStringLiteral("Add files");
    s.list.keepPreviousChoice = true;
    s.list.firstDialogFolder = [this] { return frame1_->selectedRoot(); };
    s.review.caption = QStringLiteral("Upload Wizard - Ready to Copy");
    s.review.heading = QStringLiteral("Please review what you are ready to upload");
    s.review.copyCaption = QStringLiteral("Upload");
    s.review.copyTooltip = QStringLiteral("Start Uploading files");
    s.run.caption = QStringLiteral("Upload Wizard - Copying Files");
    s.run.backName = QStringLiteral("Command11");
    s.run.finishName = QStringLiteral("Command10");
    s.run.exitTooltipDone = QStringLiteral("Click to finish the Uplaoding wizard");
    s.run.stopOnStepFailure = true;
    s.run.destinationFolder = [this] { return destinationPath(); };
    build(std::move(s), destination_);
}

Form3::~Form3() = default;

QString Form3::destinationPath() const
{
    return destination_->destinationPath();
}

QString Form3::destinationDrive() const
{
    return destination_->destinationDrive();
}

QString Form3::GetDriveSize()
{
    return drives_.sizeOfDrive(deviceDrive_);
}

QString Form3::GetDriveLeftUploads()
{
    return drives_.spaceLeftOn(destinationDrive() + QStringLiteral(":/"));
}

void Form3::driveAccepted(const QString& root)
{
    deviceDrive_ = root;
    stack_.show(destination_);
    destination_->enter();
}

void Form3::completeReviewFacts(ReviewPage::Facts& f)
{
    f.chosenDrive = deviceDrive_;
    // Both forms name the destination drive: the fit test and "Avaliable Space: ".
    f.freeRoot = destinationDrive() + QStringLiteral(":/");
    f.destinationLine = destination_->destinationText();
}
