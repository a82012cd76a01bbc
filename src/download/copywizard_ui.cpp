#include "download/copywizard_ui.h"

#include "controls/artwork_ui.h"
#include "devices/getdrivepage_ui.h"
#include "platform/dialogs.h"
#include "platform/platform.h"

#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>

namespace {
constexpr int kMargin = 8;  // 120 twips
}

CopyWizard::CopyWizard(const AppContext& context, QWidget* parent)
    : QWidget(parent), ctx_(context), drives_(*context.platform->volumes, *context.platform->dialogs)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(artWindowIcon());
    setFixedSize(GetDrivePage::kWidth + 2 * kMargin, GetDrivePage::kHeight + 2 * kMargin);
}

void CopyWizard::build(Setup setup, QWidget* destinationPage)
{
    setObjectName(setup.objectName);
    setWindowTitle(setup.windowTitle);
    exitQuestion_ = setup.exitQuestion;

    GetDrivePage::Config c1;
    c1.caption = setup.getDriveCaption;
    c1.changeTooltip = QStringLiteral("Update all drives");
    c1.chosenDrive = [this] { return chosenDrive(); };
    c1.hideLaterPages = [this] { hideLaterPages(); };
    c1.next = [this](const QString& root) { driveAccepted(root); };
    c1.exit = [this] { ConfirmExit(); };
    frame1_ = new GetDrivePage(ctx_, c1, this);
    frame2_ = destinationPage;

    CopyListPage::Config& c3 = setup.list;
    c3.back = [this] { stack_.hide(frame3_); };
    c3.next = [this] { copyListNext(); };
    c3.exit = [this] { ConfirmExit(); };
    frame3_ = new CopyListPage(ctx_, c3, this);

    ReviewPage::Config& c4 = setup.review;
    c4.back = [this] { stack_.hide(frame4_); };
    c4.copy = [this] { startCopy(); };
    c4.exit = [this] { ConfirmExit(); };
    frame4_ = new ReviewPage(ctx_, c4, this);

    CopyRunPage::Config& c7 = setup.run;
    c7.list = frame3_;
    c7.flags = &flags_;
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

    imhelp_ = new QPushButton(this);
    imhelp_->setObjectName(QStringLiteral("imhelp"));
    imhelp_->setToolTip(QStringLiteral("Click for Help"));
    imhelp_->setAccessibleName(QStringLiteral("Click for Help"));
    imhelp_->setFlat(true);
    imhelp_->setIcon(QIcon(artHelpButton()));
    imhelp_->setIconSize(QSize(33, 37));
    imhelp_->setGeometry(kMargin + GetDrivePage::kWidth - 45, kMargin + 6, 37, 41);
    connect(imhelp_, &QPushButton::clicked, this, [help = setup.help] { help(); });

    // Created bottom to top, so the stacking order is fixed.
    for (QWidget* f : {static_cast<QWidget*>(frame1_), frame2_, static_cast<QWidget*>(frame3_),
                       static_cast<QWidget*>(frame4_), static_cast<QWidget*>(frame7_)}) {
        f->move(kMargin, kMargin);
        // Opaque, so a page never shows the one it covers through it.
        f->setAutoFillBackground(true);
        f->setVisible(f == frame1_);
        if (f == frame7_ && !setup.helpAboveCopyingPage)
            imhelp_->raise();
        stack_.add(f);
    }
    if (setup.helpAboveCopyingPage)
        imhelp_->raise();
}

void CopyWizard::showcontrol()
{
    beforeShowcontrol();
    frame1_->showcontrol();
}

FixedBytes CopyWizard::listTotalBytes() const
{
    return frame3_->listTotalBytes();
}

QString CopyWizard::listSizeText() const
{
    return frame3_->listSizeText();
}

void CopyWizard::startcopys()
{
    frame7_->startcopys();
}

void CopyWizard::SetPP()
{
    frame7_->SetPP();
}

void CopyWizard::hideLaterPages()
{
    stack_.hide(frame2_);
    stack_.hide(frame3_);
    stack_.hide(frame4_);
}

void CopyWizard::showCopyList(const QString& usageRoot, const QString& shownRoot)
{
    stack_.show(frame3_);
    frame3_->setUsage(drives_.usage(usageRoot, shownRoot));
}

void CopyWizard::copyListNext()
{
    ReviewPage::Facts f;
    f.count = frame3_->count();
    f.listTotalBytes = frame3_->listTotalBytes();
    f.listSizeText = frame3_->listSizeText();
    f.driveRoot = frame1_->selectedRoot();
    f.driveName = frame1_->nameBoxText();
    completeReviewFacts(f);
    if (frame4_->fill(f))
        stack_.show(frame4_);
}

void CopyWizard::startCopy()
{
    stack_.show(frame7_);
    const QPointer<CopyWizard> self(this);
    runOnStack_ = true;
    frame7_->start();
    if (!self)
        return;
    runOnStack_ = false;
    if (closeAfterRun_)
        close();
}

bool CopyWizard::askYesNo(const QString& text, const QString& title)
{
    return ctx_.platform->dialogs->message(this, text, title, Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
           == Dialogs::Answer::Yes;
}

void CopyWizard::ConfirmExit()
{
    if (!askYesNo(exitQuestion_, QStringLiteral("Exit?")))
        return;
    ctx_.main->Show();
    flags_.exitConfirmed = 1;
    close();
}

void CopyWizard::letClose(QCloseEvent* event)
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

void CopyWizard::closeEvent(QCloseEvent* event)
{
    if (frame7_->finishEnabled() || flags_.exitConfirmed == 1) {
        ctx_.main->Show();
        letClose(event);
        return;
    }
    if (!frame7_->isHidden()) {
        if (!askYesNo(QStringLiteral("Stop copy process? If you click yes, file copy process will stop after this "
                                     "file has finished copying."),
                      QStringLiteral("Back?"))) {
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
    if (!askYesNo(exitQuestion_, QStringLiteral("Exit?"))) {
        event->ignore();
        return;
    }
    ctx_.main->Show();
    letClose(event);
}
