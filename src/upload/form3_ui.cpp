#include "upload/form3_ui.h"

#include "controls/artwork_ui.h"
#include "devices/getdrivepage_ui.h"
#include "download/copylistpage_ui.h"
#include "download/copyrunpage_ui.h"
#include "download/reviewpage_ui.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "upload/destinationpage_ui.h"

#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>

namespace {
constexpr int kMargin = 8;  // 120 twips

const QString kExitQuestion = QStringLiteral("Exit Upload Wizard?");
}  // namespace

Form3::Form3(const AppContext& context, QWidget* parent)
    : QWidget(parent), ctx_(context), drives_(*context.platform->volumes, *context.platform->dialogs)
{
    setObjectName(QStringLiteral("Form3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Korvane 2.1 - Upload Wizard"));
    setWindowIcon(artWindowIcon());
    setFixedSize(GetDrivePage::kWidth + 2 * kMargin, GetDrivePage::kHeight + 2 * kMargin);

    GetDrivePage::Config c1;
    c1.caption = QStringLiteral("Upload Wizard - Get Drive");
    c1.changeTooltip = QStringLiteral("Update all drives");
    c1.chosenDrive = [this] { return deviceDrive_; };
    c1.hideLaterPages = [this] { hideLaterPages(); };
    c1.next = [this](const QString& root) { enterDestination(root); };
    c1.exit = [this] { ConfirmExit(); };
    frame1_ = new GetDrivePage(ctx_, c1, this);

    DestinationPage::Config c2;
    c2.back = [this] { stack_.hide(frame2_); };
    c2.next = [this] { enterCopyList(); };
    c2.exit = [this] { ConfirmExit(); };
    frame2_ = new DestinationPage(ctx_, c2, this);

    CopyListPage::Config c3;
    c3.caption = QStringLiteral("Upload Wizard - Get Music to Upload");
    c3.heading = QStringLiteral("Now click add files to get the files from your drive");
    c3.addCaption = QStringLiteral("Add files");
    c3.keepPreviousChoice = true;
    c3.firstDialogFolder = [this] { return frame1_->selectedRoot(); };
    c3.back = [this] { stack_.hide(frame3_); };
    c3.next = [this] { copyListNext(); };
    c3.exit = [this] { ConfirmExit(); };
    frame3_ = new CopyListPage(ctx_, c3, this);

    ReviewPage::Config c4;
    c4.caption = QStringLiteral("Upload Wizard - Ready to Copy");
    c4.heading = QStringLiteral("Please review what you are ready to upload");
    c4.copyCaption = QStringLiteral("Upload");
    c4.copyTooltip = QStringLiteral("Start Uploading files");
    c4.back = [this] { stack_.hide(frame4_); };
    c4.copy = [this] { startCopy(); };
    c4.exit = [this] { ConfirmExit(); };
    frame4_ = new ReviewPage(ctx_, c4, this);

    CopyRunPage::Config c7;
    c7.caption = QStringLiteral("Upload Wizard - Copying Files");
    c7.backName = QStringLiteral("Command11");
    c7.finishName = QStringLiteral("Command10");
    c7.exitTooltipDone = QStringLiteral("Click to finish the Uplaoding wizard");
    c7.stopOnStepFailure = true;
    c7.list = frame3_;
    c7.flags = &flags_;
    c7.destinationFolder = [this] { return destinationPath(); };
    c7.backToReview = [this] { stack_.hide(frame7_); };
    c7.finish = [this] {
        ctx_.main->Show();
        close();
    };
    c7.exitNow = c7.finish;
    c7.leave = [this] {
        ctx_.main->Show();
        closeAfterRun_ = true;
        hide();
    };
    frame7_ = new CopyRunPage(ctx_, c7, this);

    for (QWidget* f : {static_cast<QWidget*>(frame1_), static_cast<QWidget*>(frame2_), static_cast<QWidget*>(frame3_),
                       static_cast<QWidget*>(frame4_), static_cast<QWidget*>(frame7_)}) {
        f->move(kMargin, kMargin);
        // Opaque, so a page never shows the one it covers through it.
        f->setAutoFillBackground(true);
        f->setVisible(f == frame1_);
        stack_.add(f);
    }

    imhelp_ = new QPushButton(this);
    imhelp_->setObjectName(QStringLiteral("imhelp"));
    imhelp_->setToolTip(QStringLiteral("Click for Help"));
    imhelp_->setAccessibleName(QStringLiteral("Click for Help"));
    imhelp_->setFlat(true);
    imhelp_->setIcon(QIcon(artHelpButton()));
    imhelp_->setIconSize(QSize(33, 37));
    imhelp_->setGeometry(kMargin + GetDrivePage::kWidth - 45, kMargin + 6, 37, 41);
    imhelp_->raise();
    connect(imhelp_, &QPushButton::clicked, this, [this] { ctx_.main->SHelp3(); });
}

Form3::~Form3() = default;

void Form3::showcontrol()
{
    frame1_->showcontrol();
}

QString Form3::destinationPath() const
{
    return frame2_->destinationPath();
}

QString Form3::destinationDrive() const
{
    return frame2_->destinationDrive();
}

FixedBytes Form3::listTotalBytes() const
{
    return frame3_->listTotalBytes();
}

QString Form3::listSizeText() const
{
    return frame3_->listSizeText();
}

QString Form3::GetDriveSize()
{
    return drives_.sizeOfDrive(deviceDrive_);
}

QString Form3::GetDriveLeftUploads()
{
    return drives_.spaceLeftOn(destinationDrive() + QStringLiteral(":/"));
}

void Form3::startcopys()
{
    frame7_->startcopys();
}

void Form3::SetPP()
{
    frame7_->SetPP();
}

void Form3::hideLaterPages()
{
    stack_.hide(frame2_);
    stack_.hide(frame3_);
    stack_.hide(frame4_);
}

void Form3::enterDestination(const QString& root)
{
    deviceDrive_ = root;
    stack_.show(frame2_);
    frame2_->enter();
}

void Form3::enterCopyList()
{
    stack_.show(frame3_);
    const QString root = destinationDrive() + QStringLiteral(":\\");
    frame3_->setUsage(drives_.usage(root, root));
}

void Form3::copyListNext()
{
    ReviewPage::Facts f;
    f.count = frame3_->count();
    f.listTotalBytes = frame3_->listTotalBytes();
    f.listSizeText = frame3_->listSizeText();
    f.driveRoot = frame1_->selectedRoot();
    f.driveName = frame1_->nameBoxText();
    f.chosenDrive = deviceDrive_;
    f.freeRoot = destinationDrive() + QStringLiteral(":/");
    f.destinationLine = frame2_->destinationText();
    if (frame4_->fill(f))
        stack_.show(frame4_);
}

void Form3::startCopy()
{
    stack_.show(frame7_);
    const QPointer<Form3> self(this);
    runOnStack_ = true;
    frame7_->start();
    if (!self)
        return;
    runOnStack_ = false;
    if (closeAfterRun_)
        close();
}

void Form3::ConfirmExit()
{
    const auto answer = ctx_.platform->dialogs->message(this, kExitQuestion, QStringLiteral("Exit?"),
                                                        Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Answer::Yes)
        return;
    ctx_.main->Show();
    flags_.exitConfirmed = 1;
    close();
}

void Form3::closeEvent(QCloseEvent* event)
{
    if (frame7_->finishEnabled() || flags_.exitConfirmed == 1) {
        ctx_.main->Show();
        letClose(event);
        return;
    }
    Dialogs& dialogs = *ctx_.platform->dialogs;
    if (!frame7_->isHidden()) {
        const auto answer = dialogs.message(
            this,
            QStringLiteral("Stop copy process? If you click yes, file copy process will stop after this file has "
                           "finished copying."),
            QStringLiteral("Back?"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
        if (answer != Dialogs::Answer::Yes) {
            event->ignore();
            return;
        }
        flags_.stopRequested = true;
        flags_.exitConfirmed = 1;
        if (!runOnStack_)
            ctx_.main->Show();
        letClose(event);
        return;
    }
    const auto answer =
        dialogs.message(this, kExitQuestion, QStringLiteral("Exit?"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Answer::Yes) {
        event->ignore();
        return;
    }
    ctx_.main->Show();
    letClose(event);
}

void Form3::letClose(QCloseEvent* event)
{
    if (!runOnStack_) {
        event->accept();
        return;
    }
    // The run is still on the stack: it stops after its file and closes the window then.
    flags_.stopRequested = true;
    flags_.exitConfirmed = 1;
    closeAfterRun_ = true;
    event->ignore();
    hide();
}
