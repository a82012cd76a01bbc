#include "download/form1_ui.h"

#include "controls/artwork_ui.h"
#include "controls/folderlist_ui.h"
#include "devices/getdrivepage_ui.h"
#include "download/copylistpage_ui.h"
#include "download/copyrunpage_ui.h"
#include "download/drivepathpage_ui.h"
#include "download/reviewpage_ui.h"
#include "platform/dialogs.h"
#include "platform/platform.h"

#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>

namespace {
constexpr int kMargin = 8;  // 120 twips
}

Form1::Form1(const AppContext& context, QWidget* parent)
    : QWidget(parent), ctx_(context), drives_(*context.platform->volumes, *context.platform->dialogs)
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Korvane 2.1 - Download Wizard"));
    setWindowIcon(artWindowIcon());
    setFixedSize(GetDrivePage::kWidth + 2 * kMargin, GetDrivePage::kHeight + 2 * kMargin);

    GetDrivePage::Config c1;
    c1.caption = QStringLiteral("Download Wizard - Get Drive");
    c1.changeTooltip = QStringLiteral("Update all drives");
    c1.chosenDrive = [this] { return selectedDrive_; };
    c1.hideLaterPages = [this] { hideLaterPages(); };
    c1.next = [this](const QString& root) { driveAccepted(root); };
    c1.exit = [this] { ConfirmExit(); };
    frame1_ = new GetDrivePage(ctx_, c1, this);

    DrivePathPage::Config c2;
    c2.back = [this] { stack_.hide(frame2_); };
    c2.next = [this] { destinationAccepted(); };
    c2.exit = [this] { ConfirmExit(); };
    frame2_ = new DrivePathPage(ctx_, c2, this);

    CopyListPage::Config c3;
    c3.caption = QStringLiteral("Download Wizard - Get Music to Download");
    c3.heading = QStringLiteral("Now add your files and music that you want to copy to your MP3 player or flash drive");
    c3.addCaption = QStringLiteral("Add File");
    c3.back = [this] { stack_.hide(frame3_); };
    c3.next = [this] { copyListNext(); };
    c3.exit = [this] { ConfirmExit(); };
    frame3_ = new CopyListPage(ctx_, c3, this);

    ReviewPage::Config c4;
    c4.caption = QStringLiteral("Download Wizard - Ready to Copy");
    c4.heading = QStringLiteral("Please review what you are ready to copy to your selected drive");
    c4.copyCaption = QStringLiteral("Copy");
    c4.copyTooltip = QStringLiteral("Start Copying files");
    c4.back = [this] { stack_.hide(frame4_); };
    c4.copy = [this] { startCopy(); };
    c4.exit = [this] { ConfirmExit(); };
    frame4_ = new ReviewPage(ctx_, c4, this);

    CopyRunPage::Config c7;
    c7.caption = QStringLiteral("Download Wizard - Copying Files");
    c7.exitTooltipDone = QStringLiteral("Click to finish the download wizard");
    c7.list = frame3_;
    c7.flags = &flags_;
    c7.destinationFolder = [this] { return frame2_->destination(); };
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
        f->setVisible(f == frame1_);
    }
    stack_.add(frame1_);
    stack_.add(frame2_);
    stack_.add(frame3_);
    stack_.add(frame4_);

    imhelp_ = new QPushButton(this);
    imhelp_->setObjectName(QStringLiteral("imhelp"));
    imhelp_->setToolTip(QStringLiteral("Click for Help"));
    imhelp_->setAccessibleName(QStringLiteral("Click for Help"));
    imhelp_->setFlat(true);
    imhelp_->setIcon(QIcon(artHelpButton()));
    imhelp_->setIconSize(QSize(33, 37));
    imhelp_->setGeometry(kMargin + GetDrivePage::kWidth - 45, kMargin + 6, 37, 41);
    imhelp_->raise();
    connect(imhelp_, &QPushButton::clicked, this, [this] { ctx_.main->SHelp2(); });

    stack_.add(frame7_);
}

void Form1::showcontrol()
{
    frame3_->resetList();
    frame1_->showcontrol();
}

FixedBytes Form1::listTotalBytes() const
{
    return frame3_->listTotalBytes();
}

QString Form1::listSizeText() const
{
    return frame3_->listSizeText();
}

QString Form1::GetDriveSize()
{
    return drives_.sizeOfDrive(selectedDrive_);
}

QString Form1::GetDriveLeft()
{
    return drives_.spaceLeftOn(selectedDrive_);
}

void Form1::startcopys()
{
    frame7_->startcopys();
}

void Form1::SetPP()
{
    frame7_->SetPP();
}

void Form1::hideLaterPages()
{
    stack_.hide(frame2_);
    stack_.hide(frame3_);
    stack_.hide(frame4_);
}

void Form1::driveAccepted(const QString& root)
{
    selectedDrive_ = root;
    stack_.show(frame2_);
    frame2_->enter(root);
}

void Form1::destinationAccepted()
{
    stack_.show(frame3_);
    frame3_->setUsage(drives_.usage(selectedDrive_, selectedDrive_));
}

void Form1::copyListNext()
{
    ReviewPage::Facts f;
    f.count = frame3_->count();
    f.listTotalBytes = frame3_->listTotalBytes();
    f.listSizeText = frame3_->listSizeText();
    f.driveRoot = frame1_->selectedRoot();
    f.driveName = frame1_->nameBoxText();
    f.chosenDrive = selectedDrive_;
    f.freeRoot = frame1_->selectedRoot();
    f.destinationLine = frame2_->destinationText();
    if (frame4_->fill(f))
        stack_.show(frame4_);
}

void Form1::startCopy()
{
    stack_.show(frame7_);
    const QPointer<Form1> self(this);
    runOnStack_ = true;
    frame7_->start();
    if (!self)
        return;
    runOnStack_ = false;
    if (closeAfterRun_)
        close();
}

void Form1::ConfirmExit()
{
    const auto answer = ctx_.platform->dialogs->message(this, QStringLiteral("Exit Download Wizard?"),
                                                        QStringLiteral("Exit?"), Dialogs::Icon::Question,
                                                        Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Answer::Yes)
        return;
    ctx_.main->Show();
    flags_.exitConfirmed = 1;
    close();
}

void Form1::letClose(QCloseEvent* event)
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

void Form1::closeEvent(QCloseEvent* event)
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
    const auto answer = dialogs.message(this, QStringLiteral("Exit Download Wizard?"), QStringLiteral("Exit?"),
                                        Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Answer::Yes) {
        event->ignore();
        return;
    }
    ctx_.main->Show();
    letClose(event);
}
