#include "download/copyrunpage_ui.h"

#include "app/pagecontrols_ui.h"

#include "app/programpaths.h"
#include "controls/animation_ui.h"
#include "controls/artwork_ui.h"
#include "devices/getdrivepage_ui.h"
#include "download/copylistpage_ui.h"
#include "platform/cursor.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/volumes.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

namespace {
const QString kStopQuestion = QStringLiteral(
    "Stop copy process? If you click yes, file copy process will stop after this file has finished copying.");
}

CopyRunPage::CopyRunPage(const AppContext& context, Config config, QWidget* window)
    : QFrame(window), ctx_(context), config_(std::move(config)), window_(window)
{
    setObjectName(QStringLiteral("Frame7"));
    setAutoFillBackground(true);
    resize(GetDrivePage::kWidth, GetDrivePage::kHeight);
    box_ = new QGroupBox(config_.caption, this);
    box_->setGeometry(0, 0, GetDrivePage::kWidth, GetDrivePage::kHeight);

    auto* image4 = new QLabel(box_);
    image4->setObjectName(QStringLiteral("Image4"));
    image4->setPixmap(artCopyPicture(110, 110));
    image4->setGeometry(16, 30, 110, 110);
    image4->setAccessibleName(QStringLiteral("File copy"));

    label28_ = new QLabel(QStringLiteral("Your files are now being copyed"), box_);
    label28_->setObjectName(QStringLiteral("Label28"));
    label28_->setGeometry(140, 26, 469, 28);
    QFont heading = label28_->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    label28_->setFont(heading);

    auto line = [this](int y) {
        auto* l = new QFrame(box_);
        l->setFrameShape(QFrame::HLine);
        l->setFrameShadow(QFrame::Sunken);
        l->setGeometry(140, y, 469, 2);
    };
    line(58);
    line(284);

    auto* frame9 = new QGroupBox(QStringLiteral("File Copy"), box_);
    frame9->setObjectName(QStringLiteral("Frame9"));
    frame9->setGeometry(140, 64, 469, 214);

    m_ = new Animation(frame9);
    m_->setObjectName(QStringLiteral("m"));
    m_->setGeometry(12, 22, 445, 60);

    label23_ = new QLabel(QStringLiteral("Copying: "), frame9);
    label23_->setObjectName(QStringLiteral("Label23"));
    label23_->setTextFormat(Qt::PlainText);
    label23_->setGeometry(12, 86, 445, 20);

    label21_ = new QLabel(QStringLiteral("Current File: 0% Complete"), frame9);
    label21_->setObjectName(QStringLiteral("Label21"));
    label21_->setGeometry(12, 108, 445, 18);
    p3_ = new QProgressBar(frame9);
    p3_->setObjectName(QStringLiteral("p3"));
    p3_->setRange(0, 100);
    p3_->setValue(0);
    p3_->setTextVisible(false);
    p3_->setGeometry(12, 128, 445, 16);

    label22_ = new QLabel(QStringLiteral("Overall progress: 0% Complete"), frame9);
    label22_->setObjectName(QStringLiteral("Label22"));
    label22_->setGeometry(12, 148, 445, 18);
    p2_ = new QProgressBar(frame9);
    p2_->setObjectName(QStringLiteral("p2"));
    p2_->setRange(0, 100);
    p2_->setValue(0);
    p2_->setTextVisible(false);
    p2_->setGeometry(12, 168, 445, 16);

    auto* c20 = new QPushButton(QStringLiteral("Open folder"), frame9);
    c20->setObjectName(QStringLiteral("Command20"));
    c20->setToolTip(QStringLiteral("Click to open the folder where the files are being moved to"));
    c20->setIcon(QIcon(artFolderOpenIcon(16)));
    c20->setGeometry(12, 188, 120, 24);

    auto nav = [this](const QString& name, const QString& text, const QString& tip, int x) {
        return makeButton(box_, name, text, tip, QRect(x, 294, 85, 30));
    };
    back_ = nav(config_.backName, QStringLiteral("Back"), QStringLiteral("Stop the file copy process"), 336);
    exit_ = nav(QStringLiteral("Command14"), QStringLiteral("Exit"), QStringLiteral("Exit this wizard"), 428);
    finish_ = nav(config_.finishName, QStringLiteral("Finish"), QStringLiteral("Continue to the last step"), 520);
    finish_->setEnabled(false);

    connect(back_, &QPushButton::clicked, this, &CopyRunPage::back);
    connect(exit_, &QPushButton::clicked, this, &CopyRunPage::exitClicked);
    connect(finish_, &QPushButton::clicked, this, [this] { if (config_.finish) config_.finish(); });
    connect(c20, &QPushButton::clicked, this, &CopyRunPage::openFolder);
}

QString CopyRunPage::title() const
{
    return box_->title();
}

bool CopyRunPage::runInProgress() const
{
    return p2_->value() != p2_->maximum();
}

bool CopyRunPage::finishEnabled() const
{
    return finish_->isEnabled();
}

void CopyRunPage::start()
{
    m_->setAutoPlay(true);
    m_->Open(programFile(ctx_.platform->programFolder, QStringLiteral("\\Data\\FILECOPY.gif")));
    m_->setAutoPlay(true);
    m_->setVisible(true);
    startcopys();
}

void CopyRunPage::startcopys()
{
    CopyRunSetup setup;
    setup.view = this;
    setup.window = window_;
    setup.flags = config_.flags;
    setup.copier = ctx_.platform->fileCopier;
    setup.volumes = ctx_.platform->volumes;
    setup.stopOnStepFailure = config_.stopOnStepFailure;
    ::startcopys(setup);
}

void CopyRunPage::SetPP()
{
    const int percent = p3_->maximum() > 0 ? int(qint64(p3_->value()) * 100 / p3_->maximum()) : 0;
    label21_->setText(QStringLiteral("Current File: ") + QString::number(percent) + QStringLiteral("% Complete"));
    QCoreApplication::processEvents();
}

bool CopyRunPage::askStop()
{
    return ctx_.platform->dialogs->message(window_, kStopQuestion, QStringLiteral("Back?"), Dialogs::Icon::Question,
                                           Dialogs::Buttons::YesNo)
           == Dialogs::Answer::Yes;
}

void CopyRunPage::back()
{
    if (runInProgress()) {
        if (askStop())
            config_.flags->stopRequested = true;
        return;
    }
    if (config_.backToReview)
        config_.backToReview();
}

void CopyRunPage::exitClicked()
{
    if (runInProgress()) {
        if (askStop()) {
            config_.flags->stopRequested = true;
            config_.flags->exitConfirmed = 1;
        }
        return;
    }
    if (config_.exitNow)
        config_.exitNow();
}

void CopyRunPage::openFolder()
{
    const QString folder = destinationFolder();
    const QString native = folder.isEmpty() ? QString() : ctx_.platform->volumes->toNative(folder);
    if (!native.isEmpty())
        ctx_.platform->desktop->openFolder(native);
}

int CopyRunPage::entryCount() const
{
    return config_.list->count();
}

QString CopyRunPage::entry(int i) const
{
    return config_.list->entry(i);
}

QString CopyRunPage::entryNative(int i) const
{
    return config_.list->entryNative(i);
}

QString CopyRunPage::destinationFolder() const
{
    return config_.destinationFolder ? config_.destinationFolder() : QString();
}

void CopyRunPage::begin(int count)
{
    config_.list->list()->setCurrentRow(0);
    p2_->setValue(0);
    // A maximum of 0 would be a busy bar; Copy never starts an empty list anyway.
    p2_->setMaximum(qMax(count, 1));
}

void CopyRunPage::startFile(int i, const QString& copyingText)
{
    config_.list->list()->setCurrentRow(i);
    label23_->setText(copyingText);
    ctx_.platform->cursor->setPointer(Cursor::Hourglass);
}

void CopyRunPage::setCurrentPercent(int percent)
{
    p3_->setValue(qBound(0, percent, 100));
    SetPP();
}

void CopyRunPage::fileDone(int overallValue, int overallMaximum, const QString& overallText)
{
    Q_UNUSED(overallMaximum);
    p3_->setValue(0);
    ctx_.platform->cursor->setPointer(Cursor::Default);
    p2_->setValue(qMin(overallValue, p2_->maximum()));
    label22_->setText(overallText);
}

void CopyRunPage::letEventsRun()
{
    QCoreApplication::processEvents();
}

void CopyRunPage::completed(const QString& reportTitle, const QString& report)
{
    p3_->setValue(p3_->maximum());
    label23_->setText(QStringLiteral("File copy complete!"));
    label28_->setText(QStringLiteral("Press Finish to exit this wizard"));
    m_->Stop();
    m_->setVisible(false);
    finish_->setEnabled(true);
    exit_->setEnabled(false);
    back_->setText(QStringLiteral("Recopy"));
    back_->setToolTip(QStringLiteral("Click to recopy your files"));
    exit_->setToolTip(config_.exitTooltipDone);
    if (!report.isEmpty())
        ctx_.platform->dialogs->message(window_, report, reportTitle, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}

void CopyRunPage::stopped()
{
    if (config_.backToReview)
        config_.backToReview();
    p2_->setValue(0);
    p3_->setValue(0);
    m_->setVisible(true);
}

void CopyRunPage::leave()
{
    if (config_.leave)
        config_.leave();
}
