#include "devices/getdrivepage_ui.h"

#include "app/pagecontrols_ui.h"

#include "controls/artwork_ui.h"
#include "platform/cursor.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/volumes.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
const QString kNotReady = QStringLiteral("Status: Not ready");
const QString kDriveNotReady = QStringLiteral("Status: Drive not ready");

bool occupied(const QString& path)
{
    const QFileInfo fi(path);
    return fi.exists() || fi.isSymLink();
}

bool removeProbe(const QString& path)
{
    // A second try covers a delete refused by a drive that is still settling.
    if (QFile::remove(path))
        return true;
    QFile::remove(path);
    return !occupied(path);
}
}

bool probeWritable(const QString& nativeFolder, const QString& designedName, const QByteArray& content)
{
    if (nativeFolder.isEmpty() || !QFileInfo(nativeFolder).isDir())
        return false;
    const QDir dir(nativeFolder);
    const QFileInfo designed(designedName);
    QFile file;
    bool created = false;
    for (int n = 0; n < 1000 && !created; ++n) {
        const QString name = n == 0 ? designedName
                                    : designed.completeBaseName() + QLatin1Char('-') + QString::number(n)
                                          + QLatin1Char('.') + designed.suffix();
        const QString path = dir.filePath(name);
        if (occupied(path))
            continue;
        file.setFileName(path);
        // NewOnly: never open a file that appeared since the look above.
        created = file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        if (!created && !occupied(path))
            return false;  // the folder refuses new files
    }
    if (!created)
        return false;
    const bool written = file.write(content) == content.size() && file.flush();
    file.close();
    const bool closed = file.error() == QFileDevice::NoError;
    const bool removed = removeProbe(file.fileName());
    return written && closed && removed;
}

GetDrivePage::GetDrivePage(const AppContext& context, Config config, QWidget* window)
    : QFrame(window), ctx_(context), config_(std::move(config)),
      drives_(*context.platform->volumes, *context.platform->dialogs), window_(window)
{
    setObjectName(QStringLiteral("Frame1"));
    setGeometry(8, 8, kWidth, kHeight);
    setAutoFillBackground(true);
    buildControls();
}

void GetDrivePage::buildControls()
{
    box_ = new QGroupBox(config_.caption, this);
    box_->setGeometry(0, 0, kWidth, kHeight);

    auto label = [this](const char* name, const QString& text, const QRect& r) {
        auto* l = new QLabel(text, box_);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(r);
        return l;
    };
    auto button = [this](const char* name, const QString& text, const QString& tip, const QRect& r) {
        return makeButton(box_, QLatin1String(name), text, tip, r);
    };

    image1_ = label("Image1", {}, QRect(16, 36, 160, 240));
    image1_->setPixmap(artGetDriveIllustration(160, 240));
    image1_->setAccessibleName(QStringLiteral("Drive illustration"));

    label1_ = label("Label1", QStringLiteral("Please select your device listed here"), QRect(196, 30, 410, 22));
    QFont heading = label1_->font();
    heading.setBold(true);
    label1_->setFont(heading);

    im_ = new QComboBox(box_);
    im_->setObjectName(QStringLiteral("IM"));
    im_->setEditable(false);
    im_->setPlaceholderText(QStringLiteral("Select Drive"));
    im_->setIconSize(QSize(16, 16));
    im_->setGeometry(196, 60, 150, 26);
    im_->installEventFilter(this);

    label2_ = label("Label2", QStringLiteral("Status: Not Ready"), QRect(358, 62, 250, 22));
    command1_ = button("Command1", QStringLiteral("Refresh"), QStringLiteral("Update all drives"),
                       QRect(196, 94, 90, 28));

    label3_ = label("Label3", QStringLiteral("Device Selected: None"), QRect(196, 140, 410, 22));
    label4_ = label("Label4", QStringLiteral("Name of Drive:      (Optional)"), QRect(196, 170, 300, 20));
    text1_ = new QLineEdit(box_);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(196, 192, 280, 26);
    text1_->installEventFilter(this);
    command6_ = button("Command6", QStringLiteral("Change"), config_.changeTooltip, QRect(486, 191, 90, 28));
    command6_->setEnabled(false);

    // Covers the selection line, the name caption, the name box and Change while no drive is listed.
    frame0_ = new QFrame(box_);
    frame0_->setObjectName(QStringLiteral("Frame0"));
    frame0_->setFrameShape(QFrame::NoFrame);
    frame0_->setAutoFillBackground(true);
    frame0_->setGeometry(190, 132, 420, 96);
    label7_ = new QLabel(QStringLiteral("Plug-In your Mp3 player or Flash Drive Now"), frame0_);
    label7_->setObjectName(QStringLiteral("Label7"));
    label7_->setAlignment(Qt::AlignCenter);
    label7_->setWordWrap(true);
    QFont big = label7_->font();
    big.setBold(true);
    big.setPointSize(16);
    label7_->setFont(big);
    label7_->setGeometry(0, 0, 420, 96);
    frame0_->raise();

    command2_ = button("Command2", QStringLiteral("Back"), QStringLiteral("Go back"), QRect(336, 294, 85, 30));
    command2_->setEnabled(false);
    command4_ = button("Command4", QStringLiteral("Exit"), QStringLiteral("Exit wizard"), QRect(428, 294, 85, 30));
    command3_ = button("Command3", QStringLiteral("Next"), QStringLiteral("Continue with the wizard's next step"),
                       QRect(520, 294, 85, 30));

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);

    connect(command1_, &QPushButton::clicked, this, &GetDrivePage::RefreshDrives);
    connect(im_, &QComboBox::currentIndexChanged, this, [this] {
        if (rebuilding_)
            return;
        changeRanSelect_ = true;
        SelectDrive();
    });
    connect(im_, &QComboBox::activated, this, [this] {
        // A click on the entry already shown changes nothing but is still a click.
        if (!changeRanSelect_)
            SelectDrive();
        changeRanSelect_ = false;
    });
    connect(text1_, &QLineEdit::textChanged, this, &GetDrivePage::compareName);
    connect(command6_, &QPushButton::clicked, this, &GetDrivePage::ChangeDriveName);
    connect(command3_, &QPushButton::clicked, this, &GetDrivePage::readinessCheck);
    connect(command4_, &QPushButton::clicked, this, [this] {
        if (config_.exit)
            config_.exit();
    });
    connect(timer1_, &QTimer::timeout, this, &GetDrivePage::watchTick);
}

bool GetDrivePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == im_ && event->type() == QEvent::KeyRelease) {
        changeRanSelect_ = false;
        SelectDrive();
    } else if (watched == text1_ && event->type() == QEvent::MouseButtonRelease && text1_->isEnabled()) {
        command6_->setEnabled(true);
    }
    return QFrame::eventFilter(watched, event);
}

QString GetDrivePage::selectedRoot() const
{
    return im_->currentIndex() < 0 ? QString() : im_->currentText();
}

QString GetDrivePage::nameBoxText() const
{
    return text1_->text();
}

QString GetDrivePage::statusText() const
{
    return label2_->text();
}

QString GetDrivePage::title() const
{
    return box_->title();
}

void GetDrivePage::showcontrol()
{
    RefreshDrives();
    driveCount_ = drives_.CountDrives();
    ctx_.platform->cursor->setPointer(Cursor::Default);
    if (ctx_.wait) {
        ctx_.wait->SetTex(QStringLiteral("Loading"));
        QCoreApplication::processEvents();
        ctx_.wait->Hideforever();
    }
}

void GetDrivePage::RefreshDrives()
{
    rebuilding_ = true;
    im_->clear();
    if (ctx_.wait)
        ctx_.wait->SetTex(QStringLiteral("Loading devices"));
    Volumes& volumes = *ctx_.platform->volumes;
    const QPixmap picture = artDriveSmall(16);
    for (char letter = 'H'; letter >= 'A'; --letter) {
        const QString root = QString(QLatin1Char(letter)) + QStringLiteral(":\\");
        if (volumes.driveType(root) == Volumes::Removable && letter != 'A')
            im_->insertItem(0, QIcon(picture), root);
    }
    if (im_->count() > 0) {
        im_->setCurrentIndex(0);
        rebuilding_ = false;
        const QString root = im_->currentText();
        label2_->setText(QStringLiteral("Status: Ready on Drive ") + root);
        const QString name = drives_.GetDriveName(root);
        label3_->setText(QStringLiteral("Drive Selected: ") + name + QStringLiteral(" (") + root + QLatin1Char(')'));
        driveName_ = name;
        text1_->setText(name);
        testDrive();
        frame0_->hide();
    } else {
        rebuilding_ = false;
        label2_->setText(kNotReady);
        label3_->setText(QStringLiteral("Drive Selected: None"));
        text1_->clear();
        text1_->setEnabled(false);
        // The cleared box differs from the last name, but there is no drive to rename.
        command6_->setEnabled(false);
        im_->setPlaceholderText(QString());
        frame0_->show();
        frame0_->raise();
    }
    driveCount_ = drives_.CountDrives();
    timer1_->start();
}

void GetDrivePage::SelectDrive()
{
    if (label2_->text() == kNotReady)
        return;
    const QString root = selectedRoot();
    if (root.isEmpty())
        return;
    label2_->setText(QStringLiteral("Status: Ready on Drive ") + root);
    const QString name = drives_.GetDriveName(root);
    label3_->setText(QStringLiteral("Drive Selected: ") + name + QStringLiteral(" (") + root + QLatin1Char(')'));
    text1_->setText(name);
    testDrive();
}

void GetDrivePage::testDrive()
{
    Cursor& cursor = *ctx_.platform->cursor;
    cursor.setPointer(Cursor::Hourglass);
    const QString root = selectedRoot();
    const QString folder = root.isEmpty() ? QString() : ctx_.platform->volumes->toNative(root);
    if (probeWritable(folder, QStringLiteral("file.dat"), QByteArrayLiteral("test\r\n"))) {
        driveName_ = drives_.GetDriveName(root);
        text1_->setEnabled(true);
        cursor.setPointer(Cursor::Default);
        return;
    }
    text1_->clear();
    text1_->setEnabled(false);
    label2_->setText(kDriveNotReady);
    label3_->setText(QStringLiteral("Drive Selected: ") + root);
    cursor.setPointer(Cursor::Default);
    command6_->setEnabled(false);
}

void GetDrivePage::compareName()
{
    command6_->setEnabled(text1_->text().compare(driveName_, Qt::CaseInsensitive) != 0);
}

void GetDrivePage::ChangeDriveName()
{
    const int position = im_->currentIndex();
    const QString root = selectedRoot();
    Dialogs& dialogs = *ctx_.platform->dialogs;
    if (text1_->text().isEmpty()) {
        dialogs.message(window_, QStringLiteral("Error - No Name Set!"), QStringLiteral("Error!"),
                        Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        text1_->setText(driveName_);
        return;
    }
    if (root.isEmpty())
        return;
    const QString wanted = text1_->text();
    if (wanted == drives_.GetDriveName(root))
        return;
    const auto answer = dialogs.message(window_, QStringLiteral("Change Drive name to ") + wanted + QLatin1Char('?'),
                                        QStringLiteral("Change Name on Drive ") + root, Dialogs::Icon::None,
                                        Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Answer::Yes)
        return;
    drives_.SetDriveName(root, wanted, window_);
    RefreshDrives();
    if (position >= 0 && position < im_->count())
        im_->setCurrentIndex(position);  // a different entry runs SelectDrive through the picker
    changeRanSelect_ = false;
    driveName_ = text1_->text();
    command6_->setEnabled(false);
}

void GetDrivePage::readinessCheck()
{
    Dialogs& dialogs = *ctx_.platform->dialogs;
    const QString status = label2_->text();
    // Nothing selected (before the first listing) is treated like no drive at all.
    if (status == kNotReady || selectedRoot().isEmpty()) {
        dialogs.message(window_, QStringLiteral("Please plug-in your MP3 player!"), QStringLiteral("Error"),
                        Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return;
    }
    if (status == kDriveNotReady) {
        dialogs.message(window_, QStringLiteral("Please check drive disk space or connection!"),
                        QStringLiteral("Error"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return;
    }
    if (text1_->text() != driveName_) {
        ChangeDriveName();
        return;
    }
    if (config_.next)
        config_.next(selectedRoot());
}

void GetDrivePage::watchTick()
{
    if (drives_.CountDrives() != driveCount_)
        RefreshDrives();
    if (label2_->text() == kNotReady && config_.hideLaterPages)
        config_.hideLaterPages();
    const QString root = selectedRoot();
    if (root.isEmpty())
        return;
    const QString chosen = config_.chosenDrive ? config_.chosenDrive() : QString();
    if (root != chosen && config_.hideLaterPages)
        config_.hideLaterPages();
}
