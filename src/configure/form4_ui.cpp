#include "configure/form4_ui.h"

#include "app/pagecontrols_ui.h"

#include "app/pagestack_ui.h"
#include "controls/artwork_ui.h"
#include "devices/getdrivepage_ui.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/volumes.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

Form4::Form4(const AppContext& context, QWidget* parent) : QWidget(parent), ctx_(context)
{
    setObjectName(QStringLiteral("Form4"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Korvane 2.1 - Configure Device"));
    setWindowIcon(artWindowIcon());
    setFixedSize(GetDrivePage::kWidth + 16, GetDrivePage::kHeight + 61);

    GetDrivePage::Config cfg;
    cfg.caption = QStringLiteral("Configure Device - Get Drive");
    cfg.changeTooltip = QStringLiteral("Click to change drive name");
    cfg.chosenDrive = [this] { return configuredDrive_; };
    cfg.hideLaterPages = [this] { stack_->hide(frame2_); };
    cfg.next = [this](const QString& root) { showConfiguration(root); };
    cfg.exit = [this] {
        ctx_.main->Show();
        close();
    };
    stack_ = new PageStack(this);
    page_ = new GetDrivePage(ctx_, cfg, this);
    stack_->add(page_);
    buildConfigurationPage();
    frame2_->hide();
    stack_->add(frame2_);

    // Outside both pages, so it serves either.
    imhelp_ = new QPushButton(this);
    imhelp_->setObjectName(QStringLiteral("imhelp"));
    imhelp_->setIcon(QIcon(artHelpButton()));
    imhelp_->setIconSize(QSize(33, 37));
    imhelp_->setFlat(true);
    imhelp_->setGeometry(8, GetDrivePage::kHeight + 16, 37, 41);
    imhelp_->setToolTip(QStringLiteral("Click for Help"));
    imhelp_->setAccessibleName(QStringLiteral("Click for Help"));
    connect(imhelp_, &QPushButton::clicked, this, [this] { ctx_.main->SHelp4(); });
}

void Form4::buildConfigurationPage()
{
    frame2_ = new QGroupBox(QStringLiteral("Configure Device - Configuration"), this);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    frame2_->setGeometry(page_->geometry());
    frame2_->setAutoFillBackground(true);  // it covers the Get Drive page

    auto* label5 = new QLabel(QStringLiteral("You can configure your drive settings here"), frame2_);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setGeometry(16, 30, 590, 22);
    QFont heading = label5->font();
    heading.setBold(true);
    label5->setFont(heading);

    auto* frame6 = new QGroupBox(QStringLiteral("Drive Details"), frame2_);
    frame6->setObjectName(QStringLiteral("Frame6"));
    frame6->setGeometry(16, 60, 593, 170);
    auto detail = [frame6](const char* name, const QString& text, const QRect& r) {
        auto* l = new QLabel(text, frame6);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(r);
        return l;
    };
    auto* image2 = detail("Image2", {}, QRect(16, 30, 48, 48));
    image2->setPixmap(artDriveLarge(48));
    image2->setAccessibleName(QStringLiteral("Drive"));
    label16_ = detail("Label16", QStringLiteral("Name:"), QRect(80, 28, 495, 20));
    label15_ = detail("Label15", QStringLiteral("Drive: "), QRect(80, 52, 495, 20));
    label14_ = detail("Label14", QStringLiteral("Size:"), QRect(80, 76, 495, 20));
    label19_ = detail("Label19", QString(), QRect(16, 104, 560, 22));
    p1_ = new QProgressBar(frame6);
    p1_->setObjectName(QStringLiteral("p1"));
    p1_->setGeometry(16, 132, 560, 22);
    p1_->setRange(0, 1);
    p1_->setValue(0);
    p1_->setTextVisible(false);

    auto button = [this](const char* name, const QString& text, const QString& tip, const QRect& r) {
        return makeButton(frame2_, QLatin1String(name), text, tip, r);
    };
    auto* sysInfo = button("Command10", QStringLiteral("System Info"), QStringLiteral("View System Info"),
                           QRect(16, 244, 100, 30));
    auto* format = button("Command5", QStringLiteral("Format"), QStringLiteral("Format this drive"),
                          QRect(124, 244, 100, 30));
    auto* view = button("Command20", QStringLiteral("View Files"), QStringLiteral("View all files on this drive"),
                        QRect(232, 244, 100, 30));
    auto* back = button("Command9", QStringLiteral("Back"), QStringLiteral("Go back"), QRect(336, 294, 85, 30));
    auto* exit = button("Command8", QStringLiteral("Exit"), QStringLiteral("Exit wizard"), QRect(428, 294, 85, 30));
    auto* finish = button("Command7", QStringLiteral("Finish"), QStringLiteral("Continue with the wizard's next step"),
                          QRect(520, 294, 85, 30));

    connect(sysInfo, &QPushButton::clicked, this, &Form4::StartSysInfo);
    connect(format, &QPushButton::clicked, this, [this] { FormatDrive(page_->selectedRoot()); });
    connect(view, &QPushButton::clicked, this, &Form4::viewFiles);
    connect(back, &QPushButton::clicked, this, [this] { stack_->hide(frame2_); });
    connect(exit, &QPushButton::clicked, this, [this] {
        ctx_.main->Show();
        close();
    });
    connect(finish, &QPushButton::clicked, this, [this] {
        MainWindowLink* main = ctx_.main;
        close();
        main->Show();
    });
}

void Form4::showcontrol()
{
    page_->showcontrol();
}

QString Form4::GetDriveSize()
{
    return page_->drives().sizeOfDriveB(page_->selectedRoot());
}

void Form4::showConfiguration(const QString& root)
{
    configuredDrive_ = root;
    stack_->show(frame2_);
    if (!configuredDrive_.endsWith(QLatin1Char('\\')))
        configuredDrive_ += QLatin1Char('\\');

    Volumes& volumes = *ctx_.platform->volumes;
    Dialogs& dialogs = *ctx_.platform->dialogs;
    // A half-filled page would show another drive's figures: go back and say why instead.
    if (!probeWritable(volumes.toNative(configuredDrive_), QStringLiteral("Test.dat"), QByteArrayLiteral("Test\r\n"))) {
        stack_->hide(frame2_);
        page_->testDrive();
        dialogs.message(this,
                        QStringLiteral("Drive ") + configuredDrive_
                            + QStringLiteral(" could not be written to. Check the drive and its connection, then "
                                             "press Next again."),
                        QStringLiteral("Error"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return;
    }
    Volumes::SpaceCounts counts;
    if (!volumes.spaceCounts(configuredDrive_, &counts)) {
        stack_->hide(frame2_);
        dialogs.message(this,
                        QStringLiteral("The size of drive ") + configuredDrive_
                            + QStringLiteral(" could not be read. Check the drive and its connection, then press "
                                             "Next again."),
                        QStringLiteral("Error"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return;
    }

    const Module2::Usage usage = page_->drives().usage(configuredDrive_, configuredDrive_);
    // Maximum before value; a drive below half a megabyte gets an empty bar, never a busy one.
    if (usage.maximum > 0) {
        p1_->setMaximum(usage.maximum);
        p1_->setValue(qBound(0, usage.value, usage.maximum));
    } else {
        p1_->setMaximum(1);
        p1_->setValue(0);
    }
    label19_->setText(usage.caption);
    label15_->setText(QStringLiteral("Drive: ") + page_->selectedRoot());
    label16_->setText(QStringLiteral("Name: ") + page_->nameBoxText());
    label14_->setText(QStringLiteral("Size: ") + GetDriveSize());
}

void Form4::closeEvent(QCloseEvent* event)
{
    ctx_.main->Show();
    event->accept();
}
