#include "shell/frmsplash1_ui.h"

#include "app/programpaths.h"
#include "controls/artwork_ui.h"
#include "controls/moviebox_ui.h"
#include "controls/picturebox_ui.h"
#include "controls/propertybag.h"
#include "controls/transpicbox_ui.h"
#include "platform/cursor.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/instanceguard.h"
#include "platform/media.h"
#include "platform/platform.h"
#include "shell/firstrun.h"
#include "shell/updatecheck.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace {
constexpr uint32_t kMenuMask = 0x00E0E0E0;

QTimer* makeTimer(QObject* owner, const char* name, int interval)
{
    auto* t = new QTimer(owner);
    t->setObjectName(QLatin1String(name));
    t->setInterval(interval);
    return t;
}

// A hover handler enables its timer on every pointer move; restarting a running
// timer each time would hold its tick off for as long as the pointer moves.
void enable(QTimer* t)
{
    if (!t->isActive())
        t->start();
}
}

frmSplash1::frmSplash1(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform)
{
    ctx_.platform = &platform_;
    ctx_.main = this;
    ctx_.wait = &wait_;
    wait_.setContext(ctx_);
    screenSize_ = [] {
        QScreen* s = QGuiApplication::primaryScreen();
        return s ? s->size() : QSize();
    };
    endProgram_ = [] { QCoreApplication::exit(0); };
    buildControls();
    Initialize();
}

frmSplash1::~frmSplash1()
{
    // The please-wait window has no owner; it goes with the program.
    if (Dialog* d = wait_.loaded())
        delete d;
}

QRect frmSplash1::twips(int left, int top, int width, int height) const
{
    auto px = [this](int t) { return qRound(t / 15.0 * scale_); };
    return QRect(px(left), px(top), px(width), px(height));
}

int frmSplash1::twipsY(int top) const
{
    return qRound(top / 15.0 * scale_);
}

QPixmap frmSplash1::scaled(const QPixmap& p) const
{
    if (qFuzzyCompare(scale_, 1.0))
        return p;
    return p.scaled(p.size() * scale_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void frmSplash1::buildControls()
{
    setObjectName(QStringLiteral("frmSplash1"));
    setWindowTitle(QStringLiteral("Korvane 2.1"));
    setWindowIcon(artWindowIcon());
    setMouseTracking(true);
    scale_ = logicalDpiX() / 96.0;
    setFixedSize(twips(0, 0, 11910, 8520).size());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    // Created bottom to top: the menu, then Frame1 over it, then sh over Frame1,
    // then the skip link, which stays clickable during the intro.
    auto picture = [this](const char* name, const QPixmap& pm, const QRect& geometry, const QString& accessible) {
        auto* p = new PictureBox(this);
        p->setObjectName(QLatin1String(name));
        p->setPicture(scaled(pm));
        p->setGeometry(geometry);
        p->setAccessibleName(accessible);
        return p;
    };
    imgLogo_ = picture("imgLogo", artBanner(), twips(-15, 720, 11955, 2265), QStringLiteral("Korvane 2.1"));
    image2_ = picture("Image2", artMakerLogo(), twips(1928, 360, 8055, 840),
                      QStringLiteral("Click to visit Halvexa Web site"));
    image2_->setToolTip(QStringLiteral("Click to visit Halvexa Web site"));
    image2_->setCursor(Qt::PointingHandCursor);
    t1_ = picture("t1", artDownArrow(), twips(1920, 3240, 780, 930), QStringLiteral("Download Wizard arrow"));
    t2_ = picture("t2", artUpArrow(), twips(1920, 4800, 735, 720), QStringLiteral("Upload Wizard arrow"));
    im31_ = picture("im31", artDrive(), twips(480, 4320, 720, 720), QStringLiteral("Drive"));
    im32_ = picture("im32", artDriveTools(), twips(480, 4320, 720, 720), QStringLiteral("Drive with tools"));
    im31_->setVisible(false);
    im32_->setVisible(false);

    auto transPic = [this](const char* name, uint32_t mask, const QPixmap& pm, const QRect& geometry,
                           const QString& accessible) {
        PropertyBag saved;
        saved.WriteProperty(QStringLiteral("MaskColor"), uint(mask), uint(TransPicBox::kDefaultMaskColor));
        saved.WriteProperty(QStringLiteral("Picture"), QVariant::fromValue(scaled(pm)));
        auto* b = new TransPicBox(this, &saved);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(geometry);
        b->setAccessibleName(accessible);
        return b;
    };
    t3_ = transPic("t3", TransPicBox::kDefaultMaskColor, artDrive(), twips(1920, 6240, 720, 720),
                   QStringLiteral("Configure Device drive"));
    transPicBox1_ = transPic("TransPicBox1", kMenuMask, artWordDownload(), twips(2640, 2880, 6630, 1515),
                             QStringLiteral("Download Wizard"));
    transPicBox2_ = transPic("TransPicBox2", kMenuMask, artWordUpload(), twips(2640, 4440, 5610, 1515),
                             QStringLiteral("Upload Wizard"));
    transPicBox3_ = transPic("TransPicBox3", kMenuMask, artWordConfigure(), twips(2640, 5880, 6240, 1515),
                             QStringLiteral("Configure Device"));
    for (TransPicBox* b : {transPicBox1_, transPicBox2_, transPicBox3_})
        b->setCursor(Qt::PointingHandCursor);

    command1_ = new QPushButton(QStringLiteral("Check Version"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(twips(5348, 7440, 1215, 315));
    command1_->setToolTip(QStringLiteral("Check for the latest version of Korvane 2.0"));
    command1_->setAttribute(Qt::WA_NoMousePropagation);
    command1_->setCursor(Qt::PointingHandCursor);
    {
        QFont f = command1_->font();
        f.setPixelSize(qMax(9, qRound(11 * scale_)));
        command1_->setFont(f);
    }
    command1_->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3a5f9f, "
        "stop:1 #14284f); border: 1px solid #6f95d8; border-radius: 3px; padding: 0px; }"
        "QPushButton:hover { border-color: #a9c8ff; }"
        "QPushButton:pressed { background: #14284f; }"
        "QPushButton:disabled { color: #7d8799; }"));

    imhelp_ = new QToolButton(this);
    imhelp_->setObjectName(QStringLiteral("imhelp"));
    imhelp_->setGeometry(twips(0, 7970, 495, 555));
    imhelp_->setIcon(QIcon(scaled(artHelpButton())));
    imhelp_->setIconSize(imhelp_->size());
    imhelp_->setAutoRaise(true);
    imhelp_->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"));
    imhelp_->setToolTip(QStringLiteral("Click for Help"));
    imhelp_->setAccessibleName(QStringLiteral("Click for Help"));
    imhelp_->setCursor(Qt::PointingHandCursor);
    imhelp_->setAttribute(Qt::WA_NoMousePropagation);
    imhelp_->setVisible(false);

    label1_ = new QLabel(QStringLiteral("Copyright \u00A9 Halvexa. All rights reserved."), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(twips(3765, 8160, 4395, 285));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setStyleSheet(QStringLiteral("color: #9aa4b8;"));
    label1_->setAttribute(Qt::WA_NoMousePropagation);
    label1_->setVisible(false);

    // The music player has no picture of its own here; it keeps its place in the layout.
    mm_ = new QWidget(this);
    mm_->setObjectName(QStringLiteral("mm"));
    mm_->setGeometry(twips(120, 8400, 735, 375));
    mm_->setAttribute(Qt::WA_NoMousePropagation);

    frame1_ = new QFrame(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setFrameShape(QFrame::NoFrame);
    frame1_->setGeometry(twips(120, 120, 11895, 7935));
    frame1_->setAutoFillBackground(true);
    frame1_->setAttribute(Qt::WA_NoMousePropagation);

    sh_ = new MovieBox(this);
    sh_->setObjectName(QStringLiteral("sh"));
    sh_->setGeometry(twips(120, 120, 11655, 7935));
    sh_->setAccessibleName(QStringLiteral("Intro"));

    label3_ = new PictureBox(this);
    label3_->setObjectName(QStringLiteral("Label3"));
    label3_->setGeometry(twips(9480, 8040, 2535, 615));
    label3_->setCursor(Qt::PointingHandCursor);
    label2_ = new PictureBox(this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setText(QStringLiteral("Click here to skip intro"));
    label2_->setGeometry(twips(9600, 8160, 2175, 255));
    label2_->setStyleSheet(QStringLiteral("color: #8cc8ff; text-decoration: underline;"));
    label2_->setCursor(Qt::PointingHandCursor);

    timer1_ = makeTimer(this, "Timer1", 1000);
    timer2_ = makeTimer(this, "Timer2", 400);
    timer3_ = makeTimer(this, "Timer3", 200);
    timer4_ = makeTimer(this, "Timer4", 100);
    timer5_ = makeTimer(this, "Timer5", 100);
    timer6_ = makeTimer(this, "Timer6", 100);
    timer7_ = makeTimer(this, "Timer7", 200);
    connect(timer1_, &QTimer::timeout, this, &frmSplash1::Timer1_Timer);
    connect(timer2_, &QTimer::timeout, this, &frmSplash1::Timer2_Timer);
    connect(timer3_, &QTimer::timeout, this, &frmSplash1::Timer3_Timer);
    connect(timer4_, &QTimer::timeout, this, &frmSplash1::Timer4_Timer);
    connect(timer5_, &QTimer::timeout, this, &frmSplash1::Timer5_Timer);
    connect(timer6_, &QTimer::timeout, this, &frmSplash1::Timer6_Timer);
    connect(timer7_, &QTimer::timeout, this, &frmSplash1::Timer7_Timer);

    // Hover table: each entry starts its own animation and stops its neighbours'.
    connect(imgLogo_, &PictureBox::MouseMove, this, [this] { timer5_->stop(); });
    connect(transPicBox1_, &TransPicBox::MouseMove, this, [this] {
        timer4_->stop();
        enable(timer5_);
    });
    connect(transPicBox2_, &TransPicBox::MouseMove, this, [this] {
        timer3_->stop();
        enable(timer4_);
        timer5_->stop();
    });
    connect(transPicBox3_, &TransPicBox::MouseMove, this, [this] {
        enable(timer3_);
        timer4_->stop();
    });
    connect(transPicBox1_, &TransPicBox::Click, this, [this] { OpenWizard(2); });
    connect(transPicBox2_, &TransPicBox::Click, this, [this] { OpenWizard(3); });
    connect(transPicBox3_, &TransPicBox::Click, this, [this] { OpenWizard(4); });
    connect(label2_, &PictureBox::Click, this, &frmSplash1::EndIntro);
    connect(label3_, &PictureBox::Click, this, &frmSplash1::EndIntro);
    connect(imhelp_, &QToolButton::clicked, this, &frmSplash1::SHelp1);
    connect(image2_, &PictureBox::Click, this, [this] { platform_.desktop->openUrl(makerWebAddress()); });
    connect(command1_, &QPushButton::clicked, this, [this] { checkForUpdate(ctx_, this); });
}

void frmSplash1::Initialize()
{
    t1Phase = 1;
    t2Phase = 1;
    t3Phase = 1;
    timer2_->start();
}

bool frmSplash1::Load()
{
    if (platform_.instanceGuard->previousInstance()) {
        platform_.dialogs->message(this, QStringLiteral("Korvane 2.1 is already running! Check Task Manager!"),
                                   QStringLiteral("Korvane 2.1"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        stopAllTimers();
        return false;
    }
    const QString flagPath = programFile(platform_.programFolder, QStringLiteral("/Config.ini"));
    int16_t flag = 0;
    if (!readRunFlag(flagPath, &flag))
        return failurePath();
    if (flag == 0) {
        label2_->setVisible(false);
        label3_->setVisible(false);
        if (!markRunFlagDone(flagPath))
            return failurePath();
        if (screenAdviceDue(screenSize_()))
            platform_.dialogs->message(this, QStringLiteral("This program is best viewed in 800 x 600 screen resolution"),
                                       QStringLiteral("Screen size!"), Dialogs::Icon::Information,
                                       Dialogs::Buttons::Ok);
    }
    sh_->setMovie(programFile(platform_.programFolder, QStringLiteral("\\Data\\intro.gif")));
    return true;
}

bool frmSplash1::failurePath()
{
    platform_.dialogs->message(this, QStringLiteral("Program error - Please re-install Setup.exe!"),
                               QStringLiteral("Error!"), Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    stopAllTimers();
    return false;
}

void frmSplash1::stopAllTimers()
{
    for (QTimer* t : {timer1_, timer2_, timer3_, timer4_, timer5_, timer6_, timer7_})
        t->stop();
}

void frmSplash1::Timer2_Timer()
{
    if (!sh_->FrameLoaded(1))
        return;
    timer2_->stop();
    platform_.music->setUrl(programFile(platform_.programFolder, QStringLiteral("\\Data\\intro.mp3")));
    platform_.music->play();
    timer7_->start();
}

void frmSplash1::Timer7_Timer()
{
    timer6_->start();
    timer7_->stop();
}

void frmSplash1::Timer6_Timer()
{
    QString status;
    const bool readable = platform_.music->status(&status);
    if (!readable || status == QLatin1String("Stopped")) {
        timer1_->start();
        timer6_->stop();
    }
}

void frmSplash1::Timer1_Timer()
{
    EndIntro();
}

void frmSplash1::EndIntro()
{
    label3_->setVisible(false);
    label2_->setVisible(false);
    timer1_->stop();
    sh_->setVisible(false);
    label1_->setVisible(true);
    imhelp_->setVisible(true);
    frame1_->setVisible(false);
}

void frmSplash1::Timer5_Timer()
{
    if (t1Phase == 1) {
        t1_->move(t1_->x(), twipsY(3360));
        t1Phase = 2;
    } else {
        t1Phase = 1;
        t1_->move(t1_->x(), twipsY(3240));
    }
}

void frmSplash1::Timer4_Timer()
{
    if (t2Phase == 1) {
        t2_->move(t2_->x(), twipsY(4680));
        t2Phase = 2;
    } else {
        t2Phase = 1;
        t2_->move(t2_->x(), twipsY(4800));
    }
}

void frmSplash1::Timer3_Timer()
{
    if (t3Phase == 1) {
        t3_->setPicture(im31_->Picture());
        t3Phase = 2;
    } else {
        t3Phase = 1;
        t3_->setPicture(im32_->Picture());
    }
}

void frmSplash1::mouseMoveEvent(QMouseEvent*)
{
    timer3_->stop();
    timer4_->stop();
    timer5_->stop();
}

void frmSplash1::closeEvent(QCloseEvent* e)
{
    e->accept();
    stopAllTimers();
    endProgram_();
}

void frmSplash1::OpenWizard(int opener)
{
    platform_.music->stop();
    platform_.cursor->setPointer(Cursor::Hourglass);
    hide();
    Dialog* d = wait_.load();
    if (QTimer* t = d->opener(opener))
        t->start();
    d->SetTex(QStringLiteral("Loading screen"));
    d->show();
}

void frmSplash1::Show()
{
    show();
    raise();
    activateWindow();
}

void frmSplash1::openHelp(const char* literal)
{
    const QString path = programFile(platform_.programFolder, QLatin1String(literal));
    const Desktop::OpenResult r = platform_.desktop->openDocument(path);
    if (r == Desktop::OpenResult::NoHandler) {
        const Dialogs::Answer a = platform_.dialogs->message(
            this, QStringLiteral("Error! Adobe Acrobot Reader is not installed! Would you like to download it now?"),
            QStringLiteral("Adobe Reader Not Installed!"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo);
        if (a == Dialogs::Answer::Yes)
            platform_.desktop->openUrl(QLatin1String(kReaderDownload));
    } else if (r != Desktop::OpenResult::Opened) {
        platform_.dialogs->message(this, QStringLiteral("An unknown error has accoured!"),
                                   QStringLiteral("Error opening Help!"), Dialogs::Icon::Critical,
                                   Dialogs::Buttons::Ok);
    }
}

void frmSplash1::SHelp1() { openHelp("\\Data\\Help1.pdf"); }
void frmSplash1::SHelp2() { openHelp("\\Data\\Help2.pdf"); }
void frmSplash1::SHelp3() { openHelp("\\Data\\Help3.pdf"); }
void frmSplash1::SHelp4() { openHelp("\\Data\\Help4.pdf"); }

void frmSplash1::klaun()
{
    platform_.desktop->openUrl(makerWebAddress());
}
